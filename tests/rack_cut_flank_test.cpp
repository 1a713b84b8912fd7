// The rack-cut flank: fillet and involute against a cut simulated with polygons (rack tooth
// positions subtracted from a blank), its layout and whole gears as simple polygons over awkward
// racks, and the data it refuses. (Its root circle over every rack row is checked on the written
// drawings by the RackCutRoot suite.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "report/boost_geometry.h"

#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/rack_cut_flank.h"

namespace tarvo {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgPolygon = bg::model::polygon<BgPoint>;
using BgMulti = bg::model::multi_polygon<BgPolygon>;
using BgLine = bg::model::linestring<BgPoint>;

// The six basic rack rows of the gear-pair page: alpha (degrees), ha*, hf*, c*, rf*.
struct Rack {
    const char* name;
    double alpha, ha, hf, c, rf;
};
constexpr Rack kRacks[] = {
    {"18", 18, 1, 1.2, 0.28734, 0.41585},         {"20", 20, 1, 1, 0.25, 0.38},
    {"22.5", 22.5, 1, 1, 0.4, 0.28467},           {"25", 25, 1, 1, 0.20328, 0.35208},
    {"28-0.95", 28, 0.95, 0.95, 0.1684, 0.31742}, {"28-0.9", 28, 0.9, 0.9, 0.18438, 0.34754},
};
const Rack& kRack20 = kRacks[1];

// One member cut by the rack, its tip circle at ha* + x above the reference circle.
RackCutData Member(const Rack& rack, int z, double m, double betaDegrees, double x, int accPer = 3,
                   int accEv = 6) {
    RackCutData d;
    d.z = z;
    d.normalModule = m;
    d.helixAngle = GradToRad(betaDegrees);
    d.profileAngle = GradToRad(rack.alpha);
    d.ha = rack.ha;
    d.hf = rack.hf;
    d.c = rack.c;
    d.rf = rack.rf;
    d.x = x;
    d.tipDiameter = (z * m) / std::cos(d.helixAngle) + 2 * m * (rack.ha + x);
    d.accPer = accPer;
    d.accEv = accEv;
    return d;
}

double Radius(const PointXY& p) { return std::hypot(p.X, p.Y); }
double Angle(const PointXY& p) { return std::atan2(p.Y, p.X); }

BgLine Polyline(const std::vector<PointXY>& points) {
    BgLine line;
    for (const PointXY& p : points) {
        line.push_back({p.X, p.Y});
    }
    return line;
}

// Largest distance from any of `points` to the polyline.
double LargestDistance(const std::vector<PointXY>& points, const BgLine& line) {
    double largest = 0;
    for (const PointXY& p : points) {
        largest = std::max(largest, bg::distance(BgPoint{p.X, p.Y}, line));
    }
    return largest;
}

// ---- The cut simulated with polygons ----

// The cutting rack's tooth in its own frame, as polygon vertices (u, h): u along the rack from the
// centre line of the tooth space it stands in, h the distance from the gear centre when it stands
// there. Built in the normal section (a circle of rf* m_n tangent to the tip line and the flank)
// and stretched along the rack by 1 / cos(beta) into the transverse section.
std::vector<BgPoint> RackTooth(const RackCutData& d, double top, int cornerPoints) {
    const double cosB = std::cos(d.helixAngle);
    const double mn = d.normalModule;
    const double mt = mn / cosB;
    const double tanAt = std::tan(d.profileAngle) / cosB;
    const double r = (d.z * mt) / 2;
    const double s = (kPi / 2) * mt + 2 * d.x * mn * tanAt - d.thinning;
    const double halfAtRolling = (kPi * mt - s) / 2;
    const double hTip = r + (d.x - d.hf - d.c) * mn;
    const double an = d.profileAngle;
    const double halfTipNormal = (halfAtRolling + (hTip - r) * tanAt) * cosB;
    const double rho = std::min(d.rf * mn, halfTipNormal * std::cos(an) / (1 - std::sin(an)));
    const double centreNormal = -(halfTipNormal - rho * (1 - std::sin(an)) / std::cos(an));
    const double halfTop = halfAtRolling + (top - r) * tanAt;

    std::vector<BgPoint> left{{-halfTop, top}};
    for (int i = 0; i <= cornerPoints; ++i) {
        const double a = an + (kPi / 2 - an) * i / cornerPoints;
        left.push_back({(centreNormal - rho * std::cos(a)) / cosB, hTip + rho - rho * std::sin(a)});
    }
    std::vector<BgPoint> tooth = left;
    for (auto p = left.rbegin(); p != left.rend(); ++p) {
        tooth.push_back({-p->x(), p->y()});
    }
    return tooth;
}

// The rack tooth rolled by phi on the reference circle: moved r phi along the rack and the whole
// turned by -phi about the gear centre, so the rack's rolling line does not slip on the circle.
BgPolygon Placed(const std::vector<BgPoint>& tooth, double phi, double r, double gamma0) {
    BgPolygon polygon;
    for (const BgPoint& p : tooth) {
        const double along = p.x() + r * phi;
        const double angle = gamma0 - phi;
        const double x = p.y() * std::cos(angle) - along * std::sin(angle);
        const double y = p.y() * std::sin(angle) + along * std::cos(angle);
        polygon.outer().push_back({x, y});
    }
    polygon.outer().push_back(polygon.outer().front());
    bg::correct(polygon);
    return polygon;
}

// The blank: a sector of the tip circle round one tooth space and the flank below it.
BgPolygon Blank(double ra, double gamma0) {
    BgPolygon blank;
    blank.outer().push_back({0, 0});
    const int arcPoints = 400;
    for (int i = 0; i <= arcPoints; ++i) {
        const double a = -0.3 * gamma0 + 1.6 * gamma0 * i / arcPoints;
        blank.outer().push_back({ra * std::cos(a), ra * std::sin(a)});
    }
    blank.outer().push_back({0, 0});
    bg::correct(blank);
    return blank;
}

BgPolygon SimulatedCut(const RackCutData& d, int positions) {
    const double cosB = std::cos(d.helixAngle);
    const double mt = d.normalModule / cosB;
    const double r = (d.z * mt) / 2;
    const double ra = d.tipDiameter / 2;
    const double gamma0 = kPi / d.z;
    const std::vector<BgPoint> tooth = RackTooth(d, ra + 2 * d.normalModule, 256);
    // Far enough along the rack that the tooth has left the tip circle on either side.
    const double travel = (kPi * mt + 8 * d.normalModule) / r;
    BgPolygon blank = Blank(ra, gamma0);
    for (int i = 0; i <= positions; ++i) {
        const double phi = -travel + 2 * travel * i / positions;
        BgMulti rest;
        bg::difference(blank, Placed(tooth, phi, r, gamma0), rest);
        auto largest = std::max_element(rest.begin(), rest.end(), [](const auto& a, const auto& b) {
            return bg::area(a) < bg::area(b);
        });
        if (largest != rest.end()) {
            blank = *largest;
        }
    }
    return blank;
}

TEST(RackCutFlank, AgreesWithPolygonSimulationOfTheCut) {
    struct Row {
        const char* name;
        const Rack& rack;
        int z;
        double x, beta, thinning;
        bool undercut;
    };
    const Row rows[] = {
        {"z 10, x 0, spur (undercut)", kRack20, 10, 0, 0, 0, true},
        {"z 12, x 0.6, spur", kRack20, 12, 0.6, 0, 0, false},
        {"z 10, x 0, helix 20 (undercut)", kRack20, 10, 0, 20, 0, true},
        {"z 12, x 0.6, helix 20", kRack20, 12, 0.6, 20, 0, false},
        {"z 14, x 0.4, helix 20, thinned", kRack20, 14, 0.4, 20, 0.1, false},
        {"28-0.9, z 12, x 0.8, thinned (corner centre outside the rolling line)", kRacks[5], 12,
         0.8, 0, 0.1, false},
    };
    const double m = 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RackCutData d = Member(row.rack, row.z, m, row.beta, row.x, 400, 300);
        d.thinning = row.thinning;
        const RackCutFlankResult cutFlank = RackCutFlank(d);
        ASSERT_TRUE(cutFlank.ok());
        const RackCutFlankCurve& r = cutFlank.value();
        EXPECT_EQ(r.undercut, row.undercut);
        const BgPolygon cut = SimulatedCut(d, 4000);
        const BgLine cutEdge(cut.outer().begin(), cut.outer().end());

        // Every analytic point lies on the simulated edge ...
        const double fromAnalytic = LargestDistance(r.flank, cutEdge);
        // ... and every simulated vertex of this flank, from the space's centre line to below the
        // tip circle, on the analytic flank.
        std::vector<PointXY> simulated;
        const double gamma0 = kPi / row.z;
        for (const BgPoint& p : cut.outer()) {
            const PointXY q{p.x(), p.y()};
            if (Angle(q) > 1e-6 && Angle(q) < gamma0 - 1e-6 && Radius(q) > r.rootDiameter / 4 &&
                Radius(q) < d.tipDiameter / 2 - 1e-6) {
                simulated.push_back(q);
            }
        }
        ASSERT_GT(simulated.size(), 100u);
        EXPECT_LT(fromAnalytic, 0.001 * m);
        EXPECT_LT(LargestDistance(simulated, Polyline(r.flank)), 0.001 * m);
    }
}

