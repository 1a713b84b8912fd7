// The data sheet of drawings written and read back: textbook values for an external, an
// internal and a helical pair and for spline members, agreement with the builders' own
// geometry, what triggers each warning, and the sheet as text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "app/basic_rack.h"
#include "app/data_sheet.h"
#include "app/sheet_text.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"

namespace tarvo {
namespace {

BuilderCall PairCall(bool internal, int z1, int z2, double m, double beta = 0, double x1 = 0,
                     double x2 = 0, double jn = 0) {
    BuilderCall call;
    call.kind = internal ? BuilderCall::Kind::InternalPair : BuilderCall::Kind::ExternalPair;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = m;
    call.beta = beta;
    call.x1 = x1;
    call.x2 = x2;
    call.jn = jn;
    return call;
}

BuilderCall SplineCall(int z, double m, double x, bool hub) {
    BuilderCall call;
    call.kind = BuilderCall::Kind::Spline;
    call.Z = z;
    call.m = m;
    call.x = x;
    call.hub = hub;
    return call;
}

// A drawing file of this test's own, so suites run side by side never share one.
std::string TempFile() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "tarvo-data-sheet-" + info->name() + "-" +
           std::to_string(::getpid()) + ".dxf";
}

// Writes the drawing `call` describes as the window would, reads it back and makes its sheet.
DataSheet Sheet(BuilderCall call, const char* rack = "20", int involute = 6, int fillet = 3) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    if (call.kind == BuilderCall::Kind::Spline) {
        state.SingleMember = true;
        StoreRack(state, SplineRack(SplineStandard::Gost6033, call.m));
    } else {
        StoreRack(state, FindRackRow(rack)->rack);
    }
    call.alpha = state.Alfa;
    state.OutFile = TempFile();
    const DrawResult drawn = RunBuilder(state, call);
    EXPECT_EQ(drawn.status, DrawStatus::Written) << drawn.Reason();
    const DataSheet sheet = DataSheetOfFile(state, call, state.OutFile);
    std::remove(state.OutFile.c_str());
    EXPECT_TRUE(sheet.ok) << sheet.reason;
    return sheet;
}

struct WheelRow {
    int z;
    double d, da, db;
    int k;       // 0: no span measurement (internal teeth)
    double W;
};

void ExpectWheel(const WheelSheet& w, const WheelRow& row) {
    EXPECT_EQ(w.z, row.z);
    EXPECT_NEAR(w.d, row.d, 5e-6);
    EXPECT_NEAR(w.da, row.da, 5e-6);
    EXPECT_NEAR(w.db, row.db, 5e-6);
    EXPECT_EQ(w.hasSpan, row.k != 0);
    EXPECT_EQ(w.k, row.k);
    if (row.k != 0) {
        EXPECT_NEAR(w.W, row.W, 5e-5);
    }
}

