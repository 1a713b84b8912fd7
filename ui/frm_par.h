// The window frmPar: the one window of Tarvo, and the owner of its pages.
//
// Which class owns which page: StartPage is the task choice (frStartOpt); the gear-pair page is
// three frames, PairFrame (frPar: module, helix angle, tooth numbers, shifts, backlash),
// RackChoice (frContur: the basic rack rows) and the mesh type frame frIntEx built here; the
// gear-pair page's two pop-ups are CustomRackFrame (frAltContur: the designer's own rack) and
// AnglePanel (frGradTrans: an angle in degrees, minutes and seconds); SplinePage (FrParSl) is
// the spline member; AccuracyPage (frAcc) the point counts; FilePage (frFile) the folder and
// name of the drawing, with its FolderList; ReportPage (frSave) the path written and beside it
// DrawingReport, the drawing read back from its file with its data sheet. FrmPar places
// them in one rectangle above the "OK" button and owns nothing else but that button.
//
// How a press of "OK" flows: ctlCom_Click reads the window into a PageInput (the page found by
// which frames are visible, the task choice, the option buttons, the texts of the boxes, the
// captions the messages quote, the folder list's opened and highlighted folders, the date and
// time), and hands it to CtlComClick in app/page_command, which checks and stores into MainMod
// and, on leaving the file page, calls one drawing builder (external pair, internal pair or
// spline) that writes the DXF file. The PageOutcome that comes back says which frames to hide
// and show, which texts to write (the proposed file name, the emptied spline shift, the path on
// the report page), whether the 20-degree rack row was stored, what message to show and which
// box gets the focus; ApplyOutcome carries that out, and when the outcome has a drawing written
// it hands the drawing's description and path to the report page, which reads the file back.
// The pop-ups stay open across pages and show only while the gear-pair page does.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/page_command.h"
#include "profile/main_mod.h"
#include "ui/message_sink.h"

namespace tarvo::ui {

class AccuracyPage;
class AnglePanel;
class CustomRackFrame;
class FilePage;
class PairFrame;
class RackChoice;
class ReportPage;
class SplinePage;
class StartPage;

// The caption the window is built with, replaced by the release caption before the
// window is first shown.
inline const QString kDesignCaption = QStringLiteral("Эвольвентный  контур");

class FrmPar : public QWidget {
    Q_OBJECT
public:
    // `messages`: where messages go; null shows real message boxes over the window.
    // `build`: makes the drawing when the file page is left.
    FrmPar(MainMod& state, MessageSink* messages = nullptr, Builder build = RunBuilder);
    ~FrmPar() override;

    // Runs once as the window is created: only the start page shows, the task choice reads
    // "0", and the accuracy page shows the stored counts.
    void Form_Load();
    // The page command.
    void ctlCom_Click();

    // The current date and time as the default file name quotes them (regional short date,
    // time with seconds); tests may fix them.
    using Clock = std::function<std::pair<std::string, std::string>()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

private:
    void Build();
    PageInput ReadWindow() const;
    void ApplyOutcome(const PageInput& input, const PageOutcome& outcome);
    // The pop-ups belong to the gear-pair page: shown while it shows and they are open.
    void SyncPopUps();
    QWidget* FrameWidget(Frame frame) const;
    QWidget* BoxWidget(Box box) const;

    MainMod& state_;
    std::unique_ptr<MessageSink> ownMessages_;
    MessageSink* messages_;
    Builder build_;
    Clock clock_;

    StartPage* start_ = nullptr;
    PairFrame* pair_ = nullptr;
    RackChoice* rack_ = nullptr;
    QGroupBox* frIntEx_ = nullptr;
    std::array<QRadioButton*, 2> opTip_{};
    SplinePage* spline_ = nullptr;
    AccuracyPage* accuracy_ = nullptr;
    FilePage* file_ = nullptr;
    ReportPage* report_ = nullptr;
    CustomRackFrame* customRack_ = nullptr;
    AnglePanel* anglePanel_ = nullptr;
    QPushButton* ctlCom_ = nullptr;
    QLabel* label5_ = nullptr;
};

// The current date and time in the designer's regional form, with no character that would
// split a file name into folders.
std::pair<std::string, std::string> RegionalNow();

// Start-up without the event loop: the default accuracy into `state`, the window created and
// loaded, the release caption set and the gear icon given.
std::unique_ptr<FrmPar> StartWindow(MainMod& state, MessageSink* messages = nullptr);

}  // namespace tarvo::ui
