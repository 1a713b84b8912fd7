// Storing rack rows and the spline standards' racks.
#include "app/basic_rack.h"

namespace tarvo {

void StoreRack(MainMod& state, const BasicRack& rack) {
    state.Alfa = rack.alfa;
    state.H = rack.h;
    state.Hf = rack.hf;
    state.C = rack.c;
    state.Ro = rack.ro;
}

BasicRack StoredRack(const MainMod& state) {
    BasicRack rack;
    rack.alfa = state.Alfa;
    rack.h = state.H;
    rack.hf = state.Hf;
    rack.c = state.C;
    rack.ro = state.Ro;
    return rack;
}

const RackRow* FindRackRow(std::string_view key) {
    for (const RackRow& row : kRackRows) {
        if (key == row.key) {
            return &row;
        }
    }
    return nullptr;
}

BasicRack SplineRack(SplineStandard standard, double module) {
    // Both standards: a 30-degree profile with an rf* of 0.15; the depths by standard.
    BasicRack rack;
    rack.alfa = 30;
    rack.ro = 0.15;
    switch (standard) {
        case SplineStandard::Gost6033:
            rack.h = 0.45;
            rack.c = 0.1;
            break;
        case SplineStandard::Ost100086:
            rack.h = module == 1 ? 0.75 : 0.5;
            rack.c = 0.2;
            break;
    }
    rack.hf = rack.h;
    return rack;
}

}  // namespace tarvo
