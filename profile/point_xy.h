// A point of a tooth flank in millimetres: origin at the gear centre, X along the centre line
// of one tooth, the computed flank on the positive-Y side.
#pragma once

namespace tarvo {

struct PointXY {
    double X = 0;
    double Y = 0;
};

}  // namespace tarvo
