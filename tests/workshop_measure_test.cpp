// The measurements a workshop takes, checked on the drawing read back from its file: the
// default roller touches both flanks on the drawn involute, stands out of the tips and clears
// the root; a refused roller names its reason; the span count touches the drawn involute; the
// parameter table word for word; the table drawing's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "cli/cli_run.h"
#include "drawing/dxf_reader.h"
#include "drawing/dxf_table.h"
#include "math/constants.h"
#include "report/data_sheet.h"
#include "report/measure_text.h"
#include "report/parameter_table.h"
#include "report/roller_choice.h"
#include "report/sheet_text.h"
#include "written_sheet.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;

using Kind = BuilderCall::Kind;

using testing::Written;

// Writes the drawing as tarvo-cli would (a spline on its standard's rack), reads it back and
// makes its sheet.
Written Write(const BuilderCall& call, SplineStandard standard, const SheetOptions& options,
              int involute = 100, int fillet = 50) {
    return testing::WriteAndReadBack(call.kind == Kind::Spline
                                         ? testing::SplineState(standard, call.m, involute, fillet)
                                         : testing::Rack20State(involute, fillet),
                                     call, options);
}

// A spline member with its shift in millimetres, as the designer gives it.
BuilderCall Spline(int z, double m, double shiftMm, bool hub) {
    return SplineMember(z, m, hub).Shift(shiftMm / m);
}

double SegmentDistance(const PointXY& p, const PointXY& a, const PointXY& b, PointXY& nearest) {
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0;
    nearest = {a.X + t * dx, a.Y + t * dy};
    return std::hypot(p.X - nearest.X, p.Y - nearest.Y);
}

// A roller centre at radius r and polar angle phi against the whole outline: how near the
// outline comes, and where.
struct Approach {
    double distance = HUGE_VAL;
    PointXY at;
};

Approach Nearest(const std::vector<PointXY>& outline, double r, double phi) {
    const PointXY c{r * std::cos(phi), r * std::sin(phi)};
    Approach best;
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        PointXY at;
        const double d = SegmentDistance(c, outline[i], outline[i + 1], at);
        if (d < best.distance) {
            best = {d, at};
        }
    }
    return best;
}

// The roller laid on the drawing: turned about the centre at radius r to where the outline
// leaves it most room, which is the centre line of a space. A roller that touches both flanks
// and cuts into nothing has exactly its radius of room there.
Approach LaidInSpace(const std::vector<PointXY>& outline, double r, int z) {
    const double pitch = 2 * kPi / z;
    double bestPhi = 0, bestRoom = -1;
    const int samples = 240;
    for (int i = 0; i < samples; ++i) {
        const double phi = pitch * i / samples;
        const double room = Nearest(outline, r, phi).distance;
        if (room > bestRoom) {
            bestRoom = room;
            bestPhi = phi;
        }
    }
    // Golden-section refinement of the room about the best sample.
    double low = bestPhi - pitch / samples, high = bestPhi + pitch / samples;
    for (int k = 0; k < 60; ++k) {
        const double a = high - (high - low) * 0.618034, b = low + (high - low) * 0.618034;
        (Nearest(outline, r, a).distance > Nearest(outline, r, b).distance ? high : low) =
            (Nearest(outline, r, a).distance > Nearest(outline, r, b).distance ? b : a);
    }
    return Nearest(outline, r, (low + high) / 2);
}

// On the drawing a roller rests on chords of the involute: with 100 points the sag stays far
// below this, mm.
constexpr double kOnDrawing = 2e-4;

