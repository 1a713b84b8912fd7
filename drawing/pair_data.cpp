// Checks and transverse conversion shared by the external and internal pair builders.
#include "drawing/pair_data.h"

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {

std::optional<GeometryError> CheckPairCall(const BuilderCall& call, bool internal) {
    for (const int wheel : {1, 2}) {
        const int z = wheel == 1 ? call.Z1 : call.Z2;
        const WheelRole role = wheel == 1 ? WheelRole::Wheel1 : WheelRole::Wheel2;
        if (z < 1) {
            return GeometryError{GeometryFault::ToothCountNotPositive, wheel, role};
        }
        if (z > kMaxTeeth) {
            return GeometryError{GeometryFault::TooManyTeeth, wheel, role};
        }
    }
    if (internal && call.Z1 == call.Z2) {
        return GeometryError{GeometryFault::EqualToothCounts, 0, WheelRole::Pair};
    }
    if (!(call.m > 0) || !std::isfinite(call.m)) {
        return GeometryError{GeometryFault::ModuleNotPositive, 0, WheelRole::Pair};
    }
    for (const double v : {call.beta, call.alpha, call.x1, call.x2, call.jn}) {
        if (!std::isfinite(v)) {
            return GeometryError{GeometryFault::DataOutOfRange, 0, WheelRole::Pair};
        }
    }
    return std::nullopt;
}

TransverseSection ToTransverse(const MainMod& state, const BuilderCall& call,
                               bool keepNormalDedendum) {
    TransverseSection t;
    t.mt = call.m;
    t.alphaT = GradToRad(call.alpha);
    t.beta = GradToRad(call.beta);
    t.ha = state.H;
    t.hf = state.Hf;
    t.c = state.C;
    t.rf = state.Ro;
    t.x1 = call.x1;
    t.x2 = call.x2;
    if (t.beta != 0) {
        const double cosB = std::cos(t.beta);
        t.mt = call.m / cosB;
        t.alphaT = std::atan(std::tan(GradToRad(call.alpha)) / cosB);
        t.ha = t.ha * cosB;
        if (!keepNormalDedendum) {
            t.hf = t.hf * cosB;
        }
        t.c = t.c * cosB;
        t.x1 = t.x1 * cosB;
        t.x2 = t.x2 * cosB;
        t.rf = t.rf * cosB;
    }
    return t;
}

ToothProfileInput PairProfileInput(const MainMod& state, const BuilderCall& call,
                                   const TransverseSection& t, double alphaTw, bool internal) {
    const double bb = std::atan(std::cos(t.alphaT) * std::tan(t.beta));  // base helix angle
    ToothProfileInput in;
    in.m = t.mt;
    in.alpha = t.alphaT;
    in.hf = t.hf;
    in.c = t.c;
    in.rf = t.rf;
    in.jn = call.jn / (std::cos(alphaTw) * std::cos(bb));  // transverse backlash
    in.internal = internal;
    in.AccEv = state.AccEv;
    in.AccPer = state.AccPer;
    in.tolerance = state.Tolerance;
    in.SingleMember = false;
    return in;
}

}  // namespace tarvo
