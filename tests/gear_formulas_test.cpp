// The data sheet's formulas against values worked by hand from the textbook relations
// (ISO 21771; the span tables of GOST 16532 give 7.6604 mm for m = 1, z = 20, k = 3).
// Each row's comment shows the hand calculation; angles of 20 degrees use
// cos 20° = 0.9396926, sin 20° = 0.3420201, inv 20° = 0.0149044.
#include <gtest/gtest.h>

#include <cmath>

#include "app/gear_formulas.h"
#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {
namespace {

const double kAlpha20 = GradToRad(20);

TEST(GearFormulas, SpanMeasurement) {
    struct Row {
        const char* name;
        int z;
        double mn, betaDeg, x;
        int k;
        double W;
    };
    const Row rows[] = {
        // 2 cos 20° (2.5 pi + 20 inv 20°) = 1.8793852 * 8.1520692 = 15.32088 (the table's
        // 7.6604 for m = 1, doubled, is 15.3208).
        {"m 2, z 20", 20, 2, 0, 0, 3, 15.32088},
        // k = 40 * 0.3490659 / pi + 0.5 = 4.94 -> 5; 1.8793852 (4.5 pi + 40 inv 20°) = 27.68963.
        {"m 2, z 40", 40, 2, 0, 0, 5, 27.68963},
        // Shifted: cos(alpha_x) = 37.58770 / (40 + 2 * 0.5 * 2), alpha_x = 26.49859°;
        // k = 20/pi (tan alpha_x - 2 * 0.5 tan 20° / 20 - inv 20°) + 0.5 = 3.46 -> 3;
        // W = 15.32088 + 2 cos 20° * 2 * 0.5 * tan 20° = 15.32088 + 0.68404 = 16.00492.
        {"m 2, z 20, x 0.5", 20, 2, 0, 0.5, 3, 16.00492},
        // Helical mn 3, beta 15°: alpha_t = 20.64690°, inv alpha_t = 0.0164534, cos^2 beta_b
        // = 0.94085; k = 2.58 -> 3; W = 3 cos 20° (2.5 pi + 17 * 0.0164534) = 22.92950.
        {"mn 3, beta 15, z 17", 17, 3, 15, 0, 3, 22.92950},
        // k = 6.98 -> 7; W = 3 cos 20° (6.5 pi + 53 * 0.0164534) = 60.02488.
        {"mn 3, beta 15, z 53", 53, 3, 15, 0, 7, 60.02488},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double beta = GradToRad(row.betaDeg);
        const double alphaT = TransversePressureAngle(kAlpha20, beta);
        const double mt = TransverseModule(row.mn, beta);
        const double d = ReferenceDiameter(row.z, mt);
        const double db = BaseDiameter(d, alphaT);
        const int k = SpanTeeth(row.z, row.mn, kAlpha20, alphaT, BaseHelixAngle(beta, alphaT),
                                row.x, d, db);
        EXPECT_EQ(k, row.k);
        EXPECT_NEAR(BaseTangentLength(row.z, k, row.mn, kAlpha20, alphaT, row.x), row.W, 5e-5);
    }
    // The textbook's rounded value.
    EXPECT_NEAR(BaseTangentLength(20, 3, 2, kAlpha20, kAlpha20, 0), 15.3208, 1e-4);
}

TEST(GearFormulas, SpanTeethStaysOnTheWheel) {
    // A two-tooth wheel cannot be spanned over more than one tooth; a large negative shift
    // touches at the base circle and still spans at least one.
    EXPECT_EQ(SpanTeeth(2, 1, kAlpha20, kAlpha20, 0, 0, 2, 2 * std::cos(kAlpha20)), 1);
    EXPECT_EQ(SpanTeeth(1, 1, kAlpha20, kAlpha20, 0, 0, 1, std::cos(kAlpha20)), 1);
    EXPECT_EQ(SpanTeeth(12, 1, kAlpha20, kAlpha20, 0, -3, 12, 12 * std::cos(kAlpha20)), 1);
}

TEST(GearFormulas, PairGeometry) {
    struct Row {
        const char* name;
        int z1, z2;
        double mn, betaDeg, x1, x2;
        bool internal;
        double da1, da2;  // tip diameters (for an internal pair: after the tip limits)
        double mt, alphaTwDeg, aw, epsAlpha;
    };
    const Row rows[] = {
        // aw = 60; ga1 = sqrt(22^2 - 18.79385^2) = 11.43638, ga2 = sqrt(42^2 - 37.58770^2)
        // = 18.73938, aw sin 20° = 20.52121, pbt = 2 pi cos 20° = 5.90426:
        // eps = (11.43638 + 18.73938 - 20.52121) / 5.90426 = 1.63519.
        {"external 20/40", 20, 40, 2, 0, 0, 0, false, 44, 84, 2, 20, 60, 1.63519},
        // inv alpha_tw = 2 (0.5 + 0.3) tan 20° / 60 + inv 20° = 0.0246103 -> 23.48491°;
        // aw = 60 cos 20° / cos 23.48491° = 61.47373; ga1 = 13.03835, ga2 = 19.77833,
        // aw sin alpha_tw = 24.49775: eps = 1.40897.
        {"external shifted 0.5 / 0.3", 20, 40, 2, 0, 0.5, 0.3, false, 45.74746, 84.94746, 2,
         23.48491, 61.47373, 1.40897},
        // Internal 20 in 60, tips limited to 43.445 and 117.589: ga1 = 10.89303,
        // ga2 = sqrt(58.7945^2 - 56.38156^2) = 16.67073, aw sin 20° = 13.68081:
        // eps = (10.89303 - 16.67073 + 13.68081) / 5.90426 = 1.33854.
        {"internal 20/60", 20, 60, 2, 0, 0, 0, true, 43.445, 117.589, 2, 20, 40, 1.33854},
        // inv alpha_tw = 2 (0.5 - 0.2) tan 20° / 20 + inv 20° = 0.0258235 -> 23.84682°;
        // aw = 20 cos 20° / cos 23.84682° = 20.54805; ga1 = 12.09240, ga2 = 10.20366,
        // aw sin alpha_tw = 8.30743: eps = 1.72692.
        {"internal shifted", 20, 40, 2, 0, 0.2, 0.5, true, 44.69609, 77.89609, 2, 23.84682,
         20.54805, 1.72692},
        // mt = 3 / cos 15° = 3.105829, alpha_t = 20.64690°, d = 52.79909 and 164.60891,
        // aw = 108.70400, da = d + 6; ga1 = 15.93891, ga2 = 36.67500, aw sin alpha_t
        // = 38.32987, pbt = pi mt cos alpha_t = 9.13055: eps = 1.56442.
        {"helical 17/53", 17, 53, 3, 15, 0, 0, false, 58.79909, 170.60891, 3.105829, 20.64690,
         108.70400, 1.56442},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double beta = GradToRad(row.betaDeg);
        const double mt = TransverseModule(row.mn, beta);
        const double alphaT = TransversePressureAngle(kAlpha20, beta);
        EXPECT_NEAR(mt, row.mt, 5e-7);
        const double alphaWt =
            WorkingPressureAngle(row.z1, row.z2, row.x1, row.x2, kAlpha20, alphaT, row.internal);
        EXPECT_NEAR(alphaWt * 180 / kPi, row.alphaTwDeg, 5e-6);
        const double aw = WorkingCentreDistance(row.z1, row.z2, mt, alphaT, alphaWt, row.internal);
        EXPECT_NEAR(aw, row.aw, 5e-6);
        const double db1 = BaseDiameter(ReferenceDiameter(row.z1, mt), alphaT);
        const double db2 = BaseDiameter(ReferenceDiameter(row.z2, mt), alphaT);
        EXPECT_NEAR(TransverseContactRatio(row.da1, db1, row.da2, db2, aw, alphaWt,
                                           TransverseBasePitch(mt, alphaT), row.internal),
                    row.epsAlpha, 5e-5);
    }
}

TEST(GearFormulas, TipThicknessAndInvoluteLimits) {
    // Pointed pinion z 12, x 0.8 (mate 30, x 0): alpha_tw = 24.67767°, aw = 43.43386,
    // tip shortening gives da = 30.86772; alpha_at = acos(22.55262 / 30.86772) = 43.0512°;
    // sat = 30.86772 (2 (pi/2 + 1.6 tan 20°) / 24 + inv 20° - inv alpha_at) = 0.35112.
    EXPECT_NEAR(TipToothThickness(30.86772, 24, 24 * std::cos(kAlpha20), 2, kAlpha20, kAlpha20,
                                  0, 0.8, false),
                0.35112, 5e-5);
    // Unshifted z 20, da 44: sat = 44 (pi/40 + inv 20° - inv 31.32126°) = 1.38976.
    EXPECT_NEAR(TipToothThickness(44, 40, 40 * std::cos(kAlpha20), 2, kAlpha20, kAlpha20, 0, 0,
                                  false),
                1.38976, 5e-5);
    // A ring's tooth widens towards its root and is narrowest at its tip, inside the reference
    // circle: z 60, da 116: 116 (pi/120 - inv 20° + inv 13.56711°) = 1.83312.
    EXPECT_NEAR(TipToothThickness(116, 120, 120 * std::cos(kAlpha20), 2, kAlpha20, kAlpha20, 0,
                                  0, true),
                1.83312, 5e-5);

    // Rack-generated form diameter of z 14, m 2 (hfP = 2.5, rhoFP = 0.76):
    // hFfP = 2.5 - 0.76 (1 - sin 20°) = 1.99994; d sin 20° - 2 hFfP / sin 20° = 9.57656
    // - 11.69484 = -2.11828; dFf = sqrt(26.31139^2 + 2.11828^2) = 26.39652.
    const double db14 = 28 * std::cos(kAlpha20);
    EXPECT_NEAR(RackFormDiameter(28, db14, kAlpha20, kAlpha20, 2.5, 0.76, 0, 2), 26.39652, 5e-5);
    // Its mate z 40 (da 84) at aw 54: L = 54 sin 20° - 18.73938 = -0.27029: past the base
    // tangent point, dNf = sqrt(26.31139^2 + 4 * 0.27029^2) = 26.31695.
    const ActiveProfileStart start = ActiveProfileStartDiameter(
        db14, 84, 80 * std::cos(kAlpha20), 54, kAlpha20, false, false);
    EXPECT_NEAR(start.lineOfAction, -0.27029, 5e-5);
    EXPECT_NEAR(start.diameter, 26.31695, 5e-5);

    // Ring z 60 cut by the z 20 cutter (da0 45, rho0 0.715, a0 40): the cutter's involute
    // ends at 44.29318, ga0 = 11.71591; dFf2 = 2 sqrt(56.38156^2 + (13.68081 + 11.71591)^2)
    // = 123.67495. The pinion's tip (43.445) reaches 2 sqrt(56.38156^2 + (13.68081
    // + 10.89303)^2) = 123.00819: short of it.
    const double db0 = 40 * std::cos(kAlpha20);
    const double alphaC = std::acos(db0 / (45 - 2 * 0.715));
    const double dNa0 = 45 - 2 * 0.715 * (1 - std::sin(alphaC));
    EXPECT_NEAR(CutterFormDiameter(120 * std::cos(kAlpha20), db0, dNa0, 40, kAlpha20), 123.67495,
                5e-5);
    const ActiveProfileStart ring = ActiveProfileStartDiameter(
        120 * std::cos(kAlpha20), 43.445, db0, 40, kAlpha20, true, true);
    EXPECT_NEAR(ring.diameter, 123.00819, 5e-5);
    // The pinion of that pair: L = ga_ring - aw sin 20° = 16.67073 - 13.68081 = 2.98992.
    const ActiveProfileStart pinion = ActiveProfileStartDiameter(
        db0, 117.589, 120 * std::cos(kAlpha20), 40, kAlpha20, true, false);
    EXPECT_NEAR(pinion.lineOfAction, 2.98992, 5e-5);
}

}  // namespace
}  // namespace tarvo
