// Dispatch of a drawing request to the external-pair, internal-pair or spline builder.
#include "drawing/builder_call.h"

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"

namespace tarvo {

DrawResult RunBuilder(const MainMod& state, const BuilderCall& call) {
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair:
            return DrawExternalPair(state, call);
        case BuilderCall::Kind::InternalPair:
            return DrawInternalPair(state, call);
        case BuilderCall::Kind::Spline:
            return DrawSpline(state, call);
    }
    return DrawResult{DrawStatus::GeometryRefused, {}, {}};
}

DrawResult WriteComputed(const std::string& path, const GeometryError& error,
                         const std::vector<const Outline*>& outlines,
                         const std::vector<double>& centres) {
    if (!error.ok()) {
        return {DrawStatus::GeometryRefused, error, {}};
    }
    const WriteOutcome out = DxfWriteDrawing(path, outlines, centres);
    if (!out.written) {
        return {DrawStatus::FileNotWritten, {}, out.reason};
    }
    return {};
}

}  // namespace tarvo
