// The sound ranges of the entries: each value out of range is blamed on its own box, and no data
// that the builders draw is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/basic_rack.h"
#include "app/input_check.h"
#include "app/startup.h"
#include "builder_calls.h"

using namespace tarvo;
using tarvo::testing::ExternalPair;
using tarvo::testing::InternalPair;
using tarvo::testing::SplineMember;

namespace {

MainMod RackState() {
    MainMod state;
    InitMainMod(state);
    StoreRack(state, kDefaultRackRow.rack);
    state.AccEv = 4;
    state.AccPer = 3;
    return state;
}

}  // namespace

TEST(InputCheck, BlamesTheBoxOfTheValueOutOfRange) {
    struct Row {
        const char* name;
        BuilderCall call;
        std::optional<InputField> field;
    };
    const Row rows[] = {
        {"plain pair", ExternalPair(20, 40, 2), std::nullopt},
        {"helix 90", ExternalPair(20, 40, 2).Helix(90), InputField::Helix},
        {"helix -89.9", ExternalPair(20, 40, 2).Helix(-89.9), InputField::Helix},
        {"helix not a number", ExternalPair(20, 40, 2).Helix(std::nan("")), InputField::Helix},
        {"module 1e308", ExternalPair(20, 40, 1e308), InputField::Module},
        {"module 1e-320", ExternalPair(20, 40, 1e-320), InputField::Module},
        {"module 1e148 in range", ExternalPair(20, 40, 1e148), std::nullopt},
        {"the same module past the range transversely", ExternalPair(20, 40, 1e148).Helix(80),
         InputField::Helix},
        {"backlash 1.5 still drawn", ExternalPair(20, 40, 2).Backlash(1.5), std::nullopt},
        {"x2 -3 puts the tip inside the base circle", ExternalPair(20, 40, 2).Shifts(0, -3),
         InputField::Shift2},
        {"ring as wheel 1 with x1 -5", InternalPair(40, 20, 2).Shifts(-5, 0), InputField::Shift1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InputCheck check = CheckInputRanges(RackState(), row.call);
        ASSERT_EQ(!check.ok(), row.field.has_value());  // none: every value in range
        if (check.ok())
            continue;
        const InputFault& fault = check.fault();
        EXPECT_TRUE(fault.field == *row.field && !fault.reason.empty());
        EXPECT_EQ(InputFaultMessage(fault), "Неверно задан параметр:\r\n" +
                                                std::string(FieldCaption(*row.field)) + " !\r\n" +
                                                fault.reason);
    }
}

// An internal pair whose ring is too close in size to its pinion: the ring's tooth count is
// blamed, with the least ring that clears its base circle at these shifts; that ring is then
// taken and one tooth fewer is not. 20 / 24 unshifted needs 2 / (1 - cos 20°) = 33.2, so 34.
TEST(InputCheck, RingTooCloseToItsPinionNamesTheLeastRing) {
    struct Row {
        const char* name;
        int z1, z2;
        double beta, x1, x2;
        InputField field;
        int least;
    };
    const Row rows[] = {
        {"20 / 24 unshifted", 20, 24, 0, 0, 0, InputField::Teeth2, 34},
        {"ring entered first", 24, 20, 0, 0, 0, InputField::Teeth1, 34},
        {"helical 20 degrees, ring shifted 0.3", 14, 18, 20, 0, 0.3, InputField::Teeth2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuilderCall call = InternalPair(row.z1, row.z2, 2).Helix(row.beta).Shifts(row.x1, row.x2);
        const InputCheck check = CheckInputRanges(RackState(), call);
        ASSERT_FALSE(check.ok());
        EXPECT_EQ(check.fault().field, row.field);
        const std::string& reason = check.fault().reason;
        EXPECT_EQ(reason.rfind("разность чисел зубьев колёс слишком мала", 0), 0u) << reason;
        const std::string marker = "не меньше ";
        const std::size_t at = reason.find(marker);
        ASSERT_NE(at, std::string::npos);
        const int least = std::stoi(reason.substr(at + marker.size()));
        if (row.least != 0) {
            EXPECT_EQ(least, row.least);
        }
        int& ring = row.field == InputField::Teeth2 ? call.Z2 : call.Z1;
        ring = least;
        EXPECT_TRUE(CheckInputRanges(RackState(), call).ok());
        ring = least - 1;
        EXPECT_FALSE(CheckInputRanges(RackState(), call).ok());
    }
}

// Pairs over a grid of counts, helix angles, shifts and backlash: whatever the check refuses,
// the builder must refuse too (the check only moves a refusal to the right box).
TEST(InputCheck, RefusesNothingTheBuildersDraw) {
    int refusedBoth = 0;
    for (const bool internal : {false, true}) {
        for (const auto& [z1, z2] : {std::pair{9, 14}, {9, 41}, {20, 14}, {20, 41}}) {
            for (const double beta : {0.0, 40.0, 82.0}) {
                for (const double x : {-1.0, 0.0, 0.9}) {
                    for (const double jn : {0.0, 1.5, 2.5}) {
                        const BuilderCall call =
                            (internal ? InternalPair(z1, z2, 2) : ExternalPair(z1, z2, 2))
                                .Helix(beta)
                                .Shifts(x, -x / 2)
                                .Backlash(jn);
                        MainMod state = RackState();
                        if (CheckInputRanges(state, call).ok())
                            continue;
                        SCOPED_TRACE(::testing::Message()
                                     << (internal ? "internal" : "external") << " z " << z1 << "/"
                                     << z2 << " beta " << beta << " x " << x << " jn " << jn);
                        state.OutFile = ::testing::TempDir() + "input_check.dxf";
                        EXPECT_FALSE(RunBuilder(state, call).ok());
                        ++refusedBoth;
                    }
                }
            }
        }
    }
    // The grid reaches refusals of the check at all.
    EXPECT_GT(refusedBoth, 10);
}

// (A shifted spline's refusal and a backlash too large: the window's PageFlow suite.)
TEST(InputCheck, BuilderRefusalsPointAtTheWheelTheyName) {
    using G = GeometryFault;
    using F = InputField;
    using R = WheelRole;
    struct Row {
        const char* name;
        BuilderCall call;
        GeometryError error;
        InputField field;
    };
    const BuilderCall pair = ExternalPair(20, 40, 2), ringFirst = InternalPair(40, 20, 2);
    const BuilderCall ost = SplineMember(12, 1, false);
    const Row rows[] = {
        {"pointed wheel 2", pair, {G::PointedTooth, 2, R::Wheel2}, F::Shift2},
        {"the pair's working angle", pair, {G::WorkingAngleNotFound, 0, R::Pair}, F::Shift1},
        {"equal counts", pair, {G::EqualToothCounts, 0, R::Pair}, F::Teeth2},
        // Member 2 of an internal pair is the ring, here wheel 1.
        {"ring typed as wheel 1", ringFirst, {G::CutterAngleNotFound, 2, R::Ring}, F::Shift1},
        {"pinion typed as wheel 2", ringFirst, {G::PointedTooth, 1, R::Pinion}, F::Shift2},
        {"unshifted spline", ost, {G::PointedTooth, 1, R::Shaft}, F::SplineTeeth},
        {"spline partner", ost, {G::PartnerTooLarge, 1, R::Shaft}, F::SplineTeeth},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FieldOfFault(row.error, row.call), row.field);
    }
}
