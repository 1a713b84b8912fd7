// The pair's model against relations it does not compute itself: the two working thicknesses and
// the backlash fill the working pitch, shortened tips leave exactly the rack's clearance, an
// internal pair's roles follow the tooth counts in either order. (The transverse section and the
// backlash shares against hand-worked values: the DataSheet suite.)
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "builder_calls.h"
#include "drawing/pair_data.h"
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

using testing::ExternalPair;
using testing::InternalPair;

struct PairRow {
    const char* name;
    BuilderCall pair;
};

// A member's tooth thickness on the working circle dw: s_w = dw (s / d + inv(alpha) -
// inv(alpha_w)), the involute terms changing sign for internal teeth.
double WorkingThickness(const GearMember& g, double dw, double alpha, double alphaW) {
    const double involutes = Inv(alpha) - Inv(alphaW);
    return dw * (g.s / g.d + (g.internal ? -involutes : involutes));
}

const PairRow kPairs[] = {
    {"external spur, no shift", ExternalPair(20, 40, 2)},
    {"external spur, shifted", ExternalPair(12, 31, 2).Shifts(0.4, 0.25)},
    {"external helical, shifted", ExternalPair(17, 45, 2).Helix(15).Shifts(0.3, -0.1)},
    {"external, negative sum", ExternalPair(30, 50, 2).Shifts(-0.3, -0.2)},
    {"external with backlash", ExternalPair(20, 41, 2).Helix(10).Shifts(0.2, 0.1).Backlash(0.12)},
    {"internal, pinion first", InternalPair(20, 40, 2).Shifts(0.2, 0.5)},
    {"internal, ring first", InternalPair(40, 20, 2).Shifts(0.5, 0.2)},
    {"internal helical with backlash",
     InternalPair(18, 57, 2).Helix(12).Shifts(0.3, 0.6).Backlash(0.1)},
};

TEST(PairGeometry, WorkingMeshFillsTheWorkingPitch) {
    for (const PairRow& row : kPairs) {
        SCOPED_TRACE(row.name);
        const PairGeometryResult result = PairGeometryOf(Rack20(), PairRequestOf(row.pair));
        ASSERT_TRUE(result.ok());
        const PairGeometry& p = result.value();
        const PairSection& t = p.section;
        // inv(alpha_tw) = inv(alpha_t) + 2 (x2 +- x1) tan(alpha_n) / (z2 +- z1), in the normal
        // shifts as entered, checked by the forward involute only.
        const bool internal = row.pair.kind == BuilderCall::Kind::InternalPair;
        const double sumX = internal ? p.member2.xn - p.member1.xn : p.member1.xn + p.member2.xn;
        const int sumZ = internal ? p.member2.z - p.member1.z : p.member1.z + p.member2.z;
        EXPECT_NEAR(Inv(p.alphaTw), Inv(t.alphaT) + 2 * sumX * std::tan(t.alphaN) / sumZ, 1e-13);
        // On the working circles the two teeth and the backlash fill the working pitch: with
        // the backlash thinned off the reference circles, its part on the working circles is
        // jt cos(alpha_t) / cos(alpha_tw).
        const double scale = std::cos(t.alphaT) / std::cos(p.alphaTw);
        const double dw1 = p.member1.d * scale;
        const double dw2 = p.member2.d * scale;
        EXPECT_NEAR(dw2 + (internal ? -dw1 : dw1), 2 * p.aw, 1e-11);
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
        if (row.pair.kind == BuilderCall::Kind::InternalPair) {
            continue;
        }
        SCOPED_TRACE(row.name);
        const PairGeometry p = PairGeometryOf(Rack20(), PairRequestOf(row.pair)).value();
        const PairSection& t = p.section;
        for (const auto& [tip, root] :
             {std::pair{&p.member1, &p.member2}, {&p.member2, &p.member1}}) {
            const double df = root->d - 2 * t.mt * (t.hf + t.c - root->x);
            EXPECT_NEAR(p.aw - tip->da / 2 - df / 2, t.c * t.mt, 1e-12);
        }
    }
}

// Entered either way round, an internal pair is the same pair: member 1 the pinion.
TEST(PairGeometry, InternalRolesFollowTheToothCounts) {
    const BuilderCall pinionFirst = InternalPair(20, 60, 2).Helix(8).Shifts(0.3, 0.5).Backlash(0.1);
    const BuilderCall ringFirst = InternalPair(60, 20, 2).Helix(8).Shifts(0.5, 0.3).Backlash(0.1);
    const PairGeometry a = PairGeometryOf(Rack20(), PairRequestOf(pinionFirst)).value();
    const PairGeometry b = PairGeometryOf(Rack20(), PairRequestOf(ringFirst)).value();
    EXPECT_EQ(std::make_tuple(a.member1.wheel, b.member1.wheel), std::make_tuple(1, 2));
    EXPECT_EQ(&b.Wheel(2), &b.member1);
    EXPECT_TRUE(b.member2.internal && !b.member1.internal);
    EXPECT_EQ(std::make_tuple(a.alphaTw, a.aw, a.member1.da, a.member2.s, a.member1.xn),
              std::make_tuple(b.alphaTw, b.aw, b.member1.da, b.member2.s, b.member1.xn));
    EXPECT_EQ(b.cutterTeeth, 20);
    EXPECT_TRUE(FirstIsPinion(20, 60));
    EXPECT_FALSE(FirstIsPinion(60, 20));
}

TEST(PairGeometry, RefusesDataNoPairHas) {
    struct FaultRow {
        const char* name;
        BuilderCall pair;
        GeometryFault fault;
        int wheel;
    };
    using F = GeometryFault;
    const FaultRow rows[] = {
        {"no teeth on wheel 2", ExternalPair(20, 0, 2), F::ToothCountNotPositive, 2},
        {"too many teeth", ExternalPair(kMaxTeeth + 1, 20, 2), F::TooManyTeeth, 1},
        {"internal, equal counts", InternalPair(30, 30, 2), F::EqualToothCounts, 0},
        {"shift not a number", ExternalPair(20, 40, 2).Shifts(NAN, 0), F::DataOutOfRange, 0},
        // inv(alpha_w) = inv 20° - 0.146 < 0: no angle has it.
        {"shifts past a zero working angle", ExternalPair(10, 10, 2).Shifts(-2, -2),
         F::WorkingAngleNotFound, 0},
    };
    for (const FaultRow& row : rows) {
        SCOPED_TRACE(row.name);
        const PairGeometryResult result = PairGeometryOf(Rack20(), PairRequestOf(row.pair));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.fault().fault, row.fault);
        EXPECT_EQ(result.fault().wheel, row.wheel);
    }
}

}  // namespace
}  // namespace tarvo
