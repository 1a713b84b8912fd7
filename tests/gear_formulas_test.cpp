// The data sheet's formulas where the sheet does not show the case: spans that would run off
// the wheel, a ring's tip, a mate's tip past the base tangent point, a shifted internal pair's
// contact ratio at given tips, rollers of sizes the sheet does not choose.
// The sheet's own numbers are worked in data_sheet_test.cpp.
// cos 20° = 0.9396926, sin 20° = 0.3420201, tan 20° = 0.3639702, inv 20° = 0.0149044.
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/gear_formulas.h"
#include "profile/pair_geometry.h"

namespace tarvo {
namespace {

const double kAlpha20 = GradToRad(20);

// A wheel of the 20-degree rack unless said otherwise.
ToothData Tooth(int z, double m, double x = 0, bool internal = false, double alphaDeg = 20) {
    ToothData t;
    t.z = z;
    t.mn = m;
    t.alphaN = GradToRad(alphaDeg);
    t.x = x;
    t.internal = internal;
    return t;
}

TEST(GearFormulas, SpanAndTipLimits) {
    // Spanned teeth stay on the wheel: at most z - 1 (a large positive shift on two teeth asks
    // for 2), one for a single tooth, and one for a large negative shift touching at the base.
    for (const auto& [z, x] : {std::pair{2, 3.0}, {1, 0.0}, {12, -3.0}}) {
        EXPECT_EQ(SpanTeeth(Tooth(z, 1, x)), 1) << z;
    }
    // A ring z 60, da 116, narrowest at its tip: 116 (pi/120 - inv 20° + inv 13.56711°) = 1.83312.
    EXPECT_NEAR(TipToothThickness(Tooth(60, 2, 0, true), 116), 1.83312, 5e-5);
    // z 14 against z 40 (da 84) at aw 54: L = 54 sin 20° - 18.73938 = -0.27029, past the base
    // tangent point; dNf = sqrt(26.31139^2 + 4 * 0.27029^2) = 26.31695.
    const ActiveProfileStart start = ActiveProfileStartDiameter(
        28 * std::cos(kAlpha20), {84, 80 * std::cos(kAlpha20)}, {54, kAlpha20}, false, false);
    EXPECT_NEAR(start.lineOfAction, -0.27029, 5e-5);
    EXPECT_NEAR(start.diameter, 26.31695, 5e-5);
}

TEST(GearFormulas, ShiftedInternalPair) {
    // 20 in 40, x 0.2 / 0.5: inv alpha_tw = 2 (0.5 - 0.2) tan 20° / 20 + inv 20° = 0.0258235 ->
    // 23.84682°, aw = 20 cos 20° / cos 23.84682° = 20.54805; tips 44.69609 and 77.89609: ga1 =
    // 12.09240, ga2 = 10.20366, aw sin alpha_tw = 8.30743, eps = (ga1 - ga2 + 8.30743) / pbt.
    PairTeeth teeth;
    teeth.z1 = 20;
    teeth.z2 = 40;
    teeth.x1 = 0.2;
    teeth.x2 = 0.5;
    const double alphaWt = WorkingPressureAngle(teeth, kAlpha20, true).value();
    EXPECT_NEAR(alphaWt * 180 / kPi, 23.84682, 5e-6);
    const double aw = WorkingCentreDistance(20, kAlpha20, alphaWt);
    EXPECT_NEAR(aw, 20.54805, 5e-6);
    EXPECT_NEAR(TransverseContactRatio({44.69609, 40 * std::cos(kAlpha20)},
                                       {77.89609, 80 * std::cos(kAlpha20)}, {aw, alphaWt},
                                       TransverseBasePitch(2, kAlpha20), true),
                1.72692, 5e-5);
}

TEST(GearFormulas, RollersAndTheirSizes) {
    // (The measurement over rollers itself is checked on the drawn outlines, the
    // DrawnMeasurement suite.) The roller touching the reference circle: external z 20, m 2,
    // alpha_M = 20° + pi / 20 - pi / 40 = 24.5°, D = 37.58770 (tan 24.5° - tan 20°) = 3.44890, the
    // textbook 1.72 m. Any roller touches where RollerTouchingAt puts it: the contact diameter
    // M's formula gives back.
    struct Row {
        const char* name;
        ToothData tooth;
        double touching;  // the roller touching the reference circle, if worked
    };
    const Row rows[] = {
        {"external even", Tooth(20, 2), 3.44890},   {"external odd, shifted", Tooth(21, 2, 0.5), 0},
        {"ring odd", Tooth(61, 2, 0, true), 0},     {"GOST shaft", Tooth(20, 2, 0, false, 30), 0},
        {"small module", Tooth(20, 0.3), 0.517335}, {"large module", Tooth(20, 8), 13.79559},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.touching > 0) {
            EXPECT_NEAR(TouchingRollerDiameter(row.tooth).value(), row.touching, 5e-5);
        }
        const double d = row.tooth.z * row.tooth.mn;
        for (const double dy : {d, d + row.tooth.mn * (row.tooth.internal ? -1.5 : 1.5)}) {
            const double D = RollerTouchingAt(row.tooth, dy).value();
            EXPECT_NEAR(MeasurementOverRollers(row.tooth, D).value().contactD, dy, 1e-9 * d) << dy;
        }
    }
    // A roller too large for the ring's space has no measurement, and no roller touches below
    // the base circle.
    EXPECT_FALSE(MeasurementOverRollers(Tooth(60, 2, 0, true), 40).has_value());
    EXPECT_FALSE(RollerTouchingAt(Tooth(20, 2), 20 * 2 * std::cos(kAlpha20) - 0.01).has_value());
}

}  // namespace
}  // namespace tarvo
