// Finding the drawn involute on a flank, and the flanks of a drawing rebuilt in memory.
#include "report/drawn_involute.h"

#include <cmath>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/involute.h"

namespace tarvo {

namespace {

double Radius(const PointXY& p) {
    return std::hypot(p.X, p.Y);
}

// The polar angle of the involute of base radius rb at radius r, up to its constant: an
// external flank on the positive-Y side turns back (towards the tooth's centre line) as it
// rises, an internal one forward.
double InvoluteTurn(double r, double rb, bool internal) {
    const double alpha = std::acos(std::fmin(rb / r, 1.0));
    return internal ? -Inv(alpha) : Inv(alpha);
}

}  // namespace

InvoluteSpan DrawnInvoluteSpan(const std::vector<PointXY>& flank, double db, bool internal) {
    if (flank.empty()) {
        return {};
    }
    const double rb = db / 2;
    const bool tipLast = internal ? Radius(flank.back()) < Radius(flank.front())
                                  : Radius(flank.back()) > Radius(flank.front());
    const auto at = [&](std::size_t i) -> const PointXY& {
        return tipLast ? flank[flank.size() - 1 - i] : flank[i];
    };
    const double rTip = Radius(at(0));
    InvoluteSpan span{2 * rTip, 2 * rTip};
    if (!(rTip > rb)) {
        return span;
    }
    // theta + inv(alpha) is the same for every point of one external involute.
    const double constant = std::atan2(at(0).Y, at(0).X) + InvoluteTurn(rTip, rb, internal);
    for (std::size_t i = 1; i < flank.size(); ++i) {
        const double r = Radius(at(i));
        if (!(r >= rb)) {
            break;
        }
        const double theta = std::atan2(at(i).Y, at(i).X) + InvoluteTurn(r, rb, internal);
        if (!(std::fabs(theta - constant) * r <= kOnInvolute)) {
            break;
        }
        span.from = 2 * r;
    }
    return span;
}

DrawnFlanksResult DrawnFlanks(const MainMod& state, const BuilderCall& call) {
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair: {
            const ExternalPairResult g = ComputeExternalPair(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            return FlanksOf(g.value(), call);
        }
        case BuilderCall::Kind::InternalPair: {
            const InternalPairResult g = ComputeInternalPair(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            return FlanksOf(g.value(), call);
        }
        case BuilderCall::Kind::Spline: {
            const SplineResult g = ComputeSpline(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            return FlanksOf(g.value(), call);
        }
    }
    return DrawnFlanksResult::Failure(GeometryError{});
}

}  // namespace tarvo
