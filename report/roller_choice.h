// The measuring rollers (balls for a helical wheel) a workshop can use on one member: sizes
// from a stocked gauge series whose contact lies on the drawn involute, which stand out of the
// tips and which clear the root, and the reason a roller is refused.
#pragma once

#include <optional>
#include <vector>

#include "math/outcome.h"
#include "profile/gear_formulas.h"
#include "profile/point_xy.h"
#include "report/drawn_involute.h"

namespace tarvo {

// What the drawing decides about the member the rollers go on.
struct DrawnTeeth {
    double da = 0;                                // tip diameter as drawn
    InvoluteSpan involute;                        // where its flank is drawn as the involute
    const std::vector<PointXY>* flank = nullptr;  // the flank, as DrawnInvoluteSpan takes it
};

// Why a roller gives no measurement, in the order the conditions are checked.
enum class RollerFault {
    NoPosition,     // no position touches both flanks of a space
    OffInvolute,    // it touches the flanks off their drawn involute (below the base circle:
                    // contactD 0)
    NotProtruding,  // it does not stand out of the tips: external M <= da, internal
                    // dM - D >= da (the rollers do not reach past the internal tips)
    HitsRoot,       // placed on the flanks it cuts into the fillet or the root of the drawing
    NoGaugeSize,    // the default: no size of the series touches the drawn involute
};

// What is known of the roller refused; a value is absent where the roller gives none (it fits
// no space, or no size of the series touches the drawn involute).
struct RollerRefusal {
    RollerFault fault = RollerFault::NoPosition;
    std::optional<double> D;  // the roller refused (NoGaugeSize: the one touching mid-involute)
    std::optional<double> contactD;  // where it touches the flanks, mm
    std::optional<double> M;         // its measurement, mm, for NotProtruding
    std::optional<double> centreD;   // diameter of the roller centres dM, mm
};

using RollerResult = Outcome<RollerMeasurement, RollerRefusal>;

// A roller of a protruding measurement clears the drawn outline by at least this much, mm
// less than its own radius: the distance to the flank it touches is computed to about 1e-12.
constexpr double kRollerClearance = 1e-6;

// Roller D on the teeth `t` describe (as drawn, thinned), checked on the drawing.
RollerResult CheckRoller(const ToothData& t, const DrawnTeeth& drawn, double D);

// The stocked gauge series, from 0.1 mm: 0.05 mm steps up to 1 mm, 0.1 mm up to 2 mm, 0.25 mm
// up to 10 mm, 0.5 mm up to 30 mm, 1 mm above. The sizes from `low` to `high`, ascending.
std::vector<double> GaugeSizes(double low, double high);

// The size of the series whose contact lies nearest the middle of the drawn involute among
// those CheckRoller accepts; refused with the reason of the size nearest that middle, or
// NoGaugeSize when none touches the drawn involute at all.
RollerResult ChooseRoller(const ToothData& t, const DrawnTeeth& drawn);

}  // namespace tarvo
