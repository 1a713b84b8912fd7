// The pair's relations and the pair computed from them. The order of each product and sum is the
// one the drawings were always made with: a change in the last bit of a centre distance or a
// thickness moves the fifteenth digit of the points written.
#include "profile/pair_geometry.h"

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {

std::optional<double> WorkingPressureAngle(const PairTeeth& teeth, double alpha, bool internal) {
    const double sumX = internal ? teeth.x2 - teeth.x1 : teeth.x1 + teeth.x2;
    const int sumZ = internal ? teeth.z2 - teeth.z1 : teeth.z1 + teeth.z2;
    const ArcInvResult working = ArcInv(((2 * sumX) * std::tan(alpha)) / sumZ + Inv(alpha));
    if (!working.ok()) {
        return std::nullopt;
    }
    return working.value();
}

double WorkingCentreDistance(double a, double alpha, double alphaW) {
    return (a * std::cos(alpha)) / std::cos(alphaW);
}

double ReferenceCentreDistance(const MeshMember& member1, const MeshMember& member2,
                               bool internal) {
    return (internal ? member2.d - member1.d : member1.d + member2.d) / 2;
}

std::optional<WorkingMesh> WorkingMeshOf(const MeshMember& member1, const MeshMember& member2,
                                         double alpha, bool internal) {
    PairTeeth teeth;
    teeth.z1 = member1.z;
    teeth.z2 = member2.z;
    teeth.x1 = member1.x;
    teeth.x2 = member2.x;
    const std::optional<double> alphaW = WorkingPressureAngle(teeth, alpha, internal);
    if (!alphaW) {
        return std::nullopt;
    }
    WorkingMesh mesh;
    mesh.alphaWt = *alphaW;
    mesh.aw =
        WorkingCentreDistance(ReferenceCentreDistance(member1, member2, internal), alpha, *alphaW);
    return mesh;
}

double BacklashShare(int z, double jt, int zPair) {
    return (z * jt) / zPair;
}

double ReferenceThickness(double m, double alpha, double x, bool internal, double thinning) {
    const double shift = (2 * x) * std::tan(alpha);
    return (kPi / 2 + (internal ? -shift : shift)) * m - thinning;
}

bool FirstIsPinion(int z1, int z2) {
    return z1 < z2;
}

PairSection PairSectionOf(const MainMod& rack, const PairRequest& request) {
    PairSection t;
    t.mn = request.module;
    t.beta = GradToRad(request.helixDeg);
    t.alphaN = GradToRad(request.profileDeg);
    t.mt = request.module;
    t.alphaT = t.alphaN;
    t.ha = rack.H;
    t.hf = rack.Hf;
    t.hfNormal = rack.Hf;
    t.c = rack.C;
    t.rf = rack.Ro;
    t.x1 = request.x1;
    t.x2 = request.x2;
    if (t.beta != 0) {
        const double cosB = std::cos(t.beta);
        t.mt = request.module / cosB;
        t.alphaT = std::atan(std::tan(t.alphaN) / cosB);
        t.ha = t.ha * cosB;
        t.hf = t.hf * cosB;
        t.c = t.c * cosB;
        t.x1 = t.x1 * cosB;
        t.x2 = t.x2 * cosB;
        t.rf = t.rf * cosB;
    }
    t.baseHelix = std::atan(std::cos(t.alphaT) * std::tan(t.beta));
    return t;
}

namespace {

std::optional<GeometryError> CheckRequest(const PairRequest& request) {
    for (const int wheel : {1, 2}) {
        const int z = wheel == 1 ? request.z1 : request.z2;
        const WheelRole role = wheel == 1 ? WheelRole::Wheel1 : WheelRole::Wheel2;
        if (z < 1) {
            return GeometryError{GeometryFault::ToothCountNotPositive, wheel, role};
        }
        if (z > kMaxTeeth) {
            return GeometryError{GeometryFault::TooManyTeeth, wheel, role};
        }
    }
    if (request.internal && request.z1 == request.z2) {
        return GeometryError{GeometryFault::EqualToothCounts, 0, WheelRole::Pair};
    }
    if (!(request.module > 0) || !std::isfinite(request.module)) {
        return GeometryError{GeometryFault::ModuleNotPositive, 0, WheelRole::Pair};
    }
    for (const double v :
         {request.helixDeg, request.profileDeg, request.x1, request.x2, request.backlash}) {
        if (!std::isfinite(v)) {
            return GeometryError{GeometryFault::DataOutOfRange, 0, WheelRole::Pair};
        }
    }
    return std::nullopt;
}

// A member with its entered values and its reference and base circles.
GearMember Member(const PairSection& t, const PairRequest& request, int wheel, WheelRole role,
                  bool internal) {
    GearMember g;
    g.role = role;
    g.wheel = wheel;
    g.z = wheel == 1 ? request.z1 : request.z2;
    g.xn = wheel == 1 ? request.x1 : request.x2;
    g.x = wheel == 1 ? t.x1 : t.x2;
    g.internal = internal;
    g.d = g.z * t.mt;
    g.db = g.d * std::cos(t.alphaT);
    return g;
}

// Tip diameters at the working centre distance: both tips are shortened by the amount the
// shifts exceed the centre distance's own growth, so the pair keeps its clearance.
void TipDiameters(PairGeometry& p, double a0) {
    const PairSection& t = p.section;
    const double mt = t.mt;
    GearMember& g1 = p.member1;
    GearMember& g2 = p.member2;
    const double y = (p.aw - a0) / mt;
    if (!p.internal) {
        const double dy = (g1.x + g2.x) - y;
        g1.da = g1.d + (2 * mt) * ((t.ha + g1.x) - dy);
        g2.da = g2.d + (2 * mt) * ((t.ha + g2.x) - dy);
        return;
    }
    const double dy = (g2.x - g1.x) - y;
    g1.da = g1.d + (2 * mt) * ((t.ha + g1.x) - dy);
    g2.da = g2.d - (2 * mt) * ((t.ha - g2.x) + dy);
}

}  // namespace

PairGeometryResult PairGeometryOf(const MainMod& rack, const PairRequest& request) {
    if (const std::optional<GeometryError> refused = CheckRequest(request)) {
        return PairGeometryResult::Failure(*refused);
    }
    PairGeometry p;
    p.internal = request.internal;
    p.section = PairSectionOf(rack, request);
    const PairSection& t = p.section;
    if (!p.internal) {
        p.member1 = Member(t, request, 1, WheelRole::Wheel1, false);
        p.member2 = Member(t, request, 2, WheelRole::Wheel2, false);
    } else {
        const bool firstIsPinion = FirstIsPinion(request.z1, request.z2);
        p.member1 = Member(t, request, firstIsPinion ? 1 : 2, WheelRole::Pinion, false);
        p.member2 = Member(t, request, firstIsPinion ? 2 : 1, WheelRole::Ring, true);
        p.cutterTeeth = p.member1.z;
    }
    GearMember& g1 = p.member1;
    GearMember& g2 = p.member2;
    const MeshMember mesh1 = MeshMemberOf(g1);
    const MeshMember mesh2 = MeshMemberOf(g2);
    const std::optional<WorkingMesh> working = WorkingMeshOf(mesh1, mesh2, t.alphaT, p.internal);
    if (!working) {
        return PairGeometryResult::Failure(
            {GeometryFault::WorkingAngleNotFound, 0, WheelRole::Pair});
    }
    p.alphaTw = working->alphaWt;
    // A working angle of zero or less (or past a right angle) leaves both outlines crossed.
    if (!(p.alphaTw > 0 && p.alphaTw < kPi / 2)) {
        return PairGeometryResult::Failure(
            {GeometryFault::WorkingAngleNotPositive, 0, WheelRole::Pair});
    }
    p.aw = working->aw;
    TipDiameters(p, ReferenceCentreDistance(mesh1, mesh2, p.internal));
    p.jt = request.backlash / (std::cos(p.alphaTw) * std::cos(t.baseHelix));
    for (GearMember* g : {&g1, &g2}) {
        g->thinning = BacklashShare(g->z, p.jt, g1.z + g2.z);
        g->s = ReferenceThickness(t.mt, t.alphaT, g->x, g->internal, g->thinning);
    }
    return p;
}

ToothData ToothDataOf(const PairGeometry& pair, const GearMember& member) {
    ToothData t;
    t.z = member.z;
    t.mn = pair.section.mn;
    t.alphaN = pair.section.alphaN;
    t.beta = pair.section.beta;
    t.x = member.xn;
    t.internal = member.internal;
    t.thinning = member.thinning;
    return t;
}

MeshMember MeshMemberOf(const GearMember& member) {
    MeshMember m;
    m.z = member.z;
    m.d = member.d;
    m.da = member.da;
    m.db = member.db;
    m.x = member.x;
    return m;
}

}  // namespace tarvo
