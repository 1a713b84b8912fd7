// The ranges in which a helix angle, a module, a shift and a backlash still give teeth that can
// be computed and written, and the box each refusal of the builders points at.
#include "app/input_check.h"

#include <cmath>
#include <cstddef>
#include <iterator>

#include "drawing/pair_data.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

// Every length of a drawing lies between these. The flank formulas square radii (the roll
// length is the root of r^2 - rb^2); a length within 1e-150..1e150 has a square within
// 1e-300..1e300, a normal double with all its digits, so each coordinate is computed and
// written with its fifteen significant digits. Beyond them squares overflow or sink into
// numbers with fewer digits, and the geometry fails with a misleading reason.
constexpr double kLeastLength = 1e-150;
constexpr double kGreatestLength = 1e150;
// A helix angle of 90 degrees or more has no transverse section.
constexpr double kRightAngle = 90;
// A spline shaft is generated against a partner of ten times its teeth.
constexpr int kShaftPartnerRatio = 10;

const char* const kLineBreak = "\r\n";

// One member of a mesh as the checks see it: its teeth, its shift coefficient (normal section)
// and whether its teeth are internal.
struct Member {
    int z = 0;
    double x = 0;
    bool internal = false;
    InputField shiftField = InputField::Shift1;
    InputField teethField = InputField::Teeth1;
};

// The transverse section of a pair as the builders find it: module, pressure angle, working
// pressure angle and base helix angle. A pair the builders refuse (shifts whose working angle
// is not found, say) is taken at its reference pressure angle.
struct Section {
    double mt = 0;
    double at = 0;
    double atw = 0;
    double bb = 0;
};

Section TransverseSection(const MainMod& rack, const BuilderCall& call) {
    const PairRequest request = PairRequestOf(call);
    const PairSection t = PairSectionOf(rack, request);
    Section s;
    s.mt = t.mt;
    s.at = t.alphaT;
    s.bb = t.baseHelix;
    const PairGeometryResult pair = PairGeometryOf(rack, request);
    s.atw = pair.ok() ? pair->alphaTw : t.alphaT;
    return s;
}

// The tip circle lies outside the base circle, so the flank has an involute to draw. The tip
// shortening of a shifted pair is left to the builder, which reports it on the same box.
bool TipOutsideBase(const Member& member, double m, double mt, double at, double ha) {
    const double d = member.z * mt;
    const double da = member.internal ? d - 2 * m * (ha - member.x) : d + 2 * m * (ha + member.x);
    return da > d * std::cos(at);
}

// The most transverse thickness an external tooth can give up to backlash (taken off on the
// reference circle) and still keep some width on its base circle, where its involutes start.
// Teeth thinned less may still come out pointed at the tip; the builder reports those.
double ThicknessToSpare(const Member& member, const BuilderCall& call, const Section& s) {
    const double xt = member.x * std::cos(GradToRad(call.beta));
    const double thickness = ReferenceThickness(s.mt, s.at, xt, false, 0);
    return thickness + member.z * s.mt * Inv(s.at);
}

InputCheck Fault(InputField field, const char* reason) {
    return InputCheck::Failure({field, reason});
}

// A ring whose tip circle lies inside its base circle: its teeth reach inwards past where the
// involute begins. Its tip circle z mt - 2 m (ha* - x) clears the base circle z mt cos at only
// from z > 2 m (ha* - x) / (mt (1 - cos at)) teeth on, so with a pinion close to it in size the
// cause is the small difference of the tooth counts; the message names the least ring.
InputCheck RingTooSmall(const Member& ring, double m, const Section& s, double ha) {
    const double bound = 2 * m * (ha - ring.x) / (s.mt * (1 - std::cos(s.at)));
    Member least = ring;
    least.z = std::isfinite(bound) && bound > 0 && bound < kMaxTeeth
                  ? static_cast<int>(std::floor(bound))
                  : 0;
    // The bound is computed, not exact: the first count the check itself lets through.
    while (least.z < kMaxTeeth && !TipOutsideBase(least, m, s.mt, s.at, ha)) {
        ++least.z;
    }
    return InputCheck::Failure(
        {ring.teethField,
         "разность чисел зубьев колёс слишком мала: при этих смещениях у колеса "
         "с внутренними зубьями должно быть не меньше " +
             std::to_string(least.z) +
             " зубьев (иначе окружность вершин лежит внутри основной "
             "окружности)"});
}

