// A coordinate's value line read back as a double: the reader's number parse. Our own drawings
// write at most 15 significant digits ("%.15G"), which a short exact path turns into the same
// double a full decimal conversion gives; any other decimal real goes through the full one.
#pragma once

#include <string_view>

namespace tarvo {

// The decimal real `text` stands for, read whole and whatever the process locale, to the same
// bit as strtod: an optional sign, digits with at most one ".", an optional exponent ("-1.5",
// "+2", "1E-05", ".5", "7."). False, with `value` unspecified, for anything else: blanks, a
// text that does not end with the number, hexadecimal, infinities and not-a-numbers, and values
// beyond the range of a double (an overflow, or an underflow to zero).
bool ReadDxfReal(std::string_view text, double& value);

}  // namespace tarvo
