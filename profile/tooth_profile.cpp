// Tooth flanks of both members of an external or internal mesh. An external member's flank
// runs from the root end of its fillet to the tip circle; an internal gear's from its tip circle
// along the involute to the junction and on along the cutter fillet to the root.
#include "profile/tooth_profile.h"

#include <cmath>
#include <optional>
#include <utility>

#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/all_finite.h"
#include "profile/length_unit.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

double Radius(const PointXY& p) {
    return std::sqrt(p.X * p.X + p.Y * p.Y);
}

// An external member's circles and the polar angle at which its involute leaves the base circle.
struct InvoluteCircles {
    double r0 = 0;  // junction radius, where the involute starts
    double da = 0;  // tip diameter, where it ends
    double db = 0;  // base diameter
    double psi = 0;
};

// Involute of an external member from its junction radius r0 to the tip circle, into flank
// points accPer .. accPer + accEv (counted from 1), evenly spaced in radius.
void ExternalInvolute(std::vector<PointXY>& prof, int accPer, int accEv,
                      const InvoluteCircles& circles) {
    const double r0 = circles.r0;
    const double da = circles.da;
    const double db = circles.db;
    const double psi = circles.psi;
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

// The pinion's and ring's tip circles are moved a micrometre (in LengthUnit) beyond their
// limit circles.
constexpr double kTipLimitMargin = 0.001;

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
        return {GeometryFault::TipInsideBase, member};
    }
    if (ctx.mateTipUsed && !(ctx.da[mate] >= ctx.db[mate])) {
        return {GeometryFault::TipInsideBase, mate};
    }
    // The equivalent rack's angle comes from the limit and tip diameters of a rack-generated
    // member; when they give no angle, neither the rounding nor the points can be found.
    const bool rackMember = member == 1 || !ctx.internal;
    if ((seen == GeometryFault::RackRoundingNotFound || seen == GeometryFault::NonFinitePoint) &&
        rackMember && ctx.generated[member] &&
        !(2 * ctx.db[member] <= ctx.dl[member] + ctx.da[member])) {
        return {GeometryFault::ActiveProfileUndefined, member};
    }
    return {seen, member};
}

// A member's tooth thickness on its reference circle, less its share of the backlash.
double MemberThickness(const ToothProfileInput& in, const MeshMember& g, bool internalTeeth) {
    const double thinning = BacklashShare(g.z, in.jn, in.member1.z + in.member2.z);
    return ReferenceThickness(in.m, in.alpha, g.x, internalTeeth, thinning);
}

// The polar offset of an internal member 2's flank: its thickness (a positive shift makes its
// teeth thinner) on its reference circle less the involute's angle there.
double RingFlankOffset(const ToothProfileInput& in) {
    return MemberThickness(in, in.member2, true) / in.member2.d - Inv(in.alpha);
}

// The state of one call, shared by its steps.
struct Mesh {
    const ToothProfileInput& in;
    ToothProfileFlanks& r;
    FaultContext ctx;
    std::optional<GeometryError> error;  // the first failure, with the member it belongs to
    double invA;
    double psi1 = 0;  // polar angle at which member 1's involute leaves its base circle
    double ga1 = 0;   // half the tip-circle tangent lengths along the line of action
    double ga2 = 0;

    Mesh(const ToothProfileInput& input, ToothProfileFlanks& flanks)
        : in(input), r(flanks), ctx(), invA(Inv(input.alpha)) {}

    // The fillet's point count the tools generate with: with a tolerance the points are placed
    // afterwards, and the tools only fit their roundings.
    int FilletCount() const { return in.tolerance > 0 ? 2 : in.AccPer; }

    // Records that the tolerance would take more points on one member of `member`'s flank than
    // a drawing may have.
    bool TooFine(int member, const ToleranceShortfall& shortfall) {
        error = GeometryError{GeometryFault::ToleranceTooFine, member};
        error->points = shortfall.points;
        error->onFillet = shortfall.fillet;
        error->allowed = shortfall.allowed;
        return false;
    }

