// The gear formulas of one wheel. Each function computes exactly the relation stated beside its
// declaration; the involute and its inverse are the drawing's own (math/involute.h).
#include "profile/gear_formulas.h"

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

// Length of the line of action from the base circle to a circle of diameter da; 0 when that
// circle lies inside the base circle (no involute there).
double LineOfActionToTip(double da, double db) {
    const double g = (da * da - db * db) / 4;
    return g > 0 ? std::sqrt(g) : 0;
}

}  // namespace

double TransverseModule(double mn, double beta) {
    return mn / std::cos(beta);
}

double TransversePressureAngle(double alphaN, double beta) {
    return std::atan(std::tan(alphaN) / std::cos(beta));
}

double ReferenceDiameter(int z, double mt) {
    return z * mt;
}

double BaseDiameter(double d, double alphaT) {
    return d * std::cos(alphaT);
}

double BaseHelixAngle(double beta, double alphaT) {
    return std::atan(std::tan(beta) * std::cos(alphaT));
}

double TransverseBasePitch(double mt, double alphaT) {
    return kPi * mt * std::cos(alphaT);
}

double TransverseContactRatio(const TipAndBase& wheel1, const TipAndBase& wheel2,
                              const WorkingMesh& mesh, double pbt, bool internal) {
    const double ga1 = LineOfActionToTip(wheel1.da, wheel1.db);
    const double ga2 = LineOfActionToTip(wheel2.da, wheel2.db);
    const double working = mesh.aw * std::sin(mesh.alphaWt);
    return (internal ? ga1 - ga2 + working : ga1 + ga2 - working) / pbt;
}

double ReferenceThickness(const ToothData& t) {
    return ReferenceThickness(TransverseModule(t.mn, t.beta),
                              TransversePressureAngle(t.alphaN, t.beta), t.x * std::cos(t.beta),
                              t.internal, t.thinning);
}

double BaseTangentLength(const ToothData& t, int k) {
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    const double cosAlphaN = std::cos(t.alphaN);
    return t.mn * cosAlphaN * ((k - 0.5) * kPi + t.z * Inv(alphaT) + 2 * t.x * std::tan(t.alphaN)) -
           t.thinning * std::cos(t.beta) * cosAlphaN;
}

double SpanTeethExact(const ToothData& t) {
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    const double d = ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta));
    // The flanks are touched on the circle of diameter d + 2 x mn; when the base circle lies
    // outside it (a large negative shift) they are touched at the base circle.
    const double ratio = BaseDiameter(d, alphaT) / (d + 2 * t.x * t.mn);
    const double alphaX = ratio > 0 && ratio < 1 ? std::acos(ratio) : 0;
    const double cosBb = std::cos(BaseHelixAngle(t.beta, alphaT));
    return t.z / kPi *
               (std::tan(alphaX) / (cosBb * cosBb) - 2 * t.x * std::tan(t.alphaN) / t.z -
                Inv(alphaT)) +
           0.5;
}

int SpanTeeth(const ToothData& t) {
    if (t.z < 2) {
        return 1;
    }
    const double rounded = RoundHalfEven(SpanTeethExact(t));
    if (!(rounded >= 1)) {
        return 1;
    }
    if (rounded > t.z - 1) {
        return t.z - 1;
    }
    return static_cast<int>(rounded);
}

double SpanContactDiameter(const ToothData& t, double W) {
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    const double db = BaseDiameter(ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta)), alphaT);
    const double wt = W / std::cos(BaseHelixAngle(t.beta, alphaT));
    return std::sqrt(db * db + wt * wt);
}

double TransverseTipThickness(const ToothData& t, double da) {
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    const double d = ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta));
    const double db = BaseDiameter(d, alphaT);
    const double alphaAt = std::acos(std::fmin(db / da, 1.0));
    const double invDiff = Inv(alphaT) - Inv(alphaAt);
    return da * (ReferenceThickness(t) / d + (t.internal ? -invDiff : invDiff));
}

double TipToothThickness(const ToothData& t, double da) {
    const double d = ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta));
    const double betaA = std::atan(std::tan(t.beta) * da / d);
    return TransverseTipThickness(t, da) * std::cos(betaA);
}

