// The "OK" button page by page: the cycle of pages, the checks with their messages and focus,
// the racks and point counts stored, the proposed file name, the output path, drawings that
// could not be saved, and whole runs from the start page to a file tarvo-cli agrees with.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "app/startup.h"

namespace tarvo {

// Pages and boxes by name in failure messages.
void PrintTo(Page page, std::ostream* os) {
    const char* const names[] = {"Start", "GearPair", "Spline", "Accuracy", "File", "Report"};
    *os << names[static_cast<int>(page)];
}
void PrintTo(Box box, std::ostream* os) {
    const char* const names[] = {"txtm",   "txtZ1", "txtZ2",       "txtmSL",  "txtZ",
                                 "txtX",   "txtFileName", "txtAccEv", "txtAccPer"};
    *os << names[static_cast<int>(box)];
}

namespace {

namespace fs = std::filesystem;

// The window's captions, a date and time in the "dd.mm.yyyy" / "hh:mm:ss" form, a folder.
PageInput Window() {
    PageInput in;
    in.lbM0 = "Модуль нормальный, мм";
    in.lbM1 = "Модуль, мм";
    in.lbZ1 = "Число зубьев Z1";
    in.lbZ2_0 = "Число зубьев Z2";
    in.lbZ2_1 = "Число зубьев";
    in.dateText = "05.12.2026";
    in.timeText = "10:42:15";
    in.dirPath = in.dirHighlighted = "/home/designer/parts";
    in.txtAccEv = "6";
    in.txtAccPer = "3";
    return in;
}

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

// A builder that writes nothing: it keeps each call and the path it was to write.
struct Capture {
    std::vector<BuilderCall> calls;
    std::vector<std::string> paths;
    DrawResult result;
    Builder Fn() {
        return [this](MainMod& state, const BuilderCall& call) {
            calls.push_back(call);
            paths.push_back(state.OutFile);
            return result;
        };
    }
};

// The window as the page command sees it: the visible frames and the boxes. A press finds the
// page from the frames and applies the outcome the way the window does.
struct Form {
    MainMod state;
    PageInput in = Window();
    std::set<Frame> visible{Frame::frStartOpt};
    std::string txtRep;

