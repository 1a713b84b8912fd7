// A member's solid. Spur teeth: the section face extruded. Helical teeth: each piece of the
// outline swept while turning, written directly as a B-spline surface whose poles are the
// piece's poles turned by a polynomial fit of the rotation; neighbouring faces share their
// edges by construction, so no sewing is needed.
#include "solid/gear_solid.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <Geom2d_Line.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Plane.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColStd_Array2OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>
#include <gp_Trsf.hxx>

#include <cmath>

#include "math/constants.h"
#include "solid/section_curves.h"

namespace tarvo {

namespace {

// Tolerance of every edge and vertex made here: OCCT's own confusion distance, 0.1 micrometre.
constexpr double kTolerance = 1e-7;
// Largest turn of the section across one span of the rotation's polynomial fit, radians.
constexpr double kMaxSpanTurn = 0.5;
// The fit's degree is the lowest that keeps a point on the rim of the section within this
// distance (mm) of its exact helix: a hundredth of a micrometre.
constexpr double kTwistTolerance = 1e-5 * 1e-3;
constexpr int kMaxTwistDegree = 12;
// An internal member's default rim stands this many modules beyond its root circle.
constexpr double kDefaultRimModules = 6;

// The rotation R(v) = [cos, -sin; sin, cos] of the angle turn * v, v in [0, 1], as a B-spline
// in v: `spans` Bezier spans of `degree`, each interpolating cos and sin at its Chebyshev-Lobatto
// points (ends included, so the section at z = 0 is the plane outline exactly and the top is
// turned by the exact angle). Heights are linear in v: z = b v.
struct TwistFrame {
    int degree = 1;
    int spans = 1;
    std::vector<double> cosine;  // per pole in v
    std::vector<double> sine;
    std::vector<double> height;
    TColStd_Array1OfReal knots;
    TColStd_Array1OfInteger mults;
};

double Binomial(int n, int k) {
    double r = 1;
    for (int i = 1; i <= k; ++i) {
        r = r * (n - k + i) / i;
    }
    return r;
}

// Solves a small dense system by Gaussian elimination with partial pivoting (in place).
std::vector<double> Solve(std::vector<std::vector<double>> a, std::vector<double> f) {
    const std::size_t n = f.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::abs(a[row][col]) > std::abs(a[pivot][col])) {
                pivot = row;
            }
        }
        std::swap(a[col], a[pivot]);
        std::swap(f[col], f[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double q = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) {
                a[row][k] -= q * a[col][k];
            }
            f[row] -= q * f[col];
        }
    }
    std::vector<double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        double s = f[i];
        for (std::size_t k = i + 1; k < n; ++k) {
            s -= a[i][k] * x[k];
        }
        x[i] = s / a[i][i];
    }
    return x;
}

TwistFrame MakeTwistFrame(double turn, double b, double radius) {
    TwistFrame f;
    f.spans = std::max(1, static_cast<int>(std::ceil(std::abs(turn) / kMaxSpanTurn)));
    const double h = std::abs(turn) / f.spans;
    // Interpolation error of a degree-n polynomial at Chebyshev-Lobatto points, bounded by
    // twice the Chebyshev bound (h/2)^(n+1) / ((n+1)! 2^n), times the radius it turns.
    f.degree = 2;
    for (;; ++f.degree) {
        double bound = 2 * radius;
        for (int i = 1; i <= f.degree + 1; ++i) {
            bound *= (h / 2) / i;
        }
        bound /= std::pow(2.0, f.degree);
        if (bound < kTwistTolerance || f.degree == kMaxTwistDegree) {
            break;
        }
    }
    const int n = f.degree;
    std::vector<std::vector<double>> bernstein(n + 1, std::vector<double>(n + 1));
    std::vector<double> t(n + 1);
    for (int m = 0; m <= n; ++m) {
        t[m] = m == 0 ? 0 : m == n ? 1 : (1 - std::cos(m * kPi / n)) / 2;
        for (int j = 0; j <= n; ++j) {
            bernstein[m][j] = Binomial(n, j) * std::pow(t[m], j) * std::pow(1 - t[m], n - j);
        }
    }
    for (int span = 0; span < f.spans; ++span) {
        const double a0 = turn * span / f.spans;
        const double a1 = turn * (span + 1) / f.spans;
        std::vector<double> c(n + 1), s(n + 1);
        for (int m = 0; m <= n; ++m) {
            c[m] = std::cos(a0 + (a1 - a0) * t[m]);
            s[m] = std::sin(a0 + (a1 - a0) * t[m]);
        }
        std::vector<double> cp = Solve(bernstein, c);
        std::vector<double> sp = Solve(bernstein, s);
        // The span's ends are the exact rotations.
        cp.front() = c.front();
        sp.front() = s.front();
        cp.back() = c.back();
        sp.back() = s.back();
        for (int j = span == 0 ? 0 : 1; j <= n; ++j) {
            f.cosine.push_back(cp[j]);
            f.sine.push_back(sp[j]);
            f.height.push_back(b * (span + static_cast<double>(j) / n) / f.spans);
        }
    }
    f.cosine.front() = 1;
    f.sine.front() = 0;
    f.height.front() = 0;
    f.height.back() = b;
    f.knots.Resize(1, f.spans + 1, false);
    f.mults.Resize(1, f.spans + 1, false);
    for (int k = 0; k <= f.spans; ++k) {
        f.knots.SetValue(k + 1, static_cast<double>(k) / f.spans);
        f.mults.SetValue(k + 1, k == 0 || k == f.spans ? n + 1 : n);
    }
    return f;
}

