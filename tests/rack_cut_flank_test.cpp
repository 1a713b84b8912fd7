// The rack-cut flank: its root circle over the basic rack rows, its fillet against a cut simulated
// with polygons (rack tooth positions subtracted from a blank), its involute against the flank
// generator's, the generator's fillet compared at zero shift, whole gears as simple polygons and
// the data it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "report/boost_geometry.h"

#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/rack_cut_flank.h"
#include "profile/tooth_profile.h"

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

double Radius(const PointXY& p) {
    return std::hypot(p.X, p.Y);
}
double Angle(const PointXY& p) {
    return std::atan2(p.Y, p.X);
}

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

std::string Text(double value) {
    std::ostringstream text;
    text.precision(3);
    text << value;
    return text.str();
}

TEST(RackCutFlank, RootCircleAndLayoutOverRackRows) {
    const double m = 3;
    for (const Rack& rack : kRacks) {
        for (const double beta : {0.0, 20.0}) {
            for (const double x : {-0.5, -0.25, 0.0, 0.3, 0.6, 0.8}) {
                for (const int z : {12, 30}) {
                    const std::string name = std::string("rack ") + rack.name + ", beta " +
                                             Text(beta) + ", x " + Text(x) + ", z " +
                                             std::to_string(z);
                    SCOPED_TRACE(name);
                    const RackCutData d = Member(rack, z, m, beta, x);
                    const RackCutFlankResult r = RackCutFlank(d);
                    ASSERT_EQ(r.fault, RackCutFault::None);
                    const double dRef = (z * m) / std::cos(d.helixAngle);
                    const double df = dRef - 2 * m * ((rack.hf + rack.c) - x);
                    EXPECT_NEAR(r.rootDiameter, df, 1e-9 * m);
                    ASSERT_EQ(r.flank.size(), 9u);
                    // The drawn root: the first point, on the space's centre line, and no point
                    // of the flank below the root circle.
                    EXPECT_NEAR(2 * Radius(r.flank.front()), df, 1e-9 * m);
                    EXPECT_NEAR(Angle(r.flank.front()), kPi / z, 1e-9);
                    // Outward from the root, and never past the space's centre line (some rows
                    // of z 12 and x 0.8 are pointed at this tip circle, which is no fault here).
                    for (std::size_t i = 1; i < r.flank.size(); ++i) {
                        EXPECT_GE(Radius(r.flank[i]), Radius(r.flank[i - 1]) - 1e-12 * m);
                        EXPECT_LT(Angle(r.flank[i]), kPi / z);
                    }
                    EXPECT_NEAR(2 * Radius(r.flank[2]), r.formDiameter, 1e-9 * m);
                    EXPECT_NEAR(2 * Radius(r.flank.back()), d.tipDiameter, 1e-9 * m);
                }
            }
        }
    }
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
        {"28-0.9, z 12, x 0.8, thinned (corner centre outside the rolling line)", kRacks[5], 12,
         0.8, 0, 0.1, false},
    };
    const double m = 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RackCutData d = Member(row.rack, row.z, m, row.beta, row.x, 400, 300);
        d.thinning = row.thinning;
        const RackCutFlankResult r = RackCutFlank(d);
        ASSERT_EQ(r.fault, RackCutFault::None);
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
        const double fromSimulated = LargestDistance(simulated, Polyline(r.flank));
        std::cout << "[ rack cut ] " << row.name << ": analytic to simulated " << fromAnalytic / m
                  << " m, simulated to analytic " << fromSimulated / m << " m, form diameter "
                  << r.formDiameter << " mm\n";
        EXPECT_LT(fromAnalytic, 0.001 * m);
        EXPECT_LT(fromSimulated, 0.001 * m);
    }
}

// ---- Against the flank generator ----

// Member 1 of an external pair as the generator draws it, the data brought to the transverse
// section as the pair's builder does.
struct PairRow {
    const char* name;
    int z1, z2;
    double x1, x2, beta, jn;  // jn: transverse backlash allowance, mm
};