double RackFormDiameter(const ToothData& t, const RackDepth& rack) {
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    const double d = ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta));
    const double db = BaseDiameter(d, alphaT);
    const double s = std::sin(alphaT);
    const double depth = rack.hf - rack.rf * (1 - s) - t.x;
    const double along = d * s - 2 * depth * t.mn / s;
    return std::sqrt(db * db + along * along);
}

double UndercutLimit(const ToothData& t, const RackDepth& rack) {
    const double cosBeta = std::cos(t.beta);
    const double s = std::sin(TransversePressureAngle(t.alphaN, t.beta));
    const double xMinT = (rack.hf - rack.rf * (1 - s)) * cosBeta - t.z * s * s / 2;
    return xMinT / cosBeta;
}

double RackRootDiameter(const ToothData& t, const RackDepth& rack) {
    return ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta)) - 2 * t.mn * (rack.hf - t.x);
}

namespace {

// The pieces both roller formulas share.
struct RollerBasis {
    double alphaT = 0;
    double d = 0;
    double db = 0;
    double cosBb = 0;
    double halfSpace = 0;  // pi / z - st / d: half the space's angle on d, less the involute terms
};

RollerBasis BasisOf(const ToothData& t) {
    RollerBasis b;
    b.alphaT = TransversePressureAngle(t.alphaN, t.beta);
    b.d = ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta));
    b.db = BaseDiameter(b.d, b.alphaT);
    b.cosBb = std::cos(BaseHelixAngle(t.beta, b.alphaT));
    b.halfSpace = kPi / t.z - ReferenceThickness(t) / b.d;
    return b;
}

}  // namespace

std::optional<RollerMeasurement> MeasurementOverRollers(const ToothData& t, double rollerD) {
    const RollerBasis b = BasisOf(t);
    const double offset = rollerD / (b.db * b.cosBb);
    const double invM =
        t.internal ? b.halfSpace + Inv(b.alphaT) - offset : Inv(b.alphaT) + offset - b.halfSpace;
    const ArcInvResult alphaM = ArcInv(invM);
    if (!alphaM.ok() || !(invM > 0)) {
        return std::nullopt;
    }
    RollerMeasurement m;
    m.D = rollerD;
    m.centreD = b.db / std::cos(alphaM.value());
    const double tanY = std::tan(alphaM.value()) + (t.internal ? offset : -offset);
    m.contactD = tanY > 0 ? b.db * std::sqrt(1 + tanY * tanY) : 0;
    const double across = t.z % 2 == 0 ? 1 : std::cos(kPi / (2 * t.z));
    m.M = m.centreD * across + (t.internal ? -rollerD : rollerD);
    return m;
}

std::optional<double> RollerTouchingAt(const ToothData& t, double dy) {
    const RollerBasis b = BasisOf(t);
    if (!(dy >= b.db)) {
        return std::nullopt;
    }
    const double tanY = std::sqrt(std::fmax(dy * dy / (b.db * b.db) - 1, 0.0));
    const double alphaM = tanY - Inv(b.alphaT) + (t.internal ? -b.halfSpace : b.halfSpace);
    const double tangents = std::tan(alphaM) - tanY;
    return b.db * b.cosBb * (t.internal ? -tangents : tangents);
}

std::optional<double> TouchingRollerDiameter(const ToothData& t) {
    return RollerTouchingAt(t, ReferenceDiameter(t.z, TransverseModule(t.mn, t.beta)));
}

double CutterFormDiameter(double db2, double db0, double dNa0, double a0, double alphaW0) {
    const double rb2 = db2 / 2;
    const double g0 = LineOfActionToTip(dNa0, db0);
    const double along = a0 * std::sin(alphaW0) + g0;
    return 2 * std::sqrt(rb2 * rb2 + along * along);
}

ActiveProfileStart ActiveProfileStartDiameter(double db, const TipAndBase& mate,
                                              const WorkingMesh& mesh, bool internal, bool ring) {
    const double gaMate = LineOfActionToTip(mate.da, mate.db);
    const double working = mesh.aw * std::sin(mesh.alphaWt);
    double l = working - gaMate;
    if (internal) {
        l = ring ? working + gaMate : gaMate - working;
    }
    return {l, std::sqrt(db * db + 4 * l * l)};
}

}  // namespace tarvo
