// The report page's picture and data sheet: the preview fits, zooms about the cursor, pans and
// fits again, paints the two outlines in their two colours with thin centre marks and shows
// the vertices of a fillet when zoomed in; the sheet shows the rows and warnings of a drawing;
// and the window, driven to its report page, shows both for the drawing it wrote.
#include <QHeaderView>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

#include "app/basic_rack.h"
#include "app/data_sheet.h"
#include "ui/data_sheet_view.h"
#include "ui/drawing_preview.h"
#include "ui/drawing_report.h"
#include "window_driver.h"

using tarvo::BuilderCall;
using tarvo::DxfDrawing;
using tarvo::MainMod;
using tarvo::PointXY;
using tarvo::ui::DataSheetView;
using tarvo::ui::DrawingPreview;
using tarvo::ui::DrawingReport;
using tarvo::ui::test::WindowDriver;

Q_DECLARE_METATYPE(BuilderCall)

namespace {

BuilderCall Pair(bool internal, int z1, int z2, double x1 = 0, double x2 = 0) {
    BuilderCall call;
    call.kind = internal ? BuilderCall::Kind::InternalPair : BuilderCall::Kind::ExternalPair;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = 2;
    call.alpha = 20;
    call.x1 = x1;
    call.x2 = x2;
    return call;
}

BuilderCall Shaft() {
    BuilderCall call;
    call.kind = BuilderCall::Kind::Spline;
    call.Z = 20;
    call.m = 2;
    call.alpha = 30;
    return call;
}

MainMod StateFor(const BuilderCall& call, int involute, int fillet) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    if (call.kind == BuilderCall::Kind::Spline) {
        state.SingleMember = true;
        tarvo::StoreRack(state, tarvo::SplineRack(tarvo::SplineStandard::Gost6033, call.m));
    } else {
        tarvo::StoreRack(state, tarvo::FindRackRow("20")->rack);
    }
    return state;
}

// Draws `call` into `folder` and returns the state it was drawn with.
MainMod Draw(const QTemporaryDir& folder, const BuilderCall& call, int involute = 6,
             int fillet = 3) {
    MainMod state = StateFor(call, involute, fillet);
    state.OutFile = folder.filePath(QStringLiteral("drawing.dxf")).toStdString();
    const tarvo::DrawResult result = tarvo::RunBuilder(state, call);
    if (result.status != tarvo::DrawStatus::Written) {
        qFatal("not drawn: %s", result.Reason().c_str());
    }
    return state;
}

// How many pixels are within `tolerance` of `colour` in each channel.
int PixelsNear(const QImage& image, const QColor& colour, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance) {
                ++count;
            }
        }
    }
    return count;
}

void Wheel(QWidget* widget, QPointF at, int delta) {
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
}

void Mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT
private slots:
    void previewFitsZoomsPansAndFitsAgain();
    void previewPaintsTwoOutlinesAndThinCentreMarks();
    void previewShowsTheFilletAsWritten();
    void sheetShowsRowsAndWarnings_data();
    void sheetShowsRowsAndWarnings();
    void unreadableDrawingSaysWhy();
    void windowReportPageShowsDrawingAndSheet();
};

void ReportViewTest::previewFitsZoomsPansAndFitsAgain() {
    QTemporaryDir folder;
    const BuilderCall call = Pair(false, 20, 40);
    const MainMod state = Draw(folder, call);
    DrawingReport report;
    report.resize(800, 400);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    report.ShowDrawing(state, call, state.OutFile);
    DrawingPreview* preview = report.preview;
    QCOMPARE(preview->OutlineCount(), 2);

    // Fitted: every vertex inside the view, and the drawing fills it in one direction.
    const QRectF view(preview->rect());
    for (const auto& outline : preview->Drawing().polylines) {
        for (const PointXY& p : outline.points) {
            QVERIFY(view.contains(preview->ToView(p)));
        }
    }
    QCOMPARE(preview->Scale(), preview->FitScale());
    const double fit = preview->Scale();

    // Two notches in about a point of the drawing: that point stays under the cursor.
    const QPointF cursor(view.width() * 0.3, view.height() * 0.6);
    const PointXY under = preview->ToDrawing(cursor);
    Wheel(preview, cursor, 240);
    QVERIFY(std::abs(preview->Scale() / fit - 1.5625) < 1e-9);
    const QPointF after = preview->ToView(under);
    QVERIFY(std::abs(after.x() - cursor.x()) < 1e-6 && std::abs(after.y() - cursor.y()) < 1e-6);

    // A drag moves the drawing with the mouse.
    const PointXY centre = preview->ToDrawing(view.center());
    Mouse(preview, QEvent::MouseButtonPress, view.center(), Qt::LeftButton);
    Mouse(preview, QEvent::MouseMove, view.center() + QPointF(30, -20), Qt::LeftButton);
    Mouse(preview, QEvent::MouseButtonRelease, view.center() + QPointF(30, -20), Qt::NoButton);
    const QPointF moved = preview->ToView(centre);
    QVERIFY(std::abs(moved.x() - (view.center().x() + 30)) < 1e-6);
    QVERIFY(std::abs(moved.y() - (view.center().y() - 20)) < 1e-6);

    // A double click fits again.
    QTest::mouseDClick(preview, Qt::LeftButton, Qt::NoModifier, view.center().toPoint());
    QCOMPARE(preview->Scale(), fit);
}

