// Whether two runs of tooth outline that touch in one position of the mesh check share only a
// shallow sliver of material: the exact test, made on the segments near the contact, that lets
// the check skip intersecting the two wheels' material where the flanks merely touch.
#pragma once

#include <cstddef>
#include <vector>

#include "profile/point_xy.h"
#include "report/chord_frame.h"

namespace tarvo {

// The chords of a closing arc, one every 5 degrees at most, come no nearer the centre than
// cos 2.5° of its radius; 0.999 lies below that.
constexpr double kArcChordShare = 0.999;

// One run of consecutive teeth of a wheel, in place. Its material lies on one side of it; beyond
// its two ends it is closed through the wheel's body: inwards about `centre` at `closeRadius`
// for external teeth, outwards at `closeRadius` for internal teeth.
struct TouchRun {
    Polyline points;  // in outline order, at least two
    PointXY centre;
    bool internal = false;
    bool materialLeft = true;  // the material lies left of the run's direction
    double closeRadius = 0;
};

// The box across x and y about a stretch of run, or about a block of such boxes.
struct TouchBox {
    double x0, y0, x1, y1;
};

// A run with what the test learns of it alone: the boxes of its stretches, those boxes gathered
// in blocks, and the stretches' chord frames, each made when first asked for. Made once, it
// serves every test of that run while its points stay as they are (the mesh check keeps wheel
// 1's teeth in the wheel's own frame from one position to the next). It refers to `run`, which
// must outlive it and keep its points.
class TouchSide {
  public:
    explicit TouchSide(const TouchRun& run);

    const TouchRun& run() const { return *run_; }
    const std::vector<TouchBox>& boxes() const { return boxes_; }
    const std::vector<TouchBox>& blocks() const { return blocks_; }
    const ChordFrame& Frame(std::size_t stretch);
    // The stretches in the order their boxes begin along y (alongY) or x, made when first asked.
    const std::vector<std::size_t>& Order(bool alongY);

  private:
    const TouchRun* run_;
    std::vector<TouchBox> boxes_, blocks_;
    std::vector<ChordFrame> frames_;
    std::vector<bool> made_;
    std::vector<std::size_t> orderX_, orderY_;
};

// True when it is certain that the material of `a` and of `b` (each run closed as above) share
// no point of either run that lies farther than `depth` from the other run, and that the closing
// parts stay clear of the other wheel; false when that cannot be shown (a deeper overlap, a point
// next to a run's end, closings that may meet), and the material has to be intersected.
// `depth` must lie far above the rounding of the coordinates.
bool TouchShallowerThan(TouchSide& a, TouchSide& b, double depth);
bool TouchShallowerThan(const TouchRun& a, const TouchRun& b, double depth);

}  // namespace tarvo
