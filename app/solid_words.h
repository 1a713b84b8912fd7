// The words of the 3-D model: the name each member's solid carries in the STEP file, and why a
// model was not made, as the window and tarvo-cli show them.
#pragma once

#include <string>

#include "profile/member_section.h"

namespace tarvo {

// "Колесо 1", "Колесо 2", "Вал" or "Втулка".
const char* SolidName(WheelRole role);

// Why the solid was not made, with the member and, for a rim, the diameter it must exceed.
std::string SolidReason(const SolidError& error);

}  // namespace tarvo
