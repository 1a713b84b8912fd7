// The geometry only scales with the module: a pair or spline drawn at one module draws at every
// module from 1e-12 to 1e12 mm, outside the range of fixed-millimetre steps exactly as the
// range's edge scaled; so does the mesh check. (Refusals at every scale: the Builders suite.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <optional>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "profile/gear_outline.h"
#include "profile/length_unit.h"
#include "report/data_sheet.h"
#include "report/mesh_check.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;
using testing::SplineState;

constexpr double kModules[] = {1e-12, 1e-9, 1e-6, 1e-4, 1e-3, 0.01, 0.5,
                               2,     100,  1e4,  1e6,  1e9,  1e12};

// One request at any module: its state and call, and the outlines it draws or its fault.
struct Case {
    const char* name;
    std::function<MainMod(double m)> state;
    std::function<BuilderCall(double m)> call;
};

struct Drawn {
    bool ok = false;
    std::optional<GeometryError> error;  // when refused
    std::vector<const PlacedOutline*> outlines;
    // Keeps the computed geometry alive for `outlines`.
    std::shared_ptr<void> keep;
};

Drawn Draw(const Case& c, double m) {
    const MainMod state = c.state(m);
    const BuilderCall call = c.call(m);
    Drawn d;
    // The outcome kept alive with the outlines `of` takes from it.
    const auto take = [&d](auto computed, auto of) {
        const auto g = std::make_shared<decltype(computed)>(std::move(computed));
        d.keep = g;
        d.ok = g->ok();
        if (d.ok) {
            d.outlines = of(g->value());
        } else {
            d.error = g->fault();
        }
    };
    using Outlines = std::vector<const PlacedOutline*>;
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair:
            take(ComputeExternalPair(state, call), [](const auto& g) {
                return Outlines{&g.wheel1, &g.wheel2};
            });
            break;
        case BuilderCall::Kind::InternalPair:
            take(ComputeInternalPair(state, call), [](const auto& g) {
                return Outlines{&g.ring, &g.pinion};
            });
            break;
        case BuilderCall::Kind::Spline:
            take(ComputeSpline(state, call), [](const auto& g) { return Outlines{&g.outline}; });
            break;
    }
    return d;
}

MainMod PairState(const char* row) {
    MainMod state = testing::Rack20State(6, 3);
    StoreRack(state, FindRackRow(row)->rack);
    return state;
}

std::vector<Case> DrawableCases() {
    const auto rack20 = [](double) { return PairState("20"); };
    return {
        {"external 17/53 helix, rack 25", [](double) { return PairState("25"); },
         [](double m) { return ExternalPair(17, 53, m).Helix(15).Profile(25).Shifts(0.3, -0.2); }},
        {"internal 40/20 shifted", rack20,
         [](double m) { return InternalPair(40, 20, m).Shifts(0.5, 0.2); }},
        {"internal 24/71 helix", [](double) { return PairState("28-0.9"); },
         [](double m) { return InternalPair(24, 71, m).Helix(12.5).Profile(28).Shifts(0.2, 0.4); }},
        {"GOST shaft 20", [](double m) { return SplineState(SplineStandard::Gost6033, m); },
         [](double m) { return SplineMember(20, m, false); }},
        {"GOST hub 20 shifted", [](double m) { return SplineState(SplineStandard::Gost6033, m); },
         [](double m) { return SplineMember(20, m, true).Shift(0.3); }},
        {"OST hub 30", [](double m) { return SplineState(SplineStandard::Ost100086, m); },
         [](double m) { return SplineMember(30, m, true); }},
    };
}

