// The "OK" button's logic: checks the parameters pages, stores the rack and the accuracy,
// proposes the drawing's file name, joins folder and name into the output path and makes the one
// drawing when the file page is left.
#include "app/page_command.h"

#include <optional>
#include <string_view>

#include "app/basic_rack.h"
#include "app/fault_text.h"
#include "app/input_check.h"
#include "app/os_reason.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "math/number_text.h"
#include "math/rounding.h"
#include "profile/chord_placement.h"

namespace tarvo {

namespace {

// The start page's choice, as the window passes it: "0", "1" or "2".
enum class Task { GearPair, GostSpline, OstSpline };

std::optional<Task> ReadTask(const std::string& tag) {
    if (tag == "0") {
        return Task::GearPair;
    }
    if (tag == "1") {
        return Task::GostSpline;
    }
    if (tag == "2") {
        return Task::OstSpline;
    }
    return std::nullopt;
}

// The task of a press that CtlComClick has let through (it refuses an unknown one first).
Task TaskOf(const PageInput& input) {
    return ReadTask(input.task).value_or(Task::GearPair);
}

const char* const kLineBreak = "\r\n";
const char* const kParameterTitle = "Ошибка данных...";
const char* const kNotSavedTitle = "Внимание!";

// The separator between a folder and a file name.
constexpr char kPathSeparator = '/';

// A refused page: the message and the box that gets the focus.
PageResult Refuse(std::optional<Box> focus, std::string text) {
    PageRefusal refusal;
    refusal.message = Message{std::move(text), MessageIcon::Critical, kParameterTitle};
    refusal.focus = focus;
    return PageResult::Failure(std::move(refusal));
}

// A module box refused: the label's caption on a line of its own, closed by " !".
std::string ModuleMessage(const std::string& caption) {
    return std::string("Неверно задан параметр:") + kLineBreak + caption + " !";
}

// A tooth-count box refused: the label's caption straight after the colon.
std::string ToothCountMessage(const std::string& caption) {
    return "Неверно задан параметр:" + caption;
}

// The tooth count a builder receives: the box's number (a decimal comma counts as a point)
// rounded half to even to the builder's integer width; empty when it does not fit that width.
std::optional<std::int32_t> BuilderTeeth(const std::string& text, int bits) {
    return ToWhole(FieldValue(text), bits);
}

// A tooth count is taken when the number as typed is above zero (a decimal comma ends it, so
// "0,9" counts as 0) and the count the builder receives ("1,4" gives 1) lies in 1..most.
bool ToothCountTaken(const std::string& text, int bits, std::int32_t most) {
    if (!(RawValue(text) > 0)) {
        return false;
    }
    const std::optional<std::int32_t> teeth = BuilderTeeth(text, bits);
    return teeth && *teeth >= 1 && *teeth <= most;
}

// Characters a file name cannot hold on Linux ("/" and NUL) or on Windows, where drawings often
// travel: the date's "." and "/", the time's ":", the rest of Windows' reserved set and every
// control character. Each becomes "_".
bool UnfitForFileName(char ch) {
    const auto code = static_cast<unsigned char>(ch);
    return code < 0x20 || std::string_view("./\\:*?\"<>|").find(ch) != std::string_view::npos;
}

// The proposed name: stem, date and time joined by "_", every unfit character made "_", then
// ".dxf". The boxes' texts stay as typed, so a decimal comma of the module stays a comma.
std::string ProposedName(const std::string& stem, const PageInput& input) {
    std::string name = stem + "_" + input.dateText + "_" + input.timeText;
    for (char& ch : name) {
        if (UnfitForFileName(ch)) {
            ch = '_';
        }
    }
    return name + ".dxf";
}

// A file name in a folder. A folder that already ends in the separator (the root "/") gets no
// second one; no folder at all leaves the name in the process's current folder; a name that is
// itself an absolute path is taken as it is.
std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || (!name.empty() && name.front() == kPathSeparator)) {
        return name;
    }
    if (folder.back() == kPathSeparator) {
        return folder + name;
    }
    return folder + kPathSeparator + name;
}

// The name box without the blanks typed before or after the name.
std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Exactly ".dxf" or ".DXF" at the end: "plan.Dxf" has neither and gets ".dxf" appended.
bool EndsInDrawingExtension(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    const std::string_view end(path.data() + path.size() - 4, 4);
    return end == ".dxf" || end == ".DXF";
}

