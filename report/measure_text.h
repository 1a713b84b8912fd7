// Why a wheel gets no span measurement or no measurement over rollers, as one Russian sentence
// of the data sheet: the condition that failed and the diameter where the caliper or the
// roller touches.
#pragma once

#include <string>

#include "report/data_sheet.h"

namespace tarvo {

// Both need w.spanRefusal / w.rollerRefusal set. `ofWheel` names the wheel after "для"
// ("колеса 1", "вала").
std::string SpanRefusalLine(const WheelSheet& w, const std::string& ofWheel, char separator);
std::string RollerRefusalLine(const WheelSheet& w, const std::string& ofWheel, bool helical,
                              char separator);

}  // namespace tarvo
