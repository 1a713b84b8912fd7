// The 3-D model of a drawing, written the same way for the window and tarvo-cli: the members
// computed at the dense accuracy, each named as its solid, turned into STEP text by the solid
// kernel, and written through the drawing's atomic file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "drawing/builder_call.h"
#include "math/outcome.h"
#include "profile/hand.h"
#include "profile/main_mod.h"
#include "profile/member_section.h"

namespace tarvo {

// The solid kernel's part: the STEP text of the named members, solid/gear_step's GearStepText
// with the face width and rim chosen. app/ does not link the kernel; the caller hands it in.
using StepTextMaker = std::function<StepTextResult(const std::vector<StepMember>& members)>;

// Done, or in Russian why the model was not written (the file, if any, untouched).
using StepFileResult = Outcome<Done, std::string>;

// Writes the model of the drawing `call` describes to `path`, wheel 1 of a helical pair with
// the hand `wheel1Hand`.
StepFileResult WriteStepFile(const MainMod& state, const BuilderCall& call, Hand wheel1Hand,
                             const std::string& path, const StepTextMaker& stepText);

}  // namespace tarvo
