// The data sheet's formulas against hand calculations: the shifts, the limits and interference
// here, unshifted and helical wheels through the whole sheet in data_sheet_test.cpp.
// cos 20° = 0.9396926, sin 20° = 0.3420201, tan 20° = 0.3639702, inv 20° = 0.0149044.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "report/gear_formulas.h"
#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {
namespace {

const double kAlpha20 = GradToRad(20);

TEST(GearFormulas, SpanMeasurement) {
    struct Row {
        const char* name;
        double x;
        int k;
        double W;
    };
    const Row rows[] = {
        // 2 cos 20° (2.5 pi + 20 inv 20°) = 15.32088: the span tables' 7.6604 for m 1, doubled.
        {"m 2, z 20", 0, 3, 15.32088},
        // cos(alpha_x) = 37.58770 / 42, k = 20/pi (tan 26.49859° - 0.5 tan 20° / 10 - inv 20°)
        // + 0.5 = 3.46 -> 3; W = 15.32088 + 2 cos 20° * 2 * 0.5 tan 20° = 16.00492.
        {"m 2, z 20, x 0.5", 0.5, 3, 16.00492},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int k = SpanTeeth(20, 2, kAlpha20, kAlpha20, 0, row.x, 40, 40 * std::cos(kAlpha20));
        EXPECT_EQ(k, row.k);
        EXPECT_NEAR(BaseTangentLength(20, k, 2, kAlpha20, kAlpha20, row.x), row.W, 5e-5);
    }
    // Spanned teeth stay on the wheel: at most z - 1 (a large positive shift on two teeth asks
    // for 2), one for a single tooth, and one for a large negative shift touching at the base.
    for (const auto& [z, x] : {std::pair{2, 3.0}, {1, 0.0}, {12, -3.0}}) {
        EXPECT_EQ(SpanTeeth(z, 1, kAlpha20, kAlpha20, 0, x, z, z * std::cos(kAlpha20)), 1) << z;
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
        const double alphaWt =
            WorkingPressureAngle(row.z1, row.z2, row.x1, row.x2, kAlpha20, kAlpha20, row.internal);
        EXPECT_NEAR(alphaWt * 180 / kPi, row.alphaTwDeg, 5e-6);
        const double aw = WorkingCentreDistance(row.z1, row.z2, 2, kAlpha20, alphaWt, row.internal);
        EXPECT_NEAR(aw, row.aw, 5e-6);
        EXPECT_NEAR(TransverseContactRatio(row.da1, 2 * row.z1 * std::cos(kAlpha20), row.da2,
                                           2 * row.z2 * std::cos(kAlpha20), aw, alphaWt,
                                           TransverseBasePitch(2, kAlpha20), row.internal),
                    row.epsAlpha, 5e-5);
    }
}

TEST(GearFormulas, TipThicknessAndInvoluteLimits) {
    // m 2. Pointed z 12, x 0.8, da 30.86772: 30.86772 (2 (pi/2 + 1.6 tan 20°) / 24 + inv 20°
    // - inv 43.0512°) = 0.35112. z 20, da 44: 44 (pi/40 + inv 20° - inv 31.32126°) = 1.38976.
    // A ring z 60, da 116, narrowest at its tip: 116 (pi/120 - inv 20° + inv 13.56711°) = 1.83312.
    for (const auto& [z, da, x, internal, s] :
         {std::tuple{12, 30.86772, 0.8, false, 0.35112}, {20, 44.0, 0.0, false, 1.38976},
          {60, 116.0, 0.0, true, 1.83312}}) {
        EXPECT_NEAR(TipToothThickness(da, 2 * z, 2 * z * std::cos(kAlpha20), 2, kAlpha20,
                                      kAlpha20, 0, x, internal),
                    s, 5e-5)
            << "z " << z;
    }

    // Rack-generated form diameter of z 14, m 2 (hfP = 2.5, rhoFP = 0.76):
    // hFfP = 2.5 - 0.76 (1 - sin 20°) = 1.99994; d sin 20° - 2 hFfP / sin 20° = 9.57656
    // - 11.69484 = -2.11828; dFf = sqrt(26.31139^2 + 2.11828^2) = 26.39652.
    const double db14 = 28 * std::cos(kAlpha20);
    EXPECT_NEAR(RackFormDiameter(28, db14, kAlpha20, kAlpha20, 2.5, 0.76, 0, 2), 26.39652, 5e-5);
    // Its mate z 40 (da 84) at aw 54: L = 54 sin 20° - 18.73938 = -0.27029, past the base
    // tangent point; dNf = sqrt(26.31139^2 + 4 * 0.27029^2) = 26.31695.
    const ActiveProfileStart start = ActiveProfileStartDiameter(
        db14, 84, 80 * std::cos(kAlpha20), 54, kAlpha20, false, false);
    EXPECT_NEAR(start.lineOfAction, -0.27029, 5e-5);
    EXPECT_NEAR(start.diameter, 26.31695, 5e-5);

    // Ring z 60 cut by the z 20 cutter (a0 40) whose involute ends at 44.29318, ga0 = 11.71591:
    // dFf2 = 2 sqrt(56.38156^2 + (13.68081 + 11.71591)^2) = 123.67495. The pinion's tip
    // (43.445) reaches 2 sqrt(56.38156^2 + (13.68081 + 10.89303)^2) = 123.00819, short of it.
    const double db0 = 40 * std::cos(kAlpha20);
    const double db60 = 120 * std::cos(kAlpha20);
    EXPECT_NEAR(CutterFormDiameter(db60, db0, 44.29318, 40, kAlpha20), 123.67495, 5e-5);
    EXPECT_NEAR(ActiveProfileStartDiameter(db60, 43.445, db0, 40, kAlpha20, true, true).diameter,
                123.00819, 5e-5);
    // The pinion of that pair: L = ga_ring - aw sin 20° = 16.67073 - 13.68081 = 2.98992.
    EXPECT_NEAR(
        ActiveProfileStartDiameter(db0, 117.589, db60, 40, kAlpha20, true, false).lineOfAction,
        2.98992, 5e-5);
}

}  // namespace
}  // namespace tarvo
