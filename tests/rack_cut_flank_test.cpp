// The rack-cut flank against a cut simulated with polygons, whole gears as valid polygons over
// awkward racks, and the data it refuses. (Its drawn root is checked by the RackCutRoot suite.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "app/basic_rack.h"
#include "math/constants.h"
#include "math/involute.h"
#include "polygon_checks.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/rack_cut_flank.h"

namespace tarvo {
namespace {

using testing::LargestDistance;
using testing::LargestPieceLeft;
using testing::OutlineFault;

// A member of module 2 cut by the rack row `key` with shift x, its tip circle at ha* + x above the
// reference circle, on 400 fillet and 300 involute points; each setter changes values on a copy.
struct Member : RackCutData {
    Member(const char* key, int teeth, double shift) {
        const BasicRack& rack = FindRackRow(key)->rack;
        z = teeth;
        normalModule = 2;
        profileAngle = GradToRad(rack.alfa);
        ha = rack.h;
        hf = rack.hf;
        c = rack.c;
        rf = rack.ro;
        x = shift;
        accPer = 400;
        accEv = 300;
        tipDiameter = z * normalModule + 2 * normalModule * (ha + x);
    }
    Member Helix(double degrees) const {
        Member m = With(&Member::helixAngle, GradToRad(degrees));
        m.tipDiameter = z * normalModule / std::cos(m.helixAngle) + 2 * normalModule * (ha + x);
        return m;
    }
    Member Thinned(double by) const { return With(&Member::thinning, by); }
    Member Points(int fillet, int involute) const {
        return With(&Member::accPer, fillet).With(&Member::accEv, involute);
    }