// The parameters page proposes a name for the file page and a provisional path in the folder
// the folder list has open: on the first pass (no path yet), and later whenever the stem
// (tooth counts, module) changed since the last proposal, unless the name box holds a name of
// the designer's own (typed, or picked from the file list).
void ProposeFile(MainMod& state, const PageInput& input, const std::string& stem,
                 PageOutcome& outcome) {
    const bool ownName =
        !TrimBlanks(input.txtFileName).empty() && input.txtFileName != input.proposedName;
    if (ownName && state.OutFile.empty()) {
        // A name kept from an earlier run: the provisional path is made from it.
        state.OutFile = JoinPath(input.dirPath, TrimBlanks(input.txtFileName));
    }
    if (ownName || (!state.OutFile.empty() && stem == input.proposedStem)) {
        return;
    }
    const std::string name = ProposedName(stem, input);
    outcome.txtFileName = name;
    outcome.proposedStem = stem;
    state.OutFile = JoinPath(input.dirPath, name);
}

// A point count from the accuracy page: the number as typed (a comma ends it, so "12,7" is 12)
// rounded half to even, then held to the scroll bar's range as the bar would hold it; a text
// without a number reads as 0 and so becomes the least count.
std::int32_t HeldCount(double rounded, std::int32_t least, std::int32_t most) {
    if (!(rounded >= least)) {
        return least;
    }
    if (rounded > most) {
        return most;
    }
    return static_cast<std::int32_t>(rounded);
}

// Stores one point count; a count that had to be held to the range is written back into its
// box, so the page shows what the drawing will use.
std::int32_t StorePointCount(const std::string& text, std::int32_t least, std::int32_t most,
                             std::optional<std::string>& boxText) {
    const double rounded = RoundHalfEven(RawValue(text));
    const std::int32_t count = HeldCount(rounded, least, most);
    if (rounded != count) {
        boxText = std::to_string(count);
    }
    return count;
}

PageOutcome LeaveStart(MainMod& state, const PageInput& input) {
    PageOutcome outcome;
    outcome.hide = {Frame::frStartOpt};
    const Task task = TaskOf(input);
    switch (task) {
        case Task::GearPair:
            // The rack the rows show is stored every time the page opens: a spline page left
            // since may have stored its standard's rack in the same place.
            StoreRack(state, input.rack);
            outcome.show = {Frame::frContur, Frame::frPar, Frame::frIntEx};
            state.SingleMember = false;
            outcome.next = Page::GearPair;
            break;
        case Task::GostSpline:
        case Task::OstSpline:
            outcome.show = {Frame::FrParSl};
            state.SingleMember = true;
            outcome.focus = Box::txtmSL;
            // OST 1 00086-73 splines are not shifted: the shift row goes and its box is emptied.
            outcome.shiftRowVisible = task == Task::GostSpline;
            if (task == Task::OstSpline) {
                outcome.txtX = std::string();
            }
            outcome.next = Page::Spline;
            break;
    }
    return outcome;
}

PageResult LeaveGearPair(MainMod& state, const PageInput& input) {
    if (!(FieldValue(input.txtm) > 0)) {
        return Refuse(Box::txtm, ModuleMessage(FieldCaption(InputField::Module)));
    }
    // The external pair carries its counts as 16-bit values, the internal pair as 32-bit ones.
    // Both are held to kMaxTeeth: a wheel of that many teeth at the finest accuracy is about
    // ten million points, as much as one outline may take in memory.
    const int bits = input.external ? 16 : 32;
    if (!ToothCountTaken(input.txtZ1, bits, kMaxTeeth)) {
        return Refuse(Box::txtZ1, ToothCountMessage(FieldCaption(InputField::Teeth1)));
    }
    if (!ToothCountTaken(input.txtZ2, bits, kMaxTeeth)) {
        return Refuse(Box::txtZ2, ToothCountMessage(FieldCaption(InputField::Teeth2)));
    }
    // A ring gear and a pinion of the same size cannot mesh one inside the other.
    if (!input.external && BuilderTeeth(input.txtZ1, bits) == BuilderTeeth(input.txtZ2, bits)) {
        return Refuse(Box::txtZ2,
                      ToothCountMessage(FieldCaption(InputField::Teeth2)) + kLineBreak +
                          "во внутреннем зацеплении у колеса с внутренними зубьями должно быть "
                          "больше зубьев, чем у шестерни");
    }

    PageOutcome outcome;
    ProposeFile(state, input, input.txtZ1 + "x" + input.txtZ2 + "x" + input.txtm, outcome);
    outcome.hide = {Frame::frContur, Frame::frPar, Frame::frFile, Frame::frSave, Frame::frIntEx};
    outcome.show = {Frame::frAcc};
    outcome.next = Page::Accuracy;
    return outcome;
}