// The default roller laid on the outline read back: it touches both flanks on the drawn involute,
// stands out of the tips and clears the root. (W against hand-worked values: the DataSheet and
// ParameterTable suites.)
TEST(DrawnMeasurement, DefaultRollerOnTheWrittenOutline) {
    struct Row {
        const char* name;
        BuilderCall call;
        SplineStandard standard;
    };
    const SplineStandard G = SplineStandard::Gost6033, O = SplineStandard::Ost100086;
    const Row rows[] = {
        {"external even 20 / 40", ExternalPair(20, 40, 2), G},
        {"external 24 / 40, x1 0.3: the old default sat below the tips",
         ExternalPair(24, 40, 2).Shifts(0.3, 0), G},
        {"external odd 21 / 37, x -0.5 / 1", ExternalPair(21, 37, 2).Shifts(-0.5, 1), G},
        {"external helical 17 / 53, beta 15°, x 0.5 / -0.3, jn 0.1",
         ExternalPair(17, 53, 3).Helix(15).Shifts(0.5, -0.3).Backlash(0.1), G},
        {"internal 20 in 61, x 0.2 / 0.1, jn 0.1",
         InternalPair(61, 20, 2).Shifts(0.2, 0.1).Backlash(0.1), G},
        {"internal helical 24 in 71, beta 12.5°",
         InternalPair(24, 71, 2.5).Helix(12.5).Shifts(0.2, 0.4).Backlash(0.05), G},
        {"internal odd 25 in 81, x 0.5 / 1", InternalPair(25, 81, 1.5).Shifts(0.5, 1), G},
        {"GOST shaft m 10, z 14, shift 5.04", Spline(14, 10, 5.04, false), G},
        {"GOST hub m 2, z 21, shift 1.2", Spline(21, 2, 1.2, true), G},
        {"GOST shaft m 2, z 20, shift -0.5", Spline(20, 2, -0.5, false), G},
        {"OST shaft m 1, z 18", Spline(18, 1, 0, false), O},
        {"OST hub m 2, z 23", Spline(23, 2, 0, true), O},
        {"12 / 30, x1 0.8: pointed tips", ExternalPair(12, 30, 2).Shifts(0.8, 0), G},
        {"13 / 11, x2 0.6: wheel 1 undercut", ExternalPair(13, 11, 2).Shifts(0, 0.6), G},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Written written = Write(row.call, row.standard, {});
        // A shift taken for the wrong wheel would move the centres the sheet states.
        const std::vector<PointXY> centres = CentreMarks(written.drawing);
        if (written.sheet.pair) {
            EXPECT_NEAR(std::hypot(centres[1].X - centres[0].X, centres[1].Y - centres[0].Y),
                        written.sheet.mesh.aw, 1e-9);
        }
        for (const WheelSheet& s : written.sheet.wheels) {
            SCOPED_TRACE(s.z);
            ASSERT_FALSE(s.rollerRefusal.has_value()) << RollerRefusalLine(s, "колеса", false, '.');
            const std::vector<PointXY> outline = testing::OwnOutline(written, s);
            // (b) out of the tips: external M beyond da, internal rollers reaching past them.
            const double across = s.z % 2 == 0 ? 1 : std::cos(kPi / (2 * s.z));
            ASSERT_TRUE(s.M.has_value());
            ASSERT_TRUE(s.rollerD.has_value() && s.rollerContact.has_value());
            const double M = *s.M, D = *s.rollerD;
            const double centreD = (s.internalTeeth ? M + D : M - D) / across;
            if (s.internalTeeth) {
                EXPECT_LT(centreD - D, s.da);
            } else {
                EXPECT_GT(M, s.da);
            }
            // (a) and (c): laid on the drawing it has exactly its radius of room, and the outline
            // comes nearest on the drawn involute. The drawing is the transverse section: a
            // ball's offset there is its normal one over cos(beta_b).
            const double alphaT = std::acos(s.db / s.d), beta = std::acos(s.mn / s.mt);
            const double cosBb = std::cos(std::atan(std::tan(beta) * std::cos(alphaT)));
            const Approach laid = LaidInSpace(outline, centreD / 2, s.z);
            EXPECT_NEAR(laid.distance, D / cosBb / 2, kOnDrawing);
            const double contact = 2 * std::hypot(laid.at.X, laid.at.Y);
            EXPECT_NEAR(contact, *s.rollerContact, 0.01);
            // Near the middle of the drawn involute: within a third of its depth.
            EXPECT_LT(std::fabs(*s.rollerContact - (s.involute.from + s.involute.to) / 2),
                      std::fabs(s.involute.to - s.involute.from) / 3);
        }
    }
}

