// The STEP file of each kind of drawing, read back with OCCT's own reader: every solid valid and
// named, its volume the section's area times b, its sections at z = 0, b/2 and b the drawing's
// outline turned by the twist of the wheel's hand, its curves on the generator's denser points
// (the drawn flanks against the exact involute: the ChordTolerance suite).
#include <gtest/gtest.h>

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_Plane.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Face.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <gp_Pln.hxx>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "cli/cli_run.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/member_sections.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "profile/gear_outline.h"
#include "solid/gear_step.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::Rack20State;
using testing::SplineMember;
using testing::SplineState;

// A wheel of the drawing as the test expects to find it in the file.
struct DrawnWheel {
    std::string name;
    std::vector<PointXY> outline;  // the drawing's outline, placed
    double centreX = 0;
    double twistPerMm = 0;       // expected anticlockwise turn of the section per mm of height
    std::vector<PointXY> dense;  // points of a denser flank, placed (tooth 0, both sides)
};

struct Case {
    const char* name;
    MainMod state;
    BuilderCall call;
    double faceWidth;
};

// Both sides of a flank, turned clockwise by `turn` and moved to (centreX, 0).
std::vector<PointXY> Placed(const std::vector<PointXY>& flank, double turn, double centreX) {
    std::vector<PointXY> out;
    for (const PointXY& p : flank) {
        for (const double y : {p.Y, -p.Y}) {
            out.push_back({p.X * std::cos(turn) + y * std::sin(turn) + centreX,
                           -p.X * std::sin(turn) + y * std::cos(turn)});
        }
    }
    return out;
}

// The points of an internal flank that the drawing keeps where the generator put them: past the
// space's centre line the drawing ends the fillet on a chord's crossing with the line, which lies
// off the exact fillet by the chord's sagitta (a micrometre or two at the drawing's accuracy).
std::vector<PointXY> KeptByDrawing(int z, const std::vector<PointXY>& flank) {
    const std::vector<PointXY> drawn = EndFilletOnSpaceCentreLine(z, flank);
    std::vector<PointXY> kept;
    for (std::size_t i = 0; i < flank.size(); ++i) {
        if (drawn[i].X == flank[i].X && drawn[i].Y == flank[i].Y) {
            kept.push_back(flank[i]);
        }
    }
    return kept;
}

DrawnWheel Wheel(const char* name, std::vector<PointXY> outline, double centreX, double twist,
                 std::vector<PointXY> dense) {
    DrawnWheel w;
    w.name = name;
    w.outline = std::move(outline);
    w.centreX = centreX;
    w.twistPerMm = twist;
    w.dense = std::move(dense);
    return w;
}

// The wheels of a case as its drawing has them, and the twist a right-hand wheel 1 gives each
// (wheel 2 of an external pair is left-hand); the dense flank at the finest accuracy.
std::vector<DrawnWheel> Drawn(const Case& c) {
    MainMod dense = c.state;
    dense.AccEv = 97;
    dense.AccPer = 41;
    const double tanBeta = std::tan(c.call.beta * kPi / 180);
    switch (c.call.kind) {
        case BuilderCall::Kind::ExternalPair: {
            const ExternalPairResult g = ComputeExternalPair(c.state, c.call);
            const ExternalPairResult d = ComputeExternalPair(dense, c.call);
            EXPECT_TRUE(g.ok() && d.ok());
            const double turn2 = c.call.Z2 % 2 == 0 ? kPi / c.call.Z2 : 0;
            return {Wheel("Колесо 1", g->wheel1.Points(), 0, 2 * tanBeta / g->d1,
                          Placed(d->flank1, 0, 0)),
                    Wheel("Колесо 2", g->wheel2.Points(), g->aw, -2 * tanBeta / g->d2,
                          Placed(d->flank2, turn2, g->aw))};
        }
        case BuilderCall::Kind::InternalPair: {
            const InternalPairResult g = ComputeInternalPair(c.state, c.call);
            const InternalPairResult d = ComputeInternalPair(dense, c.call);
            EXPECT_TRUE(g.ok() && d.ok());
            // Wheel 1 is the pinion here; an internal mesh keeps one hand.
            return {Wheel("Колесо 2", Placed(KeptByDrawing(g->zr, g->ringFlank), 0, 0), 0,
                          2 * tanBeta / g->dr, Placed(KeptByDrawing(g->zr, d->ringFlank), 0, 0)),
                    Wheel("Колесо 1", g->pinion.Points(), g->aw, 2 * tanBeta / g->dp,
                          Placed(d->pinionFlank, kPi / g->zp, g->aw))};
        }
        case BuilderCall::Kind::Spline: {
            const SplineResult g = ComputeSpline(c.state, c.call);
            const SplineResult d = ComputeSpline(dense, c.call);
            EXPECT_TRUE(g.ok() && d.ok());
            if (c.call.hub) {
                const double turn = kPi / c.call.Z;
                return {Wheel("Втулка", Placed(KeptByDrawing(c.call.Z, g->flank), turn, 0), 0, 0,
                              Placed(KeptByDrawing(c.call.Z, d->flank), turn, 0))};
            }
            return {Wheel("Вал", g->outline.Points(), 0, 0, Placed(d->flank, 0, 0))};
        }
    }
    return {};
}

