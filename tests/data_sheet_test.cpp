// The data sheet of drawings written and read back: hand-worked values for pairs and splines,
// what triggers each warning, the sheet in words. (Its span and rollers laid on the outline read
// back: the DrawnMeasurement suite.)
// cos 20° = 0.9396926, sin 20° = 0.3420201, tan 20° = 0.3639702, inv 20° = 0.0149044.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "drawing/dxf_reader.h"
#include "math/constants.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "report/sheet_text.h"
#include "written_sheet.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;

using Kind = BuilderCall::Kind;

const BasicRack& Rack(const char* key) {
    return FindRackRow(key)->rack;
}

// The sheet of `call` drawn as the window would (a spline on its GOST rack).
DataSheet Sheet(const BuilderCall& call, const BasicRack& rack = Rack("20"), int involute = 6,
                int fillet = 3, const SheetOptions& options = {}) {
    MainMod state = call.kind == Kind::Spline
                        ? testing::SplineState(SplineStandard::Gost6033, call.m, involute, fillet)
                        : testing::Rack20State(involute, fillet);
    if (call.kind != Kind::Spline)
        StoreRack(state, rack);
    return testing::WriteAndReadBack(state, call, options).sheet;
}

TEST(DataSheet, PairsAndSplines) {
    // 20 / 40, jn 0.1: W = 2 cos 20° (2.5 pi + 20 inv 20°) = 15.32088 (the tables' 7.6604 for
    // m 1, doubled) and 27.68963 for z 40, less jt = 0.1 / cos 20° shared 20 : 40 times cos 20°:
    // 15.28755, 27.62296; tip 44 ((pi - 0.035473) / 40 + inv 20° - inv 31.32126°) = 1.35074.
    // 60 around 20: the ring cut by the z 20 cutter (a0 40) whose involute ends at 44.29318,
    // ga0 11.71591: dFf = 2 sqrt(56.38156^2 + (13.68081 + 11.71591)^2) = 123.67495; the pinion's
    // tip (43.445) reaches 2 sqrt(56.38156^2 + (13.68081 + 10.89303)^2) = 123.00819, short of
    // it; on the pinion L = ga_ring - aw sin 20° = 16.67073 - 13.68081 = 2.98992.
    // Helical mn 3, beta 15°, jn 0.1: alpha_t 20.646896° (sin 0.352658), beta_b 14.076086°,
    // jt = 0.1 / (cos alpha_t cos beta_b) = 0.110172 shared 17 : 53, times cos 15° cos 20°:
    // W = 3 cos 20° (2.5 pi + 17 inv alpha_t) - 0.02429 = 22.92950 - 0.02429 = 22.90522 and
    // 60.02488 - 0.07571 = 59.94917; x_min = ((1.25 - 0.38 * 0.647342) cos 15° - 17 * 0.124368
    // / 2) / cos 15° = -0.09011; the hob's root 52.79909 - 6 * 1.25 = 45.29909.
    // 20 / 40, x 0.5 / 0.3: inv alpha_tw = 2 * 0.8 tan 20° / 60 + inv 20° = 0.0246103 ->
    // 23.48491°, aw = 60 cos 20° / cos 23.48491° = 61.47373, tips shortened by (0.8 - 0.736865) m;
    // ga1 13.03835, ga2 19.77833, aw sin alpha_tw 24.49775, pbt 5.90426: eps = 1.40897;
    // W = 15.32088 + 2 * 0.5 * 2 sin 20° = 16.00492, 27.68963 + 0.41042 = 28.10005.
    // GOST spline: db 40 cos 30°, W = 2 cos 30° (3.5 pi + 20 inv 30°).
    using WS = WheelSheet;
    struct Wheel {
        WheelRole role;
        int z, k;
        double d, da, db, W;
    };  // k 0: internal teeth
    struct Row {
        const char* name;
        BuilderCall call;
        std::vector<Wheel> wheels;
        std::array<double, 3> mesh;  // aw, alpha_tw, eps_alpha of a pair
        std::vector<std::tuple<int, double WS::*, double>> more = {};  // wheel, value, hand value
    };
    const WheelRole W1 = WheelRole::Wheel1, W2 = WheelRole::Wheel2;
    const Row rows[] = {
        {"external m 2, 20 / 40, jn 0.1",
         ExternalPair(20, 40, 2).Backlash(0.1),
         {{W1, 20, 3, 40, 44, 37.587705, 15.28755}, {W2, 40, 5, 80, 84, 75.175410, 27.62296}},
         {60, 20, 1.63519},
         {{0, &WS::tipThickness, 1.35074}}},
        {"internal m 2, 60 around 20",
         InternalPair(60, 20, 2),
         {{W1, 60, 0, 120, 117.589, 112.763114, 0}, {W2, 20, 3, 40, 43.445, 37.587705, 15.32088}},
         {40, 20, 1.33854},
         {{0, &WS::formDiameter, 123.67495},
          {0, &WS::activeStart, 123.00819},
          {1, &WS::lineOfAction, 2.98992}}},
        {"helical mn 3, beta 15°, 17 / 53, jn 0.1",
         ExternalPair(17, 53, 3).Helix(15).Backlash(0.1),
         {{W1, 17, 3, 52.799085, 58.799085, 49.407865, 22.90522},
          {W2, 53, 7, 164.608913, 170.608913, 154.036286, 59.94917}},
         {108.703999, 20.646896, 1.56442},
         {{0, &WS::xMin, -0.09011}, {0, &WS::dfRack, 45.29909}}},
        {"external shifted 20 / 40",
         ExternalPair(20, 40, 2).Shifts(0.5, 0.3),
         {{W1, 20, 3, 40, 45.74746, 37.587705, 16.00492},
          {W2, 40, 5, 80, 84.94746, 75.175410, 28.10005}},
         {61.47373, 23.48491, 1.40897}},
        {"GOST shaft m 2, z 20",
         SplineMember(20, 2, false),
         {{WheelRole::Shaft, 20, 4, 40, 41.8, 34.641016, 20.90690}},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call);
        ASSERT_EQ(sheet.wheels.size(), row.wheels.size());
        for (std::size_t i = 0; i < row.wheels.size(); ++i) {
            const WheelSheet& w = sheet.wheels[i];
            const Wheel& want = row.wheels[i];
            EXPECT_EQ(std::make_tuple(w.role, w.z, w.k, w.internalTeeth),
                      std::make_tuple(want.role, want.z, want.k, want.k == 0));
            EXPECT_NEAR(w.d, want.d, 5e-6);
            EXPECT_NEAR(w.da, want.da, 5e-6);
            EXPECT_NEAR(w.db, want.db, 5e-6);
            ASSERT_EQ(w.W.has_value(), want.k != 0);
            if (w.W) {
                EXPECT_NEAR(*w.W, want.W, 5e-5);
            }
        }
        for (const auto& [i, field, value] : row.more) {
            EXPECT_NEAR(sheet.wheels[i].*field, value, 5e-5);
        }
        EXPECT_EQ(sheet.pair, row.call.kind != Kind::Spline);
        if (!sheet.pair)
            continue;
        EXPECT_NEAR(sheet.mesh.aw, row.mesh[0], 5e-6);
        EXPECT_NEAR(sheet.mesh.alphaTw, row.mesh[1], 5e-6);
        EXPECT_NEAR(sheet.mesh.epsAlpha, row.mesh[2], 5e-5);
    }
}

