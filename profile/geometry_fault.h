// Why a drawing cannot be made from the data given: the distinct ways the tooth geometry can
// fail and which wheel they concern. The words a designer reads are the application's.
#pragma once

namespace tarvo {

// Every value is a failure; a step that can fail returns its value or one of these, never a
// "no fault" value beside its result.
enum class GeometryFault {
    WorkingAngleNotFound,     // the working pressure angle of the mesh could not be found
    WorkingAngleNotPositive,  // the working pressure angle is zero or negative (or past 90 deg)
    TipInsideBase,            // the tip circle lies inside the base circle
    ActiveProfileUndefined,   // the start of the active involute cannot be found
    RackRoundingNotFound,     // no rack tip rounding fits the tooth space
    CutterAngleNotFound,      // the cutting pressure angle of the pinion-type cutter
    CutterRoundingNotFound,   // no cutter tip rounding fits
    NonFinitePoint,           // a point of the flank is not a number
    PointedTooth,             // the two flanks of a tooth cross: the tooth is pointed
    RootFilletsCross,         // fillets of neighbouring teeth cross at the root
    // The dedendum reaches past the gear's centre: the cutting rack would cut through it.
    DedendumPastCentre,
    EqualToothCounts,       // an internal pair with equal tooth counts
    TooManyTeeth,           // a tooth count beyond what a drawing can hold
    PartnerTooLarge,        // a spline shaft whose generating partner (10 Z teeth) is too large
    ToothCountNotPositive,  // a tooth count of zero or less
    ModuleNotPositive,      // a module of zero or less, or not a finite number
    // A value no flank can be made from: an angle, shift or backlash that is not a finite
    // number, or a count, angle or radius outside the range the generator takes.
    DataOutOfRange,
    // The chord tolerance would take more points than a drawing may hold.
    ToleranceTooFine,
};

// The part of the drawing a fault concerns, as the builders know it.
enum class WheelRole { Pair, Wheel1, Wheel2, Pinion, Ring, Shaft, Hub };

// A fault and the wheel it concerns: 1 or 2 for the members of a mesh, 0 for the pair as a whole;
// the builder sets the role the wheel plays in its drawing.
struct GeometryError {
    GeometryFault fault;
    int wheel = 0;
    WheelRole role = WheelRole::Pair;
    // With ToleranceTooFine: the points one member of the flank would take (-1 when too many to
    // count), and whether that member is the fillet or the involute.
    long points = 0;
    bool onFillet = false;
    long allowed = 0;  // the points such a member may have on this wheel
};

}  // namespace tarvo
