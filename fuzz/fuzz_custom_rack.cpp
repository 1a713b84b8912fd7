// The designer's own basic rack: anything typed into its five boxes (angle, ha*, hf*, c*, rf*)
// is stored field by field up to the first zero, the fillet radius derived or held to its limit,
// and the messages made; then the worked gear pairs and the spline hub are computed with the
// stored rack and must either give finite outlines or refuse with a reason.
#include <array>
#include <cstdint>
#include <string>

#include "app/custom_rack.h"
#include "app/fault_text.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "fuzz/fuzz_support.h"
#include "math/number_text.h"

namespace {

// Every outline finite, or a refusal that says why.
template <typename Geometry>
void CheckGeometry(const tarvo::Outcome<Geometry, tarvo::GeometryError>& built,
                   std::initializer_list<const tarvo::PlacedOutline Geometry::*> outlines) {
    if (!built.ok()) {
        FUZZ_CHECK(!tarvo::Describe(built.fault()).empty(), "refused without a reason");
        return;
    }
    for (const tarvo::PlacedOutline Geometry::*outline : outlines) {
        const tarvo::PlacedOutline& points = built.value().*outline;
        FUZZ_CHECK(points.Size() > 0 && points.AllFinite(), "an outline not finite");
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
    double typed[5];
    for (int i = 0; i < 5; ++i) {
        typed[i] = tarvo::FieldValue(texts[static_cast<std::size_t>(i)]);
    }

    // The frame opens on the 20-degree row; fields after a refused one keep these values.
    tarvo::MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    const double before[5] = {20, 1, 1, 0.25, 0.38};
    double* const fields[5] = {&state.Alfa, &state.H, &state.Hf, &state.C, &state.Ro};
    for (int i = 0; i < 5; ++i) {
        *fields[i] = before[i];
    }
    const tarvo::CustomRackOutcome outcome = tarvo::StoreCustomRack(state, texts);
    int firstZero = 0;
    while (firstZero < 4 && typed[firstZero] != 0) {
        ++firstZero;
    }
    if (firstZero < 4) {
        FUZZ_CHECK(!outcome.ok(), "a zero field was stored");
        FUZZ_CHECK(static_cast<int>(outcome.fault()) == firstZero, "zero field %d, not %d",
                   static_cast<int>(outcome.fault()), firstZero);
        for (int i = 0; i < 5; ++i) {
            const double expected = i < firstZero ? typed[i] : before[i];
            FUZZ_CHECK(*fields[i] == expected, "field %d holds %g, not %g", i, *fields[i],
                       expected);
        }
        FUZZ_CHECK(!tarvo::ZeroParameterMessage(outcome.fault()).empty(), "no message");
        return 0;
    }
    FUZZ_CHECK(outcome.ok(), "five non-zero fields refused");
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(*fields[i] == typed[i], "field %d not stored as typed", i);
    }
    FUZZ_CHECK(typed[4] == 0 || outcome->roReduced || state.Ro == typed[4],
               "rf* changed without a message");
    if (outcome->roReduced) {
        FUZZ_CHECK(typed[4] != 0 && state.Ro < typed[4], "rf* reduced upwards");
        const std::string message = tarvo::ReducedRoMessage(state.Ro, ',');
        FUZZ_CHECK(message.find("уменьшен до величины ") != std::string::npos, "message '%s'",
                   message.c_str());
    }

    // The stored rack on the worked pairs (module 2, 20 and 40 teeth) and a 20-tooth hub.
    tarvo::BuilderCall call;
    call.Z = call.Z1 = 20;
    call.Z2 = 40;
    call.m = 2;
    call.alpha = state.Alfa;
    tarvo::MainMod s = state;
    const auto external = tarvo::ComputeExternalPair(s, call);
    CheckGeometry(external,
                  {&tarvo::ExternalPairGeometry::wheel1, &tarvo::ExternalPairGeometry::wheel2});
    s = state;
    const auto internal = tarvo::ComputeInternalPair(s, call);
    CheckGeometry(internal,
                  {&tarvo::InternalPairGeometry::ring, &tarvo::InternalPairGeometry::pinion});
    s = state;
    s.SingleMember = true;
    call.kind = tarvo::BuilderCall::Kind::Spline;
    call.hub = true;
    const auto hub = tarvo::ComputeSpline(s, call);
    CheckGeometry(hub, {&tarvo::SplineGeometry::outline});
    return 0;
}
