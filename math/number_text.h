// Numbers as the user types them and as the drawing writes them, without the C locale: the
// leading decimal number of a text, decimal commas made points, and the general 15-digit form.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// The text with every "," replaced by ".", so a decimal comma reads as a decimal point.
std::string CommaToPoint(std::string_view text);

// The decimal number at the start of a text. Blanks, tabs and line feeds are skipped wherever
// they stand; then an optional sign, digits with at most one ".", and an optional exponent
// (E or e, optional sign, digits) are taken; reading stops at the first character that cannot
// continue the number. A text without a leading number reads as 0: "20abc" is 20, "0,9" is 0.
// Numbers too large for a double read as an infinity of their sign, too small as zero.
double LeadingNumber(std::string_view text);

// A box whose decimal comma matters: CommaToPoint, then the leading number ("0,5" is 0.5).
inline double FieldValue(std::string_view text) {
    return LeadingNumber(CommaToPoint(text));
}

// A box read as typed, a decimal comma ending the number ("1,4" is 1).
inline double RawValue(std::string_view text) {
    return LeadingNumber(text);
}

// v in the general decimal form with at most 15 significant digits, as printf's "%.15G":
// fixed notation for decimal exponents -4..14, otherwise mantissa, "E", sign and at least two
// exponent digits; trailing zeros and a bare decimal point removed. The decimal separator is
// `separator` (the drawing always uses "."). Not-a-numbers and infinities give "NAN", "INF".
std::string GeneralText(double v, char separator = '.');

// v in fixed notation rounded to `decimals` places, trailing zeros and a bare separator
// removed: 0.00001, 0.5, 2. For small bounds that the general form would write with an exponent.
std::string FixedShortText(double v, int decimals, char separator = '.');

// The same form with "." written into [first, first + 32) of a caller's buffer, for writers
// that format millions of coordinates; returns the end of the text. v must be finite.
char* WriteGeneral(char* first, double v);
// The same, also giving the double the text reads back as: the value of the decimal written,
// correctly rounded, as any exact reader of the file finds it; NaN when the text reads back as
// no finite double (the largest doubles, whose 15 digits round beyond the range).
char* WriteGeneral(char* first, double v, double& readBack);

}  // namespace tarvo
