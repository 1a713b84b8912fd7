// The data sheet's formulas against hand calculations: spans and tip thickness with backlash
// thinning, shifts, undercut and form diameters, rollers over external and between internal
// teeth; unshifted and helical wheels through the whole sheet in data_sheet_test.cpp.
// cos 20° = 0.9396926, sin 20° = 0.3420201, tan 20° = 0.3639702, inv 20° = 0.0149044.
#include <gtest/gtest.h>

#include <cmath>

#include "report/gear_formulas.h"
#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {
namespace {

const double kAlpha20 = GradToRad(20);
// The 20-degree basic rack: hf* + c* = 1.25 below the datum line, tip rounding rf* = 0.38.
const RackDepth kRack20{1.25, 0.38};

// A wheel of the 20-degree rack unless said otherwise.
ToothData Tooth(int z, double m, double x = 0, bool internal = false, double thinning = 0,
                double betaDeg = 0, double alphaDeg = 20) {
    return {z, m, GradToRad(alphaDeg), GradToRad(betaDeg), x, internal, thinning};
}

TEST(GearFormulas, SpanMeasurement) {
    struct Row {
        const char* name;
        ToothData tooth;
        int k;
        double W;
    };
    const Row rows[] = {
        // 2 cos 20° (2.5 pi + 20 inv 20°) = 15.32088: the span tables' 7.6604 for m 1, doubled;
        // shifted, cos(alpha_x) = 37.58770 / 42, k = 20/pi (tan 26.49859° - 0.5 tan 20° / 10 - inv 20°)
        // + 0.5 = 3.46 -> 3; W = 15.32088 + 2 cos 20° * 2 * 0.5 tan 20° = 16.00492.
        {"m 2, z 20, x 0.5", Tooth(20, 2, 0.5), 3, 16.00492},
        // mn 3, beta 15°, z 17 of 17 / 53 with jn 0.1: alpha_t 20.646896°, beta_b 14.076086°,
        // jt = 0.1 / (cos alpha_t cos beta_b) = 0.110172, share 17 / 70: 0.026756;
        // W = 3 cos 20° (2.5 pi + 17 inv alpha_t) - 0.026756 cos 15° cos 20° = 22.92950 - 0.02429.
        {"helical mn 3, z 17, backlash share", Tooth(17, 3, 0, false, 0.026756006, 15), 3,
         22.90522},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int k = SpanTeeth(row.tooth);
        EXPECT_EQ(k, row.k);
        EXPECT_NEAR(BaseTangentLength(row.tooth, k), row.W, 5e-5);
    }
    // Spanned teeth stay on the wheel: at most z - 1 (a large positive shift on two teeth asks
    // for 2), one for a single tooth, and one for a large negative shift touching at the base.
    for (const auto& [z, x] : {std::pair{2, 3.0}, {1, 0.0}, {12, -3.0}}) {
        EXPECT_EQ(SpanTeeth(Tooth(z, 1, x)), 1) << z;
    }
}

TEST(GearFormulas, ShiftedPairs) {
    struct Row {
        const char* name;
        int z1, z2;
        double x1, x2;
        bool internal;
        double da1, da2;  // tip diameters (for an internal pair: after the tip limits)
        double alphaTwDeg, aw, epsAlpha;
    };
    const Row rows[] = {
        // inv alpha_tw = 2 (0.5 + 0.3) tan 20° / 60 + inv 20° = 0.0246103 -> 23.48491°;
        // aw = 60 cos 20° / cos 23.48491° = 61.47373; ga1 = 13.03835, ga2 = 19.77833,
        // aw sin alpha_tw = 24.49775, pbt = 2 pi cos 20° = 5.90426: eps = 1.40897.
        {"external 20 / 40", 20, 40, 0.5, 0.3, false, 45.74746, 84.94746, 23.48491, 61.47373,
         1.40897},
        // inv alpha_tw = 2 (0.5 - 0.2) tan 20° / 20 + inv 20° = 0.0258235 -> 23.84682°;
        // aw = 20 cos 20° / cos 23.84682° = 20.54805; ga1 = 12.09240, ga2 = 10.20366,
        // aw sin alpha_tw = 8.30743: eps = (ga1 - ga2 + 8.30743) / pbt = 1.72692.
        {"internal 20 in 40", 20, 40, 0.2, 0.5, true, 44.69609, 77.89609, 23.84682, 20.54805,
         1.72692},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double alphaWt = WorkingPressureAngle({row.z1, row.z2, row.x1, row.x2}, kAlpha20,
                                                    kAlpha20, row.internal);
        EXPECT_NEAR(alphaWt * 180 / kPi, row.alphaTwDeg, 5e-6);
        const double aw = WorkingCentreDistance(row.z1, row.z2, 2, kAlpha20, alphaWt, row.internal);
        EXPECT_NEAR(aw, row.aw, 5e-6);
        EXPECT_NEAR(TransverseContactRatio({row.da1, 2 * row.z1 * std::cos(kAlpha20)},
                                           {row.da2, 2 * row.z2 * std::cos(kAlpha20)},
                                           {aw, alphaWt}, TransverseBasePitch(2, kAlpha20),
                                           row.internal),
                    row.epsAlpha, 5e-5);
    }
}

TEST(GearFormulas, TipThicknessAndInvoluteLimits) {
    // m 2. z 20, da 44: 44 (pi/40 + inv 20° - inv 31.32126°) = 1.38976;
    // thinned by jn 0.1's share of 20 / 40 (jt = 0.1 / cos 20°, times 20 / 60), 0.035473: 44 ((pi - 0.035473) / 40 + ...) = 1.35074.
    // A ring z 60, da 116, narrowest at its tip: 116 (pi/120 - inv 20° + inv 13.56711°) = 1.83312.
    struct Row {
        const char* name;
        ToothData tooth;
        double da, s;
    };
    const Row rows[] = {
        {"z 20", Tooth(20, 2), 44, 1.38976},
        {"z 20 thinned", Tooth(20, 2, 0, false, 0.1 / std::cos(kAlpha20) / 3), 44, 1.35074},
        {"ring", Tooth(60, 2, 0, true), 116, 1.83312},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(TipToothThickness(row.tooth, row.da), row.s, 5e-5);
    }

    // Rack-generated form diameter of z 14, m 2, 20-degree rack: hf* - rf* (1 - sin 20°)
    // = 0.99997; d sin 20° - 2 * 2 * 0.99997 / sin 20° = 9.57656 - 11.69484 = -2.11828;
    // dFf = sqrt(26.31139^2 + 2.11828^2) = 26.39652.
    const double db14 = 28 * std::cos(kAlpha20);
    EXPECT_NEAR(RackFormDiameter(Tooth(14, 2), kRack20), 26.39652, 5e-5);
    // Its mate z 40 (da 84) at aw 54: L = 54 sin 20° - 18.73938 = -0.27029, past the base
    // tangent point; dNf = sqrt(26.31139^2 + 4 * 0.27029^2) = 26.31695.
    const ActiveProfileStart start = ActiveProfileStartDiameter(
        db14, {84, 80 * std::cos(kAlpha20)}, {54, kAlpha20}, false, false);
    EXPECT_NEAR(start.lineOfAction, -0.27029, 5e-5);
    EXPECT_NEAR(start.diameter, 26.31695, 5e-5);

    // Ring z 60 cut by the z 20 cutter (a0 40) whose involute ends at 44.29318, ga0 = 11.71591:
    // dFf2 = 2 sqrt(56.38156^2 + (13.68081 + 11.71591)^2) = 123.67495. The pinion's tip
    // (43.445) reaches 2 sqrt(56.38156^2 + (13.68081 + 10.89303)^2) = 123.00819, short of it.
    const double db0 = 40 * std::cos(kAlpha20);
    const double db60 = 120 * std::cos(kAlpha20);
    EXPECT_NEAR(CutterFormDiameter(db60, db0, 44.29318, 40, kAlpha20), 123.67495, 5e-5);
    EXPECT_NEAR(
        ActiveProfileStartDiameter(db60, {43.445, db0}, {40, kAlpha20}, true, true).diameter,
        123.00819, 5e-5);
    // The pinion of that pair: L = ga_ring - aw sin 20° = 16.67073 - 13.68081 = 2.98992.
    EXPECT_NEAR(
        ActiveProfileStartDiameter(db0, {117.589, db60}, {40, kAlpha20}, true, false)
            .lineOfAction,
        2.98992, 5e-5);
}

TEST(GearFormulas, UndercutAndRackRoot) {
    // x_min = 1.25 - 0.38 (1 - sin alpha_t) - z sin^2(alpha_t) / 2, sin^2 20° = 0.1169778:
    // z 18: 0.99997 - 1.05280 = -0.05283, so x 0 is not undercut. Helical beta 15°, z 17: alpha_t 20.646896°,
    // sin 0.352658, x_min,t = (1.25 - 0.38 * 0.647342) cos 15° - 17 * 0.124368 / 2 = -0.087043,
    // normal x_min = -0.087043 / cos 15° = -0.090113.
    struct Row {
        const char* name;
        ToothData tooth;
        double xMin;
    };
    const Row rows[] = {
        {"z 18", Tooth(18, 2), -0.05283},
        {"z 17 helical 15°", Tooth(17, 3, 0, false, 0, 15), -0.09011},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(UndercutLimit(row.tooth, kRack20), row.xMin, 5e-5);
    }
    // The hob's root, helical mn 3, beta 15°, z 17, x 0.3: 52.79909 - 6 * 0.95 = 47.09909.
    EXPECT_NEAR(RackRootDiameter(Tooth(17, 3, 0.3, false, 0, 15), kRack20), 47.09909, 5e-6);
}

TEST(GearFormulas, RollersAndTheirSizes) {
    // m 2 unless said. External z 20, D 3.5: inv alpha_M = inv 20° + 3.5 / 37.58770 - pi / 40
    // = 0.0149044 + 0.0931156 - 0.0785398 = 0.0294801 -> 24.868727°; dM = 37.58770 / cos
    // alpha_M = 41.42929, M = 44.92929. Odd z 21: 0.0149044 + 3.5 / 39.46709 - pi / 42
    // = 0.0287860 -> 24.682044°, dM 43.43539, M = 43.43539 cos(pi / 42) + 3.5 = 46.81393.
    // x 0.5 adds 2 * 0.5 tan 20° / 20 = 0.0181985: 0.0476786 -> 28.909234°, M = 46.43840.
    // Ring z 61, D 3.25: inv alpha_M = pi / 122 + inv 20° - 3.25 / 114.64249 = 0.0123061 ->
    // 18.800137°, M = 121.10356 cos(pi / 122) - 3.25 = 117.81341. GOST 30° shaft z 20, D 3.5:
    // 0.0537515 + 0.1010363 - 0.0785398 = 0.0762480 -> 33.374863°, M = 44.98181. Rings, hubs,
    // balls and thinned teeth at the sheet's own rollers are worked in data_sheet_test.cpp.
    // The roller touching the reference circle: external z 20, alpha_M = 20° + pi / 20 - pi / 40
    // = 24.5°, D = 37.58770 (tan 24.5° - tan 20°) = 3.44890, the textbook 1.72 m, gauge 3.45;
    // ring z 60: alpha_M = 20° - 1.5°, D = 112.76311 (tan 20° - tan 18.5°) = 3.31241, gauge 3.3.
    struct Row {
        const char* name;
        ToothData tooth;
        double D, M;              // a roller and the measurement over it, if worked
        double touching, gauge;   // the roller touching the reference circle, if worked
    };
    const Row rows[] = {
        {"external even", Tooth(20, 2), 3.5, 44.92929, 3.44890, 3.45},
        {"external odd", Tooth(21, 2), 3.5, 46.81393, 0, 0},
        {"external shifted", Tooth(20, 2, 0.5), 3.5, 46.43840, 0, 0},
        {"ring odd", Tooth(61, 2, 0, true), 3.25, 117.81341, 0, 0},
        {"ring even", Tooth(60, 2, 0, true), 0, 0, 3.31241, 3.3},
        {"GOST shaft", Tooth(20, 2, 0, false, 0, 0, 30), 3.5, 44.98181, 0, 0},
        {"small module, 0.01 mm steps", Tooth(20, 0.3), 0, 0, 0.517335, 0.52},
        {"large module, 0.5 mm steps", Tooth(20, 8), 0, 0, 13.79559, 14},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.D > 0) {
            const RollerMeasurement m = MeasurementOverRollers(row.tooth, row.D);
            EXPECT_EQ(m.D, row.D);
            EXPECT_NEAR(m.M, row.M, 5e-5);
        }
        if (row.touching > 0) {
            const double D = TouchingRollerDiameter(row.tooth);
            EXPECT_NEAR(D, row.touching, 5e-5);
            EXPECT_DOUBLE_EQ(GaugeRollerDiameter(D), row.gauge);
        }
    }
    // A roller too large for the ring's space has no measurement.
    EXPECT_TRUE(std::isnan(MeasurementOverRollers(Tooth(60, 2, 0, true), 40).M));
}

}  // namespace
}  // namespace tarvo
