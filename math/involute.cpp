// Involute function, its Newton inverse, the diameter-ratio arc cosine and degree conversion.
#include "math/involute.h"

#include <cmath>

#include "math/constants.h"

namespace tarvo {

double Inv(double a) {
    return std::tan(a) - a;
}

ArcInvResult ArcInv(double v) {
    double x = GradToRad(45);
    for (int step = 0;; ++step) {
        const double f = std::tan(x) - x - v;
        if (std::isnan(f)) {
            return ArcInvResult::Failure(ArcInvFault::NotANumber);
        }
        if (std::fabs(f) < kArcInvTolerance) {
            // A root on another branch of the tangent is no pressure angle.
            if (!(std::fabs(x) < kPi / 2)) {
                return ArcInvResult::Failure(ArcInvFault::OtherBranch);
            }
            return x;
        }
        if (step == kArcInvMaxSteps) {
            return ArcInvResult::Failure(ArcInvFault::StepsRanOut);
        }
        const double t = std::tan(x);
        x = x - f / (t * t);
    }
}

double ArcCos(double x) {
    return std::atan(std::sqrt(1 - x * x) / x);
}

double GradToRad(double degrees) {
    return (degrees * kPi) / 180;
}

double RadToGrad(double radians) {
    return (radians * 180) / kPi;
}

}  // namespace tarvo