// The solids of a STEP file and their names, through OCCT's XCAF reader.
struct ReadSolid {
    std::string name;
    TopoDS_Shape shape;
};

std::vector<ReadSolid> ReadStep(const std::string& path) {
    Handle(TDocStd_Document) doc;
    XCAFApp_Application::GetApplication()->NewDocument("MDTV-XCAF", doc);
    STEPCAFControl_Reader reader;
    reader.SetNameMode(true);
    std::vector<ReadSolid> solids;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone || !reader.Transfer(doc)) {
        return solids;
    }
    const Handle(XCAFDoc_ShapeTool) tool = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
    TDF_LabelSequence labels;
    tool->GetFreeShapes(labels);
    for (int i = 1; i <= labels.Length(); ++i) {
        Handle(TDataStd_Name) name;
        std::string text;
        if (labels.Value(i).FindAttribute(TDataStd_Name::GetID(), name)) {
            const TCollection_AsciiString utf8(name->Get());
            text = utf8.ToCString();
        }
        solids.push_back({text, tool->GetShape(labels.Value(i))});
    }
    XCAFApp_Application::GetApplication()->Close(doc);
    return solids;
}

double Volume(const TopoDS_Shape& shape) {
    GProp_GProps props;
    // The adaptive integration: the default Gauss rule on B-spline faces errs by a few 1e-6.
    BRepGProp::VolumeProperties(shape, props, 1e-11);
    return props.Mass();
}

// The area of the section: of the solid's plane face at z = 0.
double BottomArea(const TopoDS_Shape& solid) {
    double area = 0;
    for (TopExp_Explorer faces(solid, TopAbs_FACE); faces.More(); faces.Next()) {
        GProp_GProps props;
        BRepGProp::SurfaceProperties(faces.Current(), props, 1e-11);
        GProp_GProps centre;
        BRepGProp::LinearProperties(faces.Current(), centre);
        if (std::abs(centre.CentreOfMass().Z()) < 1e-9) {
            area = props.Mass();
        }
    }
    return area;
}

// Distances from the side of a solid (every face but the plane ends): each face's surface,
// parameter bounds and bounding box found once, then only the faces whose box comes near a
// point are projected on. A point at height z on the side is a point of the section at z.
class SideDistance {
  public:
    explicit SideDistance(const TopoDS_Shape& solid) {
        for (TopExp_Explorer faces(solid, TopAbs_FACE); faces.More(); faces.Next()) {
            const TopoDS_Face face = TopoDS::Face(faces.Current());
            Side side;
            side.surface = BRep_Tool::Surface(face);
            if (side.surface->IsKind(STANDARD_TYPE(Geom_Plane))) {
                continue;
            }
            BRepTools::UVBounds(face, side.u0, side.u1, side.v0, side.v1);
            BRepBndLib::Add(face, side.box);
            sides_.push_back(side);
        }
    }

    // The largest distance of the points, at height z, from the side.
    double Farthest(const std::vector<PointXY>& points, double z) const {
        double worst = 0;
        for (const PointXY& p : points) {
            worst = std::max(worst, Nearest(gp_Pnt(p.X, p.Y, z)));
        }
        return worst;
    }

  private:
    struct Side {
        Handle(Geom_Surface) surface;
        double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
        Bnd_Box box;
    };

    double Nearest(const gp_Pnt& p) const {
        Bnd_Box point;
        point.Add(p);
        double best = 1e9;
        for (const Side& side : sides_) {
            if (side.box.Distance(point) > std::min(best, 1e-2)) {
                continue;
            }
            GeomAPI_ProjectPointOnSurf project(p, side.surface, side.u0, side.u1, side.v0, side.v1);
            if (project.NbPoints() > 0) {
                best = std::min(best, project.LowerDistance());
            }
        }
        return best;
    }

    std::vector<Side> sides_;
};

// Points of the first teeth only: the rest repeat them, and each point costs a search.
std::vector<PointXY> FirstTeeth(const std::vector<PointXY>& outline, std::size_t count) {
    return std::vector<PointXY>(outline.begin(), outline.begin() + std::min(count, outline.size()));
}

// The points turned anticlockwise by phi about (cx, 0).
std::vector<PointXY> Turned(const std::vector<PointXY>& points, double cx, double phi) {
    std::vector<PointXY> out;
    for (const PointXY& p : points) {
        const double x = p.X - cx;
        out.push_back({cx + x * std::cos(phi) - p.Y * std::sin(phi),
                       x * std::sin(phi) + p.Y * std::cos(phi)});
    }
    return out;
}

