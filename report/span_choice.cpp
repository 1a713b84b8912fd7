// Choosing the span count on the drawn involute.
#include "report/span_choice.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

SpanResult ChooseSpan(const ToothData& t, const InvoluteSpan& involute) {
    const double exact = SpanTeethExact(t);
    const double low = std::min(involute.from, involute.to) - 2 * kOnInvolute;
    const double high = std::max(involute.from, involute.to) + 2 * kOnInvolute;
    int best = 0;
    double bestMiss = HUGE_VAL;
    for (int k = 1; k < t.z; ++k) {
        const double contact = SpanContactDiameter(t, BaseTangentLength(t, k));
        const double miss = std::fabs(k - exact);
        if (contact >= low && contact <= high && miss < bestMiss) {
            best = k;
            bestMiss = miss;
        }
    }
    if (best > 0) {
        return best;
    }
    const int usual = SpanTeeth(t);
    return SpanResult::Failure(
        SpanRefusal{usual, SpanContactDiameter(t, BaseTangentLength(t, usual))});
}

}  // namespace tarvo
