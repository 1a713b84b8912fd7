// The sound ranges of what a designer types for a drawing, checked before any tooth is computed,
// and the box to blame when the data still give no teeth: the window's "OK" and tarvo-cli both
// use them, so both name the same quantity for the same data.
#pragma once

#include <string>

#include "drawing/builder_call.h"
#include "math/outcome.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"

namespace tarvo {

// The quantities a designer enters, one per box of the parameters pages.
enum class InputField {
    Module,        // normal module of a pair
    Helix,         // helix angle
    Teeth1,        // Z1
    Teeth2,        // Z2
    Shift1,        // x1
    Shift2,        // x2
    Backlash,      // normal backlash jn
    SplineModule,  // module of a spline member
    SplineTeeth,   // its number of teeth
    SplineShift,   // its shift in millimetres
};

// A value outside its sound range: the box it was typed in and one line saying why.
struct InputFault {
    InputField field = InputField::Module;
    std::string reason;
};

// Checks the values of `call` against the stored basic rack in `rack` (H, Hf, C, Ro): helix
// angle, module, shift coefficients and backlash, in that order; the first value out of range
// is reported. Tooth counts and the sign of the module are the page command's own checks.
using InputCheck = Outcome<Done, InputFault>;
InputCheck CheckInputRanges(const MainMod& rack, const BuilderCall& call);

// The box a builder's refusal points at: the wheel it names and what its sentence asks to change.
InputField FieldOfFault(const GeometryError& error, const BuilderCall& call);

// The caption of the field's label on its page.
const char* FieldCaption(InputField field);

// The parameter message of a value out of range: "Неверно задан параметр:", the caption on a
// line of its own closed by " !", then the reason on a third line.
std::string InputFaultMessage(const InputFault& fault);

}  // namespace tarvo