    Form() { InitMainMod(state); }
    bool Shows(Frame f) const { return visible.count(f) != 0; }
    Page Current() const {
        return FindPage(Shows(Frame::frStartOpt), Shows(Frame::FrParSl), Shows(Frame::frFile),
                        Shows(Frame::frSave), Shows(Frame::frAcc));
    }
    PageOutcome Press(const Builder& build) {
        in.page = Current();
        const PageOutcome out = CtlComClick(state, in, build);
        for (Frame f : out.hide) visible.erase(f);
        for (Frame f : out.show) visible.insert(f);
        if (out.txtFileName) in.txtFileName = *out.txtFileName;
        if (out.txtX) in.txtX = *out.txtX;
        if (out.txtAccEv) in.txtAccEv = *out.txtAccEv;
        if (out.txtAccPer) in.txtAccPer = *out.txtAccPer;
        if (out.txtRep) txtRep = *out.txtRep;
        return out;
    }
};

std::set<Frame> FramesOf(Page page) {
    switch (page) {
        case Page::Start: return {Frame::frStartOpt};
        case Page::GearPair: return {Frame::frPar, Frame::frContur, Frame::frIntEx};
        case Page::Spline: return {Frame::FrParSl};
        case Page::Accuracy: return {Frame::frAcc};
        case Page::File: return {Frame::frFile};
        case Page::Report: return {Frame::frSave};
    }
    return {};
}

TEST(PageCommand, FindPageTakesTheFirstVisibleFrameInOrder) {
    struct Row {
        const char* name;
        bool start, spline, file, save, acc;
        Page page;
    };
    const Row rows[] = {
        {"all visible: start decides", true, true, true, true, true, Page::Start},
        {"spline before file", false, true, true, true, true, Page::Spline},
        {"file before report and accuracy", false, false, true, true, true, Page::File},
        {"report before accuracy", false, false, false, true, true, Page::Report},
        {"accuracy alone", false, false, false, false, true, Page::Accuracy},
        {"none: the gear-pair page", false, false, false, false, false, Page::GearPair},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindPage(row.start, row.spline, row.file, row.save, row.acc), row.page);
    }
}

TEST(PageCommand, CycleOfPagesForEveryTask) {
    struct Row {
        const char* name;
        const char* task;
        bool external, hub;
        Page parameters;
        BuilderCall::Kind kind;
    };
    const Row rows[] = {
        {"external pair", "0", true, false, Page::GearPair, BuilderCall::Kind::ExternalPair},
        {"internal pair", "0", false, false, Page::GearPair, BuilderCall::Kind::InternalPair},
        {"GOST shaft", "1", true, false, Page::Spline, BuilderCall::Kind::Spline},
        {"GOST hub", "1", true, true, Page::Spline, BuilderCall::Kind::Spline},
        {"OST shaft", "2", true, false, Page::Spline, BuilderCall::Kind::Spline},
        {"OST hub", "2", true, true, Page::Spline, BuilderCall::Kind::Spline},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form form;
        Capture capture;
        form.in.task = row.task;
        form.in.external = row.external;
        form.in.hub = row.hub;
        form.in.txtm = form.in.txtmSL = "2";
        form.in.txtZ1 = "20";
        form.in.txtZ2 = "40";
        form.in.txtZ = "18";
        const Page order[] = {row.parameters, Page::Accuracy, Page::File, Page::Report,
                              Page::Start};
        for (int pass = 1; pass <= 2; ++pass) {
            SCOPED_TRACE(pass);
            for (Page next : order) {
                const PageOutcome out = form.Press(capture.Fn());
                EXPECT_FALSE(out.refused);
                EXPECT_FALSE(out.message.has_value());
                EXPECT_EQ(out.next, next);
                EXPECT_EQ(form.visible, FramesOf(next));
                EXPECT_EQ(form.Current(), next);
            }
            ASSERT_EQ(capture.calls.size(), static_cast<std::size_t>(pass));
            EXPECT_EQ(capture.calls.back().kind, row.kind);
            EXPECT_EQ(form.state.SingleMember, row.parameters == Page::Spline);
            // The name proposed on the first pass stays; the report shows the path written.
            EXPECT_EQ(form.txtRep, capture.paths.back());
            EXPECT_EQ(capture.paths.back(), "/home/designer/parts/" + form.in.txtFileName);
        }
    }
}

TEST(PageCommand, LeavingTheStartPage) {
    struct Row {
        const char* task;
        Page next;
        bool singleMember, shiftRow, rackStored;
        std::optional<Box> focus;
        std::optional<std::string> txtX;
    };
    const Row rows[] = {
        {"0", Page::GearPair, false, true, true, std::nullopt, std::nullopt},
        {"1", Page::Spline, true, true, false, Box::txtmSL, std::nullopt},
        {"2", Page::Spline, true, false, false, Box::txtmSL, std::string()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.task);
        MainMod state;
        StoreRack(state, kRackRows[4].rack);  // a 28-degree row chosen on an earlier pass
        state.SingleMember = !row.singleMember;
        PageInput in = Window();
        in.task = row.task;
        in.txtX = "0,3";  // typed for a GOST spline before
        const PageOutcome out = CtlComClick(state, in, Capture().Fn());
        EXPECT_EQ(out.next, row.next);
        EXPECT_EQ(state.SingleMember, row.singleMember);
        EXPECT_EQ(out.shiftRowVisible, row.shiftRow);
        EXPECT_EQ(out.focus, row.focus);
        EXPECT_EQ(out.txtX, row.txtX);
        EXPECT_EQ(out.firstRackRowStored, row.rackStored);
        EXPECT_EQ(state.Alfa, row.rackStored ? 20 : 28);
        EXPECT_EQ(state.Ro, row.rackStored ? 0.38 : 0.31742);
    }
}

TEST(PageCommand, ParameterChecks) {
    const std::string wrong = "Неверно задан параметр:";
    const std::string gearModule = wrong + "\r\nМодуль нормальный, мм !";
    const std::string splineModule = wrong + "\r\nМодуль, мм !";
    const std::string z1 = wrong + "Число зубьев Z1";
    const std::string z2 = wrong + "Число зубьев Z2";
    const std::string z = wrong + "Число зубьев";
    struct Row {
        const char* name;
        PageInput in;
        std::optional<Box> focus;  // empty: the page is left
        std::string text;
    };
    const Row rows[] = {
        {"module 0,5 passes", GearPairPage("0,5", "20", "40"), std::nullopt, ""},
        {"module 0 refused", GearPairPage("0", "20", "40"), Box::txtm, gearModule},
        {"module empty refused", GearPairPage("", "20", "40"), Box::txtm, gearModule},
        {"negative module refused", GearPairPage("-2", "20", "40"), Box::txtm, gearModule},
        {"module checked first", GearPairPage("0", "0", "0"), Box::txtm, gearModule},
        {"Z1 0,9 refused", GearPairPage("2", "0,9", "40"), Box::txtZ1, z1},
        {"Z1 1,4 passes", GearPairPage("2", "1,4", "40"), std::nullopt, ""},
        {"Z1 20abc passes", GearPairPage("2", "20abc", "40"), std::nullopt, ""},
        {"Z1 0.4 rounds to no teeth", GearPairPage("2", "0.4", "40"), Box::txtZ1, z1},
        {"Z1 0.5 rounds to no teeth", GearPairPage("2", "0.5", "40"), Box::txtZ1, z1},
        {"Z2 text refused", GearPairPage("2", "20", "abc"), Box::txtZ2, z2},
        {"Z2 negative refused", GearPairPage("2", "20", "-40"), Box::txtZ2, z2},
        {"external 32767 passes", GearPairPage("2", "20", "32767"), std::nullopt, ""},
        {"external 32768 refused", GearPairPage("2", "32768", "40"), Box::txtZ1, z1},
        {"external 32767.5 rounds past 16 bits", GearPairPage("2", "20", "32767.5"), Box::txtZ2,
         z2},
        {"external huge count refused", GearPairPage("2", "1e300", "40"), Box::txtZ1, z1},
        {"external equal counts pass", GearPairPage("2", "30", "30"), std::nullopt, ""},
        {"internal 32767 passes", GearPairPage("2", "20", "32767", false), std::nullopt, ""},
        {"internal 40000 refused", GearPairPage("2", "20", "40000", false), Box::txtZ2, z2},
        {"internal 3e9 refused", GearPairPage("2", "3e9", "40", false), Box::txtZ1, z1},
        {"internal equal counts refused", GearPairPage("2", "30", "30", false), Box::txtZ2, z2},
        {"internal counts equal once rounded", GearPairPage("2", "30,4", "30", false),
         Box::txtZ2, z2},
        {"spline module 0 refused", SplinePage("1", "0", "18"), Box::txtmSL, splineModule},
        {"spline module 1,25 passes", SplinePage("1", "1,25", "18"), std::nullopt, ""},
        {"spline Z 0,9 refused", SplinePage("2", "1", "0,9"), Box::txtZ, z},
        {"spline Z empty refused", SplinePage("1", "1", ""), Box::txtZ, z},
        {"shaft 3276 passes", SplinePage("1", "1", "3276"), std::nullopt, ""},
        {"shaft 3277 refused: partner beyond 16 bits", SplinePage("1", "1", "3277"), Box::txtZ,
         z},
        {"hub 3277 passes", SplinePage("1", "1", "3277", true), std::nullopt, ""},
        {"hub 32768 refused", SplinePage("1", "1", "32768", true), Box::txtZ, z},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        const PageOutcome out = CtlComClick(state, row.in, Capture().Fn());
        EXPECT_EQ(out.refused, row.focus.has_value());
        EXPECT_EQ(out.focus, row.focus);
        if (!row.focus) {
            EXPECT_EQ(out.next, Page::Accuracy);
            EXPECT_FALSE(out.message.has_value());
            continue;
        }
        EXPECT_EQ(out.next, row.in.page);
        EXPECT_TRUE(out.hide.empty() && out.show.empty());
        ASSERT_TRUE(out.message.has_value());
        EXPECT_EQ(out.message->text, row.text);
        EXPECT_EQ(out.message->icon, MessageIcon::Critical);
        EXPECT_EQ(out.message->title, "Ошибка данных...");
        // Nothing stored: no rack, no path, no name proposed.
        EXPECT_EQ(state.Alfa, 0);
        EXPECT_TRUE(state.OutFile.empty());
        EXPECT_FALSE(out.txtFileName.has_value());
    }
}

// Runs the parameters page, then the file page with the same boxes; returns the builder call.
BuilderCall CallFor(PageInput in, MainMod& state) {
    Capture capture;
    EXPECT_FALSE(CtlComClick(state, in, capture.Fn()).refused);
    in.page = Page::File;
    in.txtFileName = "part";
    const PageOutcome out = CtlComClick(state, in, capture.Fn());
    EXPECT_EQ(capture.calls.size(), 1u);
    return out.call.value_or(BuilderCall{});
}

TEST(PageCommand, NumbersReachingTheBuilder) {
    struct Row {
        const char* name;
        const char* z1;
        const char* z2;
        bool external;
        int Z1, Z2;
    };
    const Row rows[] = {
        {"comma: checked as 1, drawn as 1.4 rounded", "1,4", "40", true, 1, 40},
        {"trailing letters", "20abc", "41abc", true, 20, 41},
        {"halves to even, external", "20.5", "21.5", true, 20, 22},
        {"halves to even, internal", "20.5", "41,5", false, 20, 42},
        {"blanks skipped", " 2 0", "4\t0", false, 20, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        StoreRack(state, kRackRows[3].rack);  // the 25-degree row
        PageInput in = GearPairPage("2,5", row.z1, row.z2, row.external);
        in.txtBeta = "8,5";
        in.txtx1 = "0,5";
        in.txtx2 = "-0.25";
        in.txtJbn = "0,1mm";
        const BuilderCall call = CallFor(in, state);
        EXPECT_EQ(call.kind, row.external ? BuilderCall::Kind::ExternalPair
                                          : BuilderCall::Kind::InternalPair);
        EXPECT_EQ(call.Z1, row.Z1);
        EXPECT_EQ(call.Z2, row.Z2);
        EXPECT_EQ(call.m, 2.5);
        EXPECT_EQ(call.beta, 8.5);
        EXPECT_EQ(call.alpha, 25);
        EXPECT_EQ(call.x1, 0.5);
        EXPECT_EQ(call.x2, -0.25);
        EXPECT_EQ(call.jn, 0.1);
    }
}

TEST(PageCommand, SplineRackAndShift) {
    struct Row {
        const char* name;
        const char* task;
        const char* m;
        const char* shift;
        bool hub;
        double h, c, x;
    };
    const Row rows[] = {
        {"GOST shaft", "1", "2", "", false, 0.45, 0.1, 0},
        {"GOST hub, shift in mm becomes a coefficient", "1", "2", "0,3", true, 0.45, 0.1, 0.15},
        {"OST module 1", "2", "1", "", false, 0.75, 0.2, 0},
        {"OST module 1.0", "2", "1.0", "", true, 0.75, 0.2, 0},
        {"OST module 1,0", "2", "1,0", "", false, 0.75, 0.2, 0},
        {"OST module 1.01", "2", "1.01", "", false, 0.5, 0.2, 0},
        {"OST module 2", "2", "2", "", true, 0.5, 0.2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        StoreRack(state, kRackRows[0].rack);  // whatever the gear-pair page showed
        PageInput in = SplinePage(row.task, row.m, "18,5", row.hub);
        in.txtX = row.shift;
        const BuilderCall call = CallFor(in, state);
        EXPECT_EQ(state.Alfa, 30);
        EXPECT_EQ(state.H, row.h);
        EXPECT_EQ(state.Hf, row.h);
        EXPECT_EQ(state.C, row.c);
        EXPECT_EQ(state.Ro, 0.15);
        EXPECT_EQ(call.kind, BuilderCall::Kind::Spline);
        EXPECT_EQ(call.Z, 18);
        EXPECT_EQ(call.alpha, 30);
        EXPECT_DOUBLE_EQ(call.x, row.x);
        EXPECT_EQ(call.hub, row.hub);
    }
}

TEST(PageCommand, OstSplineDrawsUnshiftedAfterAGostShift) {
    Form form;
    Capture capture;
    form.in.task = "1";
    form.in.txtmSL = "2";
    form.in.txtZ = "18";
    form.in.txtX = "0,4";
    for (int press = 0; press < 5; ++press) form.Press(capture.Fn());
    form.in.task = "2";
    for (int press = 0; press < 4; ++press) form.Press(capture.Fn());
    ASSERT_EQ(capture.calls.size(), 2u);
    EXPECT_DOUBLE_EQ(capture.calls[0].x, 0.2);
    EXPECT_EQ(capture.calls[1].x, 0);
    EXPECT_EQ(form.in.txtX, "");
    // Back on the gear-pair page the 20-degree row replaces the spline rack.
    form.in.task = "0";
    form.Press(capture.Fn());
    form.Press(capture.Fn());
    EXPECT_EQ(form.state.Alfa, 20);
    EXPECT_EQ(form.state.H, 1);
    EXPECT_EQ(form.state.C, 0.25);
    EXPECT_EQ(form.state.Ro, 0.38);
}

TEST(PageCommand, ProposedNameOnTheFirstPass) {
    struct Row {
        const char* name;
        PageInput in;
        const char* date;
        const char* time;
        const char* dir;
        std::string fileName;
    };
    const Row rows[] = {
        {"gear pair", GearPairPage("2.5", "20", "41"), "05.12.2026", "10:42:15",
         "/home/designer/parts", "20x41x2_5_05_12_2026_10_42_15.dxf"},
        {"spline keeps the comma", SplinePage("1", "1,25", "18"), "05.12.2026", "10:42:15",
         "/home/designer/parts", "SL_18x1,25_05_12_2026_10_42_15.dxf"},
        {"date with slashes", GearPairPage("2", "20", "40"), "12/5/2026", "10:42:15 AM",
         "/home/designer/parts", "20x40x2_12_5_2026_10_42_15 AM.dxf"},
        {"characters Windows refuses", GearPairPage("2", "20?", "40*"), "5\\12|2026",
         "\"10<42>15\t", "/home/designer/parts", "20_x40_x2_5_12_2026__10_42_15_.dxf"},
        {"root folder", GearPairPage("2", "20", "40"), "05.12.2026", "10:42:15", "/",
         "20x40x2_05_12_2026_10_42_15.dxf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        PageInput in = row.in;
        in.dateText = row.date;
        in.timeText = row.time;
        in.dirPath = row.dir;
        in.dirHighlighted = "/elsewhere";
        const PageOutcome out = CtlComClick(state, in, Capture().Fn());
        ASSERT_TRUE(out.txtFileName.has_value());
        EXPECT_EQ(*out.txtFileName, row.fileName);
        const std::string dir = row.dir;
        EXPECT_EQ(state.OutFile, (dir == "/" ? dir : dir + "/") + row.fileName);

        // A second pass keeps the name the designer may have changed.
        const std::string path = state.OutFile;
        in.dateText = "06.12.2026";
        EXPECT_FALSE(CtlComClick(state, in, Capture().Fn()).txtFileName.has_value());
        EXPECT_EQ(state.OutFile, path);
    }
}

TEST(PageCommand, OutputPathAndReport) {
    struct Row {
        const char* name;
        const char* highlighted;
        const char* fileName;
        const char* path;
    };
    const Row rows[] = {
        {"highlighted folder, not the opened one", "/home/designer/parts/gears", "part",
         "/home/designer/parts/gears/part.dxf"},
        {"root folder gets one separator", "/", " part ", "/part.dxf"},
        {"folder ending in a separator", "/tmp/", "part.dxf", "/tmp/part.dxf"},
        {"blanks trimmed", "/tmp", "   part.dxf  ", "/tmp/part.dxf"},
        {"plan.DXF stays", "/tmp", "plan.DXF", "/tmp/plan.DXF"},
        {"plan.Dxf gets .dxf", "/tmp", "plan.Dxf", "/tmp/plan.Dxf.dxf"},
        {"plan gets .dxf", "/tmp", "plan", "/tmp/plan.dxf"},
        {"empty name", "/tmp", "", "/tmp/.dxf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        state.OutFile = "/home/designer/parts/20x40x2_05_12_2026_10_42_15.dxf";
        PageInput in = GearPairPage("2", "20", "40");
        in.page = Page::File;
        in.dirHighlighted = row.highlighted;
        in.txtFileName = row.fileName;
        Capture capture;
        const PageOutcome out = CtlComClick(state, in, capture.Fn());
        ASSERT_EQ(capture.paths.size(), 1u);
        EXPECT_EQ(capture.paths[0], row.path);
        EXPECT_EQ(state.OutFile, row.path);
        EXPECT_EQ(out.txtRep, std::optional<std::string>(row.path));
        EXPECT_EQ(out.next, Page::Report);
        EXPECT_EQ(out.hide, (std::vector<Frame>{Frame::frFile, Frame::frContur, Frame::frPar}));
        EXPECT_EQ(out.show, std::vector<Frame>{Frame::frSave});
    }
}

TEST(PageCommand, PointCountsHeldToTheScrollBarRanges) {
    struct Row {
        const char* name;
        const char* ev;
        const char* per;
        std::int32_t accEv, accPer;
        std::optional<std::string> evShown, perShown;
    };
    const Row rows[] = {
        {"defaults", "6", "3", 6, 3, std::nullopt, std::nullopt},
        {"halves to even", "6.5", "7.5", 6, 8, std::nullopt, std::nullopt},
        {"a comma ends the number", "12,7", "4,9", 12, 4, std::nullopt, std::nullopt},
        {"largest", "100", "50", 100, 50, std::nullopt, std::nullopt},
        {"above the range", "101", "50.6", 100, 50, "100", "50"},
        {"below the range", "2", "2.5", 3, 3, "3", "3"},
        {"no number", "", "points", 3, 3, "3", "3"},
        {"negative and huge", "-7", "1e30", 3, 50, "3", "50"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        PageInput in = Window();
        in.page = Page::Accuracy;
        in.txtAccEv = row.ev;
        in.txtAccPer = row.per;
        const PageOutcome out = CtlComClick(state, in, Capture().Fn());
        EXPECT_EQ(state.AccEv, row.accEv);
        EXPECT_EQ(state.AccPer, row.accPer);
        EXPECT_EQ(out.txtAccEv, row.evShown);
        EXPECT_EQ(out.txtAccPer, row.perShown);
        EXPECT_EQ(out.next, Page::File);
    }
}

TEST(PageCommand, DrawingNotSavedKeepsTheFilePage) {
    DrawResult noFile{DrawStatus::FileNotWritten, {}, "Permission denied"};
    DrawResult pointed{DrawStatus::GeometryRefused,
                       {GeometryFault::PointedTooth, 1, "Колесо 1"}, {}};
    struct Row {
        const char* name;
        DrawResult result;
        std::string text;
    };
    const Row rows[] = {
        {"file", noFile,
         "Чертёж не сохранён: не удалось записать файл\r\n/srv/part.dxf\r\nPermission denied"},
        {"geometry", pointed, "Чертёж не построен и не сохранён.\r\n" + pointed.Reason()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        state.OutFile = "/home/designer/parts/first.dxf";
        PageInput in = GearPairPage("2", "20", "40");
        in.page = Page::File;
        in.dirHighlighted = "/srv";
        in.txtFileName = "part";
        Capture capture;
        capture.result = row.result;
        const PageOutcome out = CtlComClick(state, in, capture.Fn());
        EXPECT_EQ(capture.calls.size(), 1u);
        ASSERT_TRUE(out.message.has_value());
        EXPECT_EQ(out.message->text, row.text);
        EXPECT_EQ(out.message->icon, MessageIcon::Exclamation);
        EXPECT_EQ(out.message->title, "Внимание!");
        EXPECT_EQ(out.next, Page::File);
        EXPECT_TRUE(out.hide.empty() && out.show.empty());
        EXPECT_FALSE(out.txtRep.has_value());
        EXPECT_FALSE(out.txtFileName.has_value());
        EXPECT_EQ(state.OutFile, "/home/designer/parts/first.dxf");
    }
}

TEST(StartUp, DefaultsAndCaption) {
    MainMod state;
    InitMainMod(state);
    EXPECT_EQ(state.AccEv, 6);
    EXPECT_EQ(state.AccPer, 3);
    EXPECT_EQ(WindowCaption(), "Tarvo 3.0.4");
}

// A fresh folder for the drawings of one test, removed afterwards.
class DrawingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tarvo-page-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }
    static std::string Bytes(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Put(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

using PageCommandEndToEnd = DrawingFolder;

TEST_F(PageCommandEndToEnd, WindowDrawingsMatchTarvoCli) {
    struct Row {
        const char* name;
        const char* task;
        bool external, hub;
        const char* m;
        const char* z1;  // txtZ1, or txtZ for a spline
        const char* z2;
        const char* helix;
        const char* x1;  // txtx1, or txtX (mm) for a spline
        const char* x2;
        const char* jn;
        int rackRow;     // the row the designer picks on the gear-pair page, -1 for none
        const char* ev;
        const char* per;
        const char* cli;
    };
    const Row rows[] = {
        {"external", "0", true, false, "2", "20", "40", "", "0,5", "0.3", "", -1, "6", "3",
         "pair --mesh external --module 2 --z1 20 --z2 40 --x1 0.5 --x2 0.3"},
        {"external helical, rack 25", "0", true, false, "3", "17", "53", "15", "0,3", "-0,1",
         "0,1", 3, "12", "6",
         "pair --mesh external --module 3 --z1 17 --z2 53 --helix 15 --x1 0.3 --x2 -0.1 "
         "--backlash 0.1 --rack 25 --involute-points 12 --fillet-points 6"},
        {"internal, ring entered first", "0", false, false, "2", "40", "20", "", "0,5", "0,2",
         "", -1, "6", "3", "pair --mesh internal --module 2 --z1 40 --z2 20 --x1 0.5 --x2 0.2"},
        {"GOST shaft", "1", true, false, "2", "20", "", "", "", "", "", -1, "6", "3",
         "spline --standard gost --part shaft --module 2 --teeth 20"},
        {"GOST hub with shift", "1", true, true, "2", "20", "", "", "0,3", "", "", -1, "6", "3",
         "spline --standard gost --part hub --module 2 --teeth 20 --shift 0.3"},
        {"OST shaft", "2", true, false, "1", "18", "", "", "", "", "", -1, "40", "20",
         "spline --standard ost --part shaft --module 1 --teeth 18 --involute-points 40 "
         "--fillet-points 20"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form form;
        const bool spline = std::string(row.task) != "0";
        form.in.task = row.task;
        form.in.external = row.external;
        form.in.hub = row.hub;
        form.in.dirHighlighted = dir_.string();
        ASSERT_EQ(form.Press(RunBuilder).next, spline ? Page::Spline : Page::GearPair);
        if (row.rackRow >= 0) {
            StoreRack(form.state, kRackRows[static_cast<std::size_t>(row.rackRow)].rack);
        }
        (spline ? form.in.txtmSL : form.in.txtm) = row.m;
        (spline ? form.in.txtZ : form.in.txtZ1) = row.z1;
        form.in.txtZ2 = row.z2;
        form.in.txtBeta = row.helix;
        (spline ? form.in.txtX : form.in.txtx1) = row.x1;
        form.in.txtx2 = row.x2;
        form.in.txtJbn = row.jn;
        form.in.txtAccEv = row.ev;
        form.in.txtAccPer = row.per;
        form.Press(RunBuilder);  // parameters
        form.Press(RunBuilder);  // accuracy
        form.in.txtFileName = "window.dxf";
        const PageOutcome out = form.Press(RunBuilder);
        const fs::path drawn = dir_ / "window.dxf";
        ASSERT_EQ(out.next, Page::Report) << (out.message ? out.message->text : "");
        EXPECT_EQ(form.txtRep, drawn.string());

        const fs::path reference = dir_ / "cli.dxf";
        const std::string command = std::string("'") + TARVO_CLI + "' " + row.cli + " -o '" +
                                    reference.string() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string window = Bytes(drawn);
        EXPECT_GT(window.size(), 1000u);
        EXPECT_TRUE(window == Bytes(reference)) << "window and tarvo-cli drawings differ";
        EXPECT_EQ(form.Press(RunBuilder).next, Page::Start);
    }
}

TEST_F(PageCommandEndToEnd, DrawingNotSavedLeavesFilesAlone) {
    const std::string old = "an earlier drawing\r\n";
    Put(dir_ / "plain.dxf", old);
    Put(dir_ / "part.dxf", old);
    struct Row {
        const char* name;
        fs::path folder;
        const char* x1;
        bool fileFault;  // else the geometry is refused
    };
    const Row rows[] = {
        {"missing folder", dir_ / "absent", "0", true},
        {"folder is a file", dir_ / "plain.dxf", "0", true},
        {"pointed teeth over an existing file", dir_, "3", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        InitMainMod(state);
        PageInput in = GearPairPage("2", "20", "40");
        in.txtx1 = row.x1;
        ASSERT_FALSE(CtlComClick(state, in, RunBuilder).refused);
        in.page = Page::File;
        in.dirHighlighted = row.folder.string();
        in.txtFileName = "part";
        const PageOutcome out = CtlComClick(state, in, RunBuilder);
        ASSERT_TRUE(out.drawn.has_value());
        EXPECT_EQ(out.drawn->status,
                  row.fileFault ? DrawStatus::FileNotWritten : DrawStatus::GeometryRefused);
        ASSERT_TRUE(out.message.has_value());
        EXPECT_EQ(out.message->title, "Внимание!");
        EXPECT_EQ(out.message->icon, MessageIcon::Exclamation);
        EXPECT_NE(out.message->text.find(out.drawn->Reason()), std::string::npos);
        EXPECT_FALSE(out.drawn->Reason().empty());
        if (row.fileFault) {
            EXPECT_NE(out.message->text.find((row.folder / "part.dxf").string()),
                      std::string::npos);
        }
        EXPECT_EQ(out.next, Page::File);
        EXPECT_FALSE(out.txtRep.has_value());
        EXPECT_EQ(Bytes(dir_ / "plain.dxf"), old);
        EXPECT_EQ(Bytes(dir_ / "part.dxf"), old);
    }
    EXPECT_FALSE(fs::exists(dir_ / "absent"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(PageCommandEndToEnd, ReadOnlyFolderKeepsItsFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    }
    const std::string old = "an earlier drawing\r\n";
    Put(dir_ / "part.dxf", old);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    MainMod state;
    InitMainMod(state);
    PageInput in = GearPairPage("2", "20", "40");
    ASSERT_FALSE(CtlComClick(state, in, RunBuilder).refused);
    in.page = Page::File;
    in.dirHighlighted = dir_.string();
    in.txtFileName = "part.dxf";
    const PageOutcome out = CtlComClick(state, in, RunBuilder);
    ASSERT_TRUE(out.message.has_value());
    EXPECT_EQ(out.message->title, "Внимание!");
    EXPECT_EQ(out.next, Page::File);
    EXPECT_EQ(Bytes(dir_ / "part.dxf"), old);
}

}  // namespace
}  // namespace tarvo