    // Records the failure first seen in `member`, with the reason a designer is given.
    bool Fail(int member, GeometryFault seen) {
        ctx.da[1] = r.da1;
        ctx.da[2] = r.da2;
        ctx.db[1] = in.member1.db;
        ctx.db[2] = in.member2.db;
        ctx.dl[1] = r.dl1;
        ctx.dl[2] = r.dl2;
        error = Diagnose(ctx, member, seen);
        return false;
    }

    RackFilletResult Rack(const MeshMember& member, double da, double dl, double psi) const {
        RackFilletInput rack;
        rack.z = member.z;
        rack.db = member.db;
        rack.da = da;
        rack.dl = dl;
        rack.psi = psi;
        rack.m = in.m;
        rack.alpha = in.alpha;
        rack.T = in.hf + in.c;
        rack.rf = in.rf;
        rack.accPer = FilletCount();
        return RackFillet(rack);
    }

    // The working pressure angle of the two members, and the centre distance from the sum of
    // their reference diameters (their difference in an internal mesh); false when no angle is.
    bool Working() {
        const std::optional<WorkingMesh> working =
            WorkingMeshOf(in.member1, in.member2, in.alpha, in.internal);
        if (!working) {
            return Fail(1, GeometryFault::WorkingAngleNotFound);
        }
        r.workingAngle = working->alphaWt;
        r.centreDistance = working->aw;
        return true;
    }

    // Member k's rack fillet, generated with its flank leaving the base circle at polar angle
    // psi; false when the rack's tip rounding does not fit.
    bool RackMember(int k, double psi) {
        const bool first = k == 1;
        const RackFilletResult fillet = Rack(first ? in.member1 : in.member2, first ? r.da1 : r.da2,
                                             first ? r.dl1 : r.dl2, psi);
        if (!fillet.ok()) {
            return Fail(k, fillet.fault());
        }
        (first ? r.rack1 : r.rack2) = fillet.value();
        (first ? r.Per1 : r.Per2) = fillet->per;
        return true;
    }

    // Limit diameters from the working angle and centre distance and the two tip tangents
    // L1, L2 measured along the line of action.
    void LimitDiameters(double L1, double L2) {
        const double db1 = in.member1.db;
        const double db2 = in.member2.db;
        r.dl1 = std::sqrt(db1 * db1 + 4 * (L1 * L1));
        r.dl2 = std::sqrt(db2 * db2 + 4 * (L2 * L2));
    }

    // An external member's flank: its fillet reversed, then its involute to the tip; with a
    // tolerance, both placed where their curvature needs points. False when the tolerance would
    // take more points than a drawing may have.
    bool ExternalFlank(int k, const RackFilletCurve& rack, double da, double db, double psi) {
        std::vector<PointXY>& prof = k == 1 ? r.Prof1 : r.Prof2;
        std::vector<PointXY>& per = k == 1 ? r.Per1 : r.Per2;
        FlankMembers& members = k == 1 ? r.members1 : r.members2;
        const ExactCurve fillet = RackFilletExact(rack);
        if (in.tolerance > 0) {
            const double r0 = Radius(fillet.at(rack.alphaM));
            PlacedFlankResult placed =
                PlaceExternalFlank(fillet, ExternalInvoluteCurve(r0, da, db, psi), in.tolerance,
                                   k == 1 ? in.member1.z : in.member2.z);
            if (!placed.ok()) {
                return TooFine(k, placed.fault());
            }
            PlacedFlank flank = std::move(placed).value();
            prof = std::move(flank.flank);
            members = std::move(flank.members);
            // The fillet in the order generated, junction first.
            per.assign(prof.rend() - static_cast<std::ptrdiff_t>(members.filletLast + 1),
                       prof.rend());
            per.front() = fillet.at(rack.alphaM);
            return true;
        }
        ReversedFillet(prof, per, in.AccPer);
        const double r0 = Radius(prof[static_cast<std::size_t>(in.AccPer - 1)]);
        InvoluteCircles circles;
        circles.r0 = r0;
        circles.da = da;
        circles.db = db;
        circles.psi = psi;
        ExternalInvolute(prof, in.AccPer, in.AccEv, circles);
        members = ExternalFlankMembers(fillet, ExternalInvoluteCurve(r0, da, db, psi), in.AccPer,
                                       prof.size());
        return true;
    }
};