  private:
    template <typename T>
    Member With(T RackCutData::*field, T value) const {
        Member m = *this;
        m.*field = value;
        return m;
    }
};

double Radius(const PointXY& p) {
    return std::hypot(p.X, p.Y);
}
double Angle(const PointXY& p) {
    return std::atan2(p.Y, p.X);
}

// The edge of the cut: a tip-circle sector round one tooth space less the rack tooth, rolled by phi
// (moved r phi along the rack, turned by -phi about the gear centre). The tooth is (u along the
// rack from its space's centre line, h from the gear centre), its corner a circle of rf* m_n
// tangent to tip line and flank in the normal section, stretched by 1 / cos(beta) along the rack.
std::vector<PointXY> SimulatedCut(const RackCutData& d, int positions) {
    const double cosB = std::cos(d.helixAngle), an = d.profileAngle, mn = d.normalModule;
    const double mt = mn / cosB, tanAt = std::tan(an) / cosB, r = (d.z * mt) / 2;
    const double s = (kPi / 2) * mt + 2 * d.x * mn * tanAt - d.thinning;
    const double halfAtRolling = (kPi * mt - s) / 2, hTip = r + (d.x - d.hf - d.c) * mn;
    const double halfTipNormal = (halfAtRolling + (hTip - r) * tanAt) * cosB, sinA = std::sin(an);
    const double rho = std::min(d.rf * mn, halfTipNormal * std::cos(an) / (1 - sinA));
    const double centre = -(halfTipNormal - rho * (1 - sinA) / std::cos(an));
    const double ra = d.tipDiameter / 2, gamma0 = kPi / d.z, top = ra + 2 * mn;
    std::vector<PointXY> tooth{{-(halfAtRolling + (top - r) * tanAt), top}};
    for (int i = 0; i <= 256; ++i) {
        const double a = an + (kPi / 2 - an) * i / 256;
        tooth.push_back({(centre - rho * std::cos(a)) / cosB, hTip + rho * (1 - std::sin(a))});
    }
    for (int i = 257; i >= 0; --i) {
        tooth.push_back({-tooth[i].X, tooth[i].Y});
    }
    std::vector<PointXY> blank{{0, 0}};
    for (int i = 0; i <= 400; ++i) {
        const double a = -0.3 * gamma0 + 1.6 * gamma0 * i / 400;
        blank.push_back({ra * std::cos(a), ra * std::sin(a)});
    }
    // Far enough along the rack that the tooth has left the tip circle on either side.
    const double travel = (kPi * mt + 8 * mn) / r;
    for (int i = 0; i <= positions; ++i) {
        const double phi = -travel + 2 * travel * i / positions, angle = gamma0 - phi;
        std::vector<PointXY> placed;
        for (const PointXY& p : tooth) {
            const double along = p.X + r * phi;
            placed.push_back({p.Y * std::cos(angle) - along * std::sin(angle),
                              p.Y * std::sin(angle) + along * std::cos(angle)});
        }
        blank = LargestPieceLeft(blank, placed);
    }
    return blank;
}

// Fillet from the space's centre line to the form circle, involute on to the tip, the whole gear
// valid unless pointed. Where the cut is simulated, every analytic point lies on its edge and
// every edge vertex of this flank below the tip on the analytic flank.
TEST(RackCutFlank, FlankAgreesWithSimulatedCutAndMakesAValidGear) {
    // The fine rows are compared with a simulated cut; a pointed gear is simulated too.
    enum Cut { Unsimulated, Undercut, NoUndercut, Pointed };
    struct Row {
        const char* name;
        Member member;
        Cut cut;
    };
    const Row rows[] = {
        {"z 10, x 0, spur (undercut)", Member("20", 10, 0), Undercut},
        {"z 10, x 0, helix 20 (undercut)", Member("20", 10, 0).Helix(20), Undercut},
        {"z 14, x 0.4, helix 20, thinned", Member("20", 14, 0.4).Helix(20).Thinned(0.1),
         NoUndercut},
        // Corner centre outside the rolling line; thinned to a point (tip thickness -0.064 mm).
        {"28-0.9, z 12, x 0.8, thinned", Member("28-0.9", 12, 0.8).Thinned(0.1), Pointed},
        {"18 (corners meet), z 40, x -0.5", Member("18", 40, -0.5).Points(30, 30), Unsimulated},
        {"28-0.9, z 12, x 0.8", Member("28-0.9", 12, 0.8).Points(30, 30), Unsimulated},
        {"25, z 7, x 0.5, helix 30", Member("25", 7, 0.5).Helix(30).Points(20, 20), Unsimulated},
        {"22.5, z 60, x 0", Member("22.5", 60, 0).Points(2, 1), Unsimulated},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RackCutData& d = row.member;
        const bool pointed = row.cut == Pointed;
        const RackCutFlankResult r = RackCutFlank(d);
        ASSERT_TRUE(r.ok());
        const std::vector<PointXY>& flank = r->flank;
        ASSERT_EQ(flank.size(), static_cast<std::size_t>(d.accPer + d.accEv));
        EXPECT_NEAR(Angle(flank.front()), kPi / d.z, 1e-9);
        EXPECT_NEAR(2 * Radius(flank[d.accPer - 1]), r->formDiameter, 1e-9);
        EXPECT_NEAR(2 * Radius(flank.back()), d.tipDiameter, 1e-9);
        for (std::size_t i = 1; i < flank.size(); ++i) {
            EXPECT_GE(Radius(flank[i]), Radius(flank[i - 1]) - 1e-12);
        }
        EXPECT_EQ(CheckExternalFlank(flank, d.z, 1),
                  pointed ? std::optional(GeometryFault::PointedTooth) : std::nullopt);
        const Polyline gear = GearOutline(d.z, flank, false);
        const std::optional<std::string> fault = OutlineFault(gear);
        EXPECT_EQ(fault.has_value(), pointed) << fault.value_or("a simple polygon");
        if (row.cut == Unsimulated) {
            continue;
        }
        EXPECT_EQ(r->undercut, row.cut == Undercut);
        const std::vector<PointXY> cut = SimulatedCut(d, 2000);
        std::vector<PointXY> simulated;
        std::copy_if(cut.begin(), cut.end(), std::back_inserter(simulated), [&](const PointXY& q) {
            return Angle(q) > 1e-6 && Angle(q) < kPi / d.z - 1e-6 &&
                   Radius(q) > r->rootDiameter / 4 && Radius(q) < d.tipDiameter / 2 - 1e-6;
        });
        ASSERT_GT(simulated.size(), 100u);
        EXPECT_LT(LargestDistance(flank, cut), 0.001 * d.normalModule);
        EXPECT_LT(LargestDistance(simulated, flank), 0.001 * d.normalModule);
    }
}

TEST(RackCutFlank, RefusesDataItCannotCut) {
    using D = RackCutData;
    using F = GeometryFault;
    struct Row {
        const char* name;
        void (*change)(D&);
        F fault;
    };
    const Row rows[] = {
        {"one fillet point", [](D& d) { d.accPer = 1; }, F::DataOutOfRange},
        {"no involute step", [](D& d) { d.accEv = 0; }, F::DataOutOfRange},
        {"no teeth", [](D& d) { d.z = 0; }, F::ToothCountNotPositive},
        {"zero module", [](D& d) { d.normalModule = 0; }, F::ModuleNotPositive},
        {"shift not a number", [](D& d) { d.x = std::nan(""); }, F::DataOutOfRange},
        {"helix of 90 degrees", [](D& d) { d.helixAngle = kPi / 2; }, F::DataOutOfRange},
        {"negative corner radius", [](D& d) { d.rf = -0.1; }, F::DataOutOfRange},
        {"rack tooth pointed above its tip line", [](D& d) { d.hf = 3; }, F::RackRoundingNotFound},
        {"root circle through the centre", [](D& d) { d.z = 2; }, F::DedendumPastCentre},
        {"tip below the form", [](D& d) { d.tipDiameter = 36.5; }, F::ActiveProfileUndefined},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RackCutData d = Member("20", 20, 0);
        row.change(d);
        const RackCutFlankResult r = RackCutFlank(d);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.fault(), row.fault);
    }
}

}  // namespace
}  // namespace tarvo