// What follows `label` on its line of the plain text, spaces trimmed.
std::string ValueInText(const std::string& text, const std::string& label) {
    const std::size_t at = text.find("\n" + label + " ");
    if (at == std::string::npos)
        return "";
    const std::size_t from = text.find_first_not_of(' ', at + 1 + label.size());
    return text.substr(from, text.find('\n', from) - from);
}

TEST(DataSheet, WarningTriggers) {
    // At the finest point counts the outlines follow the exact curves, so only the designs
    // trigger warnings; at the default counts the fillet chords overlap the mate's tips.
    // 13 / 11, x2 0.6: interference is judged against the form diameter the rack generates,
    // 22 sin 20° - 2 * 2 (0.99997 - 0.6) / sin 20° = 2.84673, dFf = sqrt(20.67324^2 +
    // 2.84673^2) = 20.86832, not against the drawn junction. Wheel 1's tip reaches it: inv
    // alpha_w = 1.2 tan 20° / 24 + inv 20° -> 25.79484°, aw = 25.04851, da1 = 26 + 4 (1 -
    // 0.07575) = 29.69701, ga1 = 8.44082, L = 10.89986 - 8.44082 = 2.45904: dNf = sqrt(20.67324^2
    // + 4 * 2.45904^2) = 21.25018, clear of dFf by 0.38 mm.
    using K = SheetWarningKind;
    // The names the JSON gives the warnings these rows raise.
    const std::map<K, std::string> kJsonWarning = {{K::LowContactRatio, "low-contact-ratio"},
                                                   {K::PointedTooth, "pointed-tooth"},
                                                   {K::Interference, "interference"},
                                                   {K::Overlap, "overlap"},
                                                   {K::Undercut, "undercut"},
                                                   {K::Jam, "jam"}};
    // Tips of 1.2 modules on a rack that generates only 1.1 - 0.3 (1 - sin 20°) = 0.90 deep.
    const BasicRack deepTips{20, 1.2, 1, 0.1, 0.3};
    const BasicRack& rack20 = Rack("20");
    const std::string lowRatio = " меньше 1,100: зацепление не обеспечит плавной работы.";
    struct Row {
        const char* name;
        BuilderCall call;
        BasicRack rack;
        int points;  // on the involute; half as many on the fillet
        std::vector<std::pair<SheetWarningKind, int>> warnings;  // and the wheel warned of
        std::string line = {}, json = {};  // a sentence among the warnings, a part of the JSON
        std::vector<std::tuple<int, double WheelSheet::*, double>> more = {};  // hand values
    };
    const Row rows[] = {
        {"textbook pair: nothing", ExternalPair(20, 40, 2), rack20, 100, {}},
        {"internal 20 in 60: nothing", InternalPair(20, 60, 2), rack20, 100, {}},
        // eps 1.099649 is shown as 1.100, and 1.100 is not below 1.1; 1.099453 shows as 1.099.
        {"contact ratio that shows as 1.100: nothing",
         ExternalPair(20, 40, 2).Shifts(1.0456, 1.0456),
         rack20,
         100,
         {}},
        {"contact ratio that shows as 1.099",
         ExternalPair(20, 40, 2).Shifts(1.046, 1.046),
         rack20,
         100,
         {{K::LowContactRatio, -1}},
         "Коэффициент торцового перекрытия εα = 1,099" + lowRatio},
        {"z 12, x 0.8: pointed",
         ExternalPair(12, 30, 2).Shifts(0.8, 0),
         rack20,
         100,
         {{K::PointedTooth, 0}},
         "Заострение зуба колеса 1: толщина на окружности вершин 0,3511 мм меньше "
         "0,25·m = 0,5000 мм."},
        {"z 13 and 11, x2 0.6: wheel 1 undercut, wheel 2 clear",
         ExternalPair(13, 11, 2).Shifts(0, 0.6),
         rack20,
         100,
         {{K::Undercut, 0}},
         "Подрезание ножки зуба колеса 1 исходной рейкой: x = 0 меньше xmin = 0,2396.",
         {},
         {{1, &WheelSheet::formDiameter, 20.86832}, {1, &WheelSheet::activeStart, 21.25018}}},
        // The jam sentence names no diameter, and JSON gives the reach as null.
        {"z 12 and 20, x2 -0.5: both undercut, both tips past the base tangent points",
         ExternalPair(12, 20, 2).Shifts(0, -0.5),
         rack20,
         100,
         {{K::Undercut, 0}, {K::Undercut, 1}, {K::Jam, 0}, {K::Jam, 1}, {K::Overlap, -1}},
         "Вершина зуба колеса 2 выходит за точку касания линии зацепления с основной "
         "окружностью колеса 1: зубья заклинит.",
         "\"jam\": true, \"active_profile_start\": null"},
        {"tips deeper than the rack generates: interference on both",
         ExternalPair(20, 40, 2),
         deepTips,
         100,
         {{K::Interference, 0}, {K::Interference, 1}, {K::Overlap, -1}},
         "Интерференция: вершина зуба колеса 2 заходит на колесо 1 ниже начала эвольвенты: до "
         "диаметра 37,6309 мм, эвольвента начинается на диаметре 37,7174 мм."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call, row.rack, row.points, row.points / 2);
        std::vector<std::pair<SheetWarningKind, int>> warnings;
        for (const SheetWarning& w : sheet.warnings)
            warnings.push_back({w.kind, w.wheel});
        EXPECT_EQ(warnings, row.warnings);
        const std::vector<std::string> lines = WarningLines(sheet, ',');
        ASSERT_EQ(lines.size(), row.warnings.size());
        EXPECT_TRUE(row.line.empty() ||
                    std::find(lines.begin(), lines.end(), row.line) != lines.end())
            << (lines.empty() ? "" : lines[0]);
        // The JSON lists the same warnings in the same order, and holds the row's own part.
        const std::string json = DataSheetJson(sheet, "p.dxf");
        std::size_t at = json.find("\"warnings\": [");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(json.compare(at, 14, "\"warnings\": []") == 0, row.warnings.empty());
        for (const auto& [kind, wheel] : row.warnings) {
            const std::string entry = "{\"kind\": \"" + kJsonWarning.at(kind) + "\"";
            at = json.find(entry, at);
            ASSERT_NE(at, std::string::npos) << entry;
            ++at;
        }
        EXPECT_TRUE(row.json.empty() || json.find(row.json) != std::string::npos) << row.json;
        for (const auto& [i, field, value] : row.more) {
            EXPECT_NEAR(sheet.wheels[i].*field, value, 5e-5);
        }
        // The plain text has a warnings part only with warnings, and says "нет" for no overlap.
        const std::string text = DataSheetText(sheet);
        EXPECT_EQ(text.find("Предупреждения") == std::string::npos, row.warnings.empty());
        const auto& w = row.warnings;
        EXPECT_EQ(ValueInText(text, "Перекрытие контуров, мм") == "нет",
                  std::find(w.begin(), w.end(), std::pair{K::Overlap, -1}) == w.end());
    }
}