void ReportViewTest::previewPaintsTwoOutlinesAndThinCentreMarks() {
    QTemporaryDir folder;
    const BuilderCall call = Pair(true, 20, 60);
    const MainMod state = Draw(folder, call);
    DrawingPreview preview;
    preview.resize(400, 400);
    preview.SetDrawing(tarvo::ReadDxfFile(state.OutFile).drawing);
    QVERIFY(DrawingPreview::OutlineColour(0) != DrawingPreview::OutlineColour(1));
    const QImage image = preview.grab().toImage();
    // Both outlines show in their own colours, and anti-aliased lines leave blended pixels
    // that are neither colour nor the white ground.
    QVERIFY(PixelsNear(image, DrawingPreview::OutlineColour(0), 10) > 200);
    QVERIFY(PixelsNear(image, DrawingPreview::OutlineColour(1), 10) > 100);
    const QColor blend = image.pixelColor(0, 0);
    QCOMPARE(blend, QColor(Qt::white));
    int blended = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, image.height() / 2);
        blended += c != QColor(Qt::white) && c.blue() > 100 && c.blue() < 240 ? 1 : 0;
    }
    QVERIFY(blended > 0);
    // The ring's centre mark is a one-pixel grey cross at the ring's centre (the origin).
    const QPointF origin = preview.ToView({0, 0});
    const QPointF above = preview.ToView({0, 0.7});
    const QColor mark = image.pixelColor(above.toPoint());
    QVERIFY2(mark.red() < 200 && std::abs(mark.red() - mark.blue()) < 30,
             qPrintable(mark.name()));
    const QColor beside = image.pixelColor((above + QPointF(3, 0)).toPoint());
    QCOMPARE(beside, QColor(Qt::white));
    Q_UNUSED(origin);
}

