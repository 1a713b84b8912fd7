// The drawing preview paints outlines reduced to what is in sight at about a vertex per pixel:
// the picture must be the one every vertex would paint, at the fitted view, zoomed in so far that
// every vertex shows with its dot, and with the view's edges cutting through teeth.
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "ui/drawing_preview.h"
#include "ui/outline_index.h"

using tarvo::DxfDrawing;
using tarvo::PointXY;
using namespace tarvo::ui;

namespace {

// An external pair of module 1 at `accEv` involute and `accPer` fillet points, read back.
DxfDrawing PairDrawing(int z1, int z2, int accEv, int accPer) {
    tarvo::MainMod state;
    state.AccEv = accEv;
    state.AccPer = accPer;
    tarvo::StoreRack(state, tarvo::FindRackRow("20")->rack);
    state.OutFile =
        (std::filesystem::temp_directory_path() /
         ("tarvo-preview-test-" + std::to_string(QCoreApplication::applicationPid()) + ".dxf"))
            .string();
    tarvo::BuilderCall call;
    call.kind = tarvo::BuilderCall::Kind::ExternalPair;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = 1;
    call.alpha = state.Alfa;
    DxfDrawing drawing;
    if (tarvo::RunBuilder(state, call).ok()) {
        auto read = tarvo::ReadDxfFile(state.OutFile);
        if (read.ok()) {
            drawing = std::move(read).value();
        }
    }
    std::filesystem::remove(state.OutFile);
    return drawing;
}

const DxfDrawing& Small() {
    static const DxfDrawing drawing = PairDrawing(20, 40, 100, 50);
    return drawing;
}

// The picture as painted before the outlines had an index: every vertex, antialiased, the dots
// where a typical segment is 14 pixels or longer.
QImage EveryVertex(const DrawingPreview& preview) {
    QImage image(preview.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DxfDrawing& drawing = preview.Drawing();
    double total = 0;
    std::size_t count = 0;
    for (const auto& p : drawing.polylines) {
        for (std::size_t i = 1; i < p.points.size(); ++i) {
            total +=
                std::hypot(p.points[i].X - p.points[i - 1].X, p.points[i].Y - p.points[i - 1].Y);
            ++count;
        }
    }
    const bool dots = total / count * preview.Scale() >= 14;
    const QRectF visible = QRectF(preview.rect()).adjusted(-4, -4, 4, 4);
    for (std::size_t k = 0; k < drawing.polylines.size(); ++k) {
        QPolygonF line;
        for (const PointXY& p : drawing.polylines[k].points) {
            line.append(preview.ToView(p));
        }
        const QColor colour = DrawingPreview::OutlineColour(static_cast<int>(k));
        QPen pen(colour, 1.6);
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawPolyline(line);
        if (dots) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            for (const QPointF& v : line) {
                if (visible.contains(v)) {
                    painter.drawEllipse(v, 2.2, 2.2);
                }
            }
            painter.setBrush(Qt::NoBrush);
        }
    }
    QPen thin(QColor(110, 110, 110), 1.0);
    thin.setCosmetic(true);
    painter.setPen(thin);
    for (const auto& l : drawing.lines) {
        painter.drawLine(preview.ToView(l.from), preview.ToView(l.to));
    }
    return image;
}

QImage Painted(DrawingPreview& preview) {
    QImage image(preview.size(), QImage::Format_ARGB32_Premultiplied);
    preview.render(&image);
    return image;
}

// How two pictures differ: pixels off by more than `by` in a channel, among those painted at
// all in either.
struct Difference {
    int off = 0;
    int painted = 0;
    int largest = 0;
};

Difference Compare(const QImage& a, const QImage& b, int by) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor ca = a.pixelColor(x, y), cb = b.pixelColor(x, y);
            const int diff =
                std::max({std::abs(ca.red() - cb.red()), std::abs(ca.green() - cb.green()),
                          std::abs(ca.blue() - cb.blue())});
            d.painted += ca != Qt::white || cb != Qt::white;
            d.off += diff > by;
            d.largest = std::max(d.largest, diff);
        }
    }
    return d;
}

