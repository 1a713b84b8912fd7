// Drawing of an external gear pair in mesh: wheel 1 about the origin, wheel 2 at the working
// centre distance, turned so its teeth fall into wheel 1's spaces.
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

// The pair as computed before anything is written, in the transverse section.
struct ExternalPairGeometry {
    PlacedOutline wheel1;         // about the origin
    PlacedOutline wheel2;         // turned and placed about (aw, 0)
    std::vector<PointXY> flank1;  // the flanks the outlines were made of, about each centre
    std::vector<PointXY> flank2;
    FlankMembers members1;  // the exact curves behind each flank
    FlankMembers members2;
    double mt = 0;            // transverse module
    double alphaT = 0;        // transverse pressure angle, radians
    double alphaTw = 0;       // working transverse pressure angle, radians
    double aw = 0;            // working centre distance
    double d1 = 0, d2 = 0;    // reference diameters
    double da1 = 0, da2 = 0;  // tip diameters
    double db1 = 0, db2 = 0;  // base diameters
    double x1 = 0, x2 = 0;    // profile shift coefficients in transverse form
};

// call: Z1, Z2, m (normal module, mm), beta and alpha (degrees), x1, x2 (normal shift
// coefficients), jn (normal backlash, mm). The basic rack's coefficients and the accuracy come
// from `state`; both members are generated.
using ExternalPairResult = Outcome<ExternalPairGeometry, GeometryError>;
ExternalPairResult ComputeExternalPair(const MainMod& state, const BuilderCall& call);

// The flanks the pair's outlines are made of: wheel 1's, then wheel 2's.
std::vector<DrawnFlank> FlanksOf(const ExternalPairGeometry& g, const BuilderCall& call);

// Computes the pair and, when its teeth are drawable, writes it to state.OutFile.
// `flanks`, when not null, receives the flanks the outlines are made of (see FlanksOf).
DrawResult DrawExternalPair(const MainMod& state, const BuilderCall& call, DxfSink* tap = nullptr,
                            std::vector<DrawnFlank>* flanks = nullptr);

}  // namespace tarvo