TEST(RollerChoice, RefusedRollerNamesItsReason) {
    struct Row {
        const char* name;
        BuilderCall call;
        double roller;
        std::size_t wheel;
        RollerFault fault;
        const char* words;
    };
    const SplineStandard G = SplineStandard::Gost6033;
    const Row rows[] = {
        {"small: touches below the drawn involute", ExternalPair(20, 40, 2), 2.4, 0,
         RollerFault::OffInvolute, "вне эвольвенты на чертеже (от 37.7388 до 44.0000 мм)"},
        {"large: touches beyond the tip", ExternalPair(20, 40, 2), 8, 0, RollerFault::OffInvolute,
         "вне эвольвенты на чертеже"},
        {"on the involute, below the tips", ExternalPair(20, 40, 2), 3, 0,
         RollerFault::NotProtruding, "не выступает за вершины зубьев: M = 43.1382 мм"},
        {"ring: rollers that stay inside its tips", InternalPair(61, 20, 2), 2, 0,
         RollerFault::NotProtruding, "не заходит за вершины зубьев: dM − D = "},
        {"no position on both flanks", ExternalPair(20, 40, 2), 1, 0, RollerFault::NoPosition,
         "ролик D = 1 мм не ложится на оба профиля впадины"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SheetOptions options;
        options.rollerDiameter = row.roller;
        const Written written = Write(row.call, G, options, 20, 10);
        const WheelSheet& w = written.sheet.wheels.at(row.wheel);
        ASSERT_TRUE(w.rollerRefusal.has_value()) << w.M.value_or(0);
        EXPECT_EQ(w.rollerRefusal->fault, row.fault);
        EXPECT_FALSE(w.M.has_value());
        EXPECT_FALSE(w.MNominal.has_value());
        EXPECT_NE(DataSheetJson(written.sheet, "p.dxf").find("\"M\": null, \"M_nominal\": null"),
                  std::string::npos);
        const std::string text = DataSheetText(written.sheet);
        EXPECT_NE(text.find(row.words), std::string::npos) << text;
        EXPECT_NE(text.find("не определяется"), std::string::npos);
        // The reason names the diameter where a roller that was placed touches; one that fits
        // no space has neither contact nor measurement.
        EXPECT_EQ(w.rollerContact.has_value(), row.fault != RollerFault::NoPosition);
        if (w.rollerContact) {
            EXPECT_NE(text.find(FixedText(*w.rollerContact, 4)), std::string::npos) << text;
        }
    }
}

TEST(SpanChoice, RefusedSpanIsAbsentInTextTableAndJson) {
    // The same wheel with its span as measured and refused: a refused W is no number anywhere.
    struct Row {
        const char* name;
        bool refused;
    };
    const Row rows[] = {{"measured", false}, {"refused", true}};
    const Written written =
        Write(ExternalPair(20, 40, 2).Backlash(0.1), SplineStandard::Gost6033, {}, 20, 10);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DataSheet sheet = written.sheet;
        WheelSheet& w = sheet.wheels.at(0);
        ASSERT_TRUE(w.W.has_value());
        const std::string measured = FixedText(*w.W, 4);
        const std::string nominal = FixedText(*w.WNominal, 4);
        if (row.refused) {
            w.W.reset();
            w.WNominal.reset();
            w.spanRefusal = SpanRefusal{w.k, w.da};
            sheet.warnings.push_back({SheetWarningKind::SpanRefused, 0, -1});
        }
        const std::string text = DataSheetText(sheet);
        const std::string json = DataSheetJson(sheet, "p.dxf");
        const std::string table = ParameterTablesText(MakeParameterTables(sheet));
        EXPECT_EQ(text.find(measured) == std::string::npos, row.refused) << text;
        EXPECT_EQ(table.find(nominal) == std::string::npos, row.refused) << table;
        EXPECT_EQ(json.find("\"W\": null, \"W_nominal\": null") != std::string::npos, row.refused)
            << json;
        EXPECT_EQ(text.find("не определяется: ни при каком числе зубьев k") != std::string::npos,
                  row.refused)
            << text;
    }
}

