// The report page after the window wrote a drawing: the drawing read back with its data sheet
// (or why it could not be read), and the preview fitting, zooming about the cursor, panning and
// painting both outlines.
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "ui/drawing_report.h"
#include "window_driver.h"

using tarvo::PointXY;
using namespace tarvo::ui;
using namespace tarvo::ui::test;

namespace {

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
        // A double click fits again, and both outlines are painted, each in its own colour.
        QTest::mouseDClick(preview, Qt::LeftButton, Qt::NoModifier, view.center().toPoint());
        QCOMPARE(preview->Scale(), fit);
        QVERIFY(DrawingPreview::OutlineColour(0) != DrawingPreview::OutlineColour(1));
        const QImage image = preview->grab().toImage();
        for (const int wheel : {0, 1}) {
            const QColor colour = DrawingPreview::OutlineColour(wheel);
            int near = 0;
            for (int i = 0; i < image.width() * image.height(); ++i) {
                const QColor c = image.pixelColor(i % image.width(), i / image.width());
                near += std::max({std::abs(c.red() - colour.red()),
                                  std::abs(c.green() - colour.green()),
                                  std::abs(c.blue() - colour.blue())}) <= 10;
            }
            QVERIFY2(near > 200, qPrintable(colour.name()));
        }
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

QTEST_MAIN(ReportViewTest)
#include "report_view_test.moc"
