// The fixed lengths the generator steps by or rounds to: the tool roundings' 0.005 mm steps and
// the cutter rounding's tenth of a millimetre, the tip limits' micrometre, the millionth of a
// millimetre a flank may pass the space's centre line. They are millimetres for the modules
// gears are made in; below and above that range they shrink and grow with the module, so a pair
// drawn at one module draws at every module the numbers allow and a refusal at an extreme module
// has the reason it has at an ordinary one (the geometry only scales). Within the range the unit
// is exactly 1, so those drawings keep their bytes.
#pragma once

#include <cmath>

#include "math/rounding.h"

namespace tarvo {

constexpr double kFixedLengthModuleMin = 0.01;  // mm
constexpr double kFixedLengthModuleMax = 100;   // mm

// Millimetres per fixed-length unit at module `m`: 1 within the range, m / the nearer bound
// outside it. A module that is not a positive finite number keeps 1; the range checks refuse it.
inline double LengthUnit(double m) {
    if (!(m > 0) || !std::isfinite(m)) {
        return 1;
    }
    if (m < kFixedLengthModuleMin) {
        return m / kFixedLengthModuleMin;
    }
    if (m > kFixedLengthModuleMax) {
        return m / kFixedLengthModuleMax;
    }
    return 1;
}

// `value` rounded to `places` decimals of `unit`: exactly RoundToPlaces when the unit is 1.
inline double RoundToUnitPlaces(double value, double unit, int places) {
    return RoundToPlaces(value / unit, places) * unit;
}

}  // namespace tarvo