TEST(RollerChoice, GaugeSeriesSteps) {
    struct Row {
        const char* name;
        double low, high;
        std::vector<double> sizes;
    };
    const Row rows[] = {
        {"fine sizes", 0.18, 0.32, {0.2, 0.25, 0.3}},
        {"across 1 mm", 0.92, 1.21, {0.95, 1, 1.1, 1.2}},
        {"across 2 mm", 1.85, 2.5, {1.9, 2, 2.25, 2.5}},
        {"across 10 and 30 mm", 9.6, 10.6, {9.75, 10, 10.5}},
        {"large", 29.2, 32, {29.5, 30, 31, 32}},
        {"empty window", 2.3, 2.4, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GaugeSizes(row.low, row.high), row.sizes);
    }
}

TEST(SpanChoice, JawsOnTheDrawnInvolute) {
    // Undercut z 11 and 12: the usual k of 1 touches below the involute, k 2 on it; the
    // pinion of an internal pair with its tip cut back by the ring: the usual 4 touches above
    // the drawn tip.
    struct Row {
        const char* name;
        BuilderCall call;
        std::size_t wheel;
        int k;
        int usual;
    };
    const Row rows[] = {
        {"undercut z 11, x -0.2", ExternalPair(11, 40, 2).Shifts(-0.2, 0), 0, 2, 1},
        {"undercut z 12, x -0.3, helical", ExternalPair(12, 40, 2).Helix(10).Shifts(-0.3, 0), 0, 2,
         1},
        {"z 20 keeps its usual k", ExternalPair(20, 40, 2), 0, 3, 3},
        {"internal pinion 54 in 67 with a limited tip",
         InternalPair(54, 67, 2).Helix(25).Shifts(0.56, 1.49), 0, 8, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Written written = Write(row.call, SplineStandard::Gost6033, {}, 20, 10);
        const WheelSheet& w = written.sheet.wheels.at(row.wheel);
        ASSERT_TRUE(w.hasSpan);
        EXPECT_FALSE(w.spanRefusal.has_value());
        EXPECT_EQ(w.k, row.k);
        ToothData t;  // the wheel as the sheet has it, on the 20-degree rack
        t.z = w.z;
        t.mn = w.mn;
        t.alphaN = 20 * kPi / 180;
        t.beta = row.call.beta * kPi / 180;
        t.x = w.x;
        t.thinning = w.thinning;
        EXPECT_EQ(SpanTeeth(t), row.usual);
        // Where the usual k lies when it is not taken: off the drawn involute.
        const double usualContact = SpanContactDiameter(t, BaseTangentLength(t, row.usual));
        EXPECT_EQ(usualContact >= w.involute.from - 1e-6 && usualContact <= w.involute.to + 1e-6,
                  row.usual == row.k);
        EXPECT_GE(w.spanContact, std::min(w.involute.from, w.involute.to) - 1e-6);
        EXPECT_LE(w.spanContact, std::max(w.involute.from, w.involute.to) + 1e-6);
    }
}

using testing::CliRun;
using testing::RunCli;

TEST(ParameterTable, WordForWord) {
    struct Row {
        const char* name;
        const char* line;
        const char* table;
    };
    const Row rows[] = {
        {"the default pair (wheel 2's table as wheel 1's)",
         "pair --mesh external --module 2 --z1 20 --z2 40",
         "Таблица параметров: Колесо 1\n"
         "Модуль                              m   2\n"
         "Число зубьев                        z   20\n"
         "Угол наклона зуба                   β   0°\n"
         "Направление линии зуба                  —\n"
         "Нормальный исходный контур              ГОСТ 13755-81\n"
         "Коэффициент смещения                x   0\n"
         "Степень точности\n"
         "Число зубьев в длине общей нормали  k   3\n"
         "Длина общей нормали                 W   15.3209\n"
         "Диаметр ролика                      D   4\n"
         "Размер по роликам                   M   46.5519\n"
         "Делительный диаметр                 d   40.0000\n"
         "Число зубьев сопряжённого колеса    z   40\n"
         "Межосевое расстояние                aw  60.0000\n"
         "Таблица параметров: Колесо 2\n"},
        {"a helical internal pair, left hand, with backlash",
         "pair --mesh internal --module 2.5 --z1 24 --z2 71 --helix 12.5 --x1 0.2 --x2 0.4 "
         "--backlash 0.05 --hand left --accuracy 7-B",
         "Таблица параметров: Колесо 1\n"
         "Модуль                              m   2.5\n"
         "Число зубьев                        z   24\n"
         "Угол наклона зуба                   β   12°30'\n"
         "Направление линии зуба                  Левое\n"
         "Нормальный исходный контур              ГОСТ 13755-81\n"
         "Коэффициент смещения                x   0.2\n"
         "Степень точности                        7-B\n"
         "Число зубьев в длине общей нормали  k   4\n"
         "Длина общей нормали                 W   27.0730\n"
         "Длина общей нормали (с зазором)     W   27.0603\n"
         "Диаметр шарика                      D   4.75\n"
         "Размер по шарикам                   M   69.6982\n"
         "Размер по шарикам (с зазором)       M   69.6701\n"
         "Делительный диаметр                 d   61.4568\n"
         "Число зубьев сопряжённого колеса    z   71\n"
         "Межосевое расстояние                aw  60.6627\n"
         "Таблица параметров: Колесо 2\n"
         "Модуль                              m   2.5\n"
         "Число зубьев                        z   71\n"
         "Угол наклона зуба                   β   12°30'\n"
         "Направление линии зуба                  Левое\n"
         "Нормальный исходный контур              ГОСТ 13755-81\n"
         "Коэффициент смещения                x   0.4\n"
         "Степень точности                        7-B\n"
         "Диаметр шарика                      D   4.25\n"
         "Размер между шариками               M   177.8756\n"
         "Размер между шариками (с зазором)   M   177.9840\n"
         "Делительный диаметр                 d   181.8096\n"
         "Число зубьев сопряжённого колеса    z   24\n"
         "Межосевое расстояние                aw  60.6627\n"},
        {"a GOST hub", "spline --standard gost --part hub --module 2 --teeth 20 --shift 0.3",
         "Таблица параметров: Втулка\n"
         "Модуль                      m   2\n"
         "Число зубьев                z   20\n"
         "Угол профиля                α   30°\n"
         "Номинальный диаметр         D   42.8\n"
         "Смещение исходного контура  xm  0.3\n"
         "Ширина впадины              e   3.4880\n"
         "Степень точности\n"
         "Диаметр ролика              D   3.5\n"
         "Размер между роликами       M   35.5020\n"
         "Делительный диаметр         d   40.0000\n"
         "Обозначение                     42.8 × 2 ГОСТ 6033-80\n"},
    };
    const testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliRun run = RunCli(std::string(row.line) + " --report -o " + folder.File("t.dxf"));
        ASSERT_EQ(run.status, 0) << run.err;
        const std::size_t from = run.out.find("Таблица параметров");
        const std::size_t to = run.out.find("Предупреждения");
        ASSERT_NE(from, std::string::npos);
        const std::string tables = run.out.substr(from, to == std::string::npos ? to : to - from);
        EXPECT_EQ(tables.substr(0, std::strlen(row.table)), row.table);
    }
}

