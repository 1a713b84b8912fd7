// The state one run of Tarvo shares between the window, the page command, the builders and the
// tooth profile generator: drawing accuracy, the stored basic rack, the output path and the
// flank arrays the generator leaves for the builders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

struct MainMod {
    // Drawing accuracy: equal steps on the involute, points on the transition curve.
    std::int32_t AccEv = 0;
    std::int32_t AccPer = 0;
    // True for a spline member: only the member of interest is generated.
    bool SingleMember = false;

    // Stored basic rack: profile angle in degrees, then ha*, hf*, c* and rf* as multiples of
    // the module. All zero until a rack row is chosen.
    double Alfa = 0;
    double H = 0;
    double Hf = 0;
    double C = 0;
    double Ro = 0;

    // Full path of the drawing file; empty until the first parameters page is left.
    std::string OutFile;

    // Flanks written by ToothProfile. Prof1 and Prof2 hold AccPer + AccEv points: point k of the
    // flank (counted from 1 as in the formulas) is element k - 1. Per1 and Per2 hold the
    // transition curves, AccPer points in the order they are generated.
    std::vector<PointXY> Prof1;
    std::vector<PointXY> Prof2;
    std::vector<PointXY> Per1;
    std::vector<PointXY> Per2;
};

}  // namespace tarvo
