// The data sheet's formulas. Each function computes exactly the relation stated beside its
// declaration; the involute and its inverse are the drawing's own (math/involute.h).
#include "report/gear_formulas.h"

#include <cmath>
#include <limits>

#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"

namespace tarvo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Length of the line of action from the base circle to a circle of diameter da; 0 when that
// circle lies inside the base circle (no involute there).
double LineOfActionToTip(double da, double db) {
    const double g = (da * da - db * db) / 4;
    return g > 0 ? std::sqrt(g) : 0;
}

}  // namespace

double TransverseModule(double mn, double beta) { return mn / std::cos(beta); }

double TransversePressureAngle(double alphaN, double beta) {
    return std::atan(std::tan(alphaN) / std::cos(beta));
}

double ReferenceDiameter(int z, double mt) { return z * mt; }

double BaseDiameter(double d, double alphaT) { return d * std::cos(alphaT); }

double BaseHelixAngle(double beta, double alphaT) {
    return std::atan(std::tan(beta) * std::cos(alphaT));
}

double TransverseBasePitch(double mt, double alphaT) { return kPi * mt * std::cos(alphaT); }

double WorkingPressureAngle(int z1, int z2, double x1, double x2, double alphaN, double alphaT,
                            bool internal) {
    const double sumX = internal ? x2 - x1 : x2 + x1;
    const int sumZ = internal ? z2 - z1 : z2 + z1;
    const ArcInvResult a = ArcInv(Inv(alphaT) + 2 * sumX * std::tan(alphaN) / sumZ);
    return a.converged ? a.angle : kNaN;
}

double WorkingCentreDistance(int z1, int z2, double mt, double alphaT, double alphaWt,
                             bool internal) {
    const double a = mt * (internal ? z2 - z1 : z2 + z1) / 2;
    return a * std::cos(alphaT) / std::cos(alphaWt);
}

double TransverseContactRatio(double da1, double db1, double da2, double db2, double aw,
                              double alphaWt, double pbt, bool internal) {
    const double ga1 = LineOfActionToTip(da1, db1);
    const double ga2 = LineOfActionToTip(da2, db2);
    const double working = aw * std::sin(alphaWt);
    return (internal ? ga1 - ga2 + working : ga1 + ga2 - working) / pbt;
}

double BaseTangentLength(int z, int k, double mn, double alphaN, double alphaT, double x) {
    return mn * std::cos(alphaN) *
           ((k - 0.5) * kPi + z * Inv(alphaT) + 2 * x * std::tan(alphaN));
}

int SpanTeeth(int z, double mn, double alphaN, double alphaT, double betaB, double x, double d,
              double db) {
    if (z < 2) {
        return 1;
    }
    // The flanks are touched on the circle of diameter d + 2 x mn; when the base circle lies
    // outside it (a large negative shift) they are touched at the base circle.
    const double ratio = db / (d + 2 * x * mn);
    const double alphaX = ratio > 0 && ratio < 1 ? std::acos(ratio) : 0;
    const double cosBb = std::cos(betaB);
    const double k = z / kPi *
                         (std::tan(alphaX) / (cosBb * cosBb) - 2 * x * std::tan(alphaN) / z -
                          Inv(alphaT)) +
                     0.5;
    const double rounded = RoundHalfEven(k);
    if (!(rounded >= 1)) {
        return 1;
    }
    if (rounded > z - 1) {
        return z - 1;
    }
    return static_cast<int>(rounded);
}

double TipToothThickness(double da, double d, double db, double mt, double alphaN,
                         double alphaT, double beta, double x, bool internal) {
    const double shift = 2 * x * std::tan(alphaN);
    const double st = mt * (kPi / 2 + (internal ? -shift : shift));
    const double alphaAt = std::acos(std::fmin(db / da, 1.0));
    const double invDiff = Inv(alphaT) - Inv(alphaAt);
    const double sat = da * (st / d + (internal ? -invDiff : invDiff));
    const double betaA = std::atan(std::tan(beta) * da / d);
    return sat * std::cos(betaA);
}

double RackFormDiameter(double d, double db, double alphaN, double alphaT, double hfP,
                        double rhoFP, double x, double mn) {
    const double hFfP = hfP - rhoFP * (1 - std::sin(alphaN));
    const double s = std::sin(alphaT);
    const double along = d * s - 2 * (hFfP - x * mn) / s;
    return std::sqrt(db * db + along * along);
}

double CutterFormDiameter(double db2, double db0, double dNa0, double a0, double alphaW0) {
    const double rb2 = db2 / 2;
    const double g0 = LineOfActionToTip(dNa0, db0);
    const double along = a0 * std::sin(alphaW0) + g0;
    return 2 * std::sqrt(rb2 * rb2 + along * along);
}

ActiveProfileStart ActiveProfileStartDiameter(double db, double mateDa, double mateDb,
                                              double aw, double alphaWt, bool internal,
                                              bool ring) {
    const double gaMate = LineOfActionToTip(mateDa, mateDb);
    const double working = aw * std::sin(alphaWt);
    double l = working - gaMate;
    if (internal) {
        l = ring ? working + gaMate : gaMate - working;
    }
    return {l, std::sqrt(db * db + 4 * l * l)};
}

}  // namespace tarvo