TEST(ParameterTable, GostNominalDiameterIsTheDrawnHubRoot) {
    // D = m (z + 1.1) + 2 x m: the hub's root d + 2 (0.45 + 0.1 + x) m as drawn, the shaft's
    // tip 0.2 m below it. Sizes 20 x 1 and 50 x 2 with the shifts that give whole diameters.
    struct Row {
        const char* name;
        int z;
        double m, xm, D;
    };
    const Row rows[] = {
        {"20 x 1, z 18, shift +0.45", 18, 1, 0.45, 20},
        {"50 x 2, z 24, shift -0.1", 24, 2, -0.1, 50},
        {"100 x 5, z 18, shift +2.25", 18, 5, 2.25, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(GostSplineNominalDiameter(row.z, row.m, row.xm / row.m), row.D, 1e-12);
        const Written hub =
            Write(Spline(row.z, row.m, row.xm, true), SplineStandard::Gost6033, {}, 10, 5);
        EXPECT_NEAR(hub.sheet.wheels.at(0).df, row.D, 1e-9 * row.D);
        const Written shaft =
            Write(Spline(row.z, row.m, row.xm, false), SplineStandard::Gost6033, {}, 10, 5);
        EXPECT_NEAR(shaft.sheet.wheels.at(0).da, row.D - 0.2 * row.m, 1e-9 * row.D);
    }
}

// (An internal pair sharing the hand chosen: the ParameterTable suite.)
TEST(ToothHand, RecordedInTheSheetNotInTheDrawing) {
    struct Row {
        const char* name;
        const char* line;
        const char* hands;
    };
    const Row rows[] = {
        {"external, right by default", "pair --mesh external --z1 20 --z2 40 --helix 15",
         "right left"},
        {"external, left chosen", "pair --mesh external --z1 20 --z2 40 --helix 15 --hand left",
         "left right"},
        {"external, negative helix", "pair --mesh external --z1 20 --z2 40 --helix -15",
         "left right"},
        {"internal, ring first", "pair --mesh internal --z1 61 --z2 20 --helix 15", "right right"},
        {"spur has none", "pair --mesh external --z1 20 --z2 40 --hand left", "null null"},
    };
    const testing::TempFolder folder;
    const std::string plain = folder.File("plain.dxf");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string line = std::string(row.line) + " --module 2";
        const CliRun run = RunCli(line + " --report=json -o " + folder.File("hand.dxf"));
        ASSERT_EQ(run.status, 0) << run.err;
        std::string hands;
        // Each wheel's hand, after the echoed input (which gives the hand in effect).
        const std::size_t wheels = run.out.find("\"wheels\"");
        ASSERT_NE(wheels, std::string::npos);
        for (std::size_t at = run.out.find("\"hand\": ", wheels); at != std::string::npos;
             at = run.out.find("\"hand\": ", at + 1)) {
            const std::size_t from = at + 8;
            std::string word = run.out.substr(from, run.out.find(',', from) - from);
            word.erase(std::remove(word.begin(), word.end(), '"'), word.end());
            hands += (hands.empty() ? "" : " ") + word;
        }
        EXPECT_EQ(hands, row.hands);
        // The same drawing without the hand: byte for byte.
        std::string bare = line;
        bare = bare.substr(0, bare.find(" --hand")) +
               (bare.find(" --hand") == std::string::npos ? "" : " --module 2");
        ASSERT_EQ(RunCli(bare + " -o " + plain).status, 0);
        EXPECT_EQ(testing::ReadFile(folder.File("hand.dxf")), testing::ReadFile(plain));
    }
}

// The signs of the tables' own texts, Cyrillic and \U+ escapes, are read back by ezdxf
// (cli_table_readback.py); here the signs and bytes they do not hold.
TEST(DxfTable, TextBytesInWindows1251) {
    struct Row {
        const char* name;
        std::string utf8;
        std::string bytes;
    };
    const Row rows[] = {
        {"degree, numero, dash", "12°30' № —",
         "12\xB0"
         "30' \xB9 \x97"},
        {"control characters become spaces", "a\tb\nc", "a b c"},
        {"bytes that are not UTF-8",
         "a\xFF"
         "b\xD0",
         "a?b?"},
        {"overlong form refused", "\xC0\xAF", "??"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DxfTextBytes(row.utf8), row.bytes);
    }
}

}  // namespace
}  // namespace tarvo