// Both members external, each cut by its equivalent rack.
bool ExternalMesh(Mesh& w) {
    const ToothProfileInput& in = w.in;
    ToothProfileFlanks& r = w.r;
    const MeshMember& g1 = in.member1;
    const MeshMember& g2 = in.member2;
    const double psi2 = MemberThickness(in, g2, false) / g2.d + w.invA;
    w.ctx.generated[1] = true;
    w.ctx.generated[2] = !in.SingleMember;
    w.ctx.mateTipUsed = true;
    if (!w.Working()) {
        return false;
    }
    const double aw = r.workingAngle;
    const double a = r.centreDistance;
    // Along the line of action to where each mate's tip circle cuts it.
    w.LimitDiameters(a * std::sin(aw) - w.ga2, a * std::sin(aw) - w.ga1);

    if (!w.RackMember(1, w.psi1) || (!in.SingleMember && !w.RackMember(2, psi2))) {
        return false;
    }
    if (!w.ExternalFlank(1, r.rack1, r.da1, g1.db, w.psi1)) {
        return false;
    }
    return in.SingleMember || w.ExternalFlank(2, r.rack2, r.da2, g2.db, psi2);
}

// The pinion of an internal pair: working angle, limit diameters and tip limits, then its rack
// fillet.
bool InternalPinion(Mesh& w) {
    const ToothProfileInput& in = w.in;
    ToothProfileFlanks& r = w.r;
    if (!w.Working()) {
        return false;
    }
    const double aw = r.workingAngle;
    const double a = r.centreDistance;
    w.LimitDiameters(w.ga2 - a * std::sin(aw), a * std::sin(aw) + w.ga1);

    // Tip limits: the pinion's tip circle stays, in every angular position, inside the circle
    // of diameter dl2 about the ring's centre, and the ring's tip circle outside the circle of
    // diameter dl1 about the pinion's centre. Both are rounded to the micrometre beyond.
    const double unit = LengthUnit(in.m);
    if (r.dl2 - 2 * a < r.da1) {
        r.da1 = RoundToUnitPlaces((r.dl2 - 2 * a) - kTipLimitMargin * unit, unit, 3);
    }
    if (2 * a + r.dl1 > r.da2) {
        r.da2 = RoundToUnitPlaces((2 * a + r.dl1) + kTipLimitMargin * unit, unit, 3);
    }
    return w.RackMember(1, w.psi1);
}

// Member 2 an internal gear cut by a pinion-type cutter; member 1, when generated, the pinion.
bool InternalMesh(Mesh& w) {
    const ToothProfileInput& in = w.in;
    ToothProfileFlanks& r = w.r;
    const MeshMember& g1 = in.member1;
    const MeshMember& g2 = in.member2;
    const int accEv = in.AccEv;
    const double psi2 = RingFlankOffset(in);
    w.ctx.generated[1] = !in.SingleMember;
    w.ctx.generated[2] = true;
    w.ctx.mateTipUsed = !in.SingleMember;
    if (!in.SingleMember && !InternalPinion(w)) {
        return false;
    }
    const CutterFilletResult fillet = CutterFillet(RingCutterInput(in, w.FilletCount()));
    if (!fillet.ok()) {
        return w.Fail(2, fillet.fault());
    }
    r.cutter = fillet.value();
    r.Per2 = r.cutter.per2;
    const ExactCurve exactFillet = CutterFilletExact(r.cutter, g2.z);

    if (in.tolerance > 0) {
        const double r2 = Radius(r.Per2.front());
        PlacedFlankResult placed = PlaceInternalFlank(InternalInvoluteCurve(r.da2, r2, g2.db, psi2),
                                                      exactFillet, in.tolerance, g2.z);
        if (!placed.ok()) {
            return w.TooFine(2, placed.fault());
        }
        PlacedFlank flank = std::move(placed).value();
        r.Prof2 = std::move(flank.flank);
        r.members2 = std::move(flank.members);
        r.Per2.assign(r.Prof2.begin() + static_cast<std::ptrdiff_t>(r.members2.filletFirst),
                      r.Prof2.end());
    } else {
        // The internal gear: involute from the tip circle towards the junction, evenly spaced
        // in diameter, then the cutter fillet in generated order, junction first.
        const int n = in.AccPer + accEv;
        for (int k = accEv + 1; k <= n; ++k) {
            r.Prof2[static_cast<std::size_t>(k - 1)] =
                r.Per2[static_cast<std::size_t>(k - accEv - 1)];
        }
        const double r2 = Radius(r.Prof2[static_cast<std::size_t>(accEv)]);
        for (int k = 1; k <= accEv; ++k) {
            const double D = r.da2 + ((k - 1) * (2 * r2 - r.da2)) / accEv;
            const double ak = ArcCos(g2.db / D);
            const double t = Inv(ak) + psi2;
            r.Prof2[static_cast<std::size_t>(k - 1)] = {(D / 2) * std::cos(t),
                                                        (D / 2) * std::sin(t)};
        }
        r.members2 = InternalFlankMembers(InternalInvoluteCurve(r.da2, r2, g2.db, psi2),
                                          exactFillet, accEv, r.Prof2.size());
    }
    return in.SingleMember || w.ExternalFlank(1, r.rack1, r.da1, g1.db, w.psi1);
}

}  // namespace

