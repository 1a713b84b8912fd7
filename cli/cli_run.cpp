// tarvo-cli's work: fill the shared state as the window's pages would, call one builder, and
// print the path, the data sheet or the reason it was not drawn.
#include "cli/cli_run.h"

#include <cassert>
#include <cstddef>
#include <iterator>
#include <optional>
#include <sstream>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/custom_rack.h"
#include "app/fault_text.h"
#include "app/input_check.h"
#include "app/os_reason.h"
#include "app/startup.h"
#include "app/step_file.h"
#include "cli/cli_calculation.h"
#include "drawing/builder_call.h"
#include "report/data_sheet.h"
#include "report/parameter_table.h"
#include "report/sheet_text.h"
#include "solid/gear_step.h"

namespace tarvo {

namespace {

// What tarvo-cli prints around a failure. The reasons themselves come from the builders and the
// custom rack in the window's Russian wording, so the sentences around them are Russian too.
namespace words {
constexpr const char* kPrefix = "tarvo-cli: ";  // every message to the error stream starts so
constexpr const char* kNotDrawn = "чертёж не построен. ";  // then the builder's reason
constexpr const char* kFile = "файл ";                     // then the path,
constexpr const char* kFileNotWritten = " не записан: ";   // then the operating system's reason
constexpr const char* kCustomRack = "--rack-custom: ";     // then the custom rack's message
// After the option, then the box's caption and the reason.
constexpr const char* kBadParameter = ": неверно задан параметр «";
// Then the reason the 3-D model was not made or written.
constexpr const char* kModelNotWritten = "3D-модель (STEP) не записана: ";
}  // namespace words

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
    call.kind =
        request.internal ? BuilderCall::Kind::InternalPair : BuilderCall::Kind::ExternalPair;
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
    static constexpr const char* kOptions[] = {"--module", "--helix", "--z1",       "--z2",
                                               "--x1",     "--x2",    "--backlash", "--module",
                                               "--teeth",  "--shift"};
    static_assert(std::size(kOptions) == static_cast<std::size_t>(InputField::SplineShift) + 1,
                  "an option for every box");
    return kOptions[static_cast<std::size_t>(field)];
}

// What the data sheet takes from the command line beyond the drawing.
SheetOptions SheetOptionsOf(const CliRequest& request) {
    SheetOptions options;
    options.rollerDiameter = request.roller;
    options.hand = request.hand;
    options.accuracy = request.accuracy;
    options.spline =
        request.standard == SplineStandard::Gost6033 ? SplineNorm::Gost6033 : SplineNorm::Ost100086;
    return options;
}

// After a drawing is written: its path, and the data sheet when asked for.
// The sheet is made from the file as written, held open since the write.
void PrintReport(const CliRequest& request, const MainMod& state,
                 const std::optional<DataSheetResult>& sheet, std::ostream& out) {
    if (!request.report) {
        out << state.OutFile << "\n";
        return;
    }
    assert(sheet.has_value());  // made whenever a report is asked for
    switch (*request.report) {
        case CliReport::Text:
            out << state.OutFile << "\n" << DataSheetText(*sheet);
            return;
        case CliReport::Json:
            out << DataSheetJson(*sheet, state.OutFile,
                                 CalculationObjectJson(CalculationOf(request)));
            return;
    }
}

// Writes the parameter table's drawing when asked for; false (and why, on `err`) when it
// could not be made or written.
bool WriteTable(const CliRequest& request, const std::optional<DataSheetResult>& made,
                std::ostream& err) {
    if (!request.table) {
        return true;
    }
    assert(made.has_value());  // made whenever a table is asked for
    const DataSheetResult& sheet = *made;
    if (!sheet.ok()) {
        err << words::kPrefix << "таблица параметров не построена: " << sheet.fault() << "\n";
        return false;
    }
    const WriteOutcome written =
        DxfWriteTable(*request.table, ParameterTablesDrawing(MakeParameterTables(sheet.value())));
    if (!written.ok()) {
        err << words::kPrefix << words::kFile << *request.table << words::kFileNotWritten
            << RussianOsReason(written.fault()) << "\n";
        return false;
    }
    return true;
}

// Stores the request's basic rack as the gear-pair or spline page would, or gives the custom
// rack's field refused as zero. A reduced rf* is reported and drawing goes on.
Outcome<Done, RackField> StoreRequestRack(const CliRequest& request, MainMod& state,
                                          std::ostream& err) {
    if (request.job == CliJob::Spline) {
        StoreRack(state, SplineRack(request.standard, request.module));
        return Done{};
    }
    if (!request.customRack) {
        StoreRack(state, request.row->rack);
        return Done{};
    }
    const CustomRackOutcome rack = StoreCustomRack(state, request.customTexts);
    if (!rack.ok()) {
        return Outcome<Done, RackField>::Failure(rack.fault());
    }
    if (rack->roReduced) {
        err << words::kPrefix << words::kCustomRack << ReducedRoMessage(state.Ro, '.') << "\n";
    }
    return Done{};
}

// After the drawing: the 3-D model beside it, its path printed after the drawing's (not with
// --report=json, whose one object is the whole output). A model that cannot be made leaves the
// drawing as written and gives the exit status.
int WriteStep(const CliRequest& request, const MainMod& state, std::ostream& out,
              std::ostream& err) {
    const SolidOptions options{request.faceWidth, request.rim};
    const StepFileResult written = WriteStepFile(
        state, CallOf(request, state), Wheel1Hand(request.helix, request.hand), *request.step,
        [&](const std::vector<StepMember>& members) { return GearStepText(members, options); });
    if (!written.ok()) {
        err << words::kPrefix << words::kModelNotWritten << written.fault() << "\n";
        return kCliNotDrawn;
    }
    if (request.report != CliReport::Json) {
        out << *request.step << "\n";
    }
    return kCliWritten;
}

// "-o -": the drawing goes to standard output. It is written to a temporary file first (the
// writer only makes complete files, and the report reads the drawing back), then copied.
constexpr const char* kStandardOutput = "-";

// A temporary file of its own for a drawing bound for standard output; nothing when none can
// be made.
std::optional<std::string> TemporaryDrawing() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern =
        std::string(folder != nullptr && *folder ? folder : "/tmp") + "/tarvo-cli-XXXXXX";
    const int handle = mkstemp(pattern.data());
    if (handle < 0) {
        return std::nullopt;
    }
    close(handle);
    return pattern;
}

