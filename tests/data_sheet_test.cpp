// The data sheet of drawings written and read back: textbook values for pairs and splines,
// agreement with the builders, what triggers each warning, and the sheet in words.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "app/basic_rack.h"
#include "report/data_sheet.h"
#include "report/sheet_text.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "math/constants.h"
#include "test_files.h"

namespace tarvo {
namespace {

using Kind = BuilderCall::Kind;

BuilderCall Pair(bool internal, int z1, int z2, double m, double beta = 0, double x1 = 0,
                 double x2 = 0, double jn = 0) {
    return {internal ? Kind::InternalPair : Kind::ExternalPair, z1, z2, m, beta, 0, x1, x2, jn};
}

BuilderCall Spline(int z, double m, bool hub) {
    return {Kind::Spline, 0, 0, m, 0, 0, 0, 0, 0, z, 0, hub};
}

// The window's state for a drawing: a pair's rack row, or the GOST rack of a spline.
MainMod State(const BuilderCall& call, const char* rack, int involute, int fillet) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    state.SingleMember = call.kind == Kind::Spline;
    StoreRack(state, state.SingleMember ? SplineRack(SplineStandard::Gost6033, call.m)
                                        : FindRackRow(rack)->rack);
    return state;
}

// Writes the drawing `call` describes as the window would, reads it back and makes its sheet.
DataSheet Sheet(BuilderCall call, const char* rack = "20", int involute = 6, int fillet = 3) {
    MainMod state = State(call, rack, involute, fillet);
    call.alpha = state.Alfa;
    const testing::TempFolder folder;
    state.OutFile = folder.File("sheet.dxf");
    EXPECT_EQ(RunBuilder(state, call).status, DrawStatus::Written);
    const DataSheet sheet = DataSheetOfFile(state, call, state.OutFile);
    EXPECT_TRUE(sheet.ok) << sheet.reason;
    return sheet;
}

struct WheelRow {
    const char* name;
    int z, k;  // k 0: internal teeth, no span measurement
    double d, da, db, W;
};

TEST(DataSheet, PairsAndSplines) {
    // Hand values from gear_formulas_test.cpp (internal tips as drawn after the tip limits);
    // GOST spline: db 40 cos 30°, W = 2 cos 30° (3.5 pi + 20 inv 30°). Every pair's mesh also
    // agrees with its builder's, computed another way: a shift on the wrong wheel would show.
    struct Row {
        const char* name;
        BuilderCall call;
        const char* rack;
        std::vector<WheelRow> wheels = {};  // worked by hand, if at all
        double aw = 0, alphaTw = 0, epsAlpha = 0;
    };
    const Row rows[] = {
        {"external m 2, 20 / 40", Pair(false, 20, 40, 2), "20",
         {{"Колесо 1", 20, 3, 40, 44, 37.587705, 15.32088},
          {"Колесо 2", 40, 5, 80, 84, 75.175410, 27.68963}},
         60, 20, 1.63519},
        {"internal m 2, 60 around 20", Pair(true, 60, 20, 2), "20",
         {{"Колесо 1", 60, 0, 120, 117.589, 112.763114, 0},
          {"Колесо 2", 20, 3, 40, 43.445, 37.587705, 15.32088}},
         40, 20, 1.33854},
        {"helical mn 3, beta 15°, 17 / 53", Pair(false, 17, 53, 3, 15), "20",
         {{"Колесо 1", 17, 3, 52.799085, 58.799085, 49.407865, 22.92950},
          {"Колесо 2", 53, 7, 164.608913, 170.608913, 154.036286, 60.02488}},
         108.703999, 20.646896, 1.56442},
        {"GOST shaft m 2, z 20", Spline(20, 2, false), "",
         {{"Вал", 20, 4, 40, 41.8, 34.641016, 20.90690}}},
        {"GOST hub", Spline(20, 2, true), "", {{"Втулка", 20, 0, 40, 38.2, 34.641016, 0}}},
        {"external helical shifted, backlash", Pair(false, 17, 53, 3, 15, 0.3, -0.1, 0.1), "25"},
        {"internal helical shifted", Pair(true, 24, 71, 2.5, 12.5, 0.2, 0.4, 0.05), "20"},
        {"internal reversed shifted", Pair(true, 40, 20, 2, 0, 0.5, 0.2), "22.5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuilderCall& c = row.call;
        const DataSheet sheet = Sheet(c, row.rack);
        ASSERT_TRUE(row.wheels.empty() || sheet.wheels.size() == row.wheels.size());
        for (std::size_t i = 0; i < row.wheels.size(); ++i) {
            const WheelSheet& w = sheet.wheels[i];
            const WheelRow& want = row.wheels[i];
            EXPECT_EQ(std::make_tuple(w.name, w.z, w.k, w.internalTeeth),
                      std::make_tuple(want.name, want.z, want.k, want.k == 0));
            EXPECT_NEAR(w.d, want.d, 5e-6);
            EXPECT_NEAR(w.da, want.da, 5e-6);
            EXPECT_NEAR(w.db, want.db, 5e-6);
            EXPECT_NEAR(w.W, want.W, 5e-5);
        }
        EXPECT_EQ(sheet.pair, c.kind != Kind::Spline);
        if (c.kind == Kind::Spline) continue;
        if (!row.wheels.empty()) {
            EXPECT_NEAR(sheet.mesh.aw, row.aw, 5e-6);
            EXPECT_NEAR(sheet.mesh.alphaTw, row.alphaTw, 5e-6);
            EXPECT_NEAR(sheet.mesh.epsAlpha, row.epsAlpha, 5e-5);
        }
        MainMod s = State(c, row.rack, 6, 3);
        auto agrees = [&sheet](const auto& built) {
            EXPECT_NEAR(sheet.mesh.aw, built.aw, 1e-9);
            EXPECT_NEAR(sheet.mesh.alphaTw, built.alphaTw * 180 / kPi, 1e-9);
        };
        if (c.kind == Kind::InternalPair) {
            agrees(ComputeInternalPair(s, testing::InternalCall(c.Z1, c.Z2, c.m, c.beta, s.Alfa, c.x1, c.x2, c.jn)));
        } else {
            agrees(ComputeExternalPair(s, testing::ExternalCall(c.Z1, c.Z2, c.m, c.beta, s.Alfa, c.x1, c.x2, c.jn)));
        }
    }
}

TEST(DataSheet, WarningTriggers) {
    // At the finest point counts the outlines follow the exact curves, so only the designs
    // trigger warnings; at the default counts the fillet chords overlap the mate's tips.
    using K = SheetWarningKind;
    struct Row {
        const char* name;
        BuilderCall call;
        int points;  // on the involute; half as many on the fillet
        std::vector<std::pair<SheetWarningKind, int>> warnings;  // and the wheel warned of
        std::string first = {};  // the first warning's sentence, where it is checked
    };
    const Row rows[] = {
        {"textbook pair: nothing", Pair(false, 20, 40, 2), 100, {}},
        {"internal 20 in 60: nothing", Pair(true, 20, 60, 2), 100, {}},
        {"shifts 1.2 and 1.2 shorten the tips: contact ratio", Pair(false, 20, 40, 2, 0, 1.2, 1.2),
         100, {{K::LowContactRatio, -1}},
         "Коэффициент торцового перекрытия εα = 1,024 меньше 1,1: зацепление не обеспечит "
         "плавной работы."},
        {"z 12, x 0.8: pointed", Pair(false, 12, 30, 2, 0, 0.8), 100, {{K::PointedTooth, 0}},
         "Заострение зуба колеса 1: толщина на окружности вершин 0,3511 мм меньше "
         "0,25·m = 0,5000 мм."},
        {"z 14 against 40: the mate's tip passes the base tangent point",
         Pair(false, 14, 40, 2), 100, {{K::Interference, 0}, {K::Overlap, -1}},
         "Интерференция: вершина зуба колеса 2 заходит на колесо 1 за точку касания "
         "основной окружности."},
        {"default point counts: overlap", Pair(false, 20, 40, 2), 6, {{K::Overlap, -1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call, "20", row.points, row.points / 2);
        std::vector<std::pair<SheetWarningKind, int>> warnings;
        for (const SheetWarning& w : sheet.warnings) warnings.push_back({w.kind, w.wheel});
        EXPECT_EQ(warnings, row.warnings);
        const std::vector<std::string> lines = WarningLines(sheet, ',');
        ASSERT_EQ(lines.size(), row.warnings.size());
        EXPECT_TRUE(row.first.empty() || lines[0] == row.first) << lines[0];
    }
}

TEST(DataSheet, DrawingOfTheWrongShapeIsRefused) {
    const DxfDrawing one{{{"LAYER1VIEW0", {{0, 0}, {1, 0}, {1, 1}, {0, 0}}}},
                         {{"LAYER0VIEW0", {0, -1}, {0, 1}}}};
    const DataSheet sheet = MakeDataSheet(MainMod{}, Pair(false, 20, 40, 2), one);
    EXPECT_EQ(sheet.reason, "в чертеже 1 контур(а) и 1 центр(а), ожидалось по 2");
    EXPECT_EQ(DataSheetText(sheet), "Данные для чертежа не получены: " + sheet.reason + "\n");
    const DataSheet unread = DataSheetOfFile(MainMod{}, Pair(false, 20, 40, 2),
                                             ::testing::TempDir() + "tarvo-no-such-file.dxf");
    EXPECT_FALSE(sheet.ok || unread.ok);
    EXPECT_EQ(unread.reason.rfind("чертёж не прочитан: файл не открывается", 0), 0u);
}

using Cells = std::vector<std::string>;

Cells CellsOf(const std::vector<SheetRow>& rows, const std::string& label) {
    for (const SheetRow& row : rows) {
        if (row.label == label) return row.cells;
    }
    return {};
}

TEST(SheetText, NumbersAndTable) {
    // Rounded, zeros cut for the short form, no minus zero, a dash for no number.
    EXPECT_EQ(FixedText(15.32087875, 4), "15.3209");
    EXPECT_EQ(FixedText(2, 4) + " " + ShortText(2, 4), "2.0000 2");
    EXPECT_EQ(FixedText(-0.00001, 4) + " " + ShortText(-0.00001, 4), "0.0000 0");
    EXPECT_EQ(FixedText(-0.5, 2, ',') + " " + ShortText(-0.5, 2, ','), "-0,50 -0,5");
    EXPECT_EQ(FixedText(NAN, 3), "—");
    // A helical pair, with both modules and, at the default counts, the fillets' overlap.
    const SheetTable helical = MakeSheetTable(Sheet(Pair(false, 17, 53, 3, 15)), ',');
    EXPECT_EQ(CellsOf(helical.wheelRows, "Модуль нормальный mn, мм"), (Cells{"3", "3"}));
    EXPECT_EQ(CellsOf(helical.wheelRows, "Модуль торцовый mt, мм"), (Cells{"3,1058", "3,1058"}));
    EXPECT_EQ(CellsOf(helical.wheelRows, "Длина общей нормали W, мм"),
              (Cells{"22,9295", "60,0249"}));
    const Cells overlap = CellsOf(helical.pairRows, "Перекрытие контуров, мм");
    ASSERT_EQ(overlap.size(), 1u);
    EXPECT_EQ(overlap[0].rfind("0,", 0), 0u) << overlap[0];
    EXPECT_NE(overlap[0].find(" при "), std::string::npos) << overlap[0];
    // A spur pair has one module row; a ring has no span measurement.
    const SheetTable internal = MakeSheetTable(Sheet(Pair(true, 20, 60, 2)));
    EXPECT_EQ(internal.headings, (Cells{"Колесо 1", "Колесо 2 (внутр.)"}));
    EXPECT_EQ(CellsOf(internal.wheelRows, "Модуль m, мм"), (Cells{"2", "2"}));
    EXPECT_TRUE(CellsOf(internal.wheelRows, "Модуль торцовый mt, мм").empty());
    EXPECT_EQ(CellsOf(internal.wheelRows, "Длина общей нормали W, мм"), (Cells{"15.3209", "—"}));
    const std::string text = DataSheetText(Sheet(Pair(false, 20, 40, 2), "20", 100, 50));
    EXPECT_NE(text.find("\nМежосевое расстояние aw, мм     60.0000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nПерекрытие контуров, мм         нет\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Предупреждения"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
