// The 3-D model tarvo-cli writes beside the drawing with --step: each member as an exact solid
// in one STEP file, written atomically.
#pragma once

#include <ostream>
#include <string>

#include "drawing/builder_call.h"
#include "math/outcome.h"
#include "profile/main_mod.h"
#include "profile/member_section.h"

namespace tarvo {

struct StepRequest {
    std::string path;
    double faceWidth = 0;
    double rimDiameter = 0;  // 0: the default rim
    Hand wheel1Hand = Hand::Right;
};

// Builds the solids of the drawing `call` describes and writes them to request.path; on
// failure the Russian reason (the file, if any, untouched).
using StepWriteResult = Outcome<Done, std::string>;
StepWriteResult WriteStepModel(const MainMod& state, const BuilderCall& call,
                               const StepRequest& request);

}  // namespace tarvo
