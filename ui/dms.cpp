// Degrees, minutes and seconds.
#include "ui/dms.h"

#include "math/number_text.h"
#include "math/rounding.h"

namespace tarvo::ui {

std::optional<Dms> GradToDms(double angle) {
    const std::optional<std::int32_t> degrees = FloorToWhole(angle);
    if (!degrees) {
        return std::nullopt;
    }
    const double fraction = angle - *degrees;
    // The fraction lies in [0, 1), so the minutes are 0..59 and the seconds 0..3600: both fit.
    const std::int32_t minutes = FloorToWhole(fraction * 60).value_or(0);
    const double seconds = (fraction - minutes / 60.0) * 3600;
    return Dms{*degrees, minutes, ToWhole(seconds, 16).value_or(0)};
}

std::string DmsToGrad(std::string_view degrees, std::string_view minutes,
                      std::string_view seconds) {
    const double d = RawValue(degrees);
    const double m = RawValue(minutes);
    const double s = RawValue(seconds);
    return GeneralText((d + m / 60) + s / 3600, '.');
}

}  // namespace tarvo::ui
