// The designer's wording of what the builders report: each geometry fault, the wheel it
// concerns, and the reason a drawing was not made or not saved.
#pragma once

#include <string>

#include "drawing/draw_result.h"
#include "profile/geometry_fault.h"

namespace tarvo {

// The wheel as a designer names it: "Колесо 1", "Шестерня", "Вал"...; "Передача" for the pair.
const char* RoleName(WheelRole role);

// The Russian sentence shown to the designer: what is wrong, with which wheel, what to change.
std::string Describe(const GeometryError& error);

// Why a drawing was not made or not saved, as one sentence.
std::string DrawReason(const DrawFault& fault);

}  // namespace tarvo
