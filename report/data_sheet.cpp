// Building the data sheet: the standard formulas for what the design fixes, the drawing itself
// for what the drawing decides (tip and root circles as written, the outlines for the mesh
// check), and the warnings that follow from both.
#include "report/data_sheet.h"

#include <algorithm>
#include <cmath>

#include "report/drawing_reader.h"
#include "report/gear_formulas.h"
#include "drawing/internal_pair.h"
#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {

namespace {

double Degrees(double radians) { return radians * 180 / kPi; }

// Smallest and largest distance of a drawn outline from its centre.
struct Reach {
    double rMin = 0;
    double rMax = 0;
};

Reach DrawnReach(const std::vector<PointXY>& outline, PointXY centre) {
    Reach r{HUGE_VAL, 0};
    for (const PointXY& p : outline) {
        const double distance = std::hypot(p.X - centre.X, p.Y - centre.Y);
        r.rMin = std::min(r.rMin, distance);
        r.rMax = std::max(r.rMax, distance);
    }
    return r;
}

// One wheel's own numbers. External teeth reach out to their tip circle and in to their root
// circle; internal teeth the other way round.
WheelSheet Wheel(const char* name, int z, double mn, double beta, double alphaN, double x,
                 bool internal, const std::vector<PointXY>& outline, PointXY centre) {
    WheelSheet w;
    w.name = name;
    w.internalTeeth = internal;
    w.z = z;
    w.mn = mn;
    w.mt = TransverseModule(mn, beta);
    w.x = x;
    const double alphaT = TransversePressureAngle(alphaN, beta);
    w.d = ReferenceDiameter(z, w.mt);
    w.db = BaseDiameter(w.d, alphaT);
    const Reach reach = DrawnReach(outline, centre);
    w.da = 2 * (internal ? reach.rMin : reach.rMax);
    w.df = 2 * (internal ? reach.rMax : reach.rMin);
    if (!internal) {
        w.hasSpan = true;
        w.k = SpanTeeth(z, mn, alphaN, alphaT, BaseHelixAngle(beta, alphaT), x, w.d, w.db);
        w.W = BaseTangentLength(z, w.k, mn, alphaN, alphaT, x);
    }
    w.tipThickness = TipToothThickness(w.da, w.d, w.db, w.mt, alphaN, alphaT, beta, x, internal);
    return w;
}

// Where the ring's involute ends towards its root: it is cut by the pinion-type cutter the
// generator fitted, whose own involute ends where its tip rounding begins.
double RingFormDiameter(const InternalPairGeometry& g) {
    const CutterFilletResult& c = g.cutter;
    const double db0 = g.zp * g.mt * std::cos(g.alphaT);
    const double alphaC = ArcCos(db0 / (c.da0 - 2 * c.rho0));
    const double dNa0 = c.da0 - 2 * c.rho0 * (1 - std::sin(alphaC));
    const double a0 = ((g.zr - g.zp) * g.mt / 2) * std::cos(g.alphaT) / std::cos(c.alphaW0);
    return CutterFormDiameter(g.dbr, db0, dNa0, a0, c.alphaW0);
}

void AddWarnings(DataSheet& sheet) {
    for (std::size_t i = 0; i < sheet.wheels.size(); ++i) {
        const WheelSheet& w = sheet.wheels[i];
        if (w.tipThickness < kMinTipThickness * w.mn) {
            sheet.warnings.push_back({SheetWarningKind::PointedTooth, static_cast<int>(i), -1});
        }
    }
    if (!sheet.pair) {
        return;
    }
    if (!(sheet.mesh.epsAlpha >= kMinContactRatio)) {
        sheet.warnings.push_back({SheetWarningKind::LowContactRatio, -1, -1});
    }
    for (std::size_t i = 0; i < sheet.wheels.size(); ++i) {
        if (sheet.wheels[i].interference) {
            sheet.warnings.push_back(
                {SheetWarningKind::Interference, static_cast<int>(i), static_cast<int>(1 - i)});
        }
    }
    if (!sheet.mesh.mesh.done) {
        sheet.warnings.push_back({SheetWarningKind::MeshNotChecked, -1, -1});
    } else if (sheet.mesh.mesh.overlap) {
        sheet.warnings.push_back({SheetWarningKind::Overlap, -1, -1});
    }
}

DataSheet Refused(const std::string& reason) {
    DataSheet sheet;
    sheet.reason = reason;
    return sheet;
}

}  // namespace

