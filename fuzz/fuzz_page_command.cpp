// The page command through whole sessions of "OK" presses, as the window drives it: on each
// page the designer may type anything into that page's boxes and flip its options, then press
// "OK". Every press must end in a refusal with a message and nothing stored, or in the next page
// of the cycle; the one builder call, on leaving the file page, must carry the values that
// passed the parameters page's checks. A capturing builder stands in for the real ones and
// answers written, refused or not saved as the fuzz bytes say.
#include <cstdint>
#include <string>
#include <vector>

#include "app/page_command.h"
#include "drawing/spline.h"  // kMaxShaftTeeth
#include "fuzz/fuzz_support.h"
#include "math/constants.h"
#include "math/number_text.h"
#include "math/rounding.h"

namespace {

using tarvo::BuilderCall;
using tarvo::Page;

// A text typed into a box: up to 31 bytes of anything.
std::string Typed(tarvo_fuzz::ByteReader& in) {
    std::string text(in.Byte() % 32, '\0');
    for (char& ch : text) {
        ch = static_cast<char>(in.Byte());
    }
    return text;
}

// The designer's edits on the visible page: a few boxes retyped, or its option flipped where
// the pick lands past the boxes.
void Edit(tarvo_fuzz::ByteReader& in, tarvo::PageInput& input) {
    std::vector<std::string*> boxes;
    bool* option = nullptr;
    switch (input.page) {
        case Page::GearPair:
            boxes = {&input.txtm,  &input.txtZ1, &input.txtZ2, &input.txtBeta,
                     &input.txtx1, &input.txtx2, &input.txtJbn};
            option = &input.external;
            break;
        case Page::Spline:
            boxes = {&input.txtmSL, &input.txtZ, &input.txtX};
            option = &input.hub;
            break;
        case Page::Accuracy:
            boxes = {&input.txtAccEv, &input.txtAccPer};
            break;
        case Page::File:
            boxes = {&input.txtFileName, &input.dirHighlighted};
            break;
        default:
            break;
    }
    for (int edits = in.Byte() % 4; edits > 0; --edits) {
        const std::uint8_t which = in.Byte();
        if (input.page == Page::Start) {
            input.task = std::string(1, static_cast<char>('0' + which % 3));
        } else if (option != nullptr && which % (boxes.size() + 1) == boxes.size()) {
            *option = !*option;
        } else if (!boxes.empty()) {
            *boxes[which % (option != nullptr ? boxes.size() + 1 : boxes.size())] = Typed(in);
        }
    }
}

bool SameState(const tarvo::MainMod& a, const tarvo::MainMod& b) {
    return a.AccEv == b.AccEv && a.AccPer == b.AccPer && a.SingleMember == b.SingleMember &&
           a.Alfa == b.Alfa && a.H == b.H && a.Hf == b.Hf && a.C == b.C && a.Ro == b.Ro &&
           a.CutFillet == b.CutFillet && a.OutFile == b.OutFile;
}

// A count as the builder got it against the text that passed the checks.
void CheckCount(int count, const std::string& typed, int bits, int most) {
    FUZZ_CHECK(count >= 1 && count <= most, "a count of %d", count);
    FUZZ_CHECK(tarvo::ToWhole(tarvo::FieldValue(typed), bits) == count,
               "a count that is not what was checked");
    FUZZ_CHECK(tarvo::RawValue(typed) > 0, "a count whose typed number is not above 0");
}

// The call against the parameters page last left (`pair` tells which) as it was then.
void CheckCall(const BuilderCall& call, bool pair, const tarvo::PageInput& passed) {
    if (pair) {
        FUZZ_CHECK(call.kind == (passed.external ? BuilderCall::Kind::ExternalPair
                                                 : BuilderCall::Kind::InternalPair),
                   "a pair drawn with the wrong builder");
        CheckCount(call.Z1, passed.txtZ1, passed.external ? 16 : 32, tarvo::kMaxTeeth);
        CheckCount(call.Z2, passed.txtZ2, passed.external ? 16 : 32, tarvo::kMaxTeeth);
        FUZZ_CHECK(passed.external || call.Z1 != call.Z2, "an internal pair of equal counts");
    } else {
        FUZZ_CHECK(call.kind == BuilderCall::Kind::Spline, "a spline drawn as a pair");
        FUZZ_CHECK(call.hub == passed.hub, "hub and shaft mixed up");
        CheckCount(call.Z, passed.txtZ, 16, passed.hub ? tarvo::kMaxTeeth : tarvo::kMaxShaftTeeth);
        FUZZ_CHECK(call.alpha == 30, "a spline not on its 30-degree rack");
    }
    FUZZ_CHECK(call.m > 0 && call.m == tarvo::FieldValue(pair ? passed.txtm : passed.txtmSL),
               "module %g is not what was checked", call.m);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvo_fuzz::ByteReader in(data, size);
    tarvo::MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    tarvo::PageInput input;
    input.txtAccEv = "6";
    input.txtAccPer = "3";
    for (std::string* text :
         {&input.dateText, &input.timeText, &input.dirPath, &input.dirHighlighted}) {
        *text = Typed(in);
    }

    // What the parameters page let through when it was last left.
    bool pair = false;
    tarvo::PageInput passed;
    const int presses = 1 + in.Byte() % 24;
    for (int press = 0; press < presses; ++press) {
        Edit(in, input);
        const std::uint8_t answer = in.Byte();
        const tarvo::MainMod before = state;
        int calls = 0;
        const tarvo::Builder capture = [&](const tarvo::MainMod& s, const BuilderCall& call) {
            ++calls;
            FUZZ_CHECK(input.page == Page::File, "a drawing made on leaving another page");
            CheckCall(call, pair, passed);
            FUZZ_CHECK(!s.OutFile.empty(), "a drawing without a path");
            using Kind = tarvo::DrawFault::Kind;
            if (answer % 3 == 1) {
                return tarvo::DrawResult::Failure(
                    {Kind::GeometryRefused,
                     {tarvo::GeometryFault::PointedTooth, 1, tarvo::WheelRole::Wheel1},
                     {}});
            }
            if (answer % 3 == 2) {
                return tarvo::DrawResult::Failure(
                    {Kind::FileNotWritten, {}, std::make_error_code(std::errc::permission_denied)});
            }
            return tarvo::DrawResult{tarvo::WrittenFile{}};
        };
        const tarvo::PageResult result = tarvo::CtlComClick(state, input, capture);
        FUZZ_CHECK(calls <= 1, "%d drawings in one press", calls);

        if (!result.ok()) {
            const tarvo::PageRefusal& refusal = result.fault();
            FUZZ_CHECK(calls == 0, "a refused press made a drawing");
            FUZZ_CHECK(input.page == Page::GearPair || input.page == Page::Spline,
                       "a page without checks refused");
            FUZZ_CHECK(!refusal.message.text.empty() &&
                           refusal.message.icon == tarvo::MessageIcon::Critical,
                       "refused without a message, or with the wrong icon");
            FUZZ_CHECK(refusal.focus.has_value(), "refused without a focus");
            FUZZ_CHECK(SameState(before, state), "a refused page stored something");
            continue;
        }
        const tarvo::PageOutcome& outcome = result.value();
        FUZZ_CHECK(outcome.call.has_value() == (calls == 1), "call not reported");
        Page expected = Page::Start;
        switch (input.page) {
            case Page::Start:
                expected = input.task == "0" ? Page::GearPair : Page::Spline;
                FUZZ_CHECK(state.SingleMember == (input.task != "0"), "SingleMember");
                input.txtX = outcome.txtX.value_or(input.txtX);
                break;
            case Page::GearPair:
            case Page::Spline:
                expected = Page::Accuracy;
                pair = input.page == Page::GearPair;
                passed = input;
                FUZZ_CHECK(!state.OutFile.empty(), "no path after a parameters page");
                input.txtFileName = outcome.txtFileName.value_or(input.txtFileName);
                break;
            case Page::Accuracy:
                expected = Page::File;
                FUZZ_CHECK(state.AccEv >= tarvo::kMinAccEv && state.AccEv <= tarvo::kMaxAccEv &&
                               state.AccPer >= tarvo::kMinAccPer &&
                               state.AccPer <= tarvo::kMaxAccPer,
                           "point counts %d and %d", state.AccEv, state.AccPer);
                input.txtAccEv = outcome.txtAccEv.value_or(input.txtAccEv);
                input.txtAccPer = outcome.txtAccPer.value_or(input.txtAccPer);
                break;
            case Page::File: {
                if (calls == 0) {
                    // Values out of range are refused before any drawing: back to the
                    // parameters, the box to change named, the path as it was.
                    FUZZ_CHECK(outcome.message &&
                                   outcome.message->icon == tarvo::MessageIcon::Critical &&
                                   outcome.focus.has_value(),
                               "the file page left without a drawing or a range refusal");
                    FUZZ_CHECK(state.OutFile == before.OutFile, "a range refusal moved the path");
                    expected = pair ? Page::GearPair : Page::Spline;
                    break;
                }
                const bool written = outcome.drawn && outcome.drawn->ok();
                // Impossible teeth send the designer back to the entries; a file not written
                // keeps the file page, so another folder or name can be chosen.
                const bool geometry =
                    outcome.drawn && !written &&
                    outcome.drawn->fault().kind == tarvo::DrawFault::Kind::GeometryRefused;
                const Page entries = pair ? Page::GearPair : Page::Spline;
                expected = written ? Page::Report : geometry ? entries : Page::File;
                const std::string& path = state.OutFile;
                if (written) {
                    FUZZ_CHECK(outcome.txtRep && *outcome.txtRep == path,
                               "the report does not show the path written");
                    const std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : "";
                    FUZZ_CHECK(end == ".dxf" || end == ".DXF", "a drawing path without .dxf");
                } else {
                    FUZZ_CHECK(outcome.message && !outcome.message->text.empty(),
                               "a drawing not saved and nothing said");
                    FUZZ_CHECK(!outcome.txtRep && path == before.OutFile,
                               "a report, or a new path, for a drawing not saved");
                }
                break;
            }
            case Page::Report:
                break;
        }
        FUZZ_CHECK(outcome.next == expected, "page %d led to %d, not %d",
                   static_cast<int>(input.page), static_cast<int>(outcome.next),
                   static_cast<int>(expected));
        input.page = outcome.next;
    }
    return 0;
}
