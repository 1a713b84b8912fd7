// tarvo-cli's work: fill the shared state as the window's pages would, call one builder.
#include "cli/cli_run.h"

#include "app/custom_rack.h"
#include "app/input_check.h"
#include "report/data_sheet.h"
#include "report/sheet_text.h"
#include "app/startup.h"
#include "drawing/builder_call.h"

namespace tarvo {

namespace {

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
    switch (field) {
        case InputField::Module:
        case InputField::SplineModule: return "--module";
        case InputField::Helix: return "--helix";
        case InputField::Teeth1: return "--z1";
        case InputField::Teeth2: return "--z2";
        case InputField::Shift1: return "--x1";
        case InputField::Shift2: return "--x2";
        case InputField::Backlash: return "--backlash";
        case InputField::SplineTeeth: return "--teeth";
        case InputField::SplineShift: return "--shift";
    }
    return "";
}

// After a drawing is written: its path, and the data sheet when asked for.
void PrintReport(const CliRequest& request, const MainMod& state, std::ostream& out) {
    switch (request.report) {
        case CliReport::None:
            out << state.OutFile << "\n";
            return;
        case CliReport::Text:
            out << state.OutFile << "\n"
                << DataSheetText(DataSheetOfFile(state, CallOf(request, state), state.OutFile));
            return;
        case CliReport::Json:
            out << DataSheetJson(DataSheetOfFile(state, CallOf(request, state), state.OutFile),
                                 state.OutFile);
            return;
    }
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
            break;
    }

    MainMod state;
    InitMainMod(state);
    state.AccEv = request.involutePoints;
    state.AccPer = request.filletPoints;
    state.OutFile = request.output;

    DrawResult result;
    if (request.job == CliJob::Pair) {
        state.SingleMember = false;
        if (request.customRack) {
            const CustomRackOutcome rack = StoreCustomRack(state, request.customTexts);
            if (!rack.stored) {
                err << "tarvo-cli: --rack-custom: " << ZeroParameterMessage(rack.zeroField) << "\n";
                return kCliBadUsage;
            }
            if (rack.roReduced) {
                err << "tarvo-cli: --rack-custom: " << ReducedRoMessage(state.Ro, '.') << "\n";
            }
        } else {
            StoreRack(state, request.row->rack);
        }
    } else {
        state.SingleMember = true;
        StoreRack(state, SplineRack(request.standard, request.module));
    }
    // Values out of range are named as the window names them, and nothing is written.
    if (const std::optional<InputFault> fault = CheckInputRanges(state, CallOf(request, state))) {
        err << "tarvo-cli: " << OptionOf(fault->field) << ": неверно задан параметр «"
            << FieldCaption(fault->field) << "»: " << fault->reason << "\n";
        return kCliNotDrawn;
    }
    result = RunBuilder(state, CallOf(request, state));

    switch (result.status) {
        case DrawStatus::Written:
            PrintReport(request, state, out);
            return kCliWritten;
        case DrawStatus::GeometryRefused:
            err << "tarvo-cli: чертёж не построен. " << result.Reason() << "\n";
            return kCliNotDrawn;
        case DrawStatus::FileNotWritten:
            err << "tarvo-cli: файл " << state.OutFile << " не записан: " << result.Reason()
                << "\n";
            return kCliNotDrawn;
    }
    return kCliNotDrawn;
}

int CliMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const CliParse parse = ParseCliArgs(args);
    if (!parse.ok) {
        err << "tarvo-cli: " << parse.error << "\n";
        return kCliBadUsage;
    }
    return RunCli(parse.request, out, err);
}

}  // namespace tarvo
