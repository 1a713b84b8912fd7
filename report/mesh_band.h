// A wheel's outline as the mesh check needs it, taken while the drawing is read: the sizes the
// check measures on the whole outline, and the bounding circle and points of only the teeth
// that may come near the mate, the points kept as offsets from the outline they were drawn
// from where the writer tells it. A gear of thousands of teeth is then checked without its
// outline being held whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "profile/gear_outline.h"
#include "profile/point_xy.h"
#include "report/outline_sizes.h"
#include "report/packed_offsets.h"

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

// A double moved by `offset` units in the last place, through its bits.
inline double WithOffset(double v, std::int8_t offset) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    bits += offset;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A kept tooth's points: where they read back within a byte of units in the last place of the
// outline they were written from (a drawing Tarvo writes, as its writer hands them over), each
// coordinate as that offset, packed, and the tooth's turn to work the points out again;
// otherwise the points themselves.
struct MeshKeptTooth {
    MeshToothBound bound;         // the circle about the box of its points
    std::vector<PointXY> points;  // perTooth + 1, or none
    PackedOffsets offsets;        // x and y of the first perTooth points
    PlacedOutline::ToothTurn turn;
    PointXY next;  // the next tooth's first point
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
    std::vector<std::int32_t> slot;        // per tooth: its place among the kept, -1 when not kept
    std::vector<MeshKeptTooth> kept;       // in order of the teeth
    std::optional<PlacedOutline> drawnAs;  // the outline the kept offsets are from

    // The outline came as planned: teeth * perTooth points and the closing one.
    bool Complete() const {
        return plan.teeth > 0 && plan.perTooth >= 2 &&
               size == static_cast<std::size_t>(plan.teeth) * plan.perTooth + 1;
    }

    // Point j (0 to perTooth, the last the next tooth's first) of tooth t, which was kept.
    PointXY Point(std::size_t t, std::size_t j) const {
        const MeshKeptTooth& tooth = kept[static_cast<std::size_t>(slot[t])];
        if (!tooth.points.empty()) {
            return tooth.points[j];
        }
        if (j == plan.perTooth) {
            return tooth.next;
        }
        const PointXY p = drawnAs->PlacePoint(tooth.turn, j);
        const PackedOffsets::PointOffsets offset = tooth.offsets.Point(j);
        return {WithOffset(p.X, offset.x), WithOffset(p.Y, offset.y)};
    }
    // Points held whole and as offsets, for telling how much a band holds.
    std::size_t PointsHeld() const;
    std::size_t OffsetsHeld() const;
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
    // The outline the points that follow were written from, placed as the drawing places it;
    // a tooth whose points all agree with it is not copied.
    void DrawnAs(const PlacedOutline& outline);
    void Add(PointXY p);
    MeshBand Finish();

  private:
    void Measure(const PointXY& from, const PointXY& to);
    void EndTooth(std::size_t tooth);
    MeshKeptTooth Kept(std::size_t tooth, const MeshToothBound& bound);

    MeshBand band_;
    OutlineSizes sizes_;
    std::vector<PointXY> tooth_;        // the points of the tooth being read
    std::vector<std::int8_t> offsets_;  // of the tooth being kept, before they are packed
    PointXY first_, last_, beforeLast_;
};

}  // namespace tarvo
