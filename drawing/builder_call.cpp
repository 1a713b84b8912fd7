// Dispatch of a drawing request to the external-pair, internal-pair or spline builder.
#include "drawing/builder_call.h"

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"

namespace tarvo {

DrawResult RunBuilder(MainMod& state, const BuilderCall& call) {
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair:
            return DrawExternalPair(state, call.Z1, call.Z2, call.m, call.beta, call.alpha,
                                    call.x1, call.x2, call.jn);
        case BuilderCall::Kind::InternalPair:
            return DrawInternalPair(state, call.Z1, call.Z2, call.m, call.beta, call.alpha,
                                    call.x1, call.x2, call.jn);
        case BuilderCall::Kind::Spline:
            return DrawSpline(state, call.Z, call.m, call.x, call.alpha, call.hub);
    }
    return DrawResult{DrawStatus::GeometryRefused, {}, {}};
}

}  // namespace tarvo