// Distance from `p` to the segment a-b.
double ToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0;
    return QLineF(p, a + t * ab).length();
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT
  private slots:
    // Views of the 20/40 pair: notches of the wheel about a point of the view, then a drag.
    void reducedPaintsWhatEveryVertexPaints_data() {
        QTest::addColumn<double>("zoom");    // over the fitted scale
        QTest::addColumn<QPointF>("about");  // share of the view's width and height
        QTest::addColumn<QPointF>("drag");   // pixels
        QTest::addColumn<bool>("exact");     // every vertex painted as is
        QTest::newRow("fitted") << 1.0 << QPointF(0.5, 0.5) << QPointF() << false;
        QTest::newRow("zoomed out") << 0.3 << QPointF(0.5, 0.5) << QPointF() << false;
        QTest::newRow("at the mesh") << 6.0 << QPointF(0.37, 0.5) << QPointF() << false;
        QTest::newRow("teeth across the edges")
            << 6.0 << QPointF(0.37, 0.5) << QPointF(173.3, -41.7) << false;
        QTest::newRow("one tooth, dots") << 150.0 << QPointF(0.37, 0.5) << QPointF() << true;
        QTest::newRow("one tooth across the edge, dots")
            << 150.0 << QPointF(0.37, 0.5) << QPointF(-45.5, 30.25) << true;
        QTest::newRow("a fillet, dots") << 2000.0 << QPointF(0.37, 0.5) << QPointF(30, 10) << true;
    }
    void reducedPaintsWhatEveryVertexPaints() {
        QFETCH(double, zoom);
        QFETCH(QPointF, about);
        QFETCH(QPointF, drag);
        QFETCH(bool, exact);
        QVERIFY(!Small().polylines.empty());
        DrawingPreview preview;
        preview.resize(520, 400);
        preview.SetDrawing(Small());
        // About the vertex nearest that point of the fitted view, so the zoom keeps outline in
        // sight.
        const QPointF near(about.x() * preview.width(), about.y() * preview.height());
        QPointF at = near;
        for (const auto& outline : Small().polylines) {
            for (const PointXY& p : outline.points) {
                if (QLineF(preview.ToView(p), near).length() < QLineF(at, near).length() ||
                    at == near) {
                    at = preview.ToView(p);
                }
            }
        }
        preview.ZoomAt(at, zoom);
        if (!drag.isNull()) {
            const QPointF from = QRectF(preview.rect()).center();
            QTest::mousePress(&preview, Qt::LeftButton, {}, from.toPoint());
            QMouseEvent move(QEvent::MouseMove, from + drag, preview.mapToGlobal(from + drag),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&preview, &move);
            QTest::mouseRelease(&preview, Qt::LeftButton, {}, (from + drag).toPoint());
        }
        const QImage reduced = Painted(preview);
        const QImage every = EveryVertex(preview);
        const Difference d = Compare(reduced, every, 0);
        const Difference far = Compare(reduced, every, 64);
        const QString said = QStringLiteral(
                                 "%1 of %2 painted pixels differ, %3 by more than 64, "
                                 "at most by %4")
                                 .arg(d.off)
                                 .arg(d.painted)
                                 .arg(far.off)
                                 .arg(d.largest);
        qInfo("%s", qPrintable(said));
        QVERIFY2(d.painted > 500, qPrintable(said));
        if (exact) {
            QVERIFY2(d.off == 0, qPrintable(said));
        } else {
            // A vertex left out moves the line by under half a pixel: edges shade a little
            // differently, no line goes missing or appears.
            QVERIFY2(far.off * 200 <= d.painted, qPrintable(said));
        }
        // The view's edges: the outlines cross them where every vertex paints them.
        const auto edgeRows = [](const QImage& image) {
            int painted = 0;
            for (int x = 0; x < image.width(); ++x) {
                for (int y : {0, 1, image.height() - 2, image.height() - 1}) {
                    painted += image.pixelColor(x, y) != Qt::white;
                }
            }
            for (int y = 0; y < image.height(); ++y) {
                for (int x : {0, 1, image.width() - 2, image.width() - 1}) {
                    painted += image.pixelColor(x, y) != Qt::white;
                }
            }
            return painted;
        };
        QCOMPARE(edgeRows(reduced) > 0, edgeRows(every) > 0);
        QVERIFY2(std::abs(edgeRows(reduced) - edgeRows(every)) <= edgeRows(every) / 10 + 2,
                 qPrintable(QStringLiteral("edge pixels %1 against %2")
                                .arg(edgeRows(reduced))
                                .arg(edgeRows(every))));
    }

    // The worker indexes the outlines with the read-back; an index that is not of the drawing
    // shown (another drawing's, or none) is made again, never painted from.
    void anIndexNotOfTheDrawingIsMadeAgain() {
        QVERIFY(!Small().polylines.empty());
        const DxfDrawing other = PairDrawing(17, 23, 20, 10);
        DrawingPreview own, given, wrong;
        for (DrawingPreview* preview : {&own, &given, &wrong}) {
            preview->resize(300, 240);
        }
        own.SetDrawing(Small());
        given.SetDrawing(Small(), IndexOutlines(Small()));
        wrong.SetDrawing(Small(), IndexOutlines(other));
        const QImage picture = Painted(own);
        QCOMPARE(Painted(given), picture);
        QCOMPARE(Painted(wrong), picture);
        QCOMPARE(wrong.FitScale(), own.FitScale());
    }

    // The index itself, on a wheel of many teeth: each vertex in the view stays within the
    // tolerance of the line painted, a far view paints about a vertex per pixel, and a near one
    // paints every vertex.
    void reductionStaysWithinTolerance_data() {
        QTest::addColumn<double>("scale");      // pixels per millimetre
        QTest::addColumn<double>("viewShare");  // of the outline's box, about its centre-right
        QTest::addColumn<bool>("exact");
        QTest::newRow("whole wheel") << 0.6 << 2.0 << false;
        QTest::newRow("a quarter") << 4.0 << 0.25 << false;
        QTest::newRow("a few teeth") << 12.0 << 0.02 << false;
        QTest::newRow("one tooth") << 3000.0 << 0.0005 << true;
    }
    void reductionStaysWithinTolerance() {
        QFETCH(double, scale);
        QFETCH(double, viewShare);
        QFETCH(bool, exact);
        static const DxfDrawing pair = PairDrawing(300, 300, 60, 30);
        QVERIFY(!pair.polylines.empty());
        const std::vector<PointXY>& points = pair.polylines[0].points;
        const OutlineIndex index(points);
        const DrawingBox& all = index.Bounds();
        const double half = std::max(all.right - all.left, all.top - all.bottom) * viewShare / 2;
        // About the point of the outline furthest right: where it meets its mate.
        const PointXY right =
            *std::max_element(points.begin(), points.end(),
                              [](const PointXY& a, const PointXY& b) { return a.X < b.X; });
        const DrawingBox visible{right.X - half, right.Y - half, right.X + half, right.Y + half,
                                 false};
        const double tolerance = 0.4;
        std::vector<QPolygonF> pieces;
        const std::size_t painted = index.Reduce(points, {scale, visible, tolerance}, pieces);
        QVERIFY(!pieces.empty());
        std::size_t inView = 0;
        double worst = 0;
        for (const PointXY& p : points) {
            if (p.X < visible.left || p.X > visible.right || p.Y < visible.bottom ||
                p.Y > visible.top) {
                continue;
            }
            ++inView;
            const QPointF at(p.X * scale, -p.Y * scale);
            double nearest = 1e300;
            for (const QPolygonF& piece : pieces) {
                for (int i = 1; i < piece.size() && nearest > 0; ++i) {
                    nearest = std::min(nearest, ToSegment(at, piece[i - 1], piece[i]));
                }
            }
            worst = std::max(worst, nearest);
        }
        QVERIFY(inView > 0);
        // Two tolerances at most: a box under the tolerance is one step to its last vertex,
        // itself within the tolerance of the last vertex kept.
        QVERIFY2(worst <= 2 * tolerance, qPrintable(QString::number(worst)));
        // Every vertex in the view and its neighbours, or about one per pixel of outline.
        double length = 0;
        for (const QPolygonF& piece : pieces) {
            for (int i = 1; i < piece.size(); ++i) {
                length += QLineF(piece[i - 1], piece[i]).length();
            }
        }
        const QString said = QStringLiteral("%1 painted of %2 in view, %3 pixels of line")
                                 .arg(painted)
                                 .arg(inView)
                                 .arg(length);
        if (exact) {
            QVERIFY2(worst < 1e-9, qPrintable(said));
            QVERIFY2(painted <= inView + 2 * OutlineIndex::kRun * pieces.size(), qPrintable(said));
        } else {
            qInfo("%s", qPrintable(said));
            QVERIFY2(painted < inView, qPrintable(said));
            QVERIFY2(painted <= length / tolerance + 2 * pieces.size() + 2, qPrintable(said));
        }
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
