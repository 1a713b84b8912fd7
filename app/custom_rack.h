// The designer's own basic rack: the five values typed into the custom rack frame, checked and
// stored field by field as its "OK" does, with the fillet radius derived or limited.
#pragma once

#include <array>
#include <string>

#include "math/outcome.h"
#include "profile/main_mod.h"

namespace tarvo {

// The fields in the order they are read: alpha, ha*, hf*, c*, rf*.
enum class RackField { Alfa = 0, H = 1, Hf = 2, C = 3, Ro = 4 };

// The name each field goes by in the messages (the captions of its labels).
const char* RackFieldName(RackField field);

// All five values stored; rf* was above its limit and was reduced to it, or not.
struct CustomRackStored {
    bool roReduced = false;
};

// Stored, or the field refused as zero.
using CustomRackOutcome = Outcome<CustomRackStored, RackField>;

// Reads the five texts (decimal comma or point) and stores them into `state` one by one. A zero
// alpha, ha*, hf* or c* (or a text without a number) stops at that field, leaving the fields
// before it stored. A zero rf* is derived as c* / (1 - sin alpha); an rf* above the limit
// (pi/4 - ha* tan alpha) / cos alpha is reduced to it.
CustomRackOutcome StoreCustomRack(MainMod& state, const std::array<std::string, 5>& texts);

// "Параметр: '<name>' не может быть нулевым!"
std::string ZeroParameterMessage(RackField field);

// "Параметр: '<rf* name>' уменьшен до величины <rf* to 4 places>", the number written with the
// designer's decimal separator.
std::string ReducedRoMessage(double ro, char decimalSeparator);

}  // namespace tarvo
