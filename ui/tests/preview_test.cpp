// The drawing preview paints outlines reduced to what is in sight at about a vertex per pixel:
// the picture must be the one every vertex would paint, at the fitted view, zoomed in so far that
// every vertex shows with its dot, and with the view's edges cutting through teeth. On the report
// page it shows the drawing the window wrote, with its data sheet (or why it could not be read),
// fits, zooms about the cursor and pans.
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "tests/builder_calls.h"
#include "ui/drawing_report.h"
#include "ui/outline_index.h"
#include "window_driver.h"

using tarvo::DxfDrawing;
using tarvo::PointXY;
using namespace tarvo::ui;
using namespace tarvo::ui::test;

namespace {

// An external pair of module 1 at `accEv` involute and `accPer` fillet points, read back.
DxfDrawing PairDrawing(int z1, int z2, int accEv, int accPer) {
    tarvo::MainMod state = tarvo::testing::Rack20State(accEv, accPer);
    state.OutFile =
        (std::filesystem::temp_directory_path() /
         ("tarvo-preview-test-" + std::to_string(QCoreApplication::applicationPid()) + ".dxf"))
            .string();
    DxfDrawing drawing;
    if (tarvo::RunBuilder(state, tarvo::testing::ExternalPair(z1, z2, 1)).ok()) {
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

// The picture as painted before the outlines had an index: every vertex, antialiased, with its
// dot when `dots`.
QImage EveryVertex(const DrawingPreview& preview, bool dots) {
    QImage image(preview.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DxfDrawing& drawing = preview.Drawing();
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
                painter.drawEllipse(v, 2.2, 2.2);
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

void Mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
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
    // Views of the 20/40 pair: notches of the wheel about the mesh, then a drag; zoomed in so
    // far that the vertices show as dots, every vertex is painted as is.
    void reducedPaintsWhatEveryVertexPaints_data() {
        QTest::addColumn<double>("zoom");   // over the fitted scale
        QTest::addColumn<QPointF>("drag");  // pixels
        QTest::addColumn<bool>("dots");
        QTest::newRow("fitted") << 1.0 << QPointF() << false;
        QTest::newRow("teeth across the edges") << 6.0 << QPointF(173.3, -41.7) << false;
        QTest::newRow("one tooth across the edge") << 150.0 << QPointF(-45.5, 30.25) << true;
        QTest::newRow("a fillet") << 2000.0 << QPointF(30, 10) << true;
    }
    void reducedPaintsWhatEveryVertexPaints() {
        QFETCH(double, zoom);
        QFETCH(QPointF, drag);
        QFETCH(bool, dots);
        QVERIFY(!Small().polylines.empty());
        DrawingPreview preview;
        preview.resize(520, 400);
        preview.SetDrawing(Small());
        // About the first wheel's vertex furthest right, where it meets its mate, so the zoom
        // keeps outline in sight.
        const std::vector<PointXY>& first = Small().polylines[0].points;
        preview.ZoomAt(preview.ToView(*std::max_element(
                           first.begin(), first.end(),
                           [](const PointXY& a, const PointXY& b) { return a.X < b.X; })),
                       zoom);
        if (!drag.isNull()) {
            const QPointF from = QRectF(preview.rect()).center();
            Mouse(&preview, QEvent::MouseButtonPress, from, Qt::LeftButton);
            Mouse(&preview, QEvent::MouseMove, from + drag, Qt::LeftButton);
            Mouse(&preview, QEvent::MouseButtonRelease, from + drag, Qt::NoButton);
        }
        const QImage reduced = Painted(preview);
        const QImage every = EveryVertex(preview, dots);
        const Difference d = Compare(reduced, every, 0);
        const Difference far = Compare(reduced, every, 64);
        const QString said = QStringLiteral("%1 of %2 painted pixels differ, %3 by more than 64")
                                 .arg(d.off)
                                 .arg(d.painted)
                                 .arg(far.off);
        QVERIFY2(d.painted > 500, qPrintable(said));
        // A vertex left out moves the line by under half a pixel: edges shade a little
        // differently, no line goes missing or appears.
        QVERIFY2(dots ? d.off == 0 : far.off * 200 <= d.painted, qPrintable(said));
        // The view's edges, two pixels deep: the outlines cross them where every vertex paints
        // them.
        const auto edges = [](QImage image) {
            QPainter(&image).fillRect(image.rect().adjusted(2, 2, -2, -2), Qt::white);
            return image;
        };
        const Difference atEdges = Compare(edges(reduced), edges(every), 64);
        QVERIFY2(atEdges.off <= atEdges.painted / 10 + 2,
                 qPrintable(QStringLiteral("%1 of %2 edge pixels differ")
                                .arg(atEdges.off)
                                .arg(atEdges.painted)));
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
            if (!visible.Holds(DrawingBox::At(p))) {
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

    void reportPageShowsTheDrawingAndItsSheet() {
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill(kToAccuracy + " OK txtFileName=report.dxf OK"), QString());
        auto* report = driver.Find<DrawingReport>("frDrawing");
        DataSheetView* sheet = report->sheet;
        // The sheet is of that file, every row in sight, its one warning said under the table.
        QCOMPARE(sheet->Value("Межосевое расстояние aw, мм"),
                 "60" + QString(QLatin1Char(RegionalDecimalSign())) + "0000");
        // The page lays itself out in posted events after the drawing is shown.
        QTRY_COMPARE(sheet->table->verticalScrollBar()->maximum(), 0);
        const QStringList warnings = sheet->Warnings();
        QVERIFY(warnings.size() == 1 && warnings[0].startsWith("Контуры на чертеже перекрываются"));
        // The preview, fitted: every vertex inside the view.
        DrawingPreview* preview = report->preview;
        const QRectF view(preview->rect());
        for (const auto& outline : preview->Drawing().polylines) {
            for (const PointXY& p : outline.points) {
                QVERIFY(view.contains(preview->ToView(p)));
            }
        }
        const double fit = preview->FitScale();
        QCOMPARE(preview->Scale(), fit);
        // Two wheel notches in: the drawing point under the cursor stays there.
        const QPointF cursor(view.width() * 0.3, view.height() * 0.6);
        const PointXY under = preview->ToDrawing(cursor);
        QWheelEvent wheel(cursor, preview->mapToGlobal(cursor), {}, {0, 240}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(preview, &wheel);
        QVERIFY(std::abs(preview->Scale() / fit - 1.5625) < 1e-9);
        QVERIFY(QLineF(preview->ToView(under), cursor).length() < 1e-6);
        // A drag moves the drawing with the mouse.
        const PointXY centre = preview->ToDrawing(view.center());
        const QPointF to = view.center() + QPointF(30, -20);
        Mouse(preview, QEvent::MouseButtonPress, view.center(), Qt::LeftButton);
        Mouse(preview, QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(preview, QEvent::MouseButtonRelease, to, Qt::NoButton);
        QVERIFY(QLineF(preview->ToView(centre), to).length() < 1e-6);
        // A double click fits again; each outline has its own colour.
        QTest::mouseDClick(preview, Qt::LeftButton, Qt::NoModifier, view.center().toPoint());
        QCOMPARE(preview->Scale(), fit);
        QVERIFY(DrawingPreview::OutlineColour(0) != DrawingPreview::OutlineColour(1));
        // A drawing that cannot be read back: the picture and the table clear, and it says why.
        const QString path = folder.filePath("gone.dxf");
        report->ShowDrawing(driver.state, {}, path.toStdString());
        QCOMPARE(preview->OutlineCount() + sheet->table->rowCount(), 0);
        QCOMPARE(sheet->Warnings().join('|'),
                 "Данные для чертежа не получены: чертёж не "
                 "прочитан: файл не открывается: " +
                     path);
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
