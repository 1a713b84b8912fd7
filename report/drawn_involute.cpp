// Finding the drawn involute on a flank, and the flanks of a drawing rebuilt in memory.
#include "report/drawn_involute.h"

#include <cmath>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/involute.h"
#include "profile/pair_geometry.h"

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

// A flank as its builder handed it over, of a wheel of `z` external teeth.
DrawnFlank WheelFlank(std::vector<PointXY>&& points, FlankMembers&& members, int z) {
    DrawnFlank flank;
    flank.points = std::move(points);
    flank.members = std::move(members);
    flank.z = z;
    return flank;
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
    using Flanks = std::vector<DrawnFlank>;
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair: {
            ExternalPairResult g = ComputeExternalPair(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            ExternalPairGeometry p = std::move(g).value();
            Flanks flanks(2);
            flanks[0] = WheelFlank(std::move(p.flank1), std::move(p.members1), call.Z1);
            flanks[1] = WheelFlank(std::move(p.flank2), std::move(p.members2), call.Z2);
            return flanks;
        }
        case BuilderCall::Kind::InternalPair: {
            InternalPairResult g = ComputeInternalPair(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            InternalPairGeometry p = std::move(g).value();
            Flanks flanks(2);
            // Wheel 1 is the pinion when the designer entered the smaller count first.
            const bool pinionFirst = FirstIsPinion(call.Z1, call.Z2);
            flanks[pinionFirst ? 0 : 1] =
                WheelFlank(std::move(p.pinionFlank), std::move(p.pinionMembers), p.zp);
            DrawnFlank& ring = flanks[pinionFirst ? 1 : 0];
            ring = WheelFlank(std::move(p.ringFlank), std::move(p.ringMembers), p.zr);
            ring.internal = true;
            return flanks;
        }
        case BuilderCall::Kind::Spline: {
            SplineResult g = ComputeSpline(state, call);
            if (!g.ok()) {
                return DrawnFlanksResult::Failure(g.fault());
            }
            SplineGeometry p = std::move(g).value();
            Flanks flanks(1);
            flanks[0] = WheelFlank(std::move(p.flank), std::move(p.members), call.Z);
            flanks[0].internal = call.hub;
            return flanks;
        }
    }
    return DrawnFlanksResult::Failure(GeometryError{});
}

}  // namespace tarvo
