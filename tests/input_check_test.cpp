// The sound ranges of the entries: each value out of range is blamed on its own box, and no data
// that the builders draw is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/basic_rack.h"
#include "app/input_check.h"
#include "app/startup.h"
#include "drawing/builder_call.h"

using namespace tarvo;

namespace {

MainMod RackState() {
    MainMod state;
    InitMainMod(state);
    StoreRack(state, kDefaultRackRow.rack);
    state.AccEv = 4;
    state.AccPer = 3;
    return state;
}

BuilderCall Pair(BuilderCall::Kind kind, int z1, int z2, double m) {
    BuilderCall call;
    call.kind = kind;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = m;
    call.alpha = kDefaultRackRow.rack.alfa;
    return call;
}

}  // namespace

TEST(InputCheck, BlamesTheBoxOfTheValueOutOfRange) {
    const auto external = BuilderCall::Kind::ExternalPair;
    const auto internal = BuilderCall::Kind::InternalPair;
    struct Row {
        const char* name;
        BuilderCall call;
        std::optional<InputField> field;  // none: every value in range
    };
    std::vector<Row> rows;
    const auto add = [&rows](const char* name, BuilderCall call, std::optional<InputField> f) {
        rows.push_back({name, call, f});
    };
    BuilderCall c = Pair(external, 20, 40, 2);
    add("plain pair", c, std::nullopt);
    c.beta = 90;
    add("helix 90", c, InputField::Helix);
    c.beta = -89.9;
    add("helix -89.9", c, InputField::Helix);
    c.beta = std::nan("");
    add("helix not a number", c, InputField::Helix);
    c = Pair(external, 20, 40, 1e308);
    add("module 1e308", c, InputField::Module);
    c = Pair(external, 20, 40, 1e-320);
    add("module 1e-320", c, InputField::Module);
    c = Pair(external, 20, 40, 1e148);
    add("module 1e148 in range", c, std::nullopt);
    c.beta = 80;
    add("the same module past the range transversely", c, InputField::Helix);
    c = Pair(external, 20, 40, 2);
    c.jn = 100;
    add("backlash 100", c, InputField::Backlash);
    c.jn = 1.5;
    add("backlash 1.5 still drawn", c, std::nullopt);
    c = Pair(external, 20, 40, 2);
    c.x2 = -3;
    add("x2 -3 puts the tip inside the base circle", c, InputField::Shift2);
    c = Pair(internal, 40, 20, 2);
    c.x1 = -5;
    add("ring as wheel 1 with x1 -5", c, InputField::Shift1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<InputFault> fault = CheckInputRanges(RackState(), row.call);
        ASSERT_EQ(fault.has_value(), row.field.has_value());
        if (fault) {
            EXPECT_EQ(fault->field, *row.field);
            EXPECT_FALSE(fault->reason.empty());
            const std::string message = InputFaultMessage(*fault);
            EXPECT_EQ(message, std::string("Неверно задан параметр:\r\n") +
                                   FieldCaption(*row.field) + " !\r\n" + fault->reason);
        }
    }
}

// Pairs over a grid of counts, helix angles, shifts and backlash: whatever the check refuses,
// the builder must refuse too (the check only moves a refusal to the right box).
TEST(InputCheck, RefusesNothingTheBuildersDraw) {
    int refusedBoth = 0;
    for (const auto kind : {BuilderCall::Kind::ExternalPair, BuilderCall::Kind::InternalPair}) {
        for (const int z1 : {9, 20}) {
            for (const int z2 : {14, 41}) {
                for (const double beta : {0.0, 40.0, 82.0}) {
                    for (const double x : {-1.0, 0.0, 0.9}) {
                        for (const double jn : {0.0, 1.5, 2.5}) {
                            BuilderCall call = Pair(kind, z1, z2, 2);
                            call.beta = beta;
                            call.x1 = x;
                            call.x2 = -x / 2;
                            call.jn = jn;
                            MainMod state = RackState();
                            if (!CheckInputRanges(state, call)) {
                                continue;
                            }
                            char name[128];
                            std::snprintf(name, sizeof name, "kind %d z %d/%d beta %g x %g jn %g",
                                          static_cast<int>(kind), z1, z2, beta, x, jn);
                            SCOPED_TRACE(name);
                            state.OutFile = testing::TempDir() + "input_check.dxf";
                            EXPECT_NE(RunBuilder(state, call).status, DrawStatus::Written);
                            ++refusedBoth;
                        }
                    }
                }
            }
        }
    }
    // The grid reaches refusals of the check at all.
    EXPECT_GT(refusedBoth, 10);
}

TEST(InputCheck, BuilderRefusalsPointAtTheWheelTheyName) {
    struct Row {
        const char* name;
        BuilderCall call;
        GeometryError error;
        InputField field;
    };
    const BuilderCall pair = Pair(BuilderCall::Kind::ExternalPair, 20, 40, 2);
    const BuilderCall ringFirst = Pair(BuilderCall::Kind::InternalPair, 40, 20, 2);
    BuilderCall ost;
    ost.kind = BuilderCall::Kind::Spline;
    ost.Z = 12;
    ost.m = 1;
    BuilderCall gost = ost;
    gost.x = 0.3;
    const Row rows[] = {
        {"pointed wheel 2", pair, {GeometryFault::PointedTooth, 2, WheelRole::Wheel2}, InputField::Shift2},
        {"the pair's working angle", pair, {GeometryFault::WorkingAngleNotFound, 0, WheelRole::Pair},
         InputField::Shift1},
        {"equal counts", pair, {GeometryFault::EqualToothCounts, 0, WheelRole::Pair}, InputField::Teeth2},
        // Member 2 of an internal pair is the ring, here wheel 1.
        {"ring typed as wheel 1", ringFirst, {GeometryFault::CutterAngleNotFound, 2, WheelRole::Ring},
         InputField::Shift1},
        {"pinion typed as wheel 2", ringFirst, {GeometryFault::PointedTooth, 1, WheelRole::Pinion},
         InputField::Shift2},
        {"shifted spline", gost, {GeometryFault::PointedTooth, 1, WheelRole::Shaft}, InputField::SplineShift},
        {"unshifted spline", ost, {GeometryFault::PointedTooth, 1, WheelRole::Shaft}, InputField::SplineTeeth},
        {"spline partner", ost, {GeometryFault::PartnerTooLarge, 1, WheelRole::Shaft},
         InputField::SplineTeeth},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FieldOfFault(row.error, row.call), row.field);
    }
}
