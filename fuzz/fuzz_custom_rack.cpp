// The designer's own basic rack: anything typed into its five boxes (angle, ha*, hf*, c*, rf*)
// is stored field by field up to the first zero, the fillet radius derived or held to its limit,
// and the messages made; then the worked gear pairs and the spline hub are computed with the
// stored rack and must either give finite outlines or refuse with a reason.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "app/custom_rack.h"
#include "app/fault_text.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "drawing/turn.h"
#include "fuzz/fuzz_support.h"
#include "math/number_text.h"

namespace {

// The 20/40 pair of module 2 and the 20-tooth hub, on the rack just stored.
tarvo::BuilderCall PairCall(double alpha) {
    tarvo::BuilderCall call;
    call.Z1 = 20;
    call.Z2 = 40;
    call.m = 2;
    call.alpha = alpha;
    return call;
}

tarvo::BuilderCall HubCall(double alpha) {
    tarvo::BuilderCall call;
    call.kind = tarvo::BuilderCall::Kind::Spline;
    call.Z = 20;
    call.m = 2;
    call.alpha = alpha;
    call.hub = true;
    return call;
}

// Every outline finite, or a refusal that says why.
template <typename Geometry>
void CheckGeometry(const Geometry& g, std::initializer_list<const tarvo::Outline*> outlines) {
    if (!g.error.ok()) {
        FUZZ_CHECK(!tarvo::Describe(g.error).empty(), "refused without a reason");
        return;
    }
    for (const tarvo::Outline* outline : outlines) {
        FUZZ_CHECK(!outline->empty() && tarvo::AllFinite(*outline), "an outline not finite");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::string, 5> texts;
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < texts.size(); ++i) {
        if (data[i] == '\0') {
            ++field;
        } else {
            texts[field].push_back(static_cast<char>(data[i]));
        }
    }

    // The frame opens on the 20-degree row; fields after a refused one keep these values.
    tarvo::MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    const double before[5] = {20, 1, 1, 0.25, 0.38};
    state.Alfa = before[0];
    state.H = before[1];
    state.Hf = before[2];
    state.C = before[3];
    state.Ro = before[4];

    const tarvo::CustomRackOutcome outcome = tarvo::StoreCustomRack(state, texts);
    const double stored[5] = {state.Alfa, state.H, state.Hf, state.C, state.Ro};
    int firstZero = -1;
    for (int i = 0; i < 4 && firstZero < 0; ++i) {
        if (tarvo::FieldValue(texts[static_cast<std::size_t>(i)]) == 0) {
            firstZero = i;
        }
    }
    if (firstZero >= 0) {
        FUZZ_CHECK(!outcome.stored, "a zero field was stored");
        FUZZ_CHECK(static_cast<int>(outcome.zeroField) == firstZero, "zero field %d, not %d",
                   static_cast<int>(outcome.zeroField), firstZero);
        for (int i = 0; i < 5; ++i) {
            const double expected = i < firstZero
                                        ? tarvo::FieldValue(texts[static_cast<std::size_t>(i)])
                                        : before[i];
            FUZZ_CHECK(stored[i] == expected, "field %d holds %g, not %g", i, stored[i],
                       expected);
        }
        FUZZ_CHECK(!tarvo::ZeroParameterMessage(outcome.zeroField).empty(), "no message");
        return 0;
    }
    FUZZ_CHECK(outcome.stored, "five non-zero fields refused");
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(stored[i] == tarvo::FieldValue(texts[static_cast<std::size_t>(i)]),
                   "field %d not stored as typed", i);
    }
    const double typedRo = tarvo::FieldValue(texts[4]);
    if (typedRo != 0 && !outcome.roReduced) {
        FUZZ_CHECK(state.Ro == typedRo, "rf* changed without a message");
    }
    if (outcome.roReduced) {
        FUZZ_CHECK(typedRo != 0 && state.Ro < typedRo, "rf* reduced upwards");
        const std::string message = tarvo::ReducedRoMessage(state.Ro, ',');
        FUZZ_CHECK(message.find("уменьшен до величины ") != std::string::npos, "message '%s'",
                   message.c_str());
    }

    // The stored rack on the worked pairs (module 2, 20 and 40 teeth) and a 20-tooth hub.
    {
        tarvo::MainMod s = state;
        const auto g = tarvo::ComputeExternalPair(s, PairCall(state.Alfa));
        CheckGeometry(g, {&g.wheel1, &g.wheel2});
    }
    {
        tarvo::MainMod s = state;
        const auto g = tarvo::ComputeInternalPair(s, PairCall(state.Alfa));
        CheckGeometry(g, {&g.ring, &g.pinion});
    }
    {
        tarvo::MainMod s = state;
        s.SingleMember = true;
        const auto g = tarvo::ComputeSpline(s, HubCall(state.Alfa));
        CheckGeometry(g, {&g.outline});
    }
    return 0;
}
