// A wheel's outline as the mesh check needs it, taken while the drawing is read: the sizes the
// check measures on the whole outline, the bounding circle of every tooth, and the points of
// only the teeth that may come near the mate. A gear of thousands of teeth is then checked
// without its outline being held whole.
#pragma once

#include <cstddef>
#include <vector>

#include "profile/point_xy.h"
#include "report/outline_sizes.h"

namespace tarvo {

// Where the outline is expected and which of its teeth to keep: those whose bounding circle
// comes within lo..hi of the mate's centre while the wheel turns from turnFrom through sweep
// (radians, about its centre, towards the mate at angle towardsMate).
struct MeshBandPlan {
    PointXY centre;
    int teeth = 0;
    std::size_t perTooth = 0;  // points per tooth the outline is expected to have
    double distance = 0;       // between the centres
    double towardsMate = 0;
    double turnFrom = 0;
    double sweep = 0;
    double lo = 0;
    double hi = 0;
};

struct MeshToothBound {
    PointXY centre;
    double radius = 0;
};

struct MeshBand {
    MeshBandPlan plan;
    std::size_t size = 0;  // points read, the closing one included
    // About plan.centre, over the points but the closing one, as the check measures a whole
    // outline: distances from the centre, the longest segment (the last one back to the
    // first point), the enclosed area (positive anticlockwise).
    double rMin = 0;
    double rMax = 0;
    double longestSegment = 0;
    double area = 0;
    std::vector<MeshToothBound> bounds;  // per tooth: the circle about the box of its points
    std::vector<long> slot;              // per tooth: its place among the kept, -1 when not kept
    std::vector<std::vector<PointXY>> kept;  // each kept tooth's perTooth + 1 points, in order

    // The outline came as planned: teeth * perTooth points and the closing one.
    bool Complete() const {
        return plan.teeth > 0 && plan.perTooth >= 2 &&
               size == static_cast<std::size_t>(plan.teeth) * plan.perTooth + 1;
    }
};

// What a wheel's outline is expected to be like, from the flank it was drawn of: its centre,
// teeth, points per tooth, reach from the centre and longest segment.
struct MeshBandGuess {
    PointXY centre;
    int teeth = 0;
    bool internal = false;
    std::size_t perTooth = 0;
    double rMin = 0;
    double rMax = 0;
    double longestSegment = 0;
};

// The plans of both wheels' bands (wheel 1's first), wide enough that a drawing as guessed
// keeps every tooth the check may try; the check itself finds out when one was missed.
struct MeshBandPlans {
    MeshBandPlan wheel1, wheel2;
};
MeshBandPlans PlanMeshBands(const MeshBandGuess& wheel1, const MeshBandGuess& wheel2,
                            int stepsPerPitch);

// Takes an outline's points one by one, in file order.
class MeshBandMaker {
  public:
    explicit MeshBandMaker(const MeshBandPlan& plan);
    void Add(PointXY p);
    MeshBand Finish();

  private:
    void Measure(const PointXY& from, const PointXY& to);
    void EndTooth(std::size_t tooth);

    MeshBand band_;
    OutlineSizes sizes_;
    std::vector<PointXY> tooth_;  // the points of the tooth being read
    PointXY first_, last_, beforeLast_;
};

}  // namespace tarvo
