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
// Each value is set by its name on the page: profile angle alpha (degrees), ha*, hf*, c*, rf*.
struct RackRow {
    const char* button = nullptr;  // ctlOB1 ... ctlOB7 (ctlOB5 is the custom entry)
    const char* key = nullptr;     // tarvo-cli --rack
    BasicRack rack;

    constexpr RackRow Alpha(double degrees) const { return With(&BasicRack::alfa, degrees); }
    constexpr RackRow Ha(double ha) const { return With(&BasicRack::h, ha); }
    constexpr RackRow Hf(double hf) const { return With(&BasicRack::hf, hf); }
    constexpr RackRow C(double c) const { return With(&BasicRack::c, c); }
    constexpr RackRow Rf(double rf) const { return With(&BasicRack::ro, rf); }

  private:
    // A copy with one value of the rack set.
    constexpr RackRow With(double BasicRack::*value, double to) const {
        RackRow row = *this;
        row.rack.*value = to;
        return row;
    }
};

constexpr RackRow FixedRack(const char* button, const char* key) {
    RackRow row;
    row.button = button;
    row.key = key;
    return row;
}

// The six fixed rows in the order they stand on the page, top to bottom.
inline constexpr std::array<RackRow, 6> kRackRows{
    FixedRack("ctlOB7", "18").Alpha(18).Ha(1).Hf(1.2).C(0.28734).Rf(0.41585),
    FixedRack("ctlOB1", "20").Alpha(20).Ha(1).Hf(1).C(0.25).Rf(0.38),
    FixedRack("ctlOB6", "22.5").Alpha(22.5).Ha(1).Hf(1).C(0.4).Rf(0.28467),
    FixedRack("ctlOB2", "25").Alpha(25).Ha(1).Hf(1).C(0.20328).Rf(0.35208),
    FixedRack("ctlOB4", "28-0.95").Alpha(28).Ha(0.95).Hf(0.95).C(0.1684).Rf(0.31742),
    FixedRack("ctlOB3", "28-0.9").Alpha(28).Ha(0.9).Hf(0.9).C(0.18438).Rf(0.34754),
};

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
