// Dispatch of a drawing request to the external-pair, internal-pair or spline builder.
#include "drawing/builder_call.h"

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"

namespace tarvo {

DrawResult RunBuilder(const MainMod& state, const BuilderCall& call) {
    return RunBuilderTapped(state, call, nullptr);
}

DrawResult RunBuilderTapped(const MainMod& state, const BuilderCall& call, DxfSink* tap,
                            std::vector<DrawnFlank>* flanks) {
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair:
            return DrawExternalPair(state, call, tap, flanks);
        case BuilderCall::Kind::InternalPair:
            return DrawInternalPair(state, call, tap, flanks);
        case BuilderCall::Kind::Spline:
            return DrawSpline(state, call, tap, flanks);
    }
    return DrawResult::Failure({DrawFault::Kind::GeometryRefused, {}, {}});
}

DrawResult Refused(const GeometryError& error) {
    return DrawResult::Failure({DrawFault::Kind::GeometryRefused, error, {}});
}

DrawResult WriteComputed(const std::string& path, const std::vector<const PlacedOutline*>& outlines,
                         const std::vector<double>& centres, DxfSink* tap) {
    const WriteOutcome out = DxfWriteDrawing(path, outlines, centres, tap);
    if (!out.ok()) {
        return DrawResult::Failure({DrawFault::Kind::FileNotWritten, {}, out.fault()});
    }
    return out.value();
}

}  // namespace tarvo