// A module whose drawing, out to `reach` modules, keeps every length in the range that keeps
// its digits; `diameters` names what grows too large.
InputCheck CheckModuleReach(InputField field, double m, double reach, const char* diameters) {
    if (m >= kLeastLength && m * reach <= kGreatestLength) {
        return Done{};
    }
    if (m < kLeastLength) {
        return Fault(field,
                     "при таком модуле размеры зубьев слишком малы для записи координат в "
                     "чертёж");
    }
    return InputCheck::Failure({field, std::string("при таком модуле ") + diameters +
                                           " слишком велики для записи координат в чертёж"});
}

// The helix angle and the module of a pair: a transverse section whose pressure angle can be
// inverted, and every length of the drawing, out to the far side of wheel 2, in the range that
// keeps its digits.
InputCheck CheckPairSize(const MainMod& rack, const BuilderCall& call) {
    if (!std::isfinite(call.beta) || !(std::fabs(call.beta) < kRightAngle)) {
        return Fault(InputField::Helix, "угол наклона зуба должен быть меньше 90° по модулю");
    }
    const double reach = call.Z1 + call.Z2 + 4 * (rack.H + std::fabs(call.x1) + std::fabs(call.x2));
    if (const InputCheck size =
            CheckModuleReach(InputField::Module, call.m, reach, "диаметры колёс");
        !size.ok()) {
        return size;
    }
    const Section s = TransverseSection(rack, call);
    if (!(s.mt * reach <= kGreatestLength)) {
        return Fault(InputField::Helix,
                     "при таком угле наклона торцовый модуль m / cos β и "
                     "диаметры колёс слишком велики для записи в чертёж");
    }
    // Unshifted wheels mesh at the transverse pressure angle itself; when even that angle
    // cannot be recovered from its involute, the helix is too steep, whatever the shifts.
    if (!ArcInv(Inv(s.at)).ok()) {
        return Fault(InputField::Helix,
                     "при таком угле наклона торцовый угол профиля близок "
                     "к 90° и угол зацепления не находится");
    }
    return Done{};
}

// Shifts and backlash of a pair, member by member.
InputCheck CheckPairTeeth(const MainMod& rack, const BuilderCall& call) {
    const bool internal = call.kind == BuilderCall::Kind::InternalPair;
    // In an internal pair the wheel that is not the pinion is the ring (of equal counts, neither).
    Member members[2];
    members[0].z = call.Z1;
    members[0].x = call.x1;
    members[0].internal = internal && FirstIsPinion(call.Z2, call.Z1);
    members[0].shiftField = InputField::Shift1;
    members[0].teethField = InputField::Teeth1;
    members[1].z = call.Z2;
    members[1].x = call.x2;
    members[1].internal = internal && FirstIsPinion(call.Z1, call.Z2);
    members[1].shiftField = InputField::Shift2;
    members[1].teethField = InputField::Teeth2;
    for (const Member& member : members) {
        if (!std::isfinite(member.x)) {
            return Fault(member.shiftField, "коэффициент смещения должен быть конечным числом");
        }
    }
    const Section s = TransverseSection(rack, call);
    for (const Member& member : members) {
        // A ring that would clear its base circle unshifted is let down by its shift; one that
        // would not is too small for its pinion.
        Member unshifted = member;
        unshifted.x = 0;
        if (member.internal && !TipOutsideBase(member, call.m, s.mt, s.at, rack.H) &&
            !TipOutsideBase(unshifted, call.m, s.mt, s.at, rack.H)) {
            return RingTooSmall(member, call.m, s, rack.H);
        }
        if (!TipOutsideBase(member, call.m, s.mt, s.at, rack.H)) {
            return Fault(member.shiftField,
                         "окружность вершин лежит внутри основной "
                         "окружности: смещение слишком мало");
        }
    }
    if (!std::isfinite(call.jn)) {
        return Fault(InputField::Backlash, "боковой зазор должен быть конечным числом");
    }
    // Each wheel gives up the share of the transverse backlash its teeth make of the pair's. A
    // ring's share widens its tooth spaces, which its cutter then follows; what it cannot
    // follow the builder reports.
    const double jt = call.jn / (std::cos(s.atw) * std::cos(s.bb));
    for (const Member& member : members) {
        const double share = BacklashShare(member.z, jt, call.Z1 + call.Z2);
        if (!member.internal && share > 0 && !(share < ThicknessToSpare(member, call, s))) {
            return Fault(InputField::Backlash, "боковой зазор больше толщины зуба");
        }
    }
    return Done{};
}

