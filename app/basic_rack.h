// The basic rack profiles the designer chooses from: the six fixed rows of the gear-pair page
// and the rack of each spline standard, stored into the shared state for the builders.
#pragma once

#include <array>
#include <string_view>

#include "profile/main_mod.h"

namespace tarvo {

struct BasicRack {
    double alfa = 0;  // profile angle, degrees
    double h = 0;     // ha*
    double hf = 0;    // hf*
    double c = 0;     // c*
    double ro = 0;    // rf*
};

// A fixed row: its handler's name in the window, its key on the command line, its values.
struct RackRow {
    const char* button;  // ctlOB1 ... ctlOB7 (ctlOB5 is the custom entry)
    const char* key;     // tarvo-cli --rack
    BasicRack rack;
};

// The six fixed rows in the order they stand on the page, top to bottom; the values in the
// order the page shows them: alpha (degrees), ha*, hf*, c*, rf*.
inline constexpr std::array<RackRow, 6> kRackRows{{
    {"ctlOB7", "18", {18, 1, 1.2, 0.28734, 0.41585}},
    {"ctlOB1", "20", {20, 1, 1, 0.25, 0.38}},
    {"ctlOB6", "22.5", {22.5, 1, 1, 0.4, 0.28467}},
    {"ctlOB2", "25", {25, 1, 1, 0.20328, 0.35208}},
    {"ctlOB4", "28-0.95", {28, 0.95, 0.95, 0.1684, 0.31742}},
    {"ctlOB3", "28-0.9", {28, 0.9, 0.9, 0.18438, 0.34754}},
}};

// The 20-degree row, which entering the gear-pair page stores every time.
inline constexpr const RackRow& kDefaultRackRow = kRackRows[1];

void StoreRack(MainMod& state, const BasicRack& rack);

// The rack stored in `state`.
BasicRack StoredRack(const MainMod& state);

// The row with the given command-line key, or null.
const RackRow* FindRackRow(std::string_view key);

// The two spline standards.
enum class SplineStandard { Gost6033, Ost100086 };

// A spline standard's rack: 30 degrees and rf* 0.15 for both; GOST 6033-80 ha* = hf* = 0.45,
// c* 0.1; OST 1 00086-73 ha* = hf* = 0.75 for a module of exactly 1 mm, 0.5 otherwise, c* 0.2.
BasicRack SplineRack(SplineStandard standard, double module);

}  // namespace tarvo
