// The tip rounding of a cutting tool, shrunk in 0.005 mm steps (scaled outside the modules gears
// are made in, see profile/length_unit.h) until it fits the tool's tooth:
// the rack's for external teeth and the pinion-type cutter's for internal teeth fit the same way.
#pragma once

#include <cmath>

#include "math/constants.h"
#include "math/outcome.h"
#include "profile/geometry_fault.h"

namespace tarvo {

// The radius that fits and the 0.005 mm steps taken off the first one.
struct RoundingFit {
    double rho = 0;
    long reductions = 0;
};

// Shrinks `rho` by kRoundingStep times `unit` (LengthUnit of the module) until `room(rho)`, the
// tooth's width left beside the rounding, is no longer negative. Each step widens the room by
// the same amount, so finite data end the loop. Refused with `fault` at once when the room is
// not a number, or when a step no longer changes the radius (a radius not a finite number),
// either of which would repeat the same test for ever; refused too when `maxReductions` steps
// do not make it fit.
template <class Room>
Outcome<RoundingFit, GeometryFault> ShrinkUntilFits(double rho, double unit, long maxReductions,
                                                    GeometryFault fault, Room room) {
    const double step = kRoundingStep * unit;
    using Result = Outcome<RoundingFit, GeometryFault>;
    long reductions = 0;
    while (true) {
        const double test = room(rho);
        if (std::isnan(test)) {
            return Result::Failure(fault);
        }
        if (!(test < 0)) {
            return RoundingFit{rho, reductions};
        }
        const double smaller = rho - step;
        if (reductions == maxReductions || smaller == rho) {
            return Result::Failure(fault);
        }
        rho = smaller;
        ++reductions;
    }
}

}  // namespace tarvo