PageResult LeaveSpline(MainMod& state, const PageInput& input) {
    const double m = FieldValue(input.txtmSL);
    if (!(m > 0)) {
        return Refuse(Box::txtmSL, ModuleMessage(FieldCaption(InputField::SplineModule)));
    }
    // The spline is drawn with a 16-bit count; a shaft is generated against a partner of ten
    // times its teeth, which must fit 16 bits too.
    const std::int32_t most = input.hub ? kMaxTeeth : kMaxShaftTeeth;
    if (!ToothCountTaken(input.txtZ, 16, most)) {
        return Refuse(Box::txtZ, ToothCountMessage(FieldCaption(InputField::SplineTeeth)));
    }

    const SplineStandard standard =
        TaskOf(input) == Task::OstSpline ? SplineStandard::Ost100086 : SplineStandard::Gost6033;
    StoreRack(state, SplineRack(standard, m));

    PageOutcome outcome;
    ProposeFile(state, input, "SL_" + input.txtZ + "x" + input.txtmSL, outcome);
    outcome.hide = {Frame::FrParSl, Frame::frFile, Frame::frSave};
    outcome.show = {Frame::frAcc};
    outcome.next = Page::Accuracy;
    return outcome;
}

// The tolerance box's caption and what it takes, for its refusal.
std::string ToleranceMessage() {
    return std::string("Неверно задан параметр:") + kLineBreak +
           "Допуск на отклонение контура, мм !" + kLineBreak + "Допуск — число от " +
           FixedShortText(kMinTolerance, 5, ',') + " до " + FixedShortText(kMaxTolerance, 5, ',') +
           " мм.";
}

PageResult LeaveAccuracy(MainMod& state, const PageInput& input) {
    double tolerance = 0;
    if (input.chkTolerance) {
        tolerance = FieldValue(input.txtTolerance);
        if (!(tolerance >= kMinTolerance && tolerance <= kMaxTolerance)) {
            return Refuse(Box::txtTolerance, ToleranceMessage());
        }
    }
    PageOutcome outcome;
    state.Tolerance = tolerance;
    state.AccEv = StorePointCount(input.txtAccEv, kMinAccEv, kMaxAccEv, outcome.txtAccEv);
    state.AccPer = StorePointCount(input.txtAccPer, kMinAccPer, kMaxAccPer, outcome.txtAccPer);
    state.CutFillet = input.chkCutFillet;
    outcome.hide = {Frame::frAcc};
    outcome.show = {Frame::frFile};
    outcome.next = Page::File;
    return outcome;
}

// The drawing's data as read from the parameters pages, which let through only counts that
// fit; a count that does not (never from the window) becomes 0, which every builder refuses.
BuilderCall ReadBuilderCall(const MainMod& state, const PageInput& input) {
    BuilderCall call;
    call.alpha = state.Alfa;
    switch (TaskOf(input)) {
        case Task::GearPair: {
            call.kind =
                input.external ? BuilderCall::Kind::ExternalPair : BuilderCall::Kind::InternalPair;
            const int bits = input.external ? 16 : 32;
            call.Z1 = BuilderTeeth(input.txtZ1, bits).value_or(0);
            call.Z2 = BuilderTeeth(input.txtZ2, bits).value_or(0);
            call.m = FieldValue(input.txtm);
            call.beta = FieldValue(input.txtBeta);
            call.x1 = FieldValue(input.txtx1);
            call.x2 = FieldValue(input.txtx2);
            call.jn = FieldValue(input.txtJbn);
            break;
        }
        case Task::GostSpline:
        case Task::OstSpline:
            call.kind = BuilderCall::Kind::Spline;
            call.Z = BuilderTeeth(input.txtZ, 16).value_or(0);
            call.m = FieldValue(input.txtmSL);
            // The shift is typed in millimetres; the generator takes it as a coefficient.
            call.x = FieldValue(input.txtX) / call.m;
            call.hub = input.hub;
            break;
    }
    return call;
}

// What the designer reads when the drawing was not saved: for a file, its path and the
// operating system's reason; for impossible teeth, the wheel and what to change.
std::string NotSavedText(const DrawFault& fault, const std::string& path) {
    switch (fault.kind) {
        case DrawFault::Kind::GeometryRefused:
            return std::string("Чертёж не построен и не сохранён.") + kLineBreak +
                   DrawReason(fault);
        case DrawFault::Kind::FileNotWritten:
            return std::string("Чертёж не сохранён: не удалось записать файл") + kLineBreak + path +
                   kLineBreak + RussianOsReason(fault.fileError);
    }
    return {};
}

