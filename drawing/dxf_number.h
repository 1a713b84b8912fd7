// The value text of a coordinate in the drawing file.
#pragma once

#include <string>

namespace tarvo {

// Longest text DxfNumber can give, with room to spare.
constexpr int kDxfNumberMaxLength = 32;

// v as "%.15G" writes it, trailing zeros removed, negative zero as "0", "." as the decimal
// separator whatever the locale: 0.5 -> "0.5", 1e-5 -> "1E-05", -0.0 -> "0". v must be finite.
std::string DxfNumber(double v);

// The same text written at `first` (room for kDxfNumberMaxLength characters); returns its end.
char* WriteDxfNumber(char* first, double v);
// The same, also giving the double the text reads back as.
char* WriteDxfNumber(char* first, double v, double& readBack);

}  // namespace tarvo
