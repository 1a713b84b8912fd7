// tarvo-cli's work: fill the shared state as the window's pages would, call one builder, and
// print the path, the data sheet or the reason it was not drawn.
#include "cli/cli_run.h"

#include <cstddef>
#include <iterator>
#include <optional>

#include "app/custom_rack.h"
#include "app/fault_text.h"
#include "app/input_check.h"
#include "app/os_reason.h"
#include "report/data_sheet.h"
#include "report/sheet_text.h"
#include "app/startup.h"
#include "drawing/builder_call.h"

namespace tarvo {

namespace {

// What tarvo-cli prints around a failure. The reasons themselves come from the builders and the
// custom rack in the window's Russian wording, so the sentences around them are Russian too.
struct CliWords {
    const char* prefix;          // every message to the error stream starts with it
    const char* notDrawn;        // then the builder's reason
    const char* fileWord;        // then the path,
    const char* fileNotWritten;  // then the operating system's reason
    const char* customRack;      // then the custom rack's message
    const char* badParameter;    // after the option, then the box's caption and the reason
};

constexpr CliWords kWords{
    "tarvo-cli: ",
    "чертёж не построен. ",
    "файл ",
    " не записан: ",
    "--rack-custom: ",
    ": неверно задан параметр «",
};

// The drawing the request made, described as the window's page command describes it.
BuilderCall CallOf(const CliRequest& request, const MainMod& state) {
    BuilderCall call;
    call.alpha = state.Alfa;
    call.m = request.module;
    if (request.job == CliJob::Spline) {
        call.kind = BuilderCall::Kind::Spline;
        call.Z = request.teeth;
        call.x = request.shift / request.module;  // given in millimetres, drawn as a coefficient
        call.hub = request.hub;
        return call;
    }
    call.kind = request.internal ? BuilderCall::Kind::InternalPair
                                 : BuilderCall::Kind::ExternalPair;
    call.Z1 = request.z1;
    call.Z2 = request.z2;
    call.beta = request.helix;
    call.x1 = request.x1;
    call.x2 = request.x2;
    call.jn = request.backlash;
    return call;
}

// The option that set a field.
const char* OptionOf(InputField field) {
    // In the order of InputField.
    static constexpr const char* kOptions[] = {
        "--module", "--helix", "--z1", "--z2", "--x1", "--x2", "--backlash", "--module", "--teeth",
        "--shift"};
    static_assert(std::size(kOptions) == static_cast<std::size_t>(InputField::SplineShift) + 1,
                  "an option for every box");
    return kOptions[static_cast<std::size_t>(field)];
}

// After a drawing is written: its path, and the data sheet when asked for.
void PrintReport(const CliRequest& request, const MainMod& state, std::ostream& out) {
    switch (request.report) {
        case CliReport::None:
            out << state.OutFile << "\n";
            return;
        case CliReport::Text:
            out << state.OutFile << "\n"
                << DataSheetText(DataSheetOfFile(state, CallOf(request, state), state.OutFile,
                                                 SheetOptions{request.roller}));
            return;
        case CliReport::Json:
            out << DataSheetJson(DataSheetOfFile(state, CallOf(request, state), state.OutFile,
                                                 SheetOptions{request.roller}),
                                 state.OutFile);
            return;
    }
}

// Stores the request's basic rack as the gear-pair or spline page would. A refused custom rack
// is reported and gives the exit status; a reduced rf* is reported and drawing goes on.
std::optional<int> StoreRequestRack(const CliRequest& request, MainMod& state,
                                    std::ostream& err) {
    if (request.job == CliJob::Spline) {
        StoreRack(state, SplineRack(request.standard, request.module));
        return std::nullopt;
    }
    if (!request.customRack) {
        StoreRack(state, request.row->rack);
        return std::nullopt;
    }
    const CustomRackOutcome rack = StoreCustomRack(state, request.customTexts);
    if (!rack.ok()) {
        err << kWords.prefix << kWords.customRack << ZeroParameterMessage(rack.fault()) << "\n";
        return kCliBadUsage;
    }
    if (rack->roReduced) {
        err << kWords.prefix << kWords.customRack << ReducedRoMessage(state.Ro, '.') << "\n";
    }
    return std::nullopt;
}

// Fills the state as the window's pages would and makes the drawing.
int Draw(const CliRequest& request, std::ostream& out, std::ostream& err) {
    MainMod state;
    InitMainMod(state);
    state.AccEv = request.involutePoints;
    state.AccPer = request.filletPoints;
    state.OutFile = request.output;
    state.SingleMember = request.job == CliJob::Spline;
    state.CutFillet = request.cutFillet;
    state.Tolerance = request.tolerance;
    if (const std::optional<int> refused = StoreRequestRack(request, state, err)) {
        return *refused;
    }
    // Values out of range are named as the window names them, and nothing is written.
    if (const InputCheck check = CheckInputRanges(state, CallOf(request, state)); !check.ok()) {
        const InputFault& fault = check.fault();
        err << kWords.prefix << OptionOf(fault.field) << kWords.badParameter
            << FieldCaption(fault.field) << "»: " << fault.reason << "\n";
        return kCliNotDrawn;
    }
    const DrawResult result = RunBuilder(state, CallOf(request, state));
    if (result.ok()) {
        PrintReport(request, state, out);
        return kCliWritten;
    }
    const DrawFault& fault = result.fault();
    switch (fault.kind) {
        case DrawFault::Kind::GeometryRefused:
            err << kWords.prefix << kWords.notDrawn << DrawReason(fault) << "\n";
            break;
        case DrawFault::Kind::FileNotWritten:
            err << kWords.prefix << kWords.fileWord << state.OutFile << kWords.fileNotWritten
                << RussianOsReason(fault.fileReason) << "\n";
            break;
    }
    return kCliNotDrawn;
}

}  // namespace

int RunCli(const CliRequest& request, std::ostream& out, std::ostream& err) {
    switch (request.job) {
        case CliJob::Help:
            out << CliUsage();
            return kCliWritten;
        case CliJob::Version:
            out << "tarvo-cli " << VersionText() << "\n";
            return kCliWritten;
        case CliJob::Pair:
        case CliJob::Spline:
            return Draw(request, out, err);
    }
    return kCliBadUsage;
}

int CliMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const CliParse parse = ParseCliArgs(args);
    if (!parse.ok()) {
        err << kWords.prefix << parse.fault() << "\n";
        return kCliBadUsage;
    }
    return RunCli(parse.value(), out, err);
}

}  // namespace tarvo
