// The STEP file of a drawing's members: each member as one named solid, AP214, millimetres,
// placed as the drawing places it, returned as the file's text for the caller to write.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "math/outcome.h"
#include "profile/member_section.h"
#include "solid/gear_solid.h"

namespace tarvo {

// Builds and checks every member's solid, then translates them; nothing is written to disk.
StepTextResult GearStepText(const std::vector<StepMember>& members, const SolidOptions& options);

}  // namespace tarvo
