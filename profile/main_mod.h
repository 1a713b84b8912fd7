// What the wizard stores as the designer leaves its pages: drawing accuracy, the basic rack and
// the output path. The builders read it by const reference (a worker may hold its own copy);
// everything they compute comes back to the caller by value.
#pragma once

#include <cstdint>
#include <string>

namespace tarvo {

// The drawing accuracy's ranges, as the accuracy page's scroll bars and tarvo-cli hold them: at
// least 3 points, so the generator always has an involute step and two transition-curve points; at
// most 100 on the involute and 50 on the transition curve, which bound the size of the drawing and
// the load on the 3D programs that read it.
constexpr std::int32_t kMinAccEv = 3;
constexpr std::int32_t kMaxAccEv = 100;
constexpr std::int32_t kMinAccPer = 3;
constexpr std::int32_t kMaxAccPer = 50;

struct MainMod {
    // Drawing accuracy: equal steps on the involute, points on the transition curve.
    std::int32_t AccEv = 0;
    std::int32_t AccPer = 0;
    // True for a spline member: only the member of interest is generated.
    bool SingleMember = false;
    // Roots of external teeth as the cutting rack generates them (the exact envelope of its
    // rounded tip, undercut included) instead of the fillet of the equivalent rack.
    bool CutFillet = false;
    // Above 0: the chord tolerance, mm, that places the points instead of AccEv and AccPer
    // (which keep their values for a return to counts).
    double Tolerance = 0;

    // Stored basic rack: profile angle in degrees, then ha*, hf*, c* and rf* as multiples of
    // the module. All zero until a rack row is chosen.
    double Alfa = 0;
    double H = 0;
    double Hf = 0;
    double C = 0;
    double Ro = 0;

    // Full path of the drawing file; empty until the first parameters page is left.
    std::string OutFile;
};

}  // namespace tarvo
