// Coordinates as the drawing file writes them.
#include "drawing/dxf_number.h"

#include "math/number_text.h"

namespace tarvo {

char* WriteDxfNumber(char* first, double v) {
    if (v == 0) {
        *first = '0';  // zero of either sign: a mirrored point on the axis must not read "-0"
        return first + 1;
    }
    return WriteGeneral(first, v);
}

char* WriteDxfNumber(char* first, double v, double& readBack) {
    if (v == 0) {
        readBack = 0;
        return WriteDxfNumber(first, v);
    }
    return WriteGeneral(first, v, readBack);
}

std::string DxfNumber(double v) {
    char buffer[kDxfNumberMaxLength];
    return std::string(buffer, WriteDxfNumber(buffer, v));
}

}  // namespace tarvo