struct GeneratorFlank {
    std::vector<PointXY> flank;
    double db = 0;
};

GeneratorFlank GeneratorMember1(const PairRow& row, double m, int accPer, int accEv) {
    const double b = GradToRad(row.beta);
    const double cosB = std::cos(b);
    const double mt = m / cosB;
    const double at = std::atan(std::tan(GradToRad(kRack20.alpha)) / cosB);
    const double d1 = row.z1 * mt;
    const double d2 = row.z2 * mt;
    ToothProfileInput in;
    in.member1 = {row.z1, d1, d1 + 2 * m * (kRack20.ha + row.x1), d1 * std::cos(at), row.x1 * cosB};
    in.member2 = {row.z2, d2, d2 + 2 * m * (kRack20.ha + row.x2), d2 * std::cos(at), row.x2 * cosB};
    in.m = mt;
    in.alpha = at;
    in.hf = kRack20.hf * cosB;
    in.c = kRack20.c * cosB;
    in.rf = kRack20.rf * cosB;
    in.jn = row.jn;
    in.AccPer = accPer;
    in.AccEv = accEv;
    const ToothProfileResult report = ToothProfile(in);
    EXPECT_TRUE(report.error.ok());
    return {report.Prof1, d1 * std::cos(at)};
}

RackCutData CutMember1(const PairRow& row, double m, int accPer, int accEv) {
    RackCutData d = Member(kRack20, row.z1, m, row.beta, row.x1, accPer, accEv);
    d.thinning = (row.jn * row.z1) / (row.z1 + row.z2);
    return d;
}

// Polar angle at which the involute through p leaves the base circle.
double InvoluteStart(const PointXY& p, double db) {
    return Angle(p) + Inv(ArcCos(db / (2 * Radius(p))));
}

TEST(RackCutFlank, InvoluteLiesWhereTheGeneratorPutsIt) {
    const PairRow rows[] = {
        {"20 and 40, no shift", 20, 40, 0, 0, 0, 0},
        {"20 and 40, shifted, backlash 0.2", 20, 40, 0.3, 0.1, 0, 0.2},
        {"14 and 31, helix 20, backlash 0.3", 14, 31, 0.4, -0.2, 20, 0.3},
    };
    const double m = 2;
    for (const PairRow& row : rows) {
        SCOPED_TRACE(row.name);
        const GeneratorFlank g = GeneratorMember1(row, m, 3, 6);
        const RackCutFlankResult r = RackCutFlank(CutMember1(row, m, 3, 6));
        ASSERT_EQ(r.fault, RackCutFault::None);
        // Same involute (the backlash turns it towards the tooth's centre line by the same
        // angle), the same tip point, and the flank on the same side of the X axis.
        const double start = InvoluteStart(g.flank.back(), g.db);
        for (std::size_t k = 2; k < r.flank.size(); ++k) {
            EXPECT_NEAR(InvoluteStart(r.flank[k], g.db), start, 1e-12);
        }
        EXPECT_NEAR(r.flank.back().X, g.flank.back().X, 1e-9 * m);
        EXPECT_NEAR(r.flank.back().Y, g.flank.back().Y, 1e-9 * m);
    }
}