TEST(DataSheet, DrawingOfTheWrongShapeIsRefused) {
    const DxfDrawing one{{{"LAYER1VIEW0", {{0, 0}, {1, 0}, {1, 1}, {0, 0}}}},
                         {{"LAYER0VIEW0", {0, -1}, {0, 1}}}};
    const DataSheetResult sheet = MakeDataSheet(MainMod{}, ExternalPair(20, 40, 2), one);
    const DataSheetResult unread = DataSheetOfFile(MainMod{}, ExternalPair(20, 40, 2),
                                                   ::testing::TempDir() + "tarvo-no-such-file.dxf");
    ASSERT_FALSE(sheet.ok() || unread.ok());
    EXPECT_EQ(sheet.fault(), "в чертеже 1 контур(а) и 1 центр(а), ожидалось по 2");
    EXPECT_EQ(DataSheetText(sheet), "Данные для чертежа не получены: " + sheet.fault() + "\n");
    EXPECT_EQ(unread.fault().rfind("чертёж не прочитан: файл не открывается", 0), 0u);
}

using Cells = std::vector<std::string>;

Cells CellsOf(const SheetTable& table, const std::string& label) {
    for (const auto* rows : {&table.wheelRows, &table.pairRows}) {
        for (const SheetRow& row : *rows) {
            if (row.label == label)
                return row.cells;
        }
    }
    return {};
}

