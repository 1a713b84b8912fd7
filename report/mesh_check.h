// The mesh check on the drawing itself: the smallest distance between the two outlines of a pair
// as they were written, in the drawn position and with both wheels turned together through one
// pitch, and any area the two wheels' material would share. Boost.Geometry does the geometry.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "math/outcome.h"
#include "profile/point_xy.h"

namespace tarvo {

// Positions checked per pitch of wheel 1, the drawn one first: wheel 1 turns by a hundredth of
// its angular pitch from one to the next, so a tooth's tip moves about 0.03 module per step.
constexpr int kMeshStepsPerPitch = 100;

// Outlines that cross by less than this depth, in millimetres, touch rather than overlap: a
// micrometre lies far below any tolerance of manufacture and far above the rounding of the
// written coordinates (15 significant digits).
constexpr double kTouchingDepth = 0.001;

// The work the check may do before it gives up, in units of about one comparison of two
// circles: a floor and so much per point of the two outlines. A drawing of ours needs a small
// part of it; outlines tangled as no gear is (a file edited by hand or by another program) would
// otherwise hold the check for hours.
struct MeshLimits {
    double workFloor = 2e8;
    double workPerPoint = 4000;
};
// No limit: for outlines built in memory from the designer's data, never from a file.
constexpr MeshLimits kOwnOutlines{std::numeric_limits<double>::infinity(), 0};

struct MeshBand;

struct MeshWheel {
    const std::vector<PointXY>* outline = nullptr;  // closed: the last point repeats the first
    PointXY centre;
    int teeth = 0;
    bool internal = false;  // internal teeth: the wheel's material lies outside its outline
    // Instead of the outline: what was taken from it as it was read (report/mesh_band.h).
    const MeshBand* band = nullptr;
};

struct MeshClearance {
    int positions = 0;            // positions checked, the drawn one first
    double stepDegrees = 0;       // turn of wheel 1 from one position to the next
    double drawnClearance = 0;    // smallest distance between the outlines as drawn, mm
    double minClearance = 0;      // smallest over all positions, mm (0 where they touch or cross)
    double minClearanceTurn = 0;  // wheel 1's turn at that position, degrees
    bool overlap = false;         // the wheels share material somewhere, deeper than touching
    double overlapDepth = 0;      // the deepest that one outline enters the other wheel, mm
    double overlapArea = 0;       // the area the wheels share at that position, mm^2
    double overlapTurn = 0;       // wheel 1's turn at that position, degrees
};

// The clearances found, or in Russian why the check was not made.
using MeshCheckResult = Outcome<MeshClearance, std::string>;

// Turns wheel 1 anticlockwise through one pitch in kMeshStepsPerPitch steps and wheel 2 with it
// by its tooth ratio (the other way for two external wheels, the same way when one has internal
// teeth). The depth of an overlap is the largest distance of a corner of the shared area from
// the outline it lies beyond.
// Past the limits it gives up, with its reason.
MeshCheckResult CheckMesh(const MeshWheel& wheel1, const MeshWheel& wheel2,
                          int stepsPerPitch = kMeshStepsPerPitch, const MeshLimits& limits = {});

// CheckMesh on wheels given as bands: none when a band lacks points the check needs (a tooth
// that may come within reach of the mate but was not kept, or clearances so large that the whole
// outlines are measured); the whole outlines then give the answer.
std::optional<MeshCheckResult> CheckMeshOnBands(const MeshWheel& wheel1, const MeshWheel& wheel2,
                                                int stepsPerPitch = kMeshStepsPerPitch,
                                                const MeshLimits& limits = {});

// Whether CheckMesh would find an overlap, answered at the first position that shows one: the
// positions are tried nearest first to wheel 1's turn `likelyTurn` (degrees), where an overlap
// of a drawing with other point counts was found. A check that cannot be made counts as an
// overlap at `likelyTurn`, and so does one given up past the limits.
struct OverlapFound {
    bool overlap = false;
    double turn = 0;  // with overlap: wheel 1's turn where it was found, degrees
};
OverlapFound MeshOverlaps(const MeshWheel& wheel1, const MeshWheel& wheel2, double likelyTurn,
                          int stepsPerPitch = kMeshStepsPerPitch, const MeshLimits& limits = {});

}  // namespace tarvo