// Outside the fixed-step range every length scales: the drawing at module m is the drawing at a
// reference module on the same side of the range (normal and transverse module both outside it)
// times m / reference, to the last few bits.
TEST(Scale, DrawsAtEveryModuleAndScalesOutsideTheFixedRange) {
    for (const Case& c : DrawableCases()) {
        SCOPED_TRACE(c.name);
        for (const double m : kModules) {
            SCOPED_TRACE(m);
            const Drawn d = Draw(c, m);
            ASSERT_TRUE(d.ok) << "refused: fault " << static_cast<int>(d.error->fault) << ", wheel "
                              << d.error->wheel;
            const double edge = m < kFixedLengthModuleMin ? 1e-3 : 1e4;
            if (LengthUnit(m) == 1 || m == edge) {
                continue;
            }
            const Drawn at = Draw(c, edge);
            ASSERT_TRUE(at.ok);
            ASSERT_EQ(d.outlines.size(), at.outlines.size());
            const double ratio = m / edge;
            for (std::size_t k = 0; k < d.outlines.size(); ++k) {
                const Polyline got = d.outlines[k]->Points();
                const Polyline want = at.outlines[k]->Points();
                ASSERT_EQ(got.size(), want.size());
                double size = 0;
                for (const PointXY& p : want) {
                    size = std::max({size, std::fabs(p.X), std::fabs(p.Y)});
                }
                for (std::size_t i = 0; i < got.size(); ++i) {
                    ASSERT_NEAR(got[i].X / ratio, want[i].X, 1e-9 * size) << "point " << i;
                    ASSERT_NEAR(got[i].Y / ratio, want[i].Y, 1e-9 * size) << "point " << i;
                }
            }
        }
    }
}

// At a module whose drawing is too large for the mesh check the sheet is still made, and the
// check's refusal is given in Russian, not in the geometry library's words.
TEST(Scale, ReportOfAHugeDrawingSaysWhyInRussian) {
    const testing::TempFolder folder;
    for (const double m : {1e13, 1e140}) {
        SCOPED_TRACE(m);
        MainMod state = PairState("20");
        state.OutFile = folder.File("huge.dxf");
        const BuilderCall call = ExternalPair(20, 40, m);
        const DrawResult drawn = RunBuilder(state, call);
        ASSERT_TRUE(drawn.ok());
        const DataSheetResult sheet = DataSheetOfWritten(state, call, drawn.value());
        ASSERT_TRUE(sheet.ok()) << sheet.fault();
        ASSERT_FALSE(sheet->mesh.mesh.ok());
        const std::string& why = sheet->mesh.mesh.fault();
        EXPECT_EQ(
            std::count_if(why.begin(), why.end(),
                          [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)); }),
            0)
            << why;
    }
}

// The mesh check scales with the drawing: a pair at the default counts, whose fillet chords
// overlap, overlaps at the same turn by the same depth in modules at every module above the
// fixed-step range, up to the largest drawing the check takes (the intersection of areas used to
// lose its way on coordinates of 1e11 mm and report an overlap deeper than the wheels).
TEST(Scale, MeshCheckScalesWithTheModule) {
    struct Row {
        Case request;
        double centreModules;  // aw / m
        bool internal;         // outline 0 is the ring
    };
    const auto rack20 = [](double) { return PairState("20"); };  // 6 involute, 3 fillet points
    const Row rows[] = {
        {{"external 20/40", rack20, [](double m) { return ExternalPair(20, 40, m); }}, 30, false},
        {{"internal 40/20", rack20, [](double m) { return InternalPair(40, 20, m); }}, 10, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.request.name);
        MeshClearance reference;
        for (const double m : {1e4, 1e6, 1e9, 1e10}) {
            SCOPED_TRACE(m);
            const Drawn d = Draw(row.request, m);
            ASSERT_TRUE(d.ok);
            const Polyline a = d.outlines[0]->Points(), b = d.outlines[1]->Points();
            const MeshCheckResult r =
                CheckMesh({&a, {0, 0}, d.outlines[0]->Teeth(), row.internal},
                          {&b, {row.centreModules * m, 0}, d.outlines[1]->Teeth(), false});
            ASSERT_TRUE(r.ok()) << r.fault();
            ASSERT_TRUE(r->overlap);
            if (m == 1e4) {
                reference = r.value();
                continue;
            }
            const double ratio = m / 1e4;
            EXPECT_EQ(r->overlapTurn, reference.overlapTurn);
            EXPECT_NEAR(r->overlapDepth / ratio, reference.overlapDepth,
                        1e-6 * reference.overlapDepth);
            EXPECT_NEAR(r->overlapArea / (ratio * ratio), reference.overlapArea,
                        2e-2 * reference.overlapArea);
            EXPECT_NEAR(r->drawnClearance / ratio, reference.drawnClearance,
                        1e-9 * m + 1e-6 * reference.drawnClearance);
        }
    }
}

}  // namespace
}  // namespace tarvo
