// A point of a tooth flank in millimetres: origin at the gear centre, X along the centre line
// of one tooth, the computed flank on the positive-Y side. The same type carries every point
// of a drawing: flanks, whole outlines, and the polylines read back from a file.
#pragma once

#include <vector>

namespace tarvo {

struct PointXY {
    double X = 0;
    double Y = 0;
};

// Points joined in order by straight chords; a closed outline repeats its first point last.
using Polyline = std::vector<PointXY>;

}  // namespace tarvo
