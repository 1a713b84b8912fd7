// The designer's wording of why a drawing file could not be read back.
#pragma once

#include <string>

#include "drawing/dxf_reader.h"

namespace tarvo {

// "строка 12: координата не число: 1,5", "файл не открывается: /path", ...
std::string DescribeDxfRead(const DxfReadError& read);

}  // namespace tarvo