CutterFilletInput RingCutterInput(const ToothProfileInput& in, int fillets) {
    const MeshMember& ring = in.member2;
    CutterFilletInput cutter;
    cutter.z2 = ring.z;
    cutter.z0 = in.z0;
    cutter.db2 = ring.db;
    cutter.s2 = MemberThickness(in, ring, true);
    cutter.psi2 = RingFlankOffset(in);
    cutter.m = in.m;
    cutter.alpha = in.alpha;
    cutter.x2 = ring.x;
    cutter.T = in.hf + in.c;
    cutter.c = in.c;
    cutter.accPer = fillets;
    return cutter;
}

ToothProfileResult ToothProfile(const ToothProfileInput& in) {
    // The transition curve needs two points and the involute one step; fewer never come from the
    // pages or tarvo-cli, and would leave the flank arrays too short to fill.
    if (in.AccPer < 2 || in.AccEv < 1) {
        return ToothProfileResult::Failure(GeometryError{GeometryFault::DataOutOfRange});
    }
    ToothProfileFlanks r;
    const std::size_t n = static_cast<std::size_t>(in.AccPer + in.AccEv);
    r.Per1.assign(static_cast<std::size_t>(in.AccPer), PointXY{});
    r.Per2.assign(static_cast<std::size_t>(in.AccPer), PointXY{});
    r.Prof1.assign(n, PointXY{});
    r.Prof2.assign(n, PointXY{});
    r.da1 = in.member1.da;
    r.da2 = in.member2.da;

    const MeshMember& g1 = in.member1;
    const MeshMember& g2 = in.member2;
    Mesh w(in, r);
    w.ctx.internal = in.internal;
    // The polar angle at which member 1's involute leaves the base circle.
    w.psi1 = MemberThickness(in, g1, false) / g1.d + w.invA;
    w.ga1 = (std::tan(ArcCos(g1.db / g1.da)) * g1.db) / 2;
    w.ga2 = (std::tan(ArcCos(g2.db / g2.da)) * g2.db) / 2;

    if (!(in.internal ? InternalMesh(w) : ExternalMesh(w))) {
        return ToothProfileResult::Failure(*w.error);
    }
    const bool member1 = !(in.internal && in.SingleMember);
    const bool member2 = in.internal || !in.SingleMember;
    if (member1 && !AllFinite(r.Prof1)) {
        w.Fail(1, GeometryFault::NonFinitePoint);
        return ToothProfileResult::Failure(*w.error);
    }
    if (member2 && !AllFinite(r.Prof2)) {
        w.Fail(2, GeometryFault::NonFinitePoint);
        return ToothProfileResult::Failure(*w.error);
    }
    return r;
}

}  // namespace tarvo