// ---- Whole gears ----

TEST(RackCutFlank, WholeGearIsASimplePolygon) {
    struct Row {
        const char* name;
        const Rack& rack;
        int z;
        double x, beta;
        int accPer, accEv;
    };
    const Row rows[] = {
        {"20, z 10, x 0, undercut", kRacks[1], 10, 0, 0, 3, 6},
        {"20, z 10, x 0, helix 20, fine", kRacks[1], 10, 0, 20, 40, 60},
        {"20, z 12, x 0.6, fine", kRacks[1], 12, 0.6, 0, 40, 60},
        {"18 (corners meet), z 40, x -0.5, undercut", kRacks[0], 40, -0.5, 0, 30, 30},
        {"28-0.9, z 12, x 0.8 (corner centre outside the rolling line)", kRacks[5], 12, 0.8, 0, 30,
         30},
        {"25, z 7, x 0.5, helix 30", kRacks[3], 7, 0.5, 30, 20, 20},
        {"22.5, z 60, x 0", kRacks[2], 60, 0, 0, 2, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RackCutData d = Member(row.rack, row.z, 2.5, row.beta, row.x, row.accPer, row.accEv);
        const RackCutFlankResult cutFlank = RackCutFlank(d);
        ASSERT_TRUE(cutFlank.ok());
        const RackCutFlankCurve& r = cutFlank.value();
        // The fillet from the root point on the space's centre line up to the form circle, then
        // the involute out to the tip circle, never past the centre line.
        ASSERT_EQ(r.flank.size(), static_cast<std::size_t>(row.accPer + row.accEv));
        EXPECT_NEAR(2 * Radius(r.flank.front()), r.rootDiameter, 1e-9);
        EXPECT_NEAR(Angle(r.flank.front()), kPi / row.z, 1e-9);
        EXPECT_NEAR(2 * Radius(r.flank[row.accPer - 1]), r.formDiameter, 1e-9);
        EXPECT_NEAR(2 * Radius(r.flank.back()), d.tipDiameter, 1e-9);
        for (std::size_t i = 1; i < r.flank.size(); ++i) {
            EXPECT_GE(Radius(r.flank[i]), Radius(r.flank[i - 1]) - 1e-12);
            EXPECT_LT(Angle(r.flank[i]), kPi / row.z);
        }
        EXPECT_EQ(CheckExternalFlank(r.flank, row.z), GeometryFault::None);
        const std::vector<double> outline = GearOutline(row.z, r.flank, false);
        BgPolygon gear;
        for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
            gear.outer().push_back({outline[i], outline[i + 1]});
        }
        bg::correct(gear);
        std::string reason;
        EXPECT_TRUE(bg::is_valid(gear, reason)) << reason;
        EXPECT_TRUE(bg::is_simple(gear));
    }
}

