// An angle in decimal degrees and the same angle as whole degrees, minutes and seconds, the way
// the angle panel splits the helix angle or the rack's profile angle and joins it back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo::ui {

struct Dms {
    std::int32_t degrees = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
};

// Degrees and minutes are the whole numbers at or below the angle (towards minus infinity, so
// -10.5 is -11 degrees 30 minutes); the seconds are rounded half to even and may come out as 60
// (10.99999 is 10 59 60). Empty when the degrees do not fit a 32-bit value.
std::optional<Dms> GradToDms(double angle);

// The three boxes read as typed, without turning a decimal comma into a point (30,5 minutes are
// 30), joined as d + m/60 + s/3600 and written in the general 15-digit form with a point.
std::string DmsToGrad(std::string_view degrees, std::string_view minutes, std::string_view seconds);

}  // namespace tarvo::ui