Box BoxOf(InputField field) {
    switch (field) {
        case InputField::Module:
            return Box::txtm;
        case InputField::Helix:
            return Box::txtBeta;
        case InputField::Teeth1:
            return Box::txtZ1;
        case InputField::Teeth2:
            return Box::txtZ2;
        case InputField::Shift1:
            return Box::txtx1;
        case InputField::Shift2:
            return Box::txtx2;
        case InputField::Backlash:
            return Box::txtJbn;
        case InputField::SplineModule:
            return Box::txtmSL;
        case InputField::SplineTeeth:
            return Box::txtZ;
        case InputField::SplineShift:
            return Box::txtX;
    }
    return Box::txtm;
}

// Data that give no drawing send the designer back to the parameters page they were typed on,
// entries kept, the focus in the box to change.
PageOutcome BackToParameters(const PageInput& input, InputField field, Message message,
                             PageOutcome outcome) {
    outcome.focus = BoxOf(field);
    outcome.message = std::move(message);
    const bool pair = TaskOf(input) == Task::GearPair;
    outcome.next = pair ? Page::GearPair : Page::Spline;
    outcome.hide = {Frame::frFile};
    outcome.show = pair ? std::vector<Frame>{Frame::frContur, Frame::frPar, Frame::frIntEx}
                        : std::vector<Frame>{Frame::FrParSl};
    return outcome;
}

PageOutcome LeaveFile(MainMod& state, const PageInput& input, const Builder& build) {
    const std::string path = OutputPath(input);
    // The drawing is made from a copy naming the new path: the stored path changes only once
    // the drawing is written, so a refusal or a failure leaves it as it was.
    MainMod drawing = state;
    drawing.OutFile = path;

    PageOutcome outcome;
    const BuilderCall call = ReadBuilderCall(drawing, input);
    if (const InputCheck check = CheckInputRanges(drawing, call); !check.ok()) {
        // Refused before any drawing was made: the outcome names no call.
        const InputFault& fault = check.fault();
        Message message{InputFaultMessage(fault), MessageIcon::Critical, kParameterTitle};
        return BackToParameters(input, fault.field, std::move(message), outcome);
    }
    outcome.call = call;
    outcome.drawn = build(drawing, *outcome.call);
    if (!outcome.drawn->ok()) {
        // Nothing was saved and the shared path keeps its earlier value. Impossible teeth send
        // the designer back to the entries; a file not written keeps the file page, so another
        // folder or name can be chosen.
        const DrawFault& fault = outcome.drawn->fault();
        Message message{NotSavedText(fault, path), MessageIcon::Exclamation, kNotSavedTitle};
        if (fault.kind == DrawFault::Kind::GeometryRefused &&
            fault.geometry->fault == GeometryFault::ToleranceTooFine) {
            // Too fine a tolerance is changed where it was typed.
            outcome.message = std::move(message);
            outcome.focus = Box::txtTolerance;
            outcome.next = Page::Accuracy;
            outcome.hide = {Frame::frFile};
            outcome.show = {Frame::frAcc};
            return outcome;
        }
        if (fault.kind == DrawFault::Kind::GeometryRefused) {
            const InputField field = FieldOfFault(*fault.geometry, *outcome.call);
            return BackToParameters(input, field, std::move(message), outcome);
        }
        outcome.message = std::move(message);
        outcome.next = Page::File;
        return outcome;
    }
    state.OutFile = path;
    outcome.hide = {Frame::frFile, Frame::frContur, Frame::frPar};
    outcome.show = {Frame::frSave};
    outcome.txtRep = state.OutFile;
    outcome.next = Page::Report;
    return outcome;
}

PageOutcome LeaveReport() {
    PageOutcome outcome;
    outcome.hide = {Frame::frSave, Frame::frFile};
    outcome.show = {Frame::frStartOpt};
    outcome.next = Page::Start;
    return outcome;
}

}  // namespace

std::string OutputPath(const PageInput& input) {
    std::string path = JoinPath(input.dirHighlighted, TrimBlanks(input.txtFileName));
    if (!EndsInDrawingExtension(path)) {
        path += ".dxf";
    }
    return path;
}

PageResult CtlComClick(MainMod& state, const PageInput& input, const Builder& build) {
    if (!ReadTask(input.task)) {
        // A press that cannot be carried out: no box to change.
        return Refuse(std::nullopt, "Неизвестная задача «" + input.task +
                                        "»: выберите зубчатую передачу или эвольвентные шлицы.");
    }
    switch (input.page) {
        case Page::Start:
            return LeaveStart(state, input);
        case Page::GearPair:
            return LeaveGearPair(state, input);
        case Page::Spline:
            return LeaveSpline(state, input);
        case Page::Accuracy:
            return LeaveAccuracy(state, input);
        case Page::File:
            return LeaveFile(state, input, build);
        case Page::Report:
            return LeaveReport();
    }
    return Refuse(std::nullopt, "Неизвестная страница окна.");
}

}  // namespace tarvo