gp_Pnt Turned(const gp_Pnt& p, const TwistFrame& f, std::size_t j) {
    return gp_Pnt(f.cosine[j] * p.X() - f.sine[j] * p.Y(), f.sine[j] * p.X() + f.cosine[j] * p.Y(),
                  f.height[j]);
}

// The path of one point of the section: a B-spline in v through its turned copies.
Handle(Geom_BSplineCurve) Helix(const gp_Pnt& p, const TwistFrame& f) {
    TColgp_Array1OfPnt poles(1, static_cast<int>(f.cosine.size()));
    for (std::size_t j = 0; j < f.cosine.size(); ++j) {
        poles.SetValue(static_cast<int>(j) + 1, Turned(p, f, j));
    }
    return new Geom_BSplineCurve(poles, f.knots, f.mults, f.degree);
}

// The piece swept while turning: poles Q(i, j) = R_j P_i + z_j, weights those of the piece.
Handle(Geom_BSplineSurface) Swept(const Handle(Geom_BSplineCurve) & c, const TwistFrame& f) {
    const int nu = c->NbPoles();
    const int nv = static_cast<int>(f.cosine.size());
    TColgp_Array2OfPnt poles(1, nu, 1, nv);
    TColStd_Array2OfReal weights(1, nu, 1, nv);
    for (int i = 1; i <= nu; ++i) {
        for (int j = 1; j <= nv; ++j) {
            poles.SetValue(i, j, Turned(c->Pole(i), f, static_cast<std::size_t>(j - 1)));
            weights.SetValue(i, j, c->Weight(i));
        }
    }
    TColStd_Array1OfReal uKnots(1, c->NbKnots());
    TColStd_Array1OfInteger uMults(1, c->NbKnots());
    c->Knots(uKnots);
    c->Multiplicities(uMults);
    if (c->IsRational()) {
        return new Geom_BSplineSurface(poles, weights, uKnots, f.knots, uMults, f.mults,
                                       c->Degree(), f.degree);
    }
    return new Geom_BSplineSurface(poles, uKnots, f.knots, uMults, f.mults, c->Degree(), f.degree);
}

// The piece at the top of the sweep: its poles turned by the whole twist and lifted to b.
Handle(Geom_BSplineCurve) Top(const Handle(Geom_BSplineCurve) & c, const TwistFrame& f) {
    const int nu = c->NbPoles();
    TColgp_Array1OfPnt poles(1, nu);
    TColStd_Array1OfReal weights(1, nu);
    for (int i = 1; i <= nu; ++i) {
        poles.SetValue(i, Turned(c->Pole(i), f, f.cosine.size() - 1));
        weights.SetValue(i, c->Weight(i));
    }
    TColStd_Array1OfReal knots(1, c->NbKnots());
    TColStd_Array1OfInteger mults(1, c->NbKnots());
    c->Knots(knots);
    c->Multiplicities(mults);
    if (c->IsRational()) {
        return new Geom_BSplineCurve(poles, weights, knots, mults, c->Degree());
    }
    return new Geom_BSplineCurve(poles, knots, mults, c->Degree());
}

TopoDS_Edge Edge(const Handle(Geom_Curve) & curve, const TopoDS_Vertex& from,
                 const TopoDS_Vertex& to) {
    BRep_Builder builder;
    TopoDS_Edge edge;
    builder.MakeEdge(edge, curve, kTolerance);
    builder.Add(edge, from.Oriented(TopAbs_FORWARD));
    builder.Add(edge, to.Oriented(TopAbs_REVERSED));
    return edge;
}

TopoDS_Vertex Vertex(const gp_Pnt& p) {
    BRep_Builder builder;
    TopoDS_Vertex v;
    builder.MakeVertex(v, p, kTolerance);
    return v;
}

// A line in a face's (u, v) parameter plane: through (u, v), along u or along v.
Handle(Geom2d_Line) ParameterLine(double u, double v, bool alongU) {
    return new Geom2d_Line(gp_Pnt2d(u, v), alongU ? gp_Dir2d(1, 0) : gp_Dir2d(0, 1));
}