// Each row writes one STEP file the size a CI run affords: tens of teeth, b of 10 to 20 mm.
const Case kCases[] = {
    {"spur external pair", Rack20State(6, 3), ExternalPair(20, 31, 2).Shifts(0.3, 0), 12},
    {"helical external pair", Rack20State(6, 3), ExternalPair(20, 40, 2).Helix(15).Backlash(0.05),
     20},
    {"helical internal pair", Rack20State(6, 3), InternalPair(17, 50, 2).Helix(12).Shifts(0, 0.2),
     15},
    {"GOST hub", SplineState(SplineStandard::Gost6033, 2), SplineMember(18, 2, true).Shift(0.1),
     10},
    {"OST shaft", SplineState(SplineStandard::Ost100086, 1.5), SplineMember(22, 1.5, false), 10},
};

TEST(GearStep, SolidsReadBackAsTheDrawingAndTheExactCurves) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvo-solid-test";
    std::filesystem::create_directories(dir);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<DrawnWheel> drawn = Drawn(c);
        const MemberSectionsResult sections = ComputeMemberSections(c.state, c.call, Hand::Right);
        ASSERT_TRUE(sections.ok());
        std::vector<StepMember> members;
        for (std::size_t i = 0; i < sections->size(); ++i) {
            members.push_back({drawn[i].name, sections.value()[i]});
        }
        const StepTextResult step = GearStepText(members, SolidOptions{c.faceWidth, 0});
        ASSERT_TRUE(step.ok()) << static_cast<int>(step.fault().fault);
        const std::string path = (dir / (std::string(c.name) + ".step")).string();
        std::ofstream(path, std::ios::binary) << step->text;

        const std::vector<ReadSolid> solids = ReadStep(path);
        ASSERT_EQ(solids.size(), drawn.size());
        const double b = c.faceWidth;
        for (std::size_t i = 0; i < solids.size(); ++i) {
            const DrawnWheel& w = drawn[i];
            const SideDistance side(solids[i].shape);
            SCOPED_TRACE(w.name);
            const TopoDS_Shape& solid = solids[i].shape;
            EXPECT_EQ(solids[i].name, w.name);
            EXPECT_TRUE(BRepCheck_Analyzer(solid).IsValid());
            const double area = BottomArea(solid);
            EXPECT_NEAR(Volume(solid) / (area * b), 1, 1e-6);

            // The drawing's vertices (two teeth) on the sections, turned by the wheel's twist.
            const std::vector<PointXY> outline = FirstTeeth(w.outline, 2 * 2 * 9 + 1);
            for (const double z : {0.0, b / 2, b}) {
                SCOPED_TRACE(z);
                const double phi = w.twistPerMm * z;
                EXPECT_LT(side.Farthest(Turned(outline, w.centreX, phi), z), 1e-3);
                if (phi != 0) {
                    // Turned the other way (the other hand), the outline leaves the section.
                    EXPECT_GT(side.Farthest(Turned(outline, w.centreX, -phi), z), 1e-3);
                }
                EXPECT_LT(side.Farthest(Turned(w.dense, w.centreX, phi), z), 1e-5);
            }
        }
    }
}

// tarvo-cli --step: what each outcome says and returns (the face width's number is read by the
// rules every option follows, the CliArgs suite); the drawing is written byte for byte as
// without --step whatever becomes of the model, and a model not made leaves an earlier file.
TEST(CliStep, ExitStatusMessagesAndTheDrawingUntouched) {
    testing::TempFolder folder;
    const std::string dxf = folder.File("p.dxf");
    const std::string step = folder.File("p.step");
    const std::string pair = "pair --mesh external --module 1 --z1 12 --z2 15 -o " + dxf + " ";
    const std::string ring = "pair --mesh internal --module 2 --z1 20 --z2 40 -o " + dxf + " ";
    struct Row {
        const char* name;
        std::string line;
        int status;
        std::string says;
        bool model;
    };
    const Row rows[] = {
        {"written", pair + "--step " + step + " --face-width 5", kCliWritten, step, true},
        {"no face width", pair + "--step " + step, kCliBadUsage, "--step needs --face-width",
         false},
        {"rim without a model", pair + "--rim 90", kCliBadUsage, "need --step", false},
        {"model over the drawing", pair + "--step " + dxf + " --face-width 5", kCliBadUsage,
         "another file", false},
        {"rim inside the root", ring + "--step " + step + " --face-width 5 --rim 80", kCliNotDrawn,
         "диаметр обода («Колесо 2») должен быть больше диаметра впадин 85 мм", false},
        {"missing folder", pair + "--step " + folder.File("none/p.step") + " --face-width 5",
         kCliNotDrawn, "none/p.step не записан: папка не найдена", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::WriteFile(step, "an earlier model");
        const testing::CliRun run = testing::RunCli(row.line);
        EXPECT_EQ(run.status, row.status);
        const std::string said = run.out + run.err;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        EXPECT_EQ(testing::ReadFile(step).rfind("ISO-10303-21;", 0) == 0, row.model);
        if (row.status != kCliBadUsage) {
            // The same drawing as a run without the model.
            const std::string withModel = testing::ReadFile(dxf);
            const std::string plain = row.line.substr(0, row.line.find(" --step"));
            EXPECT_EQ(testing::RunCli(plain).status, kCliWritten);
            EXPECT_EQ(testing::ReadFile(dxf), withModel);
        }
    }
}

}  // namespace
}  // namespace tarvo
