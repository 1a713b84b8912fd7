// Tooth flanks of both members of an external or internal mesh. An external member's flank
// runs from the root end of its fillet to the tip circle; an internal gear's from its tip circle
// along the involute to the junction and on along the cutter fillet to the root.
#include "profile/tooth_profile.h"

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"

namespace tarvo {

namespace {

double Radius(const PointXY& p) { return std::sqrt(p.X * p.X + p.Y * p.Y); }

bool AllFinite(const std::vector<PointXY>& flank) {
    for (const PointXY& p : flank) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            return false;
        }
    }
    return true;
}

// Involute of an external member from its junction radius r0 to the tip circle, into flank
// points accPer .. accPer + accEv (counted from 1), evenly spaced in radius.
void ExternalInvolute(std::vector<PointXY>& prof, int accPer, int accEv, double r0, double da,
                      double db, double psi) {
    for (int k = accPer; k <= accPer + accEv; ++k) {
        const double r = r0 + ((k - accPer) * (da / 2 - r0)) / accEv;
        const double ak = ArcCos(db / (2 * r));
        const double t = psi - Inv(ak);
        prof[static_cast<std::size_t>(k - 1)] = {r * std::cos(t), r * std::sin(t)};
    }
}

// The transition curve reversed into flank points 1 .. accPer: root end first, the junction at
// point accPer.
void ReversedFillet(std::vector<PointXY>& prof, const std::vector<PointXY>& per, int accPer) {
    for (int k = 1; k <= accPer; ++k) {
        prof[static_cast<std::size_t>(k - 1)] = per[static_cast<std::size_t>(accPer - k)];
    }
}

// The data that decide which wheel a failure belongs to and why.
struct FaultContext {
    double da[3];
    double db[3];
    double dl[3];
    bool generated[3];  // members whose flank was being computed
    bool mateTipUsed;   // the mate's tip circle enters each member's limit diameter
    bool internal;      // member 2 is an internal gear cut by a pinion-type cutter
};

// Chooses the reason a designer is given for a failure first seen in `member`: a tip circle
// inside its base circle (the member's own, then its mate's when that enters the member's
// geometry), an undefined start of the active profile, or the fault as it was seen.
GeometryError Diagnose(const FaultContext& ctx, int member, GeometryFault seen) {
    const int mate = 3 - member;
    if (!(ctx.da[member] >= ctx.db[member])) {
        return {GeometryFault::TipInsideBase, member, {}};
    }
    if (ctx.mateTipUsed && !(ctx.da[mate] >= ctx.db[mate])) {
        return {GeometryFault::TipInsideBase, mate, {}};
    }
    // The equivalent rack's angle comes from the limit and tip diameters of a rack-generated
    // member; when they give no angle, neither the rounding nor the points can be found.
    const bool rackMember = member == 1 || !ctx.internal;
    if ((seen == GeometryFault::RackRoundingNotFound || seen == GeometryFault::NonFinitePoint) &&
        rackMember && ctx.generated[member] &&
        !(2 * ctx.db[member] <= ctx.dl[member] + ctx.da[member])) {
        return {GeometryFault::ActiveProfileUndefined, member, {}};
    }
    return {seen, member, {}};
}

}  // namespace

