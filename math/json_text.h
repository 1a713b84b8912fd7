// A text as a JSON string: the one quoting the data sheet's JSON and the calculation files share.
#pragma once

#include <string>

namespace tarvo {

// `text` between double quotes, with quotes, backslashes and control characters escaped; other
// bytes (UTF-8 included) as they are.
std::string JsonString(const std::string& text);

}  // namespace tarvo
