// The report page after the window wrote a drawing: the drawing read back with its data sheet
// (or why it could not be read), the page growing with the window, and the preview fitting,
// zooming about the cursor, panning and painting both outlines.
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

#include "ui/drawing_report.h"
#include "window_driver.h"

using tarvo::PointXY;
using namespace tarvo::ui;
using namespace tarvo::ui::test;

namespace {

// Through a module 2 gear pair with `entries` to the report page, report.dxf written.
DrawingReport* ToReport(WindowDriver& driver, const QString& entries) {
    driver.Fill("OK txtm=2 " + entries + " OK OK txtFileName=report.dxf OK");
    return driver.Find<DrawingReport>("frDrawing");
}

void Mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT
private slots:
    void reportPageShowsTheDrawingAndItsSheet() {
        WorkFolder folder;
        WindowDriver driver;
        DrawingReport* report = ToReport(driver, "txtZ1=20 txtZ2=40");
        QCOMPARE(driver.Messages(), QStringList());
        // The sheet is of that file, drawn with the default point counts, every row in sight.
        const QString sign{QLatin1Char(RegionalDecimalSign())};
        QCOMPARE(report->sheet->Value("Межосевое расстояние aw, мм"), "60" + sign + "0000");
        QCOMPARE(report->sheet->Value("Длина общей нормали W, мм", 0), "15" + sign + "3209");
        QCOMPARE(report->sheet->table->verticalScrollBar()->maximum(), 0);
        // Default point counts: the fillet chords meet the mate's tip, said under the table.
        QCOMPARE(report->sheet->Warnings().size(), 1);
        QVERIFY(report->sheet->Warnings().front().startsWith("Контуры на чертеже перекрываются"));
        // Each wheel's column is headed in its outline's colour.
        for (int column = 1; column <= 2; ++column) {
            QCOMPARE(report->sheet->table->horizontalHeaderItem(column)->foreground().color(),
                     DrawingPreview::OutlineColour(column - 1));
        }
        // The picture and the sheet grow with the window; "OK" keeps to the right edge.
        const QSize preview = report->preview->size();
        const QSize sheet = report->sheet->size();
        driver.window->resize(driver.window->size() + QSize(600, 300));
        QTRY_VERIFY(report->preview->width() > preview.width() + 100);
        QVERIFY(report->preview->height() > preview.height() + 200);
        QVERIFY(report->sheet->width() > sheet.width() + 100);
        QCOMPARE(driver.Find("ctlCom")->geometry().right(),
                 driver.window->width() - 1 - (driver.Find("frSave")->x()));
        // A drawing that cannot be read back: the picture and the table clear, and it says why.
        const QString path = folder.filePath("gone.dxf");
        report->ShowDrawing(driver.state, {}, path.toStdString());
        QCOMPARE(report->preview->OutlineCount(), 0);
        QCOMPARE(report->sheet->table->rowCount(), 0);
        QCOMPARE(report->sheet->Warnings(),
                 QStringList{"Данные для чертежа не получены: чертёж не прочитан: "
                             "файл не открывается: " + path});
    }

    void previewFitsZoomsPansAndFitsAgain() {
        WorkFolder folder;
        WindowDriver driver;
        DrawingPreview* preview = ToReport(driver, "txtZ1=20 txtZ2=40")->preview;
        // Fitted: every vertex inside the view.
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
        // A double click fits again.
        QTest::mouseDClick(preview, Qt::LeftButton, Qt::NoModifier, view.center().toPoint());
        QCOMPARE(preview->Scale(), fit);
    }

    void previewPaintsBothOutlinesAndTheCentreMark() {
        WorkFolder folder;
        WindowDriver driver;
        // The ring the window read back, painted at a size of its own.
        DrawingPreview preview;
        preview.resize(400, 400);
        preview.SetDrawing(ToReport(driver, "opTip(1) txtZ1=20 txtZ2=60")->preview->Drawing());
        const QImage image = preview.grab().toImage();
        QVERIFY(DrawingPreview::OutlineColour(0) != DrawingPreview::OutlineColour(1));
        for (const int wheel : {0, 1}) {
            const QColor colour = DrawingPreview::OutlineColour(wheel);
            int near = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    near += std::abs(c.red() - colour.red()) <= 10 &&
                            std::abs(c.green() - colour.green()) <= 10 &&
                            std::abs(c.blue() - colour.blue()) <= 10;
                }
            }
            QVERIFY2(near > (wheel == 0 ? 200 : 100), qPrintable(colour.name()));
        }
        // The ring's centre mark: a thin grey cross at the origin, white ground beside it.
        const QPointF above = preview.ToView({0, 0.7});
        const QColor mark = image.pixelColor(above.toPoint());
        QVERIFY2(mark.red() < 200 && std::abs(mark.red() - mark.blue()) < 30,
                 qPrintable(mark.name()));
        QCOMPARE(image.pixelColor((above + QPointF(3, 0)).toPoint()), QColor(Qt::white));
    }
};

QTEST_MAIN(ReportViewTest)
#include "report_view_test.moc"
