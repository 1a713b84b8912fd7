// Drawing of one member of an involute spline joint: the shaft (external teeth) or the hub
// (internal teeth), alone about the origin with its centre mark.
#pragma once

#include "drawing/builder_call.h"
#include "drawing/draw_result.h"
#include "drawing/drawn_flank.h"
#include "drawing/dxf_writer.h"
#include "profile/flank_members.h"
#include "profile/gear_outline.h"
#include "profile/main_mod.h"
#include "profile/point_xy.h"

namespace tarvo {

// Largest shaft tooth count: the shaft is generated against a partner of 10 Z teeth, a count
// that must stay a 16-bit value.
constexpr int kMaxShaftTeeth = 3276;

struct SplineGeometry {
    PlacedOutline outline;
    std::vector<PointXY> flank;  // the flank the outline was made of
    FlankMembers members;        // the exact curves behind it
    double d = 0;                // reference diameter
    double da = 0;               // tip diameter (of the hub: its smallest diameter)
    double db = 0;               // base diameter
    int zc = 0;                  // teeth of the hub's cutter
};

// call: Z teeth, m module (mm), x profile shift coefficient (shift in mm divided by the
// module), alpha profile angle (degrees), hub true for the hub. The standard's rack
// coefficients and the accuracy come from `state`; only the spline member is generated.
using SplineResult = Outcome<SplineGeometry, GeometryError>;
SplineResult ComputeSpline(const MainMod& state, const BuilderCall& call);

// The flank the member's outline is made of.
std::vector<DrawnFlank> FlanksOf(const SplineGeometry& g, const BuilderCall& call);

// `flanks`, when not null, receives the flanks the outlines are made of (see FlanksOf).
DrawResult DrawSpline(const MainMod& state, const BuilderCall& call, DxfSink* tap = nullptr,
                      std::vector<DrawnFlank>* flanks = nullptr);

}  // namespace tarvo