InputCheck CheckSpline(const MainMod& rack, const BuilderCall& call) {
    // The shaft's generating partner reaches furthest; a hub needs only its own size.
    const int partner = call.hub ? 0 : kShaftPartnerRatio * call.Z;
    const double reach = call.Z + partner + 4 * (rack.H + std::fabs(call.x));
    if (const InputCheck size =
            CheckModuleReach(InputField::SplineModule, call.m, reach, "диаметры");
        !size.ok()) {
        return size;
    }
    if (!std::isfinite(call.x)) {
        return Fault(InputField::SplineShift, "смещение должно быть конечным числом");
    }
    Member member;
    member.z = call.Z;
    member.x = call.x;
    member.internal = call.hub;
    member.shiftField = InputField::SplineShift;
    if (!TipOutsideBase(member, call.m, call.m, GradToRad(call.alpha), rack.H)) {
        return Fault(InputField::SplineShift,
                     "окружность вершин лежит внутри основной "
                     "окружности: смещение слишком мало");
    }
    return Done{};
}

// The user's wheel (1 or 2) that a builder's member number names: in an internal pair member 1
// is the pinion, the wheel with fewer teeth.
// The wheel as the designer typed it (1 or 2; 0 for the pair): an internal pair's pinion and
// ring are wheel 1 and 2 in whichever order their counts were entered.
int UserWheel(const GeometryError& error, const BuilderCall& call) {
    const bool pinionFirst = FirstIsPinion(call.Z1, call.Z2);
    switch (error.role) {
        case WheelRole::Pair:
            return 0;
        case WheelRole::Wheel1:
        case WheelRole::Shaft:
            return 1;
        case WheelRole::Wheel2:
        case WheelRole::Hub:
            return 2;
        case WheelRole::Pinion:
            return pinionFirst ? 1 : 2;
        case WheelRole::Ring:
            return pinionFirst ? 2 : 1;
    }
    return 0;
}

InputField SplineFieldOfFault(GeometryFault fault, const BuilderCall& call) {
    switch (fault) {
        case GeometryFault::ModuleNotPositive:
        case GeometryFault::NonFinitePoint:
            return InputField::SplineModule;
        case GeometryFault::ToothCountNotPositive:
        case GeometryFault::TooManyTeeth:
        case GeometryFault::PartnerTooLarge:
            return InputField::SplineTeeth;
        default:
            // The shape of the teeth: their shift when one was typed (an OST spline has none,
            // and then its count of teeth is what can change).
            return call.x != 0 ? InputField::SplineShift : InputField::SplineTeeth;
    }
}

}  // namespace

InputCheck CheckInputRanges(const MainMod& rack, const BuilderCall& call) {
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair:
        case BuilderCall::Kind::InternalPair:
            if (const InputCheck size = CheckPairSize(rack, call); !size.ok()) {
                return size;
            }
            return CheckPairTeeth(rack, call);
        case BuilderCall::Kind::Spline:
            return CheckSpline(rack, call);
    }
    return Done{};
}

InputField FieldOfFault(const GeometryError& error, const BuilderCall& call) {
    if (call.kind == BuilderCall::Kind::Spline) {
        return SplineFieldOfFault(error.fault, call);
    }
    const bool second = UserWheel(error, call) == 2;
    switch (error.fault) {
        case GeometryFault::ModuleNotPositive:
        case GeometryFault::NonFinitePoint:
            return InputField::Module;
        case GeometryFault::DataOutOfRange:
            return InputField::Helix;
        case GeometryFault::EqualToothCounts:
            return InputField::Teeth2;
        case GeometryFault::ToothCountNotPositive:
        case GeometryFault::TooManyTeeth:
        case GeometryFault::PartnerTooLarge:
            return second ? InputField::Teeth2 : InputField::Teeth1;
        default:
            // Working angle, tip and base circles, fillets and pointed teeth: the sentences ask
            // for another shift of the wheel they name (of wheel 1 when they name the pair).
            return second ? InputField::Shift2 : InputField::Shift1;
    }
}

const char* FieldCaption(InputField field) {
    // In the order of InputField: the captions of the parameters pages' boxes.
    static constexpr const char* kCaptions[] = {"Модуль нормальный, мм",
                                                "Угол наклона зуба, град.",
                                                "Число зубьев Z1",
                                                "Число зубьев Z2",
                                                "Коэффициент смещения x1",
                                                "Коэффициент смещения x2",
                                                "Нормальный боковой зазор jn",
                                                "Модуль, мм",
                                                "Число зубьев",
                                                "Смещение, мм"};
    static_assert(std::size(kCaptions) == static_cast<std::size_t>(InputField::SplineShift) + 1,
                  "a caption for every box");
    return kCaptions[static_cast<std::size_t>(field)];
}

std::string InputFaultMessage(const InputFault& fault) {
    return std::string("Неверно задан параметр:") + kLineBreak + FieldCaption(fault.field) + " !" +
           kLineBreak + fault.reason;
}

}  // namespace tarvo