ToothProfileReport ToothProfile(MainMod& state, std::int32_t z1, std::int32_t z2, double d1,
                                double d2, double& da1, double& da2, double db1, double db2,
                                double m, double alpha, double x1, double x2, double ha,
                                double hf, double c, double rf, std::int32_t z0, double jn,
                                bool internal) {
    (void)ha;  // the tip diameters already carry the addendum
    ToothProfileReport report;
    const int accPer = state.AccPer;
    const int accEv = state.AccEv;
    const int n = accPer + accEv;
    const double T = hf + c;

    state.Per1.assign(static_cast<std::size_t>(accPer), PointXY{});
    state.Per2.assign(static_cast<std::size_t>(accPer), PointXY{});
    state.Prof1.assign(static_cast<std::size_t>(n), PointXY{});
    state.Prof2.assign(static_cast<std::size_t>(n), PointXY{});

    // Tooth thickness of member 1 on its reference circle, less its share of the backlash, and
    // the polar angle at which its involute leaves the base circle.
    const double tanA = std::tan(alpha);
    const double invA = Inv(alpha);
    const double s1 = (kPi / 2 + (2 * x1) * tanA) * m - (z1 * jn) / (z1 + z2);
    const double psi1 = s1 / d1 + invA;
    const double aa1 = ArcCos(db1 / da1);
    const double aa2 = ArcCos(db2 / da2);
    const double ga1 = (std::tan(aa1) * db1) / 2;
    const double ga2 = (std::tan(aa2) * db2) / 2;

    FaultContext ctx{};
    ctx.internal = internal;
    auto fail = [&](int member, GeometryFault seen) {
        ctx.da[1] = da1;
        ctx.da[2] = da2;
        ctx.db[1] = db1;
        ctx.db[2] = db2;
        ctx.dl[1] = report.dl1;
        ctx.dl[2] = report.dl2;
        report.error = Diagnose(ctx, member, seen);
        return report;
    };

    if (!internal) {
        const double s2 = (kPi / 2 + (2 * x2) * tanA) * m - (z2 * jn) / (z1 + z2);
        const double psi2 = s2 / d2 + invA;
        const ArcInvResult working = ArcInv(((2 * (x1 + x2)) * tanA) / (z1 + z2) + invA);
        report.workingAngle = working.angle;
        ctx.generated[1] = true;
        ctx.generated[2] = !state.SingleMember;
        ctx.mateTipUsed = true;
        if (!working.converged) {
            return fail(1, GeometryFault::WorkingAngleNotFound);
        }
        const double aw = working.angle;
        const double a = (((d1 + d2) / 2) * std::cos(alpha)) / std::cos(aw);
        report.centreDistance = a;
        // Along the line of action to where each mate's tip circle cuts it.
        const double L1 = a * std::sin(aw) - ga2;
        const double L2 = a * std::sin(aw) - ga1;
        report.dl1 = std::sqrt(db1 * db1 + 4 * (L1 * L1));
        report.dl2 = std::sqrt(db2 * db2 + 4 * (L2 * L2));

        report.rack1 = RackFillet(z1, db1, da1, report.dl1, psi1, m, alpha, T, rf, accPer,
                                  state.Per1);
        if (report.rack1.fault != GeometryFault::None) {
            return fail(1, report.rack1.fault);
        }
        if (!state.SingleMember) {
            report.rack2 = RackFillet(z2, db2, da2, report.dl2, psi2, m, alpha, T, rf, accPer,
                                      state.Per2);
            if (report.rack2.fault != GeometryFault::None) {
                return fail(2, report.rack2.fault);
            }
        }

        ReversedFillet(state.Prof1, state.Per1, accPer);
        const double r1 = Radius(state.Prof1[static_cast<std::size_t>(accPer - 1)]);
        ExternalInvolute(state.Prof1, accPer, accEv, r1, da1, db1, psi1);
        if (!state.SingleMember) {
            ReversedFillet(state.Prof2, state.Per2, accPer);
            const double r2 = Radius(state.Prof2[static_cast<std::size_t>(accPer - 1)]);
            ExternalInvolute(state.Prof2, accPer, accEv, r2, da2, db2, psi2);
        }
    } else {
        // The internal gear's tooth thickness on its reference circle (a positive shift makes
        // its teeth thinner) and the polar offset of its flank.
        const double s2 = (kPi / 2 - (2 * x2) * tanA) * m - (z2 * jn) / (z1 + z2);
        const double psi2 = s2 / d2 - invA;
        ctx.generated[1] = !state.SingleMember;
        ctx.generated[2] = true;
        ctx.mateTipUsed = !state.SingleMember;

        if (!state.SingleMember) {
            const ArcInvResult working =
                ArcInv(((2 * (x2 - x1)) * tanA) / (z2 - z1) + invA);
            report.workingAngle = working.angle;
            if (!working.converged) {
                return fail(1, GeometryFault::WorkingAngleNotFound);
            }
            const double aw = working.angle;
            const double a = (((d2 - d1) / 2) * std::cos(alpha)) / std::cos(aw);
            report.centreDistance = a;
            const double L1 = ga2 - a * std::sin(aw);
            const double L2 = a * std::sin(aw) + ga1;
            report.dl1 = std::sqrt(db1 * db1 + 4 * (L1 * L1));
            report.dl2 = std::sqrt(db2 * db2 + 4 * (L2 * L2));

            // Tip limits: the pinion's tip circle stays, in every angular position, inside the
            // circle of diameter dl2 about the ring's centre, and the ring's tip circle outside
            // the circle of diameter dl1 about the pinion's centre.
            if (report.dl2 - 2 * a < da1) {
                da1 = RoundToPlaces((report.dl2 - 2 * a) - 0.001, 3);
            }
            if (2 * a + report.dl1 > da2) {
                da2 = RoundToPlaces((2 * a + report.dl1) + 0.001, 3);
            }
            report.rack1 = RackFillet(z1, db1, da1, report.dl1, psi1, m, alpha, T, rf, accPer,
                                      state.Per1);
            if (report.rack1.fault != GeometryFault::None) {
                return fail(1, report.rack1.fault);
            }
        }

        report.cutter = CutterFillet(z2, z0, d2, db2, s2, psi2, m, alpha, x2, T, c, accPer,
                                     state.Per2);
        if (report.cutter.fault != GeometryFault::None) {
            return fail(2, report.cutter.fault);
        }

        // The internal gear: involute from the tip circle towards the junction, evenly spaced in
        // diameter, then the cutter fillet in generated order, junction first.
        for (int k = accEv + 1; k <= n; ++k) {
            state.Prof2[static_cast<std::size_t>(k - 1)] =
                state.Per2[static_cast<std::size_t>(k - accEv - 1)];
        }
        const double r2 = Radius(state.Prof2[static_cast<std::size_t>(accEv)]);
        if (!state.SingleMember) {
            ReversedFillet(state.Prof1, state.Per1, accPer);
        }
        for (int k = 1; k <= accEv; ++k) {
            const double D = da2 + ((k - 1) * (2 * r2 - da2)) / accEv;
            const double ak = ArcCos(db2 / D);
            const double t = Inv(ak) + psi2;
            state.Prof2[static_cast<std::size_t>(k - 1)] = {(D / 2) * std::cos(t),
                                                            (D / 2) * std::sin(t)};
        }
        if (!state.SingleMember) {
            const double r1 = Radius(state.Prof1[static_cast<std::size_t>(accPer - 1)]);
            ExternalInvolute(state.Prof1, accPer, accEv, r1, da1, db1, psi1);
        }
    }

    const bool member1 = !(internal && state.SingleMember);
    const bool member2 = internal || !state.SingleMember;
    if (member1 && !AllFinite(state.Prof1)) {
        return fail(1, GeometryFault::NonFinitePoint);
    }
    if (member2 && !AllFinite(state.Prof2)) {
        return fail(2, GeometryFault::NonFinitePoint);
    }
    return report;
}

}  // namespace tarvo
