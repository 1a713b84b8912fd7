// The pair's model against relations it does not compute itself: the two working thicknesses and
// the backlash fill the working pitch, the centre distance keeps a cos(alpha) fixed, shortened
// tips leave exactly the rack's clearance, an internal pair's roles follow the tooth counts in
// either order. (The transverse section and the backlash shares against hand-worked values: the
// DataSheet suite.)
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/pair_geometry.h"

namespace tarvo {
namespace {

// The 20-degree rack: ha* 1, hf* 1, c* 0.25, rf* 0.38.
MainMod Rack20() {
    MainMod rack;
    rack.Alfa = 20;
    rack.H = 1;
    rack.Hf = 1;
    rack.C = 0.25;
    rack.Ro = 0.38;
    return rack;
}

struct PairRow {
    const char* name;
    int z1;
    int z2;
    double x1;
    double x2;
    double helixDeg;
    double backlash;
    bool internal;
};

PairRequest RequestOf(const PairRow& row) {
    PairRequest request;
    request.z1 = row.z1;
    request.z2 = row.z2;
    request.module = 2;
    request.helixDeg = row.helixDeg;
    request.profileDeg = 20;
    request.x1 = row.x1;
    request.x2 = row.x2;
    request.backlash = row.backlash;
    request.internal = row.internal;
    return request;
}

// A member's tooth thickness on the working circle dw: s_w = dw (s / d + inv(alpha) -
// inv(alpha_w)), the involute terms changing sign for internal teeth.
double WorkingThickness(const GearMember& g, double dw, double alpha, double alphaW) {
    const double involutes = Inv(alpha) - Inv(alphaW);
    return dw * (g.s / g.d + (g.internal ? -involutes : involutes));
}

const PairRow kPairs[] = {
    {"external spur, no shift", 20, 40, 0, 0, 0, 0, false},
    {"external spur, shifted", 12, 31, 0.4, 0.25, 0, 0, false},
    {"external helical, shifted", 17, 45, 0.3, -0.1, 15, 0, false},
    {"external, negative sum", 30, 50, -0.3, -0.2, 0, 0, false},
    {"external with backlash", 20, 41, 0.2, 0.1, 10, 0.12, false},
    {"internal, pinion first", 20, 40, 0.2, 0.5, 0, 0, true},
    {"internal, ring first", 40, 20, 0.5, 0.2, 0, 0, true},
    {"internal helical with backlash", 18, 57, 0.3, 0.6, 12, 0.1, true},
};

TEST(PairGeometry, WorkingMeshFillsTheWorkingPitch) {
    for (const PairRow& row : kPairs) {
        SCOPED_TRACE(row.name);
        const PairGeometryResult result = PairGeometryOf(Rack20(), RequestOf(row));
        ASSERT_TRUE(result.ok());
        const PairGeometry& p = result.value();
        const PairSection& t = p.section;
        // inv(alpha_tw) = inv(alpha_t) + 2 (x2 +- x1) tan(alpha_n) / (z2 +- z1), in the normal
        // shifts as entered, checked by the forward involute only.
        const double sumX =
            row.internal ? p.member2.xn - p.member1.xn : p.member1.xn + p.member2.xn;
        const int sumZ = row.internal ? p.member2.z - p.member1.z : p.member1.z + p.member2.z;
        EXPECT_NEAR(Inv(p.alphaTw), Inv(t.alphaT) + 2 * sumX * std::tan(t.alphaN) / sumZ, 1e-13);
        // a cos(alpha_t) = aw cos(alpha_tw).
        const double a0 =
            (row.internal ? p.member2.d - p.member1.d : p.member1.d + p.member2.d) / 2;
        EXPECT_NEAR(p.aw * std::cos(p.alphaTw), a0 * std::cos(t.alphaT), 1e-12);
        // On the working circles the two teeth and the backlash fill the working pitch: with
        // the backlash thinned off the reference circles, its part on the working circles is
        // jt cos(alpha_t) / cos(alpha_tw).
        const double scale = std::cos(t.alphaT) / std::cos(p.alphaTw);
        const double dw1 = p.member1.d * scale;
        const double dw2 = p.member2.d * scale;
        EXPECT_NEAR(dw2 + (row.internal ? -dw1 : dw1), 2 * p.aw, 1e-11);
        const double pitch = kPi * dw1 / p.member1.z;
        const double teeth = WorkingThickness(p.member1, dw1, t.alphaT, p.alphaTw) +
                             WorkingThickness(p.member2, dw2, t.alphaT, p.alphaTw);
        EXPECT_NEAR(pitch - teeth, p.jt * scale, 1e-10);
    }
}

TEST(PairGeometry, ShortenedTipsKeepTheRackClearance) {
    // The tip of each wheel and the root the rack cuts on its mate (d - 2 mt (hf* + c* - x))
    // stand c* mt apart at the working centre distance, whatever the shifts.
    for (const PairRow& row : kPairs) {
        if (row.internal) {
            continue;
        }
        SCOPED_TRACE(row.name);
        const PairGeometry p = PairGeometryOf(Rack20(), RequestOf(row)).value();
        const PairSection& t = p.section;
        for (const auto& [tip, root] :
             {std::pair{&p.member1, &p.member2}, {&p.member2, &p.member1}}) {
            const double df = root->d - 2 * t.mt * (t.hf + t.c - root->x);
            EXPECT_NEAR(p.aw - tip->da / 2 - df / 2, t.c * t.mt, 1e-12);
        }
    }
}

TEST(PairGeometry, InternalRolesFollowTheToothCounts) {
    const PairRow pinionFirst{"pinion first", 20, 60, 0.3, 0.5, 8, 0.1, true};
    const PairRow ringFirst{"ring first", 60, 20, 0.5, 0.3, 8, 0.1, true};
    const PairGeometry a = PairGeometryOf(Rack20(), RequestOf(pinionFirst)).value();
    const PairGeometry b = PairGeometryOf(Rack20(), RequestOf(ringFirst)).value();
    struct Expect {
        const PairGeometry* pair;
        int pinionWheel;
    };
    for (const Expect& e : {Expect{&a, 1}, Expect{&b, 2}}) {
        SCOPED_TRACE(e.pinionWheel);
        const PairGeometry& p = *e.pair;
        EXPECT_EQ(p.member1.role, WheelRole::Pinion);
        EXPECT_EQ(p.member2.role, WheelRole::Ring);
        EXPECT_EQ(p.member1.wheel, e.pinionWheel);
        EXPECT_EQ(p.member2.wheel, 3 - e.pinionWheel);
        EXPECT_EQ(p.member1.z, 20);
        EXPECT_EQ(p.member2.z, 60);
        EXPECT_DOUBLE_EQ(p.member1.xn, 0.3);
        EXPECT_FALSE(p.Wheel(e.pinionWheel).internal);
        EXPECT_TRUE(p.Wheel(3 - e.pinionWheel).internal);
        EXPECT_EQ(&p.Wheel(e.pinionWheel), &p.member1);
        EXPECT_EQ(p.cutterTeeth, 20);
        // The ring's tip circle lies inside its reference circle, the pinion's outside.
        EXPECT_LT(p.member2.da, p.member2.d);
        EXPECT_GT(p.member1.da, p.member1.d);
    }
    // Entered either way round, it is the same pair.
    EXPECT_EQ(a.alphaTw, b.alphaTw);
    EXPECT_EQ(a.aw, b.aw);
    EXPECT_EQ(a.member1.da, b.member1.da);
    EXPECT_EQ(a.member2.s, b.member2.s);
    EXPECT_TRUE(FirstIsPinion(20, 60));
    EXPECT_FALSE(FirstIsPinion(60, 20));
}

TEST(PairGeometry, RefusesDataNoPairHas) {
    struct FaultRow {
        const char* name;
        PairRow pair;
        GeometryFault fault;
        int wheel;
    };
    const FaultRow rows[] = {
        {"no teeth on wheel 2",
         {"", 20, 0, 0, 0, 0, 0, false},
         GeometryFault::ToothCountNotPositive,
         2},
        {"too many teeth",
         {"", kMaxTeeth + 1, 20, 0, 0, 0, 0, false},
         GeometryFault::TooManyTeeth,
         1},
        {"internal, equal counts",
         {"", 30, 30, 0, 0, 0, 0, true},
         GeometryFault::EqualToothCounts,
         0},
        {"shift not a number", {"", 20, 40, NAN, 0, 0, 0, false}, GeometryFault::DataOutOfRange, 0},
        // inv(alpha_w) = inv 20° - 0.146 < 0: no angle has it.
        {"shifts past a zero working angle",
         {"", 10, 10, -2, -2, 0, 0, false},
         GeometryFault::WorkingAngleNotFound,
         0},
    };
    for (const FaultRow& row : rows) {
        SCOPED_TRACE(row.name);
        const PairGeometryResult result = PairGeometryOf(Rack20(), RequestOf(row.pair));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.fault().fault, row.fault);
        EXPECT_EQ(result.fault().wheel, row.wheel);
    }
}

}  // namespace
}  // namespace tarvo