DataSheet MakeDataSheet(const MainMod& state, const BuilderCall& call, const DxfDrawing& drawing) {
    const bool pair = call.kind != BuilderCall::Kind::Spline;
    const std::size_t expected = pair ? 2 : 1;
    const std::vector<PointXY> centres = CentreMarks(drawing);
    if (drawing.polylines.size() != expected || centres.size() != expected) {
        return Refused("в чертеже " + std::to_string(drawing.polylines.size()) + " контур(а) и " +
                       std::to_string(centres.size()) + " центр(а), ожидалось по " +
                       std::to_string(expected));
    }
    for (const DxfPolyline& p : drawing.polylines) {
        if (p.points.size() < 4) {
            return Refused("контур в чертеже пуст");
        }
    }

    DataSheet sheet;
    sheet.ok = true;
    sheet.kind = call.kind;
    sheet.pair = pair;
    const double alphaN = GradToRad(call.alpha);
    const double hfP = (state.Hf + state.C) * call.m;  // depth of the tool below its datum line
    const double rhoFP = state.Ro * call.m;

    if (!pair) {
        const DxfPolyline& outline = drawing.polylines[0];
        sheet.wheels.push_back(Wheel(call.hub ? "Втулка" : "Вал", call.Z, call.m, 0, alphaN,
                                     call.x, call.hub, outline.points, centres[0]));
        AddWarnings(sheet);
        return sheet;
    }

    const bool internal = call.kind == BuilderCall::Kind::InternalPair;
    const double beta = GradToRad(call.beta);
    sheet.helical = beta != 0;
    const double alphaT = TransversePressureAngle(alphaN, beta);
    const double mt = TransverseModule(call.m, beta);
    // The drawing holds wheel 1 first for an external pair, the ring first for an internal one.
    const bool firstIsPinion = call.Z1 < call.Z2;
    const std::size_t outline1 = internal && firstIsPinion ? 1 : 0;
    const std::size_t outline2 = 1 - outline1;
    const bool internal1 = internal && !firstIsPinion;
    const bool internal2 = internal && firstIsPinion;
    sheet.wheels.push_back(Wheel("Колесо 1", call.Z1, call.m, beta, alphaN, call.x1, internal1,
                                 drawing.polylines[outline1].points, centres[outline1]));
    sheet.wheels.push_back(Wheel("Колесо 2", call.Z2, call.m, beta, alphaN, call.x2, internal2,
                                 drawing.polylines[outline2].points, centres[outline2]));
    sheet.wheels[0].outline = static_cast<int>(outline1);
    sheet.wheels[1].outline = static_cast<int>(outline2);

    // The mesh formulas take the ring as wheel 2 of an internal pair.
    const std::size_t p = internal && !firstIsPinion ? 1 : 0;  // pinion, or wheel 1
    const std::size_t r = 1 - p;                                // ring, or wheel 2
    const WheelSheet& a = sheet.wheels[p];
    const WheelSheet& b = sheet.wheels[r];
    const double alphaWt = WorkingPressureAngle(a.z, b.z, a.x, b.x, alphaN, alphaT, internal);
    const double aw = WorkingCentreDistance(a.z, b.z, mt, alphaT, alphaWt, internal);
    sheet.mesh.aw = aw;
    sheet.mesh.alphaTw = Degrees(alphaWt);
    sheet.mesh.epsAlpha = TransverseContactRatio(a.da, a.db, b.da, b.db, aw, alphaWt,
                                                 TransverseBasePitch(mt, alphaT), internal);

    // Interference: the mate's tip against the start of each wheel's involute. External teeth
    // are generated by the basic rack; the ring by the cutter its fillet was drawn with.
    for (const std::size_t i : {p, r}) {
        WheelSheet& w = sheet.wheels[i];
        const WheelSheet& mate = sheet.wheels[1 - i];
        const bool ring = internal && i == r;
        const ActiveProfileStart start =
            ActiveProfileStartDiameter(w.db, mate.da, mate.db, aw, alphaWt, internal, ring);
        w.activeStart = start.diameter;
        w.lineOfAction = start.lineOfAction;
        if (!ring) {
            w.formDiameter = RackFormDiameter(w.d, w.db, alphaN, alphaT, hfP, rhoFP, w.x, w.mn);
            w.checkedInterference = true;
            w.interference = start.lineOfAction < 0 || start.diameter < w.formDiameter;
            continue;
        }
        MainMod copy = state;
        copy.SingleMember = false;
        const InternalPairGeometry g = ComputeInternalPair(
            copy, call.Z1, call.Z2, call.m, call.beta, call.alpha, call.x1, call.x2, call.jn);
        if (g.error.ok()) {
            w.formDiameter = RingFormDiameter(g);
            w.checkedInterference = std::isfinite(w.formDiameter);
            w.interference = w.checkedInterference && start.diameter > w.formDiameter;
        }
    }

    // Turned in the designer's order, so "wheel 1" means the same in every line of the sheet.
    const MeshWheel m1{&drawing.polylines[outline1].points, centres[outline1], call.Z1, internal1};
    const MeshWheel m2{&drawing.polylines[outline2].points, centres[outline2], call.Z2, internal2};
    sheet.mesh.mesh = CheckMesh(m1, m2);
    if (sheet.mesh.mesh.overlap) {
        sheet.mesh.remedy = FindOverlapRemedy(state, call, sheet.mesh.mesh);
    }
    AddWarnings(sheet);
    return sheet;
}

DataSheet DataSheetOfFile(const MainMod& state, const BuilderCall& call, const std::string& path) {
    const DxfReadResult read = ReadDrawingInBlocks(path);
    if (!read.ok) {
        return Refused("чертёж не прочитан: " + read.reason);
    }
    return MakeDataSheet(state, call, read.drawing);
}

}  // namespace tarvo
