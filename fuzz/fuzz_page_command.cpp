// The page command through whole sessions of "OK" presses, as the window drives it: on each
// page the designer may type anything into that page's boxes and flip its options, then press
// "OK". Every press must end in a refusal with a message and nothing stored, or in the next page
// of the cycle; the one builder call, on leaving the file page, must carry the values that
// passed the parameters page's checks. A capturing builder stands in for the real ones and
// answers written, refused or not saved as the fuzz bytes say.
#include <cmath>
#include <cstdint>
#include <string>

#include "app/page_command.h"
#include "drawing/spline.h"  // kMaxShaftTeeth
#include "fuzz/fuzz_support.h"
#include "math/constants.h"
#include "math/number_text.h"
#include "math/rounding.h"

namespace {

using tarvo::Box;
using tarvo::BuilderCall;
using tarvo::Page;

// A text typed into a box: up to 31 bytes of anything.
std::string Typed(tarvo_fuzz::ByteReader& in) {
    const int length = in.Byte() % 32;
    std::string text;
    for (int i = 0; i < length; ++i) {
        text.push_back(static_cast<char>(in.Byte()));
    }
    return text;
}

// The designer's edits on the visible page: a few boxes retyped, options flipped.
void Edit(tarvo_fuzz::ByteReader& in, tarvo::PageInput& input) {
    const int edits = in.Byte() % 4;
    for (int e = 0; e < edits; ++e) {
        const std::uint8_t which = in.Byte();
        switch (input.page) {
            case Page::Start:
                input.task = std::string(1, static_cast<char>('0' + which % 3));
                break;
            case Page::GearPair: {
                std::string* boxes[] = {&input.txtm,  &input.txtZ1, &input.txtZ2, &input.txtBeta,
                                        &input.txtx1, &input.txtx2, &input.txtJbn};
                if (which % 8 == 7) {
                    input.external = !input.external;
                } else {
                    *boxes[which % 8] = Typed(in);
                }
                break;
            }
            case Page::Spline: {
                std::string* boxes[] = {&input.txtmSL, &input.txtZ, &input.txtX};
                if (which % 4 == 3) {
                    input.hub = !input.hub;
                } else {
                    *boxes[which % 4] = Typed(in);
                }
                break;
            }
            case Page::Accuracy:
                (which % 2 == 0 ? input.txtAccEv : input.txtAccPer) = Typed(in);
                break;
            case Page::File:
                (which % 2 == 0 ? input.txtFileName : input.dirHighlighted) = Typed(in);
                break;
            case Page::Report:
                break;
        }
    }
}

// What a parameters page let through when it was left.
struct Passed {
    bool pair = false;  // the last parameters page left was the gear-pair page
    bool external = true;
    bool hub = false;
    std::string task;
    std::string m, z1, z2, z;
};

bool SameState(const tarvo::MainMod& a, const tarvo::MainMod& b) {
    return a.AccEv == b.AccEv && a.AccPer == b.AccPer && a.SingleMember == b.SingleMember &&
           a.Alfa == b.Alfa && a.H == b.H && a.Hf == b.Hf && a.C == b.C && a.Ro == b.Ro &&
           a.CutFillet == b.CutFillet && a.OutFile == b.OutFile;
}

// The call's counts and module against the texts that passed the checks.
void CheckCall(const BuilderCall& call, const Passed& passed) {
    if (passed.pair) {
        const auto kind = passed.external ? BuilderCall::Kind::ExternalPair
                                          : BuilderCall::Kind::InternalPair;
        FUZZ_CHECK(call.kind == kind, "a pair drawn with the wrong builder");
        FUZZ_CHECK(call.Z1 >= 1 && call.Z1 <= tarvo::kMaxTeeth, "Z1 %d", call.Z1);
        FUZZ_CHECK(call.Z2 >= 1 && call.Z2 <= tarvo::kMaxTeeth, "Z2 %d", call.Z2);
        FUZZ_CHECK(passed.external || call.Z1 != call.Z2, "an internal pair of equal counts");
        const int bits = passed.external ? 16 : 32;
        FUZZ_CHECK(tarvo::ToWhole(tarvo::FieldValue(passed.z1), bits) == call.Z1,
                   "Z1 is not what was checked");
        FUZZ_CHECK(tarvo::ToWhole(tarvo::FieldValue(passed.z2), bits) == call.Z2,
                   "Z2 is not what was checked");
        FUZZ_CHECK(tarvo::RawValue(passed.z1) > 0 && tarvo::RawValue(passed.z2) > 0,
                   "a count whose typed number is not above 0");
    } else {
        FUZZ_CHECK(call.kind == BuilderCall::Kind::Spline, "a spline drawn as a pair");
        FUZZ_CHECK(call.hub == passed.hub, "hub and shaft mixed up");
        const int most = passed.hub ? tarvo::kMaxTeeth : tarvo::kMaxShaftTeeth;
        FUZZ_CHECK(call.Z >= 1 && call.Z <= most, "Z %d", call.Z);
        FUZZ_CHECK(tarvo::ToWhole(tarvo::FieldValue(passed.z), 16) == call.Z,
                   "Z is not what was checked");
        FUZZ_CHECK(tarvo::RawValue(passed.z) > 0, "a count whose typed number is not above 0");
        FUZZ_CHECK(call.alpha == 30, "a spline not on its 30-degree rack");
    }
    FUZZ_CHECK(call.m > 0, "module %g", call.m);
    FUZZ_CHECK(call.m == tarvo::FieldValue(passed.m), "the module is not what was checked");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvo_fuzz::ByteReader in(data, size);
    tarvo::MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;

    tarvo::PageInput input;
    input.lbM0 = "Модуль нормальный, мм";
    input.lbM1 = "Модуль, мм";
    input.lbZ1 = "Число зубьев Z1";
    input.lbZ2_0 = "Число зубьев Z2";
    input.lbZ2_1 = "Число зубьев";
    input.txtAccEv = "6";
    input.txtAccPer = "3";
    input.dateText = Typed(in);
    input.timeText = Typed(in);
    input.dirPath = Typed(in);
    input.dirHighlighted = Typed(in);

    Passed passed;
    int calls = 0;
    const int presses = 1 + in.Byte() % 24;
    for (int press = 0; press < presses; ++press) {
        Edit(in, input);
        const std::uint8_t answer = in.Byte();
        const tarvo::MainMod before = state;
        int callsThisPress = 0;
        const tarvo::Builder capture = [&](const tarvo::MainMod& s, const BuilderCall& call) {
            ++callsThisPress;
            FUZZ_CHECK(input.page == Page::File, "a drawing made on leaving another page");
            CheckCall(call, passed);
            FUZZ_CHECK(!s.OutFile.empty(), "a drawing without a path");
            tarvo::DrawResult result;
            switch (answer % 3) {
                case 0:
                    break;  // written
                case 1:
                    result.status = tarvo::DrawStatus::GeometryRefused;
                    result.geometry = {tarvo::GeometryFault::PointedTooth, 1, tarvo::WheelRole::Wheel1};
                    break;
                default:
                    result.status = tarvo::DrawStatus::FileNotWritten;
                    result.fileReason = "Permission denied";
                    break;
            }
            return result;
        };

        const tarvo::PageOutcome outcome = tarvo::CtlComClick(state, input, capture);
        calls += callsThisPress;
        FUZZ_CHECK(callsThisPress <= 1, "%d drawings in one press", callsThisPress);
        FUZZ_CHECK(outcome.call.has_value() == (callsThisPress == 1), "call not reported");

        if (outcome.refused) {
            FUZZ_CHECK(input.page == Page::GearPair || input.page == Page::Spline,
                       "a page without checks refused");
            FUZZ_CHECK(outcome.message && !outcome.message->text.empty(),
                       "refused without a message");
            FUZZ_CHECK(outcome.message->icon == tarvo::MessageIcon::Critical, "icon");
            FUZZ_CHECK(outcome.focus.has_value(), "refused without a focus");
            FUZZ_CHECK(outcome.next == input.page, "a refused page was left");
            FUZZ_CHECK(SameState(before, state), "a refused page stored something");
            continue;
        }

        Page expected = Page::Start;
        switch (input.page) {
            case Page::Start:
                expected = input.task == "0" ? Page::GearPair : Page::Spline;
                FUZZ_CHECK(state.SingleMember == (input.task != "0"), "SingleMember");
                if (outcome.txtX) {
                    input.txtX = *outcome.txtX;
                }
                break;
            case Page::GearPair:
            case Page::Spline:
                expected = Page::Accuracy;
                passed.pair = input.page == Page::GearPair;
                passed.external = input.external;
                passed.hub = input.hub;
                passed.task = input.task;
                passed.m = passed.pair ? input.txtm : input.txtmSL;
                passed.z1 = input.txtZ1;
                passed.z2 = input.txtZ2;
                passed.z = input.txtZ;
                FUZZ_CHECK(!state.OutFile.empty(), "no path after a parameters page");
                if (outcome.txtFileName) {
                    input.txtFileName = *outcome.txtFileName;
                }
                break;
            case Page::Accuracy:
                expected = Page::File;
                FUZZ_CHECK(state.AccEv >= tarvo::kMinAccEv && state.AccEv <= tarvo::kMaxAccEv,
                           "AccEv %d", state.AccEv);
                FUZZ_CHECK(state.AccPer >= tarvo::kMinAccPer &&
                               state.AccPer <= tarvo::kMaxAccPer,
                           "AccPer %d", state.AccPer);
                if (outcome.txtAccEv) {
                    input.txtAccEv = *outcome.txtAccEv;
                }
                if (outcome.txtAccPer) {
                    input.txtAccPer = *outcome.txtAccPer;
                }
                break;
            case Page::File: {
                FUZZ_CHECK(callsThisPress == 1, "the file page left without a drawing");
                const bool written = outcome.drawn &&
                                     outcome.drawn->status == tarvo::DrawStatus::Written;
                expected = written ? Page::Report : Page::File;
                if (written) {
                    FUZZ_CHECK(outcome.txtRep && *outcome.txtRep == state.OutFile,
                               "the report does not show the path written");
                    const std::string& path = state.OutFile;
                    const std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : "";
                    FUZZ_CHECK(end == ".dxf" || end == ".DXF", "a drawing path without .dxf");
                } else {
                    FUZZ_CHECK(outcome.message && !outcome.message->text.empty(),
                               "a drawing not saved and nothing said");
                    FUZZ_CHECK(!outcome.txtRep, "a report for a drawing not saved");
                    FUZZ_CHECK(state.OutFile == before.OutFile,
                               "a drawing not saved changed the path");
                }
                break;
            }
            case Page::Report:
                expected = Page::Start;
                break;
        }
        FUZZ_CHECK(outcome.next == expected, "page %d led to %d, not %d",
                   static_cast<int>(input.page), static_cast<int>(outcome.next),
                   static_cast<int>(expected));
        input.page = outcome.next;
    }
    FUZZ_CHECK(calls <= presses, "more drawings than presses");
    return 0;
}
