// The "OK" button's logic without a window: from the page being left and what its boxes hold,
// either a refusal (a message, the box that gets the focus, nothing stored) or the next page
// with what to store, show, hide and write, and at most one drawing made on the way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "drawing/draw_result.h"
#include "profile/main_mod.h"

namespace tarvo {

// The pages of the window, in the order the button leads through them.
enum class Page { Start, GearPair, Spline, Accuracy, File, Report };

// The frames the page command shows and hides (the window's control names).
enum class Frame { frStartOpt, FrParSl, frFile, frSave, frAcc, frPar, frContur, frIntEx };

// The boxes a refusal can give the focus to, and the other boxes the command reads or writes.
enum class Box {
    txtm,
    txtZ1,
    txtZ2,
    txtBeta,
    txtx1,
    txtx2,
    txtJbn,
    txtmSL,
    txtZ,
    txtX,
    txtFileName,
    txtAccEv,
    txtAccPer,
    txtTolerance
};

// Everything the command reads from the window.
struct PageInput {
    Page page = Page::Start;  // the page being left, as the window holds it
    std::string task = "0";   // the start page's choice: "0" gear pair, "1" GOST spline,
                              // "2" OST spline
    bool external = true;     // opTip(0) "Внешнее" selected
    bool hub = false;         // opValVt(1) "Втулка" selected
    // The rack the gear-pair page's rows have chosen (a fixed row, or the designer's own as
    // last stored); entering that page stores it.
    BasicRack rack = kDefaultRackRow.rack;

    // Gear-pair page.
    std::string txtm, txtZ1, txtZ2, txtBeta, txtx1, txtx2, txtJbn;
    // Spline page.
    std::string txtmSL, txtZ, txtX;
    // Accuracy page.
    std::string txtAccEv, txtAccPer;
    bool chkCutFillet = false;  // "Переходная кривая как при нарезании рейкой" ticked
    // "Допуск на отклонение контура, мм" ticked: the points are placed for the tolerance typed
    // into txtTolerance (a decimal comma or point) instead of the two counts.
    bool chkTolerance = false;
    std::string txtTolerance;
    // File page.
    std::string txtFileName;
    std::string dirPath;         // the folder the file page's folder list has open
    std::string dirHighlighted;  // the folder of the list's highlighted entry

    // The current date and time in the designer's regional short form (time with seconds).
    std::string dateText, timeText;

    // The last name the command proposed and the stem it was made from (empty before any): a
    // name box still holding that name is not the designer's own, and follows a changed stem.
    std::string proposedName, proposedStem;
};

enum class MessageIcon { Critical, Exclamation, Information };

// A modal message box with one OK button. An empty title shows the application title "Tarvo".
struct Message {
    std::string text;
    MessageIcon icon = MessageIcon::Critical;
    std::string title;
};

// A press that led on: the page shown afterwards and what changes on the way. A drawing that
// failed leads back to a page too, with its message.
struct PageOutcome {
    std::optional<Message> message;  // shown when the drawing failed
    std::optional<Box> focus;        // the box that gets the input focus
    Page next = Page::Start;         // the page shown afterwards
    std::vector<Frame> hide;         // applied first
    std::vector<Frame> show;         // then these

    // Texts the command writes into boxes.
    std::optional<std::string> txtFileName, txtX, txtRep, txtAccEv, txtAccPer;
    bool shiftRowVisible = true;  // spline page: lbX and txtX shown (task "1") or hidden
    // A name was proposed (txtFileName holds it): the stem it was made from.
    std::optional<std::string> proposedStem;

    std::optional<BuilderCall> call;  // the drawing made, if any
    std::optional<DrawResult> drawn;  // its result; when not Written, `message` ("Внимание!")
                                      // says why and txtRep is not written; a file not
                                      // written keeps the file page (next File, no frame shown
                                      // or hidden), impossible teeth go back to the parameters
                                      // page with the focus in the box to change
};

// A press refused: the page stays as it is and nothing was stored. The message says why; the
// box to change gets the focus (none when the press names no box, such as an unknown task).
struct PageRefusal {
    Message message;
    std::optional<Box> focus;
};

using PageResult = Outcome<PageOutcome, PageRefusal>;

// The path leaving the file page writes to: the name box without surrounding blanks, taken as
// typed when it is an absolute path, otherwise in the highlighted folder; ".dxf" appended
// unless it ends in ".dxf" or ".DXF".
std::string OutputPath(const PageInput& input);

// Makes the drawing a BuilderCall describes, into state.OutFile: RunBuilder, or a test's own.
using Builder = std::function<DrawResult(const MainMod& state, const BuilderCall& call)>;

// One press of "OK". Stores into `state` only when the page is left.
PageResult CtlComClick(MainMod& state, const PageInput& input, const Builder& build = RunBuilder);

}  // namespace tarvo