TEST(DataSheet, TextbookPairs) {
    // Values worked by hand in gear_formulas_test.cpp; the tip diameters of the internal pair
    // are its drawn ones after the tip limits (43.445 and 117.589), its ring's root circle
    // 2 a0 + da0 = 2 * 40 + 45 of the 20-tooth cutter.
    struct Row {
        const char* name;
        BuilderCall call;
        bool helical;
        WheelRow wheel1, wheel2;
        double aw, alphaTw, epsAlpha;
    };
    const Row rows[] = {
        {"external m 2, 20 / 40", PairCall(false, 20, 40, 2), false,
         {20, 40, 44, 37.587705, 3, 15.32088}, {40, 80, 84, 75.175410, 5, 27.68963}, 60, 20,
         1.63519},
        {"internal m 2, 20 in 60", PairCall(true, 20, 60, 2), false,
         {20, 40, 43.445, 37.587705, 3, 15.32088}, {60, 120, 117.589, 112.763114, 0, 0}, 40, 20,
         1.33854},
        {"internal entered ring first", PairCall(true, 60, 20, 2), false,
         {60, 120, 117.589, 112.763114, 0, 0}, {20, 40, 43.445, 37.587705, 3, 15.32088}, 40, 20,
         1.33854},
        {"helical mn 3, beta 15°, 17 / 53", PairCall(false, 17, 53, 3, 15), true,
         {17, 52.799085, 58.799085, 49.407865, 3, 22.92950},
         {53, 164.608913, 170.608913, 154.036286, 7, 60.02488}, 108.703999, 20.646896, 1.56442},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call);
        ASSERT_EQ(sheet.wheels.size(), 2u);
        EXPECT_TRUE(sheet.pair);
        EXPECT_EQ(sheet.helical, row.helical);
        ExpectWheel(sheet.wheels[0], row.wheel1);
        ExpectWheel(sheet.wheels[1], row.wheel2);
        EXPECT_NEAR(sheet.mesh.aw, row.aw, 5e-6);
        EXPECT_NEAR(sheet.mesh.alphaTw, row.alphaTw, 5e-6);
        EXPECT_NEAR(sheet.mesh.epsAlpha, row.epsAlpha, 5e-5);
        EXPECT_TRUE(sheet.mesh.mesh.done);
    }
    const DataSheet internal = Sheet(PairCall(true, 20, 60, 2));
    EXPECT_FALSE(internal.wheels[0].internalTeeth);
    EXPECT_TRUE(internal.wheels[1].internalTeeth);
    EXPECT_EQ(internal.wheels[0].outline, 1);  // the ring is drawn first
    EXPECT_EQ(internal.wheels[1].outline, 0);
    EXPECT_NEAR(internal.wheels[1].df, 125, 1e-6);
    const DataSheet helical = Sheet(PairCall(false, 17, 53, 3, 15));
    EXPECT_NEAR(helical.wheels[0].mt, 3.105829, 5e-7);
    EXPECT_EQ(helical.wheels[0].mn, 3);
}

TEST(DataSheet, SplineMembers) {
    // GOST 6033-80 rack: 30°, ha* 0.45. Shaft m 2, z 20: d 40, da 41.8, db 40 cos 30°
    // = 34.64102; k = 20 * (pi/6) / pi + 0.5 = 3.83 -> 4; W = 2 cos 30° (3.5 pi
    // + 20 inv 30°) = 1.7320508 * 12.0706019 = 20.90690. The hub: da 38.2, no span.
    const DataSheet shaft = Sheet(SplineCall(20, 2, 0, false));
    ASSERT_EQ(shaft.wheels.size(), 1u);
    EXPECT_FALSE(shaft.pair);
    EXPECT_EQ(shaft.wheels[0].name, "Вал");
    ExpectWheel(shaft.wheels[0], {20, 40, 41.8, 34.641016, 4, 20.90690});
    const DataSheet hub = Sheet(SplineCall(20, 2, 0, true));
    ASSERT_EQ(hub.wheels.size(), 1u);
    EXPECT_EQ(hub.wheels[0].name, "Втулка");
    EXPECT_TRUE(hub.wheels[0].internalTeeth);
    ExpectWheel(hub.wheels[0], {20, 40, 38.2, 34.641016, 0, 0});
    EXPECT_TRUE(hub.warnings.empty());
}

