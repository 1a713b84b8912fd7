// Why a drawing cannot be made from the data given: the distinct ways the tooth geometry can
// fail, which wheel they concern, and the sentence a designer reads in the message box.
#pragma once

#include <string>

namespace tarvo {

enum class GeometryFault {
    None,
    WorkingAngleNotFound,    // the working pressure angle of the mesh could not be found
    WorkingAngleNotPositive, // the working pressure angle is zero or negative (or past 90 deg)
    TipInsideBase,           // the tip circle lies inside the base circle
    ActiveProfileUndefined,  // the start of the active involute cannot be found
    RackRoundingNotFound,    // no rack tip rounding fits the tooth space
    CutterAngleNotFound,     // the cutting pressure angle of the pinion-type cutter
    CutterRoundingNotFound,  // no cutter tip rounding fits
    NonFinitePoint,          // a point of the flank is not a number
    PointedTooth,            // the two flanks of a tooth cross: the tooth is pointed
    RootFilletsCross,        // fillets of neighbouring teeth cross at the root
    EqualToothCounts,        // an internal pair with equal tooth counts
    TooManyTeeth,            // a tooth count beyond what a drawing can hold
    PartnerTooLarge,         // a spline shaft whose generating partner (10 Z teeth) is too large
    ToothCountNotPositive,   // a tooth count of zero or less
    ModuleNotPositive,       // a module of zero or less, or not a finite number
    DataNotFinite,           // an angle, shift or backlash that is not a finite number
};

// A fault and the wheel it concerns: 1 or 2 for the members of a mesh, 0 for the pair as a whole.
struct GeometryError {
    GeometryFault fault = GeometryFault::None;
    int wheel = 0;
    // The wheel as a designer names it ("Колесо 1", "Шестерня", "Вал"...), set by the builder.
    std::string wheelName;

    bool ok() const { return fault == GeometryFault::None; }
};

// The Russian sentence shown to the designer: what is wrong, with which wheel, what to change.
std::string Describe(const GeometryError& error);

}  // namespace tarvo
