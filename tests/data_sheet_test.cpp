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

// What the rows read off a sheet: a value of wheel i, its span W (0: none) and the teeth it
// spans (0: internal teeth), and the mesh.
struct Read {
    template <int i, double WheelSheet::*field>
    static double Of(const DataSheet& s) {
        return s.wheels.at(i).*field;
    }
    template <int i>
    static double W(const DataSheet& s) {
        return s.wheels.at(i).W.value_or(0);
    }
    template <int i>
    static double K(const DataSheet& s) {
        return s.wheels.at(i).k;
    }
    static double Aw(const DataSheet& s) { return s.mesh.aw; }
    static double AlphaTw(const DataSheet& s) { return s.mesh.alphaTw; }
    static double Eps(const DataSheet& s) { return s.mesh.epsAlpha; }
};

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
    using R = Read;
    struct Row {
        const char* name;
        BuilderCall call;
        std::vector<std::pair<double (*)(const DataSheet&), double>> values;
    };
    // What a row reads off the sheet and the value worked by hand.
    const auto hand = [](double (*read)(const DataSheet&), double value) {
        return std::pair{read, value};
    };
    const Row rows[] = {
        {"external m 2, 20 / 40, jn 0.1",
         ExternalPair(20, 40, 2).Backlash(0.1),
         {hand(R::K<0>, 3), hand(R::Of<0, &WS::da>, 44), hand(R::W<0>, 15.28755), hand(R::K<1>, 5),
          hand(R::Of<1, &WS::da>, 84), hand(R::W<1>, 27.62296),
          hand(R::Of<0, &WS::tipThickness>, 1.35074), hand(R::Aw, 60), hand(R::AlphaTw, 20),
          hand(R::Eps, 1.63519)}},
        {"internal m 2, 60 around 20",
         InternalPair(60, 20, 2),
         {hand(R::K<0>, 0), hand(R::Of<0, &WS::da>, 117.589), hand(R::W<0>, 0), hand(R::K<1>, 3),
          hand(R::Of<1, &WS::da>, 43.445), hand(R::W<1>, 15.32088),
          hand(R::Of<0, &WS::formDiameter>, 123.67495), hand(R::Of<0, &WS::activeStart>, 123.00819),
          hand(R::Of<1, &WS::lineOfAction>, 2.98992), hand(R::Aw, 40), hand(R::AlphaTw, 20),
          hand(R::Eps, 1.33854)}},
        {"helical mn 3, beta 15°, 17 / 53, jn 0.1",
         ExternalPair(17, 53, 3).Helix(15).Backlash(0.1),
         {hand(R::K<0>, 3), hand(R::Of<0, &WS::da>, 58.799085), hand(R::Of<0, &WS::db>, 49.407865),
          hand(R::W<0>, 22.90522), hand(R::K<1>, 7), hand(R::Of<1, &WS::da>, 170.608913),
          hand(R::W<1>, 59.94917), hand(R::Of<0, &WS::xMin>, -0.09011),
          hand(R::Of<0, &WS::dfRack>, 45.29909), hand(R::Aw, 108.703999),
          hand(R::AlphaTw, 20.646896), hand(R::Eps, 1.56442)}},
        {"external shifted 20 / 40",
         ExternalPair(20, 40, 2).Shifts(0.5, 0.3),
         {hand(R::Of<0, &WS::da>, 45.74746), hand(R::W<0>, 16.00492),
          hand(R::Of<1, &WS::da>, 84.94746), hand(R::W<1>, 28.10005), hand(R::Aw, 61.47373),
          hand(R::AlphaTw, 23.48491), hand(R::Eps, 1.40897)}},
        {"GOST shaft m 2, z 20",
         SplineMember(20, 2, false),
         {hand(R::K<0>, 4), hand(R::Of<0, &WS::da>, 41.8), hand(R::Of<0, &WS::db>, 34.641016),
          hand(R::W<0>, 20.90690)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call);
        const bool pair = row.call.kind != Kind::Spline;
        ASSERT_EQ(sheet.wheels.size(), pair ? 2u : 1u);
        EXPECT_EQ(sheet.pair, pair);
        for (const WheelSheet& w : sheet.wheels) {
            EXPECT_EQ(w.internalTeeth, w.k == 0);
            EXPECT_EQ(w.W.has_value(), w.k != 0);
        }
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            EXPECT_NEAR(row.values[i].first(sheet), row.values[i].second, 5e-5) << "value " << i;
        }
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
    BasicRack deepTips = Rack("20");
    deepTips.h = 1.2;
    deepTips.hf = 1;
    deepTips.c = 0.1;
    deepTips.ro = 0.3;
    const auto fine = [](const BuilderCall& call, const BasicRack& rack = Rack("20")) {
        return Sheet(call, rack, 100, 50);
    };
    const DataSheet undercut = fine(ExternalPair(13, 11, 2).Shifts(0, 0.6));
    const DataSheet jam = fine(ExternalPair(12, 20, 2).Shifts(0, -0.5));
    const std::string lowRatio = " меньше 1,100: зацепление не обеспечит плавной работы.";
    // A warning: its kind, the wheel it names (-1: the pair) and, if given, its sentence.
    using Warned = std::tuple<SheetWarningKind, int, std::string>;
    struct Row {
        const char* name;
        DataSheet sheet;
        std::vector<Warned> warnings;
    };
    const Row rows[] = {
        {"textbook pair: nothing", fine(ExternalPair(20, 40, 2)), {}},
        {"internal 20 in 60: nothing", fine(InternalPair(20, 60, 2)), {}},
        // eps 1.099649 is shown as 1.100, and 1.100 is not below 1.1; 1.099453 shows as 1.099.
        {"contact ratio that shows as 1.100: nothing",
         fine(ExternalPair(20, 40, 2).Shifts(1.0456, 1.0456)),
         {}},
        {"contact ratio that shows as 1.099",
         fine(ExternalPair(20, 40, 2).Shifts(1.046, 1.046)),
         {{K::LowContactRatio, -1, "Коэффициент торцового перекрытия εα = 1,099" + lowRatio}}},
        {"z 12, x 0.8: pointed",
         fine(ExternalPair(12, 30, 2).Shifts(0.8, 0)),
         {{K::PointedTooth, 0,
           "Заострение зуба колеса 1: толщина на окружности вершин 0,3511 мм меньше 0,25·m = "
           "0,5000 мм."}}},
        {"z 13 and 11, x2 0.6: wheel 1 undercut, wheel 2 clear",
         undercut,
         {{K::Undercut, 0,
           "Подрезание ножки зуба колеса 1 исходной рейкой: x = 0 меньше xmin = 0,2396."}}},
        // The jam sentence names no diameter.
        {"z 12 and 20, x2 -0.5: both undercut, both tips past the base tangent points",
         jam,
         {{K::Undercut, 0, ""},
          {K::Undercut, 1, ""},
          {K::Jam, 0, ""},
          {K::Jam, 1,
           "Вершина зуба колеса 2 выходит за точку касания линии зацепления с основной "
           "окружностью колеса 1: зубья заклинит."},
          {K::Overlap, -1, ""}}},
        {"tips deeper than the rack generates: interference on both",
         fine(ExternalPair(20, 40, 2), deepTips),
         {{K::Interference, 0, ""},
          {K::Interference, 1,
           "Интерференция: вершина зуба колеса 2 заходит на колесо 1 ниже начала эвольвенты: до "
           "диаметра 37,6309 мм, эвольвента начинается на диаметре 37,7174 мм."},
          {K::Overlap, -1, ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet& sheet = row.sheet;
        std::vector<std::pair<SheetWarningKind, int>> warnings, want;
        for (const SheetWarning& w : sheet.warnings)
            warnings.push_back({w.kind, w.wheel});
        for (const auto& [kind, wheel, sentence] : row.warnings)
            want.push_back({kind, wheel});
        EXPECT_EQ(warnings, want);
        const std::vector<std::string> lines = WarningLines(sheet, ',');
        ASSERT_EQ(lines.size(), want.size());
        for (const auto& [kind, wheel, sentence] : row.warnings) {
            EXPECT_TRUE(sentence.empty() ||
                        std::find(lines.begin(), lines.end(), sentence) != lines.end())
                << sentence;
        }
        // The JSON lists the same warnings in the same order.
        const std::string json = DataSheetJson(sheet, "p.dxf");
        std::size_t at = json.find("\"warnings\": [");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(json.compare(at, 14, "\"warnings\": []") == 0, want.empty());
        for (const auto& [kind, wheel] : want) {
            const std::string entry = "{\"kind\": \"" + kJsonWarning.at(kind) + "\"";
            at = json.find(entry, at);
            ASSERT_NE(at, std::string::npos) << entry;
            ++at;
        }
        // The plain text has a warnings part only with warnings, and says "нет" for no overlap.
        const std::string text = DataSheetText(sheet);
        EXPECT_EQ(text.find("Предупреждения") == std::string::npos, want.empty());
        EXPECT_EQ(ValueInText(text, "Перекрытие контуров, мм") == "нет",
                  std::find(want.begin(), want.end(), std::pair{K::Overlap, -1}) == want.end());
    }
    // JSON gives the jam's reach as null; wheel 2 of the undercut pair is judged against the
    // form diameter the rack generates.
    EXPECT_NE(DataSheetJson(jam, "p.dxf").find("\"jam\": true, \"active_profile_start\": null"),
              std::string::npos);
    EXPECT_NEAR(undercut.wheels.at(1).formDiameter, 20.86832, 5e-5);
    EXPECT_NEAR(undercut.wheels.at(1).activeStart, 21.25018, 5e-5);
}

// (A drawing that cannot be read at all: the window's Preview suite.)
TEST(DataSheet, DrawingOfTheWrongShapeIsRefused) {
    const DxfDrawing one{{{"LAYER1VIEW0", {{0, 0}, {1, 0}, {1, 1}, {0, 0}}}},
                         {{"LAYER0VIEW0", {0, -1}, {0, 1}}}};
    const DataSheetResult sheet = MakeDataSheet(MainMod{}, ExternalPair(20, 40, 2), one);
    ASSERT_FALSE(sheet.ok());
    EXPECT_EQ(sheet.fault(), "в чертеже 1 контур(а) и 1 центр(а), ожидалось по 2");
    EXPECT_EQ(DataSheetText(sheet), "Данные для чертежа не получены: " + sheet.fault() + "\n");
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
    // -> 18.556126°, M = 118.94688 - 3.3 = 115.64688. Helical mn 3, beta 15°, z 17 with 5.25:
    // inv alpha_Mt = inv 20.646896° + 5.25 / (51 cos 20°) - pi / 17 = 0.0336013 -> 25.916435°,
    // M = 54.93227 cos(pi / 34) + 5.25 = 59.94794. The hob's roots of m 3, z 12, x 0.6 and z 30:
    // 36 - 6 * 0.65 = 32.1, 90 - 6 * 1.25 = 82.5; x_min of z 12 = 0.99997 - 12 * 0.1169778 / 2 =
    // 0.29810. The table's numbers have the separator given, its rollers the size asked for.
    const auto tableOf = [](const BuilderCall& call, char separator, double roller) {
        SheetOptions options;
        options.rollerDiameter = roller;
        return MakeSheetTable(Sheet(call, Rack("20"), 6, 3, options), separator);
    };
    struct Row {
        const char* name;
        SheetTable table;
        std::vector<std::pair<std::string, Cells>> cells;  // no cells: the label is not shown
    };
    const BuilderCall hob = ExternalPair(12, 30, 3).Shifts(0.6, 0);
    const SheetTable ring = tableOf(InternalPair(20, 60, 2), '.', 3.3);
    const Row rows[] = {
        {"m 3, z 12, x 0.6: the drawn fillet runs 1.5 mm below the hob's root",
         tableOf(hob, '.', 0),
         {{"Диаметр впадин df при нарезании рейкой, мм", {"32.1000", "82.5000"}},
          {"Диаметр впадин df, мм", {}}}},
        {"jn 0.1 on 20 / 40: W of the thinned teeth, labelled so",
         tableOf(ExternalPair(20, 40, 2).Backlash(0.1), '.', 3.5),
         {{"Длина общей нормали W (с боковым зазором), мм", {"15.2875", "27.6230"}},
          {"Размер по роликам M (с боковым зазором), мм",
           {"44.8497 (D = 3.5)", "84.8282 (D = 3.5)"}},
          {"Длина общей нормали W, мм", {}}}},
        {"ring: one module row, between rollers, the pinion over them, no span nor backlash",
         ring,
         {{"Модуль m, мм", {"2", "2"}},
          {"Длина общей нормали W, мм", {"15.3209", "—"}},
          {"Размер между роликами M, мм", {"—", "115.6469 (D = 3.3)"}},
          {"Размер по роликам M, мм", {"44.2398 (D = 3.3)", "—"}},
          {"Межосевое расстояние aw, мм", {"40.0000"}},
          {"Модуль торцовый mt, мм", {}},
          {"Размер по роликам M (с боковым зазором), мм", {}}}},
        {"helical: both modules, over balls, decimal commas",
         tableOf(ExternalPair(17, 53, 3).Helix(15), ',', 5.25),
         {{"Модуль нормальный mn, мм", {"3", "3"}},
          {"Модуль торцовый mt, мм", {"3,1058", "3,1058"}},
          {"Размер по шарикам M, мм", {"59,9479 (D = 5,25)", "172,0806 (D = 5,25)"}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& [label, cells] : row.cells) {
            EXPECT_EQ(CellsOf(row.table, label), cells) << label;
        }
    }
    EXPECT_EQ(ring.headings, Cells({"Колесо 1", "Колесо 2 (внутр.)"}));
    const std::string json = DataSheetJson(Sheet(hob), "p.dxf");
    EXPECT_NE(json.find("\"df_rack\": 32.1, \"x_min\": 0.298100984,"), std::string::npos);
    EXPECT_NE(json.find("\"rollers\": {\"D\": "), std::string::npos);
    // No minus zero; negative numbers in both forms.
    EXPECT_EQ(FixedText(-0.00001, 4) + " " + ShortText(-0.00001, 4), "0.0000 0");
    EXPECT_EQ(FixedText(-0.5, 2, ',') + " " + ShortText(-0.5, 2, ','), "-0,50 -0,5");
}

}  // namespace
}  // namespace tarvo