TEST(RackCutFlank, RefusesDataItCannotCut) {
    struct Row {
        const char* name;
        void (*change)(RackCutData&);
        GeometryFault fault;
    };
    using F = GeometryFault;
    const Row rows[] = {
        {"one fillet point", [](RackCutData& d) { d.accPer = 1; }, F::DataNotFinite},
        {"no involute step", [](RackCutData& d) { d.accEv = 0; }, F::DataNotFinite},
        {"no teeth", [](RackCutData& d) { d.z = 0; }, F::ToothCountNotPositive},
        {"zero module", [](RackCutData& d) { d.normalModule = 0; }, F::ModuleNotPositive},
        {"shift not a number", [](RackCutData& d) { d.x = std::nan(""); }, F::DataNotFinite},
        {"helix of 90 degrees", [](RackCutData& d) { d.helixAngle = kPi / 2; }, F::DataNotFinite},
        {"negative corner radius", [](RackCutData& d) { d.rf = -0.1; }, F::DataNotFinite},
        {"rack tooth pointed above its tip line", [](RackCutData& d) { d.hf = 3; },
         F::RackRoundingNotFound},
        {"root circle through the centre", [](RackCutData& d) { d.z = 2; }, F::RootFilletsCross},
        {"tip circle below the form circle", [](RackCutData& d) { d.tipDiameter = 36.5; },
         F::ActiveProfileUndefined},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RackCutData d = Member(kRack20, 20, 2, 0, 0);
        row.change(d);
        const RackCutFlankResult r = RackCutFlank(d);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.fault(), row.fault);
    }
}

}  // namespace
}  // namespace tarvo
