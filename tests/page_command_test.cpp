// The "OK" button: checks, proposed names, what is stored and passed on, the output path. (The page
// each task opens, refusals and a drawing not saved, through the window: its PageFlow suite.)
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
    // The spline standards' racks: 30 degrees, rf* 0.15 and ha* = hf*; only the height and c*
    // differ.
    const auto splineRack = [](double h, double c) {
        BasicRack rack;
        rack.alfa = 30;
        rack.h = rack.hf = h;
        rack.c = c;
        rack.ro = 0.15;
        return rack;
    };
    const BasicRack kept = kRackRows[0].rack, gost = splineRack(0.45, 0.1),
                    ost1 = splineRack(0.75, 0.2), ost = splineRack(0.5, 0.2);
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
        Row row;
        row.name = name;
        row.in = in;
        row.text = stem + when;
        row.Z1 = z1;
        row.Z2 = z2;
        row.Z = z;
        row.rack = rack;
        return row;
    };
    const Row rows[] = {
        passes("module 0,5 passes", GearPairPage("0,5", "20", "40"), "20x40x0,5", 20, 40),
        {"module checked first", GearPairPage("0", "0", "0"), Box::txtm,
         wrong + "\r\nМодуль нормальный, мм !"},
        {"Z1 before Z2", GearPairPage("2", "0", "0"), Box::txtZ1, z1},
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

// A name kept from an earlier run is the designer's own: the first pass makes the provisional
// path from it and proposes nothing. (A changed pair's new name: the window's DesignerDay suite.)
TEST(PageCommand, KeptNameIsTheDesignersOwn) {
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

// The file page of a 20 / 40 pair whose name was first proposed as first.dxf, written.
PageResult PressOnFilePage(MainMod& state, PageInput in, const char* folder, const char* name,
                           std::vector<std::string>& paths) {
    StoreRack(state, kDefaultRackRow.rack);
    state.OutFile = "/home/designer/parts/first.dxf";
    in.page = Page::File;
    in.dirHighlighted = folder;
    in.txtFileName = name;
    return CtlComClick(state, in, Recorder(paths, WrittenFile()));
}

// Where the drawing goes. (A file not written and teeth refused: the window's PageFlow suite.)
TEST(PageCommand, FilePageWritesWhereTheNameSays) {
    struct Row {
        const char* name;
        const char* folder;    // the folder highlighted
        const char* fileName;  // as typed
        std::string path;
    };
    const Row rows[] = {
        {"highlighted folder, not the opened one", "/home/designer/parts/gears", "part",
         "/home/designer/parts/gears/part.dxf"},
        {"root folder gets one separator, blanks trimmed", "/", "  part.dxf ", "/part.dxf"},
        {"plan.DXF stays", "/tmp", "plan.DXF", "/tmp/plan.DXF"},
        {"plan.Dxf gets .dxf", "/tmp", "plan.Dxf", "/tmp/plan.Dxf.dxf"},
        {"absolute path used as typed", "/srv", " /home/u/parts/a.dxf", "/home/u/parts/a.dxf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        std::vector<std::string> paths;
        const PageResult result =
            PressOnFilePage(state, GearPairPage("2", "20", "40"), row.folder, row.fileName, paths);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(paths, std::vector<std::string>{row.path});
        EXPECT_EQ(result->next, Page::Report);
        EXPECT_EQ(result->txtRep, std::optional<std::string>(row.path));
        EXPECT_FALSE(result->message.has_value());
        EXPECT_EQ(state.OutFile, row.path);
    }
}

}  // namespace
}  // namespace tarvo