void ReportViewTest::previewShowsTheFilletAsWritten() {
    // Zoomed onto the first fillet point of wheel 1, the written vertices show as dots and the
    // chords between them as straight lines: the first two vertices and the middle of the
    // chord between them are all painted.
    QTemporaryDir folder;
    const BuilderCall call = Pair(false, 20, 40);
    const MainMod state = Draw(folder, call);
    DrawingPreview preview;
    preview.resize(400, 400);
    preview.SetDrawing(tarvo::ReadDxfFile(state.OutFile).drawing);
    const std::vector<PointXY>& wheel = preview.Drawing().polylines.front().points;
    const PointXY a = wheel[0];
    const PointXY b = wheel[1];
    preview.ZoomAt(preview.ToView(a), 60);
    // Bring the chord's middle to the view's centre.
    const PointXY middle{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    const QPointF shift = QPointF(200, 200) - preview.ToView(middle);
    QTest::mousePress(&preview, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    Mouse(&preview, QEvent::MouseMove, QPointF(100, 100) + shift, Qt::LeftButton);
    QTest::mouseRelease(&preview, Qt::LeftButton, Qt::NoModifier, (QPointF(100, 100) + shift).toPoint());
    const QImage image = preview.grab().toImage();
    const QColor blue = DrawingPreview::OutlineColour(0);
    for (const PointXY& p : {a, b, middle}) {
        const QPoint at = preview.ToView(p).toPoint();
        QVERIFY(QRect(QPoint(0, 0), image.size()).contains(at));
        const QColor c = image.pixelColor(at);
        QVERIFY2(std::abs(c.blue() - blue.blue()) < 60 && c.red() < 120, qPrintable(c.name()));
    }
    // Beside the chord, off the line, the ground is white.
    const QPointF along = preview.ToView(b) - preview.ToView(a);
    const QPointF normal = QPointF(-along.y(), along.x()) / std::hypot(along.x(), along.y());
    QCOMPARE(image.pixelColor((preview.ToView(middle) + 12 * normal).toPoint()),
             QColor(Qt::white));
}

void ReportViewTest::sheetShowsRowsAndWarnings_data() {
    QTest::addColumn<BuilderCall>("call");
    QTest::addColumn<int>("involute");
    QTest::addColumn<int>("fillet");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("z2");
    QTest::addColumn<QString>("aw");
    QTest::addColumn<QStringList>("warningStarts");
    QTest::newRow("external 20 / 40, finest points")
        << Pair(false, 20, 40) << 100 << 50 << 3 << "40" << "60.0000" << QStringList{};
    QTest::newRow("external 20 / 40, default points: the drawing overlaps")
        << Pair(false, 20, 40) << 6 << 3 << 3 << "40" << "60.0000"
        << QStringList{"Контуры на чертеже перекрываются"};
    QTest::newRow("pointed pinion z 12, x 0.8")
        << Pair(false, 12, 30, 0.8) << 40 << 20 << 3 << "30" << "43.4339"
        << QStringList{"Заострение зуба колеса 1"};
    QTest::newRow("internal 20 in 60, finest points")
        << Pair(true, 20, 60) << 100 << 50 << 3 << "60" << "40.0000" << QStringList{};
    QTest::newRow("GOST shaft: one column, no mesh")
        << Shaft() << 6 << 3 << 2 << "" << "" << QStringList{};
}

void ReportViewTest::sheetShowsRowsAndWarnings() {
    QFETCH(BuilderCall, call);
    QFETCH(int, involute);
    QFETCH(int, fillet);
    QFETCH(int, columns);
    QFETCH(QString, z2);
    QFETCH(QString, aw);
    QFETCH(QStringList, warningStarts);
    QTemporaryDir folder;
    const MainMod state = Draw(folder, call, involute, fillet);
    DataSheetView view;
    view.resize(420, 500);
    view.SetSheet(tarvo::DataSheetOfFile(state, call, state.OutFile), '.');
    QCOMPARE(view.table->columnCount(), columns);
    QCOMPARE(view.Value(QStringLiteral("Число зубьев z"), 1), z2);
    QCOMPARE(view.Value(QStringLiteral("Межосевое расстояние aw, мм")), aw);
    const QStringList warnings = view.Warnings();
    QCOMPARE(warnings.size(), warningStarts.size());
    for (int i = 0; i < warnings.size(); ++i) {
        QVERIFY2(warnings[i].startsWith(warningStarts[i]), qPrintable(warnings[i]));
    }
    // Each wheel's column is headed in its outline's colour.
    const tarvo::DataSheet sheet = tarvo::DataSheetOfFile(state, call, state.OutFile);
    for (int i = 1; i < columns; ++i) {
        const int outline = sheet.wheels[static_cast<std::size_t>(i - 1)].outline;
        QCOMPARE(view.table->horizontalHeaderItem(i)->foreground().color(),
                 DrawingPreview::OutlineColour(outline));
    }
}

void ReportViewTest::unreadableDrawingSaysWhy() {
    QTemporaryDir folder;
    DrawingReport report;
    report.ShowDrawing(MainMod{}, Pair(false, 20, 40),
                       folder.filePath(QStringLiteral("missing.dxf")).toStdString());
    QCOMPARE(report.preview->OutlineCount(), 0);
    QCOMPARE(report.sheet->table->rowCount(), 0);
    QCOMPARE(report.sheet->Warnings().size(), 1);
    QVERIFY(report.sheet->Warnings().front().startsWith(
        QStringLiteral("Данные для чертежа не получены: чертёж не прочитан: файл не открывается")));
}

void ReportViewTest::windowReportPageShowsDrawingAndSheet() {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        WindowDriver driver;
        driver.Ok();  // the gear pair task
        driver.Type(QStringLiteral("txtm"), QStringLiteral("2"));
        driver.Type(QStringLiteral("txtZ1"), QStringLiteral("20"));
        driver.Type(QStringLiteral("txtZ2"), QStringLiteral("40"));
        driver.Ok();
        driver.Ok();  // default point counts
        driver.Type(QStringLiteral("txtFileName"), QStringLiteral("report.dxf"));
        driver.Ok();
        QVERIFY(driver.NoMessage());
        QVERIFY(driver.Showing(QStringLiteral("frSave")));
        // txtRep holds exactly the path; the picture and the sheet are of that file.
        QCOMPARE(driver.Find<QPlainTextEdit>(QStringLiteral("txtRep"))->toPlainText(),
                 folder.filePath(QStringLiteral("report.dxf")));
        auto* report = driver.Find<DrawingReport>(QStringLiteral("frDrawing"));
        QVERIFY(report->isVisible());
        QCOMPARE(report->preview->OutlineCount(), 2);
        QCOMPARE(report->preview->Drawing().polylines[0].points.size(), std::size_t{361});
        QCOMPARE(report->preview->Drawing().polylines[1].points.size(), std::size_t{721});
        QCOMPARE(report->preview->Scale(), report->preview->FitScale());
        const char sign = tarvo::ui::RegionalDecimalSign();
        QCOMPARE(report->sheet->Value(QStringLiteral("Межосевое расстояние aw, мм")),
                 QStringLiteral("60") + QLatin1Char(sign) + QStringLiteral("0000"));
        QCOMPARE(report->sheet->Value(QStringLiteral("Длина общей нормали W, мм"), 0),
                 QStringLiteral("15") + QLatin1Char(sign) + QStringLiteral("3209"));
        // Default point counts: the fillet chords meet the mate's tip, said under the table.
        QCOMPARE(report->sheet->Warnings().size(), 1);
    }
    QDir::setCurrent(previous);
}

QTEST_MAIN(ReportViewTest)
#include "report_view_test.moc"
