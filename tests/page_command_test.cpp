// The "OK" button: checks, proposed names, what is stored and passed on, the output path, a
// drawing not saved, and whole runs of every task that match tarvo-cli's files byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "test_files.h"

namespace tarvo {
namespace {

// The window's folder list and a clock in US form.
PageInput Window() {
    PageInput in;
    std::tie(in.dirPath, in.dirHighlighted, in.dateText, in.timeText) =
        std::make_tuple("/home/designer/parts", "/elsewhere", "12/5/2026", "10:42:15 AM");
    return in;
}

// The parameters pages as typed: a gear pair (external or internal) or a spline of a task.
PageInput GearPairPage(const char* m, const char* z1, const char* z2, bool external = true) {
    PageInput in = Window();
    std::tie(in.page, in.external, in.txtm, in.txtZ1, in.txtZ2) =
        std::make_tuple(Page::GearPair, external, m, z1, z2);
    return in;
}
PageInput SplinePage(const char* task, const char* m, const char* z, bool hub = false) {
    PageInput in = Window();
    std::tie(in.page, in.task, in.hub, in.txtmSL, in.txtZ) =
        std::make_tuple(Page::Spline, task, hub, m, z);
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

// The window as the page command sees it: a press is made on the page the last outcome named,
// hides and shows frames as the outcome says and writes back the shift box and the report.
struct Form {
    MainMod state;
    PageInput in = Window();
    std::set<Frame> visible{Frame::frStartOpt};
    std::string txtRep;

    PageResult Press() {
        const PageResult result = CtlComClick(state, in, RunBuilder);
        if (!result.ok()) {
            return result;
        }
        const PageOutcome& out = result.value();
        in.page = out.next;
        for (Frame f : out.hide)
            visible.erase(f);
        for (Frame f : out.show)
            visible.insert(f);
        if (out.txtX)
            in.txtX = *out.txtX;
        if (out.txtRep)
            txtRep = *out.txtRep;
        return result;
    }
};

const std::map<Page, std::set<Frame>> kFramesOf = {
    {Page::Start, {Frame::frStartOpt}},
    {Page::GearPair, {Frame::frPar, Frame::frContur, Frame::frIntEx}},
    {Page::Spline, {Frame::FrParSl}},
    {Page::Accuracy, {Frame::frAcc}},
    {Page::File, {Frame::frFile}},
    {Page::Report, {Frame::frSave}}};

// A task the start page does not offer is refused on every page, whatever the build: nothing is
// stored and no drawing is made (before, a release build took it for a gear pair).
TEST(PageCommand, UnknownTaskIsRefused) {
    for (const Page page : {Page::Start, Page::GearPair, Page::Accuracy, Page::File}) {
        SCOPED_TRACE(static_cast<int>(page));
        PageInput in = Window();
        std::tie(in.page, in.task) = std::make_tuple(page, "7");
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
    const Row rows[] = {
        {"module 0,5 passes", GearPairPage("0,5", "20", "40"), {}, "20x40x0,5" + when, 20, 40},
        {"module checked first", GearPairPage("0", "0", "0"), Box::txtm,
         wrong + "\r\nМодуль нормальный, мм !"},
        {"Z1 before Z2", GearPairPage("2", "0", "0"), Box::txtZ1, z1},
        {"Z1 0,9 refused", GearPairPage("2", "0,9", "40"), Box::txtZ1, z1},
        {"Z1 1,4 passes as 1", GearPairPage("2", "1,4", "40"), {}, "1,4x40x2" + when, 1, 40},
        {"Z1 0.5 rounds to no teeth", GearPairPage("2", "0.5", "40"), Box::txtZ1, z1},
        {"external 32767 passes",
         GearPairPage("2.5", "20", "32767"),
         {},
         "20x32767x2_5" + when,
         20,
         32767},
        {"external 32768 refused", GearPairPage("2", "32768", "40"), Box::txtZ1, z1},
        {"external equal counts pass", GearPairPage("2", "30", "30"), {}, "30x30x2" + when, 30, 30},
        {"internal 40000 refused", GearPairPage("2", "20", "40000", false), Box::txtZ2, z2},
        {"internal equal counts refused", GearPairPage("2", "30", "30", false), Box::txtZ2, equal},
        {"internal counts equal once rounded", GearPairPage("2", "30,4", "30", false), Box::txtZ2,
         equal},
        {"characters Windows refuses",
         GearPairPage("2", "20abc", "40*\\:\"<>|?\t"),
         {},
         "20abcx40_________x2" + when,
         20,
         40},
        {"halves to even, external",
         GearPairPage("2", "20.5", "21.5"),
         {},
         "20_5x21_5x2" + when,
         20,
         22},
        {"halves to even, internal",
         GearPairPage("2", "20.5", "41,5", false),
         {},
         "20_5x41,5x2" + when,
         20,
         42},
        {"spline module 0 refused", SplinePage("1", "0", "18"), Box::txtmSL,
         wrong + "\r\nМодуль, мм !"},
        {"spline Z 0,9 refused", SplinePage("2", "1", "0,9"), Box::txtZ, z},
        {"GOST", SplinePage("1", "2", "18,5"), {}, "SL_18,5x2" + when, 0, 0, 18, &gost},
        {"OST module 1,0",
         SplinePage("2", "1,0", "18", true),
         {},
         "SL_18x1,0" + when,
         0,
         0,
         18,
         &ost1},
        {"OST module 1.01", SplinePage("2", "1.01", "18"), {}, "SL_18x1_01" + when, 0, 0, 18, &ost},
        {"shaft 3276 passes",
         SplinePage("1", "1,25", "3276"),
         {},
         "SL_3276x1,25" + when,
         0,
         0,
         3276,
         &gost},
        {"shaft 3277 refused: its partner is beyond 16 bits", SplinePage("1", "1", "3277"),
         Box::txtZ, z},
        {"hub 3277 passes",
         SplinePage("2", "1", "3277", true),
         {},
         "SL_3277x1" + when,
         0,
         0,
         3277,
         &ost1},
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
        std::tie(in.txtFileName, in.proposedName, in.proposedStem) =
            std::make_tuple(*out.txtFileName, *out.txtFileName, out.proposedStem.value());
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
        {"internal 20 / 60 gets its own", GearPairPage("2", "20", "60", false), false,
         "20x60x2_12_5_2026_10_42_15 AM.dxf"},
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
    std::tie(in.page, in.dirHighlighted, in.txtFileName) =
        std::make_tuple(Page::File, folder, name);
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
        {"absolute path gets .dxf too", "/srv", "/home/u/a", written, "/home/u/a.dxf"},
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

TEST(PageCommand, WholeRunsDrawWhatTarvoCliDraws) {
    // Each task twice round the pages with the real builders: what the start page sets, the
    // frames of each page, and the drawing byte for byte against tarvo-cli's.
    using P = PageInput;
    struct Row {
        const char *name, *task;
        bool external, hub;
        const char* rack;  // the row picked on the gear-pair page, if any
        std::vector<std::pair<std::string P::*, const char*>> boxes;
        const char* cli;
    };
    const Row rows[] = {
        {"external helical, rack 25",
         "0",
         true,
         false,
         "25",
         {{&P::txtm, "3"},
          {&P::txtZ1, "17"},
          {&P::txtZ2, "53"},
          {&P::txtBeta, "12,5"},
          {&P::txtx1, "0,3"},
          {&P::txtx2, "-0,1"},
          {&P::txtJbn, "0,1"},
          {&P::txtAccEv, "12"},
          {&P::txtAccPer, "6"}},
         "pair --mesh external --module 3 --z1 17 --z2 53 --helix 12.5 --x1 0.3 --x2 -0.1 "
         "--backlash 0.1 --rack 25 --involute-points 12 --fillet-points 6"},
        {"internal, ring entered first",
         "0",
         false,
         false,
         nullptr,
         {{&P::txtm, "2,5"},
          {&P::txtZ1, "40"},
          {&P::txtZ2, "20"},
          {&P::txtx1, "0,5"},
          {&P::txtx2, "0,2"},
          {&P::txtAccEv, "6"},
          {&P::txtAccPer, "3"}},
         "pair --mesh internal --module 2.5 --z1 40 --z2 20 --x1 0.5 --x2 0.2"},
        {"GOST hub, shift in mm",
         "1",
         true,
         true,
         nullptr,
         {{&P::txtmSL, "1,25"},
          {&P::txtZ, "20"},
          {&P::txtX, "0,3"},
          {&P::txtAccEv, "6"},
          {&P::txtAccPer, "3"}},
         "spline --standard gost --part hub --module 1.25 --teeth 20 --shift 0.3"},
        // The shift left from an earlier spline is emptied by the start page: none is drawn.
        {"OST shaft",
         "2",
         true,
         false,
         nullptr,
         {{&P::txtmSL, "1"}, {&P::txtZ, "18"}, {&P::txtAccEv, "40"}, {&P::txtAccPer, "20"}},
         "spline --standard ost --part shaft --module 1 --teeth 18 --involute-points 40 "
         "--fillet-points 20"},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string cli = std::string("'") + TARVO_CLI + "' " + row.cli + " -o '" +
                                folder.File("cli.dxf") + "' > /dev/null";
        ASSERT_EQ(std::system(cli.c_str()), 0) << cli;
        const bool spline = std::string(row.task) != "0";
        Form form;
        // A shift left from an earlier spline, and a name typed over the one proposed.
        std::tie(form.in.task, form.in.external, form.in.hub, form.in.txtX, form.in.txtFileName) =
            std::make_tuple(row.task, row.external, row.hub, "0,4", "window.dxf");
        form.in.dirHighlighted = folder.Path().string();
        if (row.rack)
            form.in.rack = FindRackRow(row.rack)->rack;
        for (int pass = 1; pass <= 2; ++pass) {
            SCOPED_TRACE(pass);
            const PageResult startResult = form.Press();
            ASSERT_TRUE(startResult.ok());
            const PageOutcome& start = startResult.value();
            EXPECT_EQ(form.visible, kFramesOf.at(spline ? Page::Spline : Page::GearPair));
            EXPECT_EQ(form.state.SingleMember, spline);
            EXPECT_EQ(start.focus, spline ? std::optional<Box>(Box::txtmSL) : std::nullopt);
            EXPECT_EQ(start.shiftRowVisible, std::string(row.task) != "2");
            // The rack the rows show is stored as the pair's page opens, on every pass.
            EXPECT_TRUE(spline || form.state.Alfa == form.in.rack.alfa);
            for (const auto& [box, text] : row.boxes)
                form.in.*box = text;
            for (Page next : {Page::Accuracy, Page::File, Page::Report, Page::Start}) {
                const PageResult out = form.Press();
                ASSERT_TRUE(out.ok()) << out.fault().message.text;
                ASSERT_EQ(out->next, next) << (out->message ? out->message->text : "");
                EXPECT_EQ(form.visible, kFramesOf.at(next));
            }
            EXPECT_EQ(form.txtRep, folder.File("window.dxf"));
            const std::string window = testing::ReadFile(folder.File("window.dxf"));
            EXPECT_TRUE(window.size() > 1000 && window == testing::ReadFile(folder.File("cli.dxf")))
                << "window and tarvo-cli drawings differ";
        }
    }
}

}  // namespace
}  // namespace tarvo
