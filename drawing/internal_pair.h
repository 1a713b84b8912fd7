// Drawing of an internal gear pair: the ring (more teeth, internal) about the origin, the
// pinion (fewer teeth, external) inside it at the working centre distance, whichever wheel the
// designer entered first.
#pragma once

#include "drawing/builder_call.h"
#include "drawing/draw_result.h"
#include "drawing/drawn_flank.h"
#include "drawing/dxf_writer.h"
#include "profile/cutter_fillet.h"
#include "profile/flank_members.h"
#include "profile/gear_outline.h"
#include "profile/main_mod.h"
#include "profile/point_xy.h"

namespace tarvo {

struct InternalPairGeometry {
    PlacedOutline ring;                // about the origin
    PlacedOutline pinion;              // turned by half its pitch and placed about (aw, 0)
    std::vector<PointXY> pinionFlank;  // the flanks the outlines were made of, about each centre
    std::vector<PointXY> ringFlank;
    FlankMembers pinionMembers;  // the exact curves behind each flank
    FlankMembers ringMembers;
    int zp = 0, zr = 0;        // pinion and ring tooth counts
    double mt = 0;             // transverse module
    double alphaT = 0;         // transverse pressure angle, radians
    double alphaTw = 0;        // working transverse pressure angle, radians
    double aw = 0;             // working centre distance
    double dp = 0, dr = 0;     // reference diameters
    double dap = 0, dar = 0;   // tip diameters as drawn (after the tip limits)
    double dbp = 0, dbr = 0;   // base diameters
    double xp = 0, xr = 0;     // profile shift coefficients in transverse form
    CutterFilletCurve cutter;  // the ring's pinion-type cutter as the generator fitted it
};

// Same data as the external pair; Z1 and Z2 may come in either order but must differ. The
// ring's cutter has the pinion's tooth count.
using InternalPairResult = Outcome<InternalPairGeometry, GeometryError>;
InternalPairResult ComputeInternalPair(const MainMod& state, const BuilderCall& call);

// The flanks the pair's outlines are made of, in the designer's order: wheel 1's, then wheel 2's.
std::vector<DrawnFlank> FlanksOf(const InternalPairGeometry& g, const BuilderCall& call);

// The ring's pinion-type cutter as the generator fits it for the pair `call` describes, without
// the pair's flanks; the fault when the pair or the cutter has none.
CutterFilletResult InternalPairCutter(const MainMod& state, const BuilderCall& call);

// `flanks`, when not null, receives the flanks the outlines are made of (see FlanksOf).
DrawResult DrawInternalPair(const MainMod& state, const BuilderCall& call, DxfSink* tap = nullptr,
                            std::vector<DrawnFlank>* flanks = nullptr);

}  // namespace tarvo