struct LoopEdges {
    TopoDS_Wire bottom;  // in the loop's order and direction
    TopoDS_Wire top;
};

// The side faces of one loop, appended to `faces`, and the wires of its bottom and top edges.
LoopEdges TwistedSide(const std::vector<SectionPiece>& loop, const TwistFrame& f,
                      std::vector<TopoDS_Face>& faces) {
    BRep_Builder builder;
    const std::size_t n = loop.size();
    std::vector<TopoDS_Vertex> low(n), high(n);
    std::vector<TopoDS_Edge> rising(n);
    for (std::size_t k = 0; k < n; ++k) {
        const gp_Pnt p = loop[k].spline->StartPoint();
        low[k] = Vertex(p);
        high[k] = Vertex(Turned(p, f, f.cosine.size() - 1));
        rising[k] = Edge(Helix(p, f), low[k], high[k]);
    }
    LoopEdges wires;
    builder.MakeWire(wires.bottom);
    builder.MakeWire(wires.top);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t next = (k + 1) % n;
        const Handle(Geom_BSplineCurve)& c = loop[k].spline;
        const double u0 = c->FirstParameter();
        const double u1 = c->LastParameter();
        TopoDS_Face face;
        builder.MakeFace(face, Swept(c, f), kTolerance);
        const TopoDS_Edge bottom = Edge(c, low[k], low[next]);
        const TopoDS_Edge top = Edge(Top(c, f), high[k], high[next]);
        builder.UpdateEdge(bottom, ParameterLine(0, 0, true), face, kTolerance);
        builder.UpdateEdge(top, ParameterLine(0, 1, true), face, kTolerance);
        builder.UpdateEdge(rising[k], ParameterLine(u0, 0, false), face, kTolerance);
        builder.UpdateEdge(rising[next], ParameterLine(u1, 0, false), face, kTolerance);
        TopoDS_Wire wire;
        builder.MakeWire(wire);
        builder.Add(wire, bottom.Oriented(TopAbs_FORWARD));
        builder.Add(wire, rising[next].Oriented(TopAbs_FORWARD));
        builder.Add(wire, top.Oriented(TopAbs_REVERSED));
        builder.Add(wire, rising[k].Oriented(TopAbs_REVERSED));
        wire.Closed(true);
        builder.Add(face, wire);
        faces.push_back(face);
        builder.Add(wires.bottom, bottom.Oriented(TopAbs_FORWARD));
        builder.Add(wires.top, top.Oriented(TopAbs_FORWARD));
    }
    wires.bottom.Closed(true);
    wires.top.Closed(true);
    return wires;
}

// The rim's outside: a cylinder's side face and its bottom and top circles (anticlockwise).
struct RimSide {
    TopoDS_Face face;
    TopoDS_Wire bottom;
    TopoDS_Wire top;
};

RimSide Rim(double radius, double b) {
    RimSide rim;
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(radius, b).Shape();
    for (TopExp_Explorer faces(cylinder, TopAbs_FACE); faces.More(); faces.Next()) {
        const TopoDS_Face face = TopoDS::Face(faces.Current());
        if (BRepAdaptor_Surface(face).GetType() == GeomAbs_Cylinder) {
            rim.face = face;
        }
    }
    BRep_Builder builder;
    for (TopExp_Explorer edges(rim.face, TopAbs_EDGE); edges.More(); edges.Next()) {
        const TopoDS_Edge edge = TopoDS::Edge(edges.Current());
        if (BRep_Tool::IsClosed(edge, rim.face)) {
            continue;  // the seam
        }
        TopoDS_Wire wire;
        builder.MakeWire(wire);
        builder.Add(wire, edge.Oriented(TopAbs_FORWARD));
        wire.Closed(true);
        const double z = BRep_Tool::Pnt(TopExp::FirstVertex(edge)).Z();
        (z < b / 2 ? rim.bottom : rim.top) = wire;
    }
    return rim;
}

TopoDS_Face PlaneFace(double z, const std::vector<TopoDS_Wire>& wires) {
    BRep_Builder builder;
    TopoDS_Face face;
    builder.MakeFace(face, new Geom_Plane(gp_Ax3(gp_Pnt(0, 0, z), gp::DZ(), gp::DX())), kTolerance);
    for (const TopoDS_Wire& wire : wires) {
        builder.Add(face, wire);
    }
    return face;
}

