// A short stretch of outline in its own frame: its points measured along its chord from its first
// point and across it. The box they span in that frame hugs a stretch of flank however the flank
// runs, far closer than a box across x and y or a bounding circle: two flanks in contact lie a
// hair apart across their chords while their stretches' circles overlap by a fifth of a module.
// The mesh check and the shallow-touch test set stretches apart by these boxes before measuring
// their segments.
#pragma once

#include <algorithm>
#include <cmath>

#include "profile/point_xy.h"

namespace tarvo {

// The larger of 0, p and q, taken in that order (a NaN never replaces what came before it): how
// far apart two spans lie, given both ways round.
inline double AtLeastZero(double p, double q) {
    double most = 0.0;
    if (most < p) {
        most = p;
    }
    if (most < q) {
        most = q;
    }
    return most;
}

struct ChordFrame {
    PointXY origin;
    double ux = 1, uy = 0;  // along the chord; across is (-uy, ux)
    double along0 = HUGE_VAL, along1 = -HUGE_VAL, across0 = HUGE_VAL, across1 = -HUGE_VAL;

    // The frame of the chord from `first` to `last`, spanning no point yet; x and y serve where
    // the two points coincide.
    static ChordFrame Through(const PointXY& first, const PointXY& last) {
        ChordFrame f;
        f.origin = first;
        const double dx = last.X - first.X, dy = last.Y - first.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length > 0) {
            f.ux = dx / length;
            f.uy = dy / length;
        }
        return f;
    }

    double Along(const PointXY& p) const { return (p.X - origin.X) * ux + (p.Y - origin.Y) * uy; }
    double Across(const PointXY& p) const { return (p.Y - origin.Y) * ux - (p.X - origin.X) * uy; }

    // Widens the box to hold p.
    void Take(const PointXY& p) {
        const double along = Along(p), across = Across(p);
        along0 = std::min(along0, along);
        along1 = std::max(along1, along);
        across0 = std::min(across0, across);
        across1 = std::max(across1, across);
    }

    // The same frame turned about the origin by the angle of cosine c and sine s, then moved by
    // `shift`: the frame of the stretch turned and moved so, its box the same.
    ChordFrame Turned(double c, double s, const PointXY& shift) const {
        ChordFrame f = *this;
        f.origin = {shift.X + c * origin.X - s * origin.Y, shift.Y + s * origin.X + c * origin.Y};
        f.ux = c * ux - s * uy;
        f.uy = s * ux + c * uy;
        return f;
    }

    // The square of the gap between the box and the box of the segment pq, both in this frame
    // (pq = p alone for a point).
    double Gap2(const PointXY& p, const PointXY& q) const {
        const double a = Along(p), b = Along(q), c = Across(p), d = Across(q);
        const double da = AtLeastZero(along0 - std::max(a, b), std::min(a, b) - along1);
        const double dc = AtLeastZero(across0 - std::max(c, d), std::min(c, d) - across1);
        return da * da + dc * dc;
    }

    // How far apart the boxes of `a` and `b` lie: no point of either box comes nearer the other
    // than this (0 where their shadows on each axis of both frames meet).
    friend double Separation(const ChordFrame& a, const ChordFrame& b) {
        return std::max(a.Apart(b), b.Apart(a));
    }

  private:
    // How far b's box lies from this box along this frame's axes.
    double Apart(const ChordFrame& b) const {
        const double midAlong = (b.along0 + b.along1) / 2, midAcross = (b.across0 + b.across1) / 2;
        const double halfAlong = (b.along1 - b.along0) / 2;
        const double halfAcross = (b.across1 - b.across0) / 2;
        // b's box: its middle on this frame's axes, and how far it reaches from there, by the
        // angle between the two chords.
        const double mx = (b.origin.X - origin.X) + midAlong * b.ux - midAcross * b.uy;
        const double my = (b.origin.Y - origin.Y) + midAlong * b.uy + midAcross * b.ux;
        const double cosine = b.ux * ux + b.uy * uy, sine = b.uy * ux - b.ux * uy;
        const double reachAlong = halfAlong * std::fabs(cosine) + halfAcross * std::fabs(sine);
        const double reachAcross = halfAlong * std::fabs(sine) + halfAcross * std::fabs(cosine);
        const double along = mx * ux + my * uy, across = my * ux - mx * uy;
        const double apartAlong =
            AtLeastZero(along - reachAlong - along1, along0 - (along + reachAlong));
        const double apartAcross =
            AtLeastZero(across - reachAcross - across1, across0 - (across + reachAcross));
        return std::max(apartAlong, apartAcross);
    }
};

}  // namespace tarvo
