// The "OK" button: checks, proposed names, what is stored and passed on, the output path, a
// drawing not saved, the page each task opens.
#include <gtest/gtest.h>

#include <tuple>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "test_files.h"

namespace tarvo {
namespace {

// The window's folder list and a clock in US form.
PageInput Window() {
    PageInput in;
    in.dirPath = "/home/designer/parts";
    in.dirHighlighted = "/elsewhere";
    in.dateText = "12/5/2026";
    in.timeText = "10:42:15 AM";
    return in;
}

// The parameters pages as typed: a gear pair (external or internal) or a spline of a task.
PageInput GearPairPage(const char* m, const char* z1, const char* z2, bool external = true) {
    PageInput in = Window();
    in.page = Page::GearPair;
    in.external = external;
    in.txtm = m;
    in.txtZ1 = z1;
    in.txtZ2 = z2;
    return in;
}
PageInput SplinePage(const char* task, const char* m, const char* z, bool hub = false) {
    PageInput in = Window();
    in.page = Page::Spline;
    in.task = task;
    in.hub = hub;
    in.txtmSL = m;
    in.txtZ = z;
    return in;
}

// Builders that write nothing: the first answers "written", the second records each path.
DrawResult NoDrawing(const MainMod&, const BuilderCall&) {
    return WrittenFile();
}
Builder Recorder(std::vector<std::string>& paths, DrawResult result) {
    return [&paths, result](const MainMod& state, const BuilderCall&) {
        paths.push_back(state.OutFile);
        return result;
    };
}

// A task the start page does not offer is refused on every page, whatever the build: nothing is
// stored and no drawing is made (before, a release build took it for a gear pair).
TEST(PageCommand, UnknownTaskIsRefused) {
    for (const Page page : {Page::Start, Page::GearPair, Page::Accuracy, Page::File}) {
        SCOPED_TRACE(static_cast<int>(page));
        PageInput in = Window();
        in.page = page;
        in.task = "7";
        MainMod state;
        std::vector<std::string> built;
        const PageResult out = CtlComClick(state, in, Recorder(built, WrittenFile()));
        ASSERT_FALSE(out.ok());
        EXPECT_NE(out.fault().message.text.find("Неизвестная задача «7»"), std::string::npos);
        EXPECT_TRUE(built.empty() && state.Alfa == 0 && state.OutFile.empty());
    }
}

// A parameters page either refuses, with the box focused and nothing stored, or proposes a
// name and passes on the counts it checked as typed ("1,4" is 1) and drew rounded half to even.
// A spline page stores its standard's rack over whatever row the gear-pair page held.
TEST(PageCommand, ParametersPagesRefuseOrPassOn) {
    const std::string wrong = "Неверно задан параметр:", z1 = wrong + "Число зубьев Z1",
                      z2 = wrong + "Число зубьев Z2", z = wrong + "Число зубьев";
    // Equal counts of an internal pair also say why the ring needs more teeth.
    const std::string equal = z2 +
                              "\r\nво внутреннем зацеплении у колеса с внутренними "
                              "зубьями должно быть больше зубьев, чем у шестерни";
    const std::string when = "_12_5_2026_10_42_15 AM.dxf";
    const BasicRack kept = kRackRows[0].rack, gost{30, 0.45, 0.45, 0.1, 0.15},
                    ost1{30, 0.75, 0.75, 0.2, 0.15}, ost{30, 0.5, 0.5, 0.2, 0.15};
    struct Row {
        const char* name;
        PageInput in;
        std::optional<Box> focus;  // refused, this box focused and `text` shown
        std::string text;          // or else the name proposed, and what is passed on:
        int Z1 = 0, Z2 = 0, Z = 0;
        const BasicRack* rack = nullptr;  // none: the rack kept
    };
    // A page passed on: the name proposed (before the clock), the counts drawn, the rack stored.
    const auto passes = [&](const char* name, PageInput in, const std::string& stem, int z1, int z2,
                            int z = 0, const BasicRack* rack = nullptr) {
        return Row{name, in, std::nullopt, stem + when, z1, z2, z, rack};
    };
    const Row rows[] = {
        passes("module 0,5 passes", GearPairPage("0,5", "20", "40"), "20x40x0,5", 20, 40),
        {"module checked first", GearPairPage("0", "0", "0"), Box::txtm,
         wrong + "\r\nМодуль нормальный, мм !"},
        {"Z1 before Z2", GearPairPage("2", "0", "0"), Box::txtZ1, z1},
        {"Z1 0,9 refused", GearPairPage("2", "0,9", "40"), Box::txtZ1, z1},
        passes("Z1 1,4 passes as 1", GearPairPage("2", "1,4", "40"), "1,4x40x2", 1, 40),
        {"Z1 0.5 rounds to no teeth", GearPairPage("2", "0.5", "40"), Box::txtZ1, z1},
        passes("external 32767", GearPairPage("2.5", "20", "32767"), "20x32767x2_5", 20, 32767),
        {"external 32768 refused", GearPairPage("2", "32768", "40"), Box::txtZ1, z1},
        passes("external equal counts", GearPairPage("2", "30", "30"), "30x30x2", 30, 30),
        {"internal 40000 refused", GearPairPage("2", "20", "40000", false), Box::txtZ2, z2},
        {"internal equal counts refused", GearPairPage("2", "30", "30", false), Box::txtZ2, equal},
        {"internal counts equal once rounded", GearPairPage("2", "30,4", "30", false), Box::txtZ2,
         equal},
        passes("characters Windows refuses", GearPairPage("2", "20abc", "40*\\:\"<>|?\t"),
               "20abcx40_________x2", 20, 40),
        passes("halves to even", GearPairPage("2", "20.5", "21.5"), "20_5x21_5x2", 20, 22),
        passes("halves to even, internal", GearPairPage("2", "20.5", "41,5", false), "20_5x41,5x2",
               20, 42),
        {"spline module 0 refused", SplinePage("1", "0", "18"), Box::txtmSL,
         wrong + "\r\nМодуль, мм !"},
        {"spline Z 0,9 refused", SplinePage("2", "1", "0,9"), Box::txtZ, z},
        passes("GOST", SplinePage("1", "2", "18,5"), "SL_18,5x2", 0, 0, 18, &gost),
        passes("OST module 1,0", SplinePage("2", "1,0", "18", true), "SL_18x1,0", 0, 0, 18, &ost1),
        passes("OST module 1.01", SplinePage("2", "1.01", "18"), "SL_18x1_01", 0, 0, 18, &ost),
        passes("shaft 3276", SplinePage("1", "1,25", "3276"), "SL_3276x1,25", 0, 0, 3276, &gost),
        {"shaft 3277 refused: its partner is beyond 16 bits", SplinePage("1", "1", "3277"),
         Box::txtZ, z},
        passes("hub 3277", SplinePage("2", "1", "3277", true), "SL_3277x1", 0, 0, 3277, &ost1),
    };
    const auto rack = [](const MainMod& s) {
        return std::make_tuple(s.Alfa, s.H, s.Hf, s.C, s.Ro);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        StoreRack(state, kept);
        const MainMod before = state;
        PageInput in = row.in;
        const PageResult result = CtlComClick(state, in, NoDrawing);
        ASSERT_EQ(result.ok(), !row.focus.has_value());
        if (row.focus) {
            const PageRefusal& refusal = result.fault();
            EXPECT_EQ(std::make_tuple(refusal.focus, refusal.message.text),
                      std::make_tuple(row.focus, row.text));
            EXPECT_TRUE(refusal.message.icon == MessageIcon::Critical &&
                        refusal.message.title == "Ошибка данных...");
            // Nothing stored: the rack as it was, no path.
            EXPECT_EQ(rack(state), rack(before));
            EXPECT_TRUE(state.OutFile.empty());
            continue;
        }
        const PageOutcome& out = result.value();
        EXPECT_FALSE(out.focus.has_value() || out.message.has_value());
        EXPECT_EQ(out.next, Page::Accuracy);
        EXPECT_EQ(out.txtFileName, std::optional<std::string>(row.text));
        EXPECT_EQ(state.OutFile, "/home/designer/parts/" + row.text);
        MainMod want;
        StoreRack(want, row.rack ? *row.rack : kept);
        EXPECT_EQ(rack(state), rack(want));
        // A later pass with the same stem keeps the name proposed (the window hands back what
        // it was given).
        in.txtFileName = in.proposedName = *out.txtFileName;
        in.proposedStem = out.proposedStem.value();
        EXPECT_FALSE(CtlComClick(state, in, NoDrawing)->txtFileName.has_value());
        EXPECT_EQ(state.OutFile, "/home/designer/parts/" + row.text);
        in.page = Page::File;
        const std::optional<BuilderCall> call = CtlComClick(state, in, NoDrawing)->call;
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(std::make_tuple(call->Z1, call->Z2, call->Z),
                  std::make_tuple(row.Z1, row.Z2, row.Z));
    }
}

// The name follows the pair: proposed again when the tooth counts or the module changed since
// the last proposal, kept when they did not, and never over a name of the designer's own (typed,
// or picked from the file list), which on a first pass gives the provisional path.
TEST(PageCommand, ProposedNameFollowsThePairUnlessTheDesignersOwn) {
    struct Row {
        const char* name;
        PageInput second;      // the parameters page on the second pass
        bool ownName;          // the designer typed over the first proposal
        std::string proposed;  // the name proposed on the second pass; empty: none
    };
    const Row rows[] = {
        {"same pair keeps the name", GearPairPage("2", "20", "40"), false, ""},
        {"module 2,5 gets its own", GearPairPage("2,5", "20", "40"), false,
         "20x40x2,5_12_5_2026_10_42_15 AM.dxf"},
        {"a spline gets its own", SplinePage("1", "2", "20"), false,
         "SL_20x2_12_5_2026_10_42_15 AM.dxf"},
        {"a typed name stays", GearPairPage("2", "20", "60"), true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        const PageResult firstResult = CtlComClick(state, GearPairPage("2", "20", "40"), NoDrawing);
        ASSERT_TRUE(firstResult.ok());
        const PageOutcome& first = firstResult.value();
        ASSERT_TRUE(first.txtFileName && first.proposedStem);
        EXPECT_EQ(*first.proposedStem, "20x40x2");
        PageInput in = row.second;
        in.proposedName = *first.txtFileName;
        in.proposedStem = *first.proposedStem;
        in.txtFileName = row.ownName ? "gearbox.dxf" : *first.txtFileName;
        const PageResult second = CtlComClick(state, in, NoDrawing);
        ASSERT_TRUE(second.ok());
        EXPECT_EQ(second->txtFileName.value_or(""), row.proposed);
        EXPECT_EQ(second->proposedStem.has_value(), !row.proposed.empty());
        EXPECT_EQ(state.OutFile, "/home/designer/parts/" +
                                     (row.proposed.empty() ? *first.txtFileName : row.proposed));
    }
    // A name kept from an earlier run is the designer's own: the first pass makes the
    // provisional path from it and proposes nothing.
    MainMod state;
    PageInput kept = GearPairPage("2", "20", "40");
    kept.txtFileName = " gearbox.dxf ";
    EXPECT_FALSE(CtlComClick(state, kept, NoDrawing)->txtFileName.has_value());
    EXPECT_EQ(state.OutFile, "/home/designer/parts/gearbox.dxf");
    // Blanks alone are no name: one is proposed.
    MainMod blank;
    kept.txtFileName = "   ";
    EXPECT_TRUE(CtlComClick(blank, kept, NoDrawing)->txtFileName.has_value());
    EXPECT_FALSE(blank.OutFile.empty());
}

// The file page of a 20 / 40 pair whose name was first proposed as first.dxf.
const std::string kFirst = "/home/designer/parts/first.dxf";
PageResult PressOnFilePage(MainMod& state, PageInput in, const char* folder, const char* name,
                           std::vector<std::string>& paths, const DrawResult& result) {
    StoreRack(state, kDefaultRackRow.rack);
    state.OutFile = kFirst;
    in.page = Page::File;
    in.dirHighlighted = folder;
    in.txtFileName = name;
    return CtlComClick(state, in, Recorder(paths, result));
}

TEST(PageCommand, FilePageWritesAndReports) {
    const DrawResult noFile = DrawResult::Failure(
        {DrawFault::Kind::FileNotWritten, {}, std::make_error_code(std::errc::permission_denied)});
    const GeometryError tooth{GeometryFault::PointedTooth, 1, WheelRole::Wheel1};
    const DrawResult written = WrittenFile();
    const DrawResult pointed = DrawResult::Failure({DrawFault::Kind::GeometryRefused, tooth, {}});
    struct Row {
        const char* name;
        const char* folder;
        const char* fileName;  // the folder highlighted
        DrawResult result;
        std::string path;
        std::string message = {};  // empty: written
    };
    const Row rows[] = {
        {"highlighted folder, not the opened one", "/home/designer/parts/gears", "part", written,
         "/home/designer/parts/gears/part.dxf"},
        {"root folder gets one separator, blanks trimmed", "/", "  part.dxf ", written,
         "/part.dxf"},
        {"plan.DXF stays", "/tmp", "plan.DXF", written, "/tmp/plan.DXF"},
        {"plan.Dxf gets .dxf", "/tmp", "plan.Dxf", written, "/tmp/plan.Dxf.dxf"},
        {"absolute path used as typed", "/srv", " /home/u/parts/a.dxf", written,
         "/home/u/parts/a.dxf"},
        {"file not written", "/srv", "part", noFile, "/srv/part.dxf",
         "Чертёж не сохранён: не удалось записать файл\r\n/srv/part.dxf\r\n"
         "нет прав доступа к папке или файлу"},
        {"geometry refused", "/srv", "part", pointed, "/srv/part.dxf",
         "Чертёж не построен и не сохранён.\r\nКолесо 1: зуб заострён: его боковые стороны "
         "пересекаются. Уменьшите смещение или увеличьте число зубьев."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        std::vector<std::string> paths;
        const PageResult result = PressOnFilePage(state, GearPairPage("2", "20", "40"), row.folder,
                                                  row.fileName, paths, row.result);
        ASSERT_TRUE(result.ok());
        const PageOutcome& out = result.value();
        EXPECT_EQ(paths, std::vector<std::string>{row.path});
        const bool written = row.message.empty();
        const bool geometry =
            !written && row.result.fault().kind == DrawFault::Kind::GeometryRefused;
        // Impossible teeth go back to the shift the sentence names; a file failure stays.
        EXPECT_EQ(out.next, written ? Page::Report : geometry ? Page::GearPair : Page::File);
        EXPECT_EQ(out.txtRep, written ? std::optional<std::string>(row.path) : std::nullopt);
        EXPECT_EQ(state.OutFile, written ? row.path : kFirst);
        EXPECT_EQ(out.message ? out.message->text : "", row.message);
        if (!written) {
            EXPECT_TRUE(out.message->icon == MessageIcon::Exclamation &&
                        out.message->title == "Внимание!");
            EXPECT_EQ(out.hide.empty() && out.show.empty(), !geometry);
            EXPECT_EQ(out.focus, geometry ? std::optional<Box>(Box::txtx1) : std::nullopt);
        }
    }
}

// Values out of range are refused on the file page before any drawing: no builder runs, the
// outcome names no call (so nothing can be taken for a drawing made), and the path stays.
TEST(PageCommand, RangeRefusalOnTheFilePageMakesNoCall) {
    MainMod state;
    PageInput in = GearPairPage("2", "20", "40");
    in.txtBeta = "90";
    std::vector<std::string> paths;
    const PageResult result =
        PressOnFilePage(state, in, "/srv", "part", paths, DrawResult{WrittenFile{}});
    ASSERT_TRUE(result.ok());
    const PageOutcome& out = result.value();
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(out.call.has_value() || out.drawn.has_value());
    EXPECT_EQ(std::make_tuple(out.next, out.focus, state.OutFile),
              std::make_tuple(Page::GearPair, std::optional<Box>(Box::txtBeta), kFirst));
}

// The start page opens the page of the task, stores the pair's rack each time the pair's page
// opens (a spline may have stored its own since) and empties the shift box an OST spline has not.
// (Whole rounds through the window to tarvo-cli's bytes: the window's FrmPar and DesignerDay
// suites.)
TEST(PageCommand, StartPageOpensTheTasksPage) {
    struct Row {
        const char* task;
        Page next;
        bool single;
        std::optional<Box> focus;
        bool shiftRow;
        std::optional<std::string> shift;  // what the shift box is set to
    };
    const Row rows[] = {
        {"0", Page::GearPair, false, std::nullopt, true, std::nullopt},
        {"1", Page::Spline, true, Box::txtmSL, true, std::nullopt},
        {"2", Page::Spline, true, Box::txtmSL, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.task);
        MainMod state;
        StoreRack(state, SplineRack(SplineStandard::Gost6033, 1));
        PageInput in = Window();
        in.task = row.task;
        in.rack = FindRackRow("25")->rack;
        const PageResult result = CtlComClick(state, in, NoDrawing);
        ASSERT_TRUE(result.ok());
        const PageOutcome& out = result.value();
        EXPECT_EQ(out.next, row.next);
        EXPECT_EQ(state.SingleMember, row.single);
        EXPECT_EQ(out.focus, row.focus);
        EXPECT_EQ(out.shiftRowVisible, row.shiftRow);
        EXPECT_EQ(out.txtX, row.shift);
        EXPECT_EQ(state.Alfa, row.single ? 30 : 25);
    }
}

}  // namespace
}  // namespace tarvo