TopoDS_Shape HelicalSolid(const std::vector<SectionPiece>& loop, const MemberSection& member,
                          double b, double rimRadius) {
    double radius = rimRadius;
    for (const SectionPiece& piece : loop) {
        radius = std::max(radius, piece.spline->StartPoint().Distance(gp::Origin()));
    }
    const TwistFrame f = MakeTwistFrame(SectionTwist(member, b), b, radius);
    std::vector<TopoDS_Face> faces;
    const LoopEdges teeth = TwistedSide(loop, f, faces);
    std::vector<TopoDS_Wire> bottom{teeth.bottom}, top{teeth.top};
    if (member.internal) {
        const RimSide rim = Rim(rimRadius, b);
        faces.push_back(rim.face);
        bottom.insert(bottom.begin(), rim.bottom);
        top.insert(top.begin(), rim.top);
    }
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (const TopoDS_Face& face : faces) {
        builder.Add(shell, face);
    }
    builder.Add(shell, PlaneFace(0, bottom).Reversed());
    builder.Add(shell, PlaneFace(b, top));
    shell.Closed(true);
    TopoDS_Solid solid;
    builder.MakeSolid(solid);
    builder.Add(solid, shell);
    return solid;
}

TopoDS_Shape SpurSolid(const std::vector<SectionPiece>& loop, const MemberSection& member, double b,
                       double rimRadius) {
    BRep_Builder builder;
    const std::size_t n = loop.size();
    std::vector<TopoDS_Vertex> vertices(n);
    for (std::size_t k = 0; k < n; ++k) {
        vertices[k] = BRepBuilderAPI_MakeVertex(loop[k].spline->StartPoint());
    }
    TopoDS_Wire teeth;
    builder.MakeWire(teeth);
    for (std::size_t k = 0; k < n; ++k) {
        builder.Add(
            teeth,
            BRepBuilderAPI_MakeEdge(loop[k].exact, vertices[k], vertices[(k + 1) % n]).Edge());
    }
    teeth.Closed(true);
    TopoDS_Face face;
    if (member.internal) {
        const TopoDS_Wire rim =
            BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(gp_Circ(gp::XOY(), rimRadius)).Edge());
        BRepBuilderAPI_MakeFace makeFace(gp_Pln(gp::XOY()), rim, Standard_True);
        makeFace.Add(teeth);
        face = makeFace.Face();
    } else {
        face = BRepBuilderAPI_MakeFace(gp_Pln(gp::XOY()), teeth, Standard_True).Face();
    }
    return BRepPrimAPI_MakePrism(face, gp_Vec(0, 0, b)).Shape();
}

bool Valid(const TopoDS_Shape& shape) {
    if (!BRepCheck_Analyzer(shape).IsValid()) {
        return false;
    }
    // A shell turned inside out passes the analyser but encloses a negative volume.
    GProp_GProps props;
    BRepGProp::VolumeProperties(shape, props);
    return props.Mass() > 0;
}

}  // namespace

double DefaultRimDiameter(const MemberSection& member) {
    return 2 * LoopRootRadius(member) + kDefaultRimModules * member.module;
}

double SectionTwist(const MemberSection& member, double z) {
    const double twist = 2 * z * member.tanBeta / member.d;
    return member.hand == Hand::Right ? twist : -twist;
}

GearSolidResult GearSolid(const MemberSection& member, const SolidOptions& options) {
    const double b = options.faceWidth;
    if (!(b > 0) || !std::isfinite(b)) {
        return GearSolidResult::Failure({SolidFault::FaceWidthNotPositive, member.role, 0});
    }
    double rimRadius = 0;
    if (member.internal) {
        const double rootDiameter = 2 * LoopRootRadius(member);
        const double rim =
            options.rimDiameter > 0 ? options.rimDiameter : DefaultRimDiameter(member);
        if (!(rim > rootDiameter) || !std::isfinite(rim)) {
            return GearSolidResult::Failure({SolidFault::RimInsideRoot, member.role, rootDiameter});
        }
        rimRadius = rim / 2;
    }
    const SectionLoop loop = ToothedLoop(member);
    if (!loop.ok()) {
        return GearSolidResult::Failure({loop.fault(), member.role, 0});
    }
    TopoDS_Shape solid;
    try {
        solid = member.tanBeta == 0 ? SpurSolid(loop.value(), member, b, rimRadius)
                                    : HelicalSolid(loop.value(), member, b, rimRadius);
        // Placed as the drawing places the wheel; the geometry itself is moved (no location
        // left on the shape), so the file holds the solid where it stands.
        gp_Trsf turn;
        turn.SetRotation(gp::OZ(), -member.turn);
        gp_Trsf move;
        move.SetTranslation(gp_Vec(member.centreX, 0, 0));
        solid = BRepBuilderAPI_Transform(solid, move * turn, Standard_True).Shape();
    } catch (const Standard_Failure&) {
        return GearSolidResult::Failure({SolidFault::SolidNotValid, member.role, 0});
    }
    if (solid.IsNull() || !Valid(solid)) {
        return GearSolidResult::Failure({SolidFault::SolidNotValid, member.role, 0});
    }
    return solid;
}

}  // namespace tarvo