TEST(SheetText, TableRows) {
    // jn 0.1 on 20 / 40 widens wheel 1's space by 0.035473 / 40 and the 3.5 roller sinks: inv
    // alpha_M = 0.0294801 - 0.000886815 = 0.0285933 -> 24.629633°, M = 44.84967 (0.0294801
    // unthinned, in gear_formulas_test.cpp). Rollers asked for: ring z 60 with 3.3 (the one
    // touching on d is 3.31241): inv alpha_M = pi / 120 + inv 20° - 3.3 / 112.76311 = 0.0118194
    // -> 18.556126°, M = 118.94688 - 3.3 = 115.64688. GOST hub z 20 touches with 3.47708,
    // gauge 3.5: pi / 40 + inv 30° - 3.5 / 34.64102 = 0.0312550 -> 25.332129°, M = 38.32637 - 3.5
    // = 34.82637 (its default gauge size too). Helical mn 3, beta 15°, z 17 with 5.25: inv alpha_Mt
    // = inv 20.646896° + 5.25 / (51 cos 20°) - pi / 17 = 0.0336013 -> 25.916435°, M = 54.93227
    // cos(pi / 34) + 5.25 = 59.94794. The hob's roots of m 3, z 12, x 0.6 and z 30: 36 - 6 * 0.65
    // = 32.1, 90 - 6 * 1.25 = 82.5; x_min of z 12 = 0.99997 - 12 * 0.1169778 / 2 = 0.29810.
    struct Row {
        const char* name;
        BuilderCall call;
        char separator;
        std::vector<std::pair<std::string, Cells>> cells;
        Cells absent = {}, json = {}, headings = {};  // labels not shown, parts of the JSON
        double roller = 0;                            // the rollers asked for; 0 the sheet's own
    };
    const Row rows[] = {
        {"m 3, z 12, x 0.6: the drawn fillet runs 1.5 mm below the hob's root",
         ExternalPair(12, 30, 3).Shifts(0.6, 0),
         '.',
         {{"Диаметр впадин df при нарезании рейкой, мм", {"32.1000", "82.5000"}}},
         {"Диаметр впадин df, мм"},
         {"\"df_rack\": 32.1, \"x_min\": 0.298100984,", "\"rollers\": {\"D\": "}},
        {"jn 0.1 on 20 / 40: W of the thinned teeth, labelled so",
         ExternalPair(20, 40, 2).Backlash(0.1),
         '.',
         {{"Длина общей нормали W (с боковым зазором), мм", {"15.2875", "27.6230"}},
          {"Размер по роликам M (с боковым зазором), мм",
           {"44.8497 (D = 3.5)", "84.8282 (D = 3.5)"}}},
         {"Длина общей нормали W, мм"},
         {},
         {},
         3.5},
        {"ring: one module row, between rollers, the pinion over them, no span nor backlash",
         InternalPair(20, 60, 2),
         '.',
         {{"Модуль m, мм", {"2", "2"}},
          {"Длина общей нормали W, мм", {"15.3209", "—"}},
          {"Размер между роликами M, мм", {"—", "115.6469 (D = 3.3)"}},
          {"Размер по роликам M, мм", {"44.2398 (D = 3.3)", "—"}},
          {"Межосевое расстояние aw, мм", {"40.0000"}}},
         {"Модуль торцовый mt, мм", "Размер по роликам M (с боковым зазором), мм"},
         {},
         {"Колесо 1", "Колесо 2 (внутр.)"},
         3.3},
        {"GOST hub",
         SplineMember(20, 2, true),
         '.',
         {{"Размер между роликами M, мм", {"34.8264 (D = 3.5)"}}},
         {"Размер по роликам M, мм", "Длина общей нормали W, мм"}},
        {"helical: both modules, over balls, decimal commas",
         ExternalPair(17, 53, 3).Helix(15),
         ',',
         {{"Модуль нормальный mn, мм", {"3", "3"}},
          {"Модуль торцовый mt, мм", {"3,1058", "3,1058"}},
          {"Размер по шарикам M, мм", {"59,9479 (D = 5,25)", "172,0806 (D = 5,25)"}}},
         {},
         {},
         {},
         5.25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SheetOptions options;
        options.rollerDiameter = row.roller;
        const DataSheet sheet = Sheet(row.call, Rack("20"), 6, 3, options);
        const SheetTable table = MakeSheetTable(sheet, row.separator);
        for (const auto& [label, cells] : row.cells) {
            EXPECT_EQ(CellsOf(table, label), cells) << label;
        }
        for (const std::string& label : row.absent) {
            EXPECT_TRUE(CellsOf(table, label).empty()) << label;
        }
        for (const std::string& part : row.json) {
            EXPECT_NE(DataSheetJson(sheet, "p.dxf").find(part), std::string::npos) << part;
        }
        EXPECT_TRUE(row.headings.empty() || table.headings == row.headings);
    }
    // No minus zero; negative numbers in both forms.
    EXPECT_EQ(FixedText(-0.00001, 4) + " " + ShortText(-0.00001, 4), "0.0000 0");
    EXPECT_EQ(FixedText(-0.5, 2, ',') + " " + ShortText(-0.5, 2, ','), "-0,50 -0,5");
}

}  // namespace
}  // namespace tarvo
