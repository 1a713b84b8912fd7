// Rounding as the drawing and the window use it: halves go to the even neighbour, decided on
// the double's exact binary value, and the checked conversion of a real to a whole number.
#pragma once

#include <cstdint>
#include <optional>

namespace tarvo {

// The nearest whole number; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Infinities and not-a-numbers come back unchanged.
double RoundHalfEven(double v);

// v rounded to `places` decimal places (0..20), halves to the even neighbour. The decision is
// made on the exact value of the double: 0.0025 is stored slightly above a half of 0.005, so it
// rounds to 0.003, whereas a rescaled copy (0.0025 * 1000 = 2.5) would wrongly round to 0.002.
// The result is the double nearest to the rounded decimal.
double RoundToPlaces(double v, int places);

// v rounded half to even and converted to a whole number of the given width (16 or 32 bits);
// empty when the rounded value does not fit or v is not a number.
std::optional<std::int32_t> ToWhole(double v, int bits);

// Largest whole number not above v, as a 32-bit value; empty when out of range.
std::optional<std::int32_t> FloorToWhole(double v);

}  // namespace tarvo