// The generator's fillet (equivalent rack, its root land a chord) and the cut one, without shift
// and without undercut: the largest distance from either to the other, printed and recorded.
TEST(RackCutFlank, FilletAtZeroShiftBesideTheGenerators) {
    const PairRow rows[] = {
        {"18 and 40", 18, 40, 0, 0, 0, 0},
        {"20 and 40", 20, 40, 0, 0, 0, 0},
        {"30 and 60", 30, 60, 0, 0, 0, 0},
        {"60 and 90", 60, 90, 0, 0, 0, 0},
        {"20 and 40, helix 20", 20, 40, 0, 0, 20, 0},
    };
    const double m = 1;
    const int accPer = 200;
    for (const PairRow& row : rows) {
        SCOPED_TRACE(row.name);
        const GeneratorFlank g = GeneratorMember1(row, m, accPer, 50);
        const RackCutFlankResult r = RackCutFlank(CutMember1(row, m, accPer, 50));
        ASSERT_EQ(r.fault, RackCutFault::None);
        ASSERT_FALSE(r.undercut);
        // The generator's drawn root: its fillet, then the chord to the mirror image of its root
        // point in the space's centre line, whose middle lies on that line.
        std::vector<PointXY> generatorFillet(g.flank.begin(), g.flank.begin() + accPer);
        const PointXY root = g.flank.front();
        const double gamma0 = kPi / row.z1;
        const double onLine = Radius(root) * std::cos(gamma0 - Angle(root));
        std::vector<PointXY> generatorDrawn{{onLine * std::cos(gamma0), onLine * std::sin(gamma0)}};
        generatorDrawn.insert(generatorDrawn.end(), g.flank.begin(), g.flank.end());
        const std::vector<PointXY> cutFillet(r.flank.begin(), r.flank.begin() + accPer);
        const double largest = std::max(LargestDistance(generatorFillet, Polyline(r.flank)),
                                        LargestDistance(cutFillet, Polyline(generatorDrawn)));
        const double generatorRoot = 2 * onLine;
        const double generatorForm = 2 * Radius(g.flank[accPer - 1]);
        std::cout << "[ rack cut ] " << row.name << ", m 1: largest fillet difference " << largest
                  << " m; root diameter " << generatorRoot << " drawn, " << r.rootDiameter
                  << " cut; form diameter " << generatorForm << " drawn, " << r.formDiameter
                  << " cut\n";
        ::testing::Test::RecordProperty(std::string("fillet difference, ") + row.name,
                                        Text(largest));
        // Both fillets are generated by racks of the same depth and base pitch at zero shift; the
        // generator's rack takes its angle from the middle of the active profile, which moves its
        // fillet by hundredths of a module, not by tenths.
        EXPECT_LT(largest, 0.1 * m);
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
        const RackCutFlankResult r =
            RackCutFlank(Member(row.rack, row.z, 2.5, row.beta, row.x, row.accPer, row.accEv));
        ASSERT_EQ(r.fault, RackCutFault::None);
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
        RackCutFault fault;
    };
    const Row rows[] = {
        {"one fillet point", [](RackCutData& d) { d.accPer = 1; },
         RackCutFault::PointCountsTooSmall},
        {"no involute step", [](RackCutData& d) { d.accEv = 0; },
         RackCutFault::PointCountsTooSmall},
        {"no teeth", [](RackCutData& d) { d.z = 0; }, RackCutFault::ToothCountNotPositive},
        {"zero module", [](RackCutData& d) { d.normalModule = 0; },
         RackCutFault::ModuleNotPositive},
        {"shift not a number", [](RackCutData& d) { d.x = std::nan(""); },
         RackCutFault::DataOutOfRange},
        {"helix of 90 degrees", [](RackCutData& d) { d.helixAngle = kPi / 2; },
         RackCutFault::DataOutOfRange},
        {"negative corner radius", [](RackCutData& d) { d.rf = -0.1; },
         RackCutFault::DataOutOfRange},
        {"rack tooth pointed above its tip line", [](RackCutData& d) { d.hf = 3; },
         RackCutFault::RoundingDoesNotFit},
        {"root circle through the centre", [](RackCutData& d) { d.z = 2; },
         RackCutFault::DataOutOfRange},
        {"tip circle below the form circle", [](RackCutData& d) { d.tipDiameter = 36.5; },
         RackCutFault::TipNotAboveForm},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RackCutData d = Member(kRack20, 20, 2, 0, 0);
        row.change(d);
        const RackCutFlankResult r = RackCutFlank(d);
        EXPECT_EQ(r.fault, row.fault);
        EXPECT_TRUE(r.flank.empty());
    }
}

}  // namespace
}  // namespace tarvo
