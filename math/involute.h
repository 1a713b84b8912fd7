// The scalar routines all gear geometry rests on: the involute function and its inverse, an
// arc cosine for ratios of diameters, and degrees to radians with the drawing's own pi.
#pragma once

#include "math/outcome.h"

namespace tarvo {

// inv(a) = tan(a) - a, a in radians.
double Inv(double a);

// Why the involute function could not be inverted.
enum class ArcInvFault {
    NotANumber,   // the value, or an iterate, was not a number
    StepsRanOut,  // no convergence within the step limit
    OtherBranch,  // the iterates settled on another branch of the tangent (beyond +-90 degrees)
};

// The angle in radians, or why there is none.
using ArcInvResult = Outcome<double, ArcInvFault>;

// The angle x with tan(x) - x = v, by Newton's method from 45 degrees. The tolerance is tested
// before the first step, so a value that 45 degrees already satisfies returns at once.
ArcInvResult ArcInv(double v);

// Arc cosine of a ratio of diameters, 0 < x <= 1, as atan(sqrt(1 - x*x) / x). An argument of 0
// gives pi/2 (the quotient is infinite); an argument above 1 gives a not-a-number.
double ArcCos(double x);

// Degrees to radians: (d * pi) / 180 with the fifteen-digit pi.
double GradToRad(double degrees);

// Radians to degrees for the reports: (r * 180) / pi with the fifteen-digit pi.
double RadToGrad(double radians);

}  // namespace tarvo