TEST(DataSheet, AgreesWithTheBuilders) {
    // The sheet computes the mesh with its own formulas and reads the tips from the drawing;
    // the builders computed both their own way. Shifted, helical and backlash cases alike.
    struct Row {
        const char* name;
        BuilderCall call;
        const char* rack;
    };
    const Row rows[] = {
        {"external helical shifted", PairCall(false, 17, 53, 3, 15, 0.3, -0.1, 0.1), "25"},
        {"external shifted", PairCall(false, 21, 34, 1.5, 0, 0.5, 0.3), "20"},
        {"internal helical shifted", PairCall(true, 24, 71, 2.5, 12.5, 0.2, 0.4, 0.05), "20"},
        {"internal reversed", PairCall(true, 40, 20, 2, 0, 0.5, 0.2), "22.5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuilderCall& c = row.call;
        const DataSheet sheet = Sheet(c, row.rack);
        ASSERT_TRUE(sheet.ok);
        MainMod state;
        state.AccEv = 6;
        state.AccPer = 3;
        StoreRack(state, FindRackRow(row.rack)->rack);
        double aw = 0, alphaTw = 0, da1 = 0, da2 = 0;
        if (c.kind == BuilderCall::Kind::InternalPair) {
            const InternalPairGeometry g =
                ComputeInternalPair(state, c.Z1, c.Z2, c.m, c.beta, state.Alfa, c.x1, c.x2, c.jn);
            aw = g.aw;
            alphaTw = g.alphaTw;
            da1 = c.Z1 < c.Z2 ? g.dap : g.dar;
            da2 = c.Z1 < c.Z2 ? g.dar : g.dap;
        } else {
            const ExternalPairGeometry g =
                ComputeExternalPair(state, c.Z1, c.Z2, c.m, c.beta, state.Alfa, c.x1, c.x2, c.jn);
            aw = g.aw;
            alphaTw = g.alphaTw;
            da1 = g.da1;
            da2 = g.da2;
        }
        EXPECT_NEAR(sheet.mesh.aw, aw, 1e-9);
        EXPECT_NEAR(sheet.mesh.alphaTw, alphaTw * 180 / 3.14159265358979, 1e-9);
        EXPECT_NEAR(sheet.wheels[0].da, da1, 1e-9);
        EXPECT_NEAR(sheet.wheels[1].da, da2, 1e-9);
    }
}

TEST(DataSheet, WarningTriggers) {
    // At the finest point counts the drawn outlines follow the exact curves, so only the
    // designs themselves trigger warnings; the default counts show the drawing's own overlap.
    using K = SheetWarningKind;
    struct Row {
        const char* name;
        BuilderCall call;
        int involute, fillet;
        std::vector<SheetWarningKind> kinds;
        std::vector<int> wheels;
    };
    const Row rows[] = {
        {"textbook pair: nothing", PairCall(false, 20, 40, 2), 100, 50, {}, {}},
        {"internal 20 in 60: nothing", PairCall(true, 20, 60, 2), 100, 50, {}, {}},
        // eps = 1.02432 < 1.1 (tips shortened by the large shifts).
        {"shifts 1.2 and 1.2: contact ratio",
         PairCall(false, 20, 40, 2, 0, 1.2, 1.2), 100, 50, {K::LowContactRatio}, {-1}},
        // sa = 0.35112 < 0.25 * 2.
        {"z 12, x 0.8: pointed", PairCall(false, 12, 30, 2, 0, 0.8), 100, 50,
         {K::PointedTooth}, {0}},
        // The mate's tip passes the base tangent point of the 14-tooth wheel (L = -0.27029),
        // and the drawn outlines do cross.
        {"z 14 against 40: interference", PairCall(false, 14, 40, 2), 100, 50,
         {K::Interference, K::Overlap}, {0, -1}},
        {"default point counts: the fillet chords overlap", PairCall(false, 20, 40, 2), 6, 3,
         {K::Overlap}, {-1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DataSheet sheet = Sheet(row.call, "20", row.involute, row.fillet);
        ASSERT_EQ(sheet.warnings.size(), row.kinds.size());
        for (std::size_t i = 0; i < row.kinds.size(); ++i) {
            EXPECT_EQ(sheet.warnings[i].kind, row.kinds[i]);
            EXPECT_EQ(sheet.warnings[i].wheel, row.wheels[i]);
        }
        EXPECT_EQ(WarningLines(sheet).size(), row.kinds.size());
    }
    // The sentences name the wheels and the numbers.
    const DataSheet pointed = Sheet(PairCall(false, 12, 30, 2, 0, 0.8), "20", 100, 50);
    EXPECT_EQ(WarningLines(pointed).at(0),
              "Заострение зуба колеса 1: толщина на окружности вершин 0.3511 мм меньше "
              "0.25·m = 0.5000 мм.");
    const DataSheet low = Sheet(PairCall(false, 20, 40, 2, 0, 1.2, 1.2), "20", 100, 50);
    EXPECT_EQ(WarningLines(low, ',').at(0),
              "Коэффициент торцового перекрытия εα = 1,024 меньше 1,1: зацепление не обеспечит "
              "плавной работы.");
    const DataSheet interference = Sheet(PairCall(false, 14, 40, 2), "20", 100, 50);
    EXPECT_EQ(WarningLines(interference).at(0),
              "Интерференция: вершина зуба колеса 2 заходит на колесо 1 за точку касания "
              "основной окружности.");
}

TEST(DataSheet, DrawingOfTheWrongShapeIsRefused) {
    DxfDrawing one;
    one.polylines.push_back({"LAYER1VIEW0", {{0, 0}, {1, 0}, {1, 1}, {0, 0}}});
    one.lines.push_back({"LAYER0VIEW0", {0, -1}, {0, 1}});
    MainMod state;
    const DataSheet sheet = MakeDataSheet(state, PairCall(false, 20, 40, 2), one);
    EXPECT_FALSE(sheet.ok);
    EXPECT_EQ(sheet.reason, "в чертеже 1 контур(а) и 1 центр(а), ожидалось по 2");
    EXPECT_EQ(DataSheetText(sheet), "Данные для чертежа не получены: " + sheet.reason + "\n");
    const DataSheet unread = DataSheetOfFile(state, PairCall(false, 20, 40, 2),
                                             ::testing::TempDir() + "tarvo-no-such-file.dxf");
    EXPECT_FALSE(unread.ok);
    EXPECT_EQ(unread.reason.rfind("чертёж не прочитан: файл не открывается", 0), 0u);
}

TEST(SheetText, NumbersAndTable) {
    struct Row {
        double v;
        int decimals;
        char separator;
        const char* fixed;
        const char* shortText;
    };
    const Row rows[] = {
        {15.32087875, 4, '.', "15.3209", "15.3209"},
        {2, 4, '.', "2.0000", "2"},
        {3.1058285, 4, ',', "3,1058", "3,1058"},
        {-0.00001, 4, '.', "0.0000", "0"},
        {-0.5, 2, ',', "-0,50", "-0,5"},
        {NAN, 3, '.', "—", "—"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fixed);
        EXPECT_EQ(FixedText(row.v, row.decimals, row.separator), row.fixed);
        EXPECT_EQ(ShortText(row.v, row.decimals, row.separator), row.shortText);
    }

    const DataSheet sheet = Sheet(PairCall(false, 17, 53, 3, 15));
    const SheetTable table = MakeSheetTable(sheet, ',');
    ASSERT_EQ(table.headings.size(), 2u);
    EXPECT_EQ(table.headings[0], "Колесо 1");
    auto find = [](const std::vector<SheetRow>& rows, const std::string& label) {
        for (const SheetRow& r : rows) {
            if (r.label == label) {
                return r.cells;
            }
        }
        return std::vector<std::string>{};
    };
    EXPECT_EQ(find(table.wheelRows, "Модуль нормальный mn, мм"),
              (std::vector<std::string>{"3", "3"}));
    EXPECT_EQ(find(table.wheelRows, "Модуль торцовый mt, мм"),
              (std::vector<std::string>{"3,1058", "3,1058"}));
    EXPECT_EQ(find(table.wheelRows, "Длина общей нормали W, мм"),
              (std::vector<std::string>{"22,9295", "60,0249"}));
    EXPECT_EQ(find(table.pairRows, "Межосевое расстояние aw, мм"),
              std::vector<std::string>{"108,7040"});
    EXPECT_EQ(find(table.pairRows, "Проверено положений за шаг"),
              std::vector<std::string>{"100 через 0,212°"});
    // At the default point counts this pair's coarse fillets meet the mate's tips: the depth
    // and the turn where it is deepest, in the designer's decimal sign.
    const std::vector<std::string> overlap = find(table.pairRows, "Перекрытие контуров, мм");
    ASSERT_EQ(overlap.size(), 1u);
    EXPECT_EQ(overlap[0].rfind("0,", 0), 0u) << overlap[0];
    EXPECT_NE(overlap[0].find(" при "), std::string::npos) << overlap[0];

    // A spur pair has one module row; a ring has no span measurement.
    const SheetTable internal = MakeSheetTable(Sheet(PairCall(true, 20, 60, 2)));
    EXPECT_EQ(find(internal.wheelRows, "Модуль m, мм"), (std::vector<std::string>{"2", "2"}));
    EXPECT_TRUE(find(internal.wheelRows, "Модуль торцовый mt, мм").empty());
    EXPECT_EQ(find(internal.wheelRows, "Длина общей нормали W, мм"),
              (std::vector<std::string>{"15.3209", "—"}));
    EXPECT_EQ(internal.headings[1], "Колесо 2 (внутр.)");
    const std::string text = DataSheetText(Sheet(PairCall(false, 20, 40, 2), "20", 100, 50));
    EXPECT_NE(text.find("\nМежосевое расстояние aw, мм     60.0000\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\nПерекрытие контуров, мм         нет\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Предупреждения"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
