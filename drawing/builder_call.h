// The one drawing a request makes, named field by field, and the call that hands it to its
// builder: the window's "OK" on the file page and tarvo-cli both go through RunBuilder.
#pragma once

#include <vector>

#include "drawing/draw_result.h"
#include "profile/main_mod.h"

namespace tarvo {

struct DrawnFlank;

// What the designer asked to draw, with the values as read from the pages or the command line.
struct BuilderCall {
    enum class Kind { ExternalPair, InternalPair, Spline };
    Kind kind = Kind::ExternalPair;
    // Pairs: tooth counts, normal module (mm), helix angle (degrees), profile angle (degrees),
    // shift coefficients, normal backlash (mm).
    int Z1 = 0, Z2 = 0;
    double m = 0, beta = 0, alpha = 0, x1 = 0, x2 = 0, jn = 0;
    // Spline (m and alpha above serve it too): teeth, shift coefficient, hub or shaft.
    int Z = 0;
    double x = 0;
    bool hub = false;
};

// Makes the drawing `call` describes into state.OutFile with the builder of its kind.
DrawResult RunBuilder(const MainMod& state, const BuilderCall& call);
// The same, handing what is written to `tap` as well (see DxfWriter), when it is not null; and,
// when `flanks` is not null, the flanks the outlines are made of (see each builder's FlanksOf),
// before anything is written.
DrawResult RunBuilderTapped(const MainMod& state, const BuilderCall& call, DxfSink* tap,
                            std::vector<DrawnFlank>* flanks = nullptr);

}  // namespace tarvo
