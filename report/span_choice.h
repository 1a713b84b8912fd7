// The number of teeth a caliper spans on one member: the k whose jaws touch the flanks on
// their drawn involute, nearest the usual k of the tables.
#pragma once

#include "math/outcome.h"
#include "profile/gear_formulas.h"
#include "report/drawn_involute.h"

namespace tarvo {

// Why no span is given: the usual k (rounded) and where its jaws would touch.
struct SpanRefusal {
    int k = 0;
    double contactD = 0;
};

using SpanResult = Outcome<int, SpanRefusal>;

// Among k = 1 .. z - 1, the one whose contact diameter (SpanContactDiameter of the span as
// drawn) lies on `involute`, nearest the unrounded k of SpanTeethExact (the smaller on a tie).
SpanResult ChooseSpan(const ToothData& t, const InvoluteSpan& involute);

}  // namespace tarvo