bool CopyFile(const std::string& path, std::ostream& out) {
    std::ifstream file(path, std::ios::binary);
    out << file.rdbuf();
    return file.good() || file.eof();
}

int DrawInto(const CliRequest& request, std::ostream& out, std::ostream& err);

// Fills the state as the window's pages would and makes the drawing.
int Draw(const CliRequest& request, std::ostream& out, std::ostream& err) {
    if (request.output != kStandardOutput) {
        return DrawInto(request, out, err);
    }
    const std::optional<std::string> drawing = TemporaryDrawing();
    if (!drawing) {
        err << words::kPrefix << "не удаётся создать временный файл для чертежа\n";
        return kCliNotDrawn;
    }
    CliRequest temporary = request;
    temporary.output = *drawing;
    // The path (and the report, when asked for) go to the error stream: standard output holds
    // the drawing alone.
    std::ostringstream report;
    int status = DrawInto(temporary, report, err);
    if (status == kCliWritten) {
        if (request.report) {
            err << report.str();
        }
        if (!CopyFile(temporary.output, out)) {
            err << words::kPrefix << "чертёж не удалось вывести\n";
            status = kCliNotDrawn;
        }
    }
    std::remove(temporary.output.c_str());
    return status;
}

int DrawInto(const CliRequest& request, std::ostream& out, std::ostream& err) {
    MainMod state;
    InitMainMod(state);
    state.AccEv = request.involutePoints;
    state.AccPer = request.filletPoints;
    state.OutFile = request.output;
    state.SingleMember = request.job == CliJob::Spline;
    state.CutFillet = request.cutFillet;
    state.Tolerance = request.tolerance;
    if (const auto rack = StoreRequestRack(request, state, err); !rack.ok()) {
        err << words::kPrefix << words::kCustomRack << ZeroParameterMessage(rack.fault()) << "\n";
        return kCliBadUsage;
    }
    // Values out of range are named as the window names them, and nothing is written.
    if (const InputCheck check = CheckInputRanges(state, CallOf(request, state)); !check.ok()) {
        const InputFault& fault = check.fault();
        err << words::kPrefix << OptionOf(fault.field) << words::kBadParameter
            << FieldCaption(fault.field) << "»: " << fault.reason << "\n";
        return kCliNotDrawn;
    }
    // The sheet is made only for a report or a parameter table, as the drawing is written.
    std::optional<DataSheetResult> sheet;
    const DrawResult result = [&] {
        if (!request.report && !request.table) {
            return RunBuilder(state, CallOf(request, state));
        }
        DrawnSheet both = DrawWithDataSheet(state, CallOf(request, state), SheetOptionsOf(request));
        sheet = std::move(both.sheet);
        return std::move(both.drawn);
    }();
    if (result.ok()) {
        PrintReport(request, state, sheet, out);
        if (!WriteTable(request, sheet, err)) {
            return kCliNotDrawn;
        }
        return request.step ? WriteStep(request, state, out, err) : kCliWritten;
    }
    const DrawFault& fault = result.fault();
    switch (fault.kind) {
        case DrawFault::Kind::GeometryRefused:
            err << words::kPrefix << words::kNotDrawn << DrawReason(fault) << "\n";
            break;
        case DrawFault::Kind::FileNotWritten:
            err << words::kPrefix << words::kFile << state.OutFile << words::kFileNotWritten
                << RussianOsReason(fault.fileError) << "\n";
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
    if (!args.empty() && args[0] == "--from") {
        if (args.size() < 2) {
            err << words::kPrefix << "--from: a value is missing\n";
            return kCliBadUsage;
        }
        const CliArgsRead read =
            ArgsOfCalculation(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
        if (!read.ok()) {
            err << words::kPrefix << read.fault() << "\n";
            return kCliBadUsage;
        }
        return CliMain(read.value(), out, err);
    }
    const CliParse parse = ParseCliArgs(args);
    if (!parse.ok()) {
        err << words::kPrefix << parse.fault() << "\n";
        return kCliBadUsage;
    }
    return RunCli(parse.value(), out, err);
}

}  // namespace tarvo
