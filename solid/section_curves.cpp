// The toothed loop of a member's section: one half flank interpolated into a fillet and an
// involute curve, mirrored into a tooth, the lands added as arcs, the tooth repeated z times.
#include "solid/section_curves.h"

#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <GeomAPI_PointsToBSpline.hxx>
#include <GeomConvert.hxx>
#include <Geom_Circle.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <gp_Ax2.hxx>
#include <gp_Trsf.hxx>

#include <cmath>

#include "math/constants.h"

namespace tarvo {

namespace {

// Consecutive flank points closer than this are one point: the drawing repeats the last point
// of an internal flank that it ended on the space's centre line.
constexpr double kSamePoint = 1e-9;
// A land narrower than this (mm) is left out: the rack-cut root and the internal root end a
// hair (1e-10 radian) short of the space's centre line on either side.
constexpr double kNarrowestLand = 1e-7;
// Points closer than this are refused by the interpolation as coincident.
constexpr double kInterpolationTolerance = 1e-12;
// Largest distance (mm) of a generator's point from the curve fitted to it: a thousandth of a
// micrometre, well inside the hundredth the solid promises.
constexpr double kFitTolerance = 1e-6;

double Radius(const gp_Pnt& p) {
    return std::hypot(p.X(), p.Y());
}

// A smooth B-spline (degree 3 to 8, C2) fitted to the dense points within kFitTolerance,
// parameterised by chord length; its ends are the first and last points exactly. Far fewer poles
// than points, and no wiggle between them as an interpolation through every point may have
// where the involute leaves the base circle.
Handle(Geom_BSplineCurve) Through(const std::vector<gp_Pnt>& points) {
    if (points.size() < 2) {
        return nullptr;
    }
    TColgp_Array1OfPnt array(1, static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        array.SetValue(static_cast<int>(i) + 1, points[i]);
    }
    try {
        Handle(Geom_BSplineCurve) curve;
        if (points.size() >= 4) {
            GeomAPI_PointsToBSpline fit(array, Approx_ChordLength, 3, 8, GeomAbs_C2, kFitTolerance);
            if (fit.IsDone()) {
                curve = fit.Curve();
            }
        }
        if (curve.IsNull()) {
            Handle(TColgp_HArray1OfPnt) h = new TColgp_HArray1OfPnt(array);
            GeomAPI_Interpolate interpolate(h, Standard_False, kInterpolationTolerance);
            interpolate.Perform();
            if (!interpolate.IsDone()) {
                return nullptr;
            }
            curve = interpolate.Curve();
        }
        // The ends are the generator's points exactly, so neighbouring pieces share them.
        curve->SetPole(1, points.front());
        curve->SetPole(curve->NbPoles(), points.back());
        return curve;
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

Handle(Geom_BSplineCurve) Moved(const Handle(Geom_BSplineCurve) & curve, const gp_Trsf& trsf) {
    return Handle(Geom_BSplineCurve)::DownCast(curve->Transformed(trsf));
}

Handle(Geom_BSplineCurve) Reversed(const Handle(Geom_BSplineCurve) & curve) {
    return Handle(Geom_BSplineCurve)::DownCast(curve->Reversed());
}

// The arc about the origin from `from` to `to`, anticlockwise or clockwise; both ends at (very
// nearly) one radius.
SectionPiece Land(const gp_Pnt& from, const gp_Pnt& to, bool anticlockwise) {
    const double r = Radius(from);
    Handle(Geom_Circle) circle = new Geom_Circle(gp_Ax2(gp::Origin(), gp::DZ(), gp::DX()), r);
    const gp_Pnt& low = anticlockwise ? from : to;
    const gp_Pnt& high = anticlockwise ? to : from;
    const double a0 = std::atan2(low.Y(), low.X());
    double a1 = std::atan2(high.Y(), high.X());
    while (a1 <= a0) {
        a1 += 2 * M_PI;
    }
    Handle(Geom_TrimmedCurve) arc = new Geom_TrimmedCurve(circle, a0, a1);
    Handle(Geom_BSplineCurve) spline = GeomConvert::CurveToBSplineCurve(arc);
    SectionPiece piece;
    piece.land = true;
    if (anticlockwise) {
        piece.exact = arc;
        piece.spline = spline;
    } else {
        piece.exact = arc->Reversed();
        piece.spline = Reversed(spline);
    }
    return piece;
}

SectionPiece Flank(const Handle(Geom_BSplineCurve) & curve) {
    SectionPiece piece;
    piece.spline = curve;
    piece.exact = curve;
    return piece;
}

// The half flank from root to tip on the +Y side, without repeated points, and the index of
// the junction in it.
std::vector<gp_Pnt> HalfFlank(const MemberSection& member, std::size_t& junction) {
    std::vector<gp_Pnt> points;
    const std::size_t n = member.flank.size();
    for (std::size_t k = 0; k < n; ++k) {
        // Root first: an internal flank runs from its tip, so it is read backwards.
        const std::size_t i = member.internal ? n - 1 - k : k;
        const gp_Pnt p(member.flank[i].X, member.flank[i].Y, 0);
        if (!points.empty() && points.back().Distance(p) < kSamePoint) {
            if (i == member.junction) {
                junction = points.size() - 1;
            }
            continue;
        }
        if (i == member.junction) {
            junction = points.size();
        }
        points.push_back(p);
    }
    return points;
}

}  // namespace

double LoopRootRadius(const MemberSection& member) {
    double r = 0;
    for (const PointXY& p : member.flank) {
        r = std::max(r, std::hypot(p.X, p.Y));
    }
    return r;
}

SectionLoop ToothedLoop(const MemberSection& member) {
    std::size_t junction = 0;
    const std::vector<gp_Pnt> half = HalfFlank(member, junction);
    if (half.size() < 3 || junction == 0 || junction + 1 >= half.size() || member.z < 1) {
        return SectionLoop::Failure(SolidFault::CurveNotBuilt);
    }
    const Handle(Geom_BSplineCurve) fillet =
        Through(std::vector<gp_Pnt>(half.begin(), half.begin() + junction + 1));
    const Handle(Geom_BSplineCurve) involute =
        Through(std::vector<gp_Pnt>(half.begin() + junction, half.end()));
    if (fillet.IsNull() || involute.IsNull()) {
        return SectionLoop::Failure(SolidFault::CurveNotBuilt);
    }
    gp_Trsf mirror;
    mirror.SetMirror(gp_Ax2(gp::Origin(), gp::DY()));
    const Handle(Geom_BSplineCurve) mirrorFillet = Moved(fillet, mirror);
    const Handle(Geom_BSplineCurve) mirrorInvolute = Moved(involute, mirror);
    const gp_Pnt root = half.front();
    const gp_Pnt tip = half.back();
    const gp_Pnt mirrorRoot = root.Transformed(mirror);
    const gp_Pnt mirrorTip = tip.Transformed(mirror);

    // One tooth about the +X axis, in the loop's direction. External, anticlockwise: up the
    // mirrored flank, across the tip, down the flank, across the root to the next tooth.
    // Internal, clockwise: up the flank, across the tip, down the mirrored flank, on to the next.
    const bool anticlockwise = !member.internal;
    const double pitch = 2 * kPi / member.z;
    gp_Trsf toNext;
    toNext.SetRotation(gp::OZ(), anticlockwise ? pitch : -pitch);
    std::vector<SectionPiece> tooth;
    if (anticlockwise) {
        tooth = {Flank(mirrorFillet),        Flank(mirrorInvolute),
                 Land(mirrorTip, tip, true), Flank(Reversed(involute)),
                 Flank(Reversed(fillet)),    Land(root, mirrorRoot.Transformed(toNext), true)};
    } else {
        tooth = {Flank(fillet),
                 Flank(involute),
                 Land(tip, mirrorTip, false),
                 Flank(Reversed(mirrorInvolute)),
                 Flank(Reversed(mirrorFillet)),
                 Land(mirrorRoot, root.Transformed(toNext), false)};
    }
    // Lands too narrow to be a face are left out; the pieces either side then meet.
    std::vector<SectionPiece> kept;
    for (const SectionPiece& piece : tooth) {
        if (piece.land &&
            piece.spline->StartPoint().Distance(piece.spline->EndPoint()) < kNarrowestLand) {
            continue;
        }
        kept.push_back(piece);
    }

    std::vector<SectionPiece> loop;
    loop.reserve(kept.size() * static_cast<std::size_t>(member.z));
    for (int k = 0; k < member.z; ++k) {
        gp_Trsf turn;
        turn.SetRotation(gp::OZ(), (anticlockwise ? pitch : -pitch) * k);
        for (const SectionPiece& piece : kept) {
            SectionPiece moved;
            moved.land = piece.land;
            moved.spline = Moved(piece.spline, turn);
            moved.exact = piece.land ? Handle(Geom_Curve)::DownCast(piece.exact->Transformed(turn))
                                     : Handle(Geom_Curve)(moved.spline);
            loop.push_back(moved);
        }
    }
    // Each piece starts exactly where the one before it ends (the turned copies of one point
    // may differ in the last bit, and a left-out land leaves a gap of a fraction of a nanometre).
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const SectionPiece& before = loop[(i + loop.size() - 1) % loop.size()];
        SectionPiece& piece = loop[i];
        const gp_Pnt end = before.spline->EndPoint();
        piece.spline->SetPole(1, end);
        if (!piece.land) {
            piece.exact = piece.spline;
        }
    }
    return loop;
}

}  // namespace tarvo
