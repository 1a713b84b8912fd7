// What the parameter table takes from the pages: the hand of the tooth line, offered only for a
// helical pair and refused when it contradicts a negative helix angle, the accuracy
// designation, and the table itself on the report page.
#include <QComboBox>
#include <QTableWidget>

#include "ui/data_sheet_view.h"
#include "ui/drawing_report.h"
#include "window_driver.h"

using namespace tarvo::ui;
using namespace tarvo::ui::test;

namespace {

// The texts of the parameter table's value column, from the wheel named `wheel` to the next
// heading, as "name=value" separated by "; ".
QString TableOf(const QTableWidget* table, const QString& wheel) {
    QStringList rows;
    bool inside = false;
    for (int r = 0; r < table->rowCount(); ++r) {
        const bool heading = table->columnSpan(r, 0) == 3;
        if (heading) {
            inside = table->item(r, 0)->text() == wheel;
            continue;
        }
        if (inside) {
            rows << table->item(r, 0)->text() + "=" + table->item(r, 2)->text();
        }
    }
    return rows.join("; ");
}

}  // namespace

class TableInputTest : public QObject {
    Q_OBJECT
  private slots:
    void handRowOnlyForAHelix() {
        WindowDriver driver;
        driver.Fill("OK");
        QCOMPARE(driver.Showing("lbHand cboHand"), QString());
        driver.Fill("txtBeta=15");
        QCOMPARE(driver.Showing("lbHand cboHand"), "lbHand cboHand");
        driver.Fill("txtBeta=0,0");
        QCOMPARE(driver.Showing("lbHand cboHand"), QString());
    }

    void negativeHelixWithRightHandRefused() {
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=-15");
        const QString message = driver.Fill("OK");
        QVERIFY2(message.contains("отрицательный угол наклона означает левое"),
                 qPrintable(message));
        QCOMPARE(driver.Frames(), kPairPage);
        QCOMPARE(driver.FocusName(), "cboHand");
        driver.Find<QComboBox>("cboHand")->setCurrentIndex(1);
        QCOMPARE(driver.Fill("OK"), QString());
        QCOMPARE(driver.Frames(), "frAcc");
    }

    void tableOnTheReportPage() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=15");
        driver.Find<QComboBox>("cboHand")->setCurrentIndex(1);
        QCOMPARE(driver.Fill("OK txtAccuracy=7-B OK txtFileName=table.dxf OK"), QString());
        const QTableWidget* table = driver.Find<DrawingReport>("frDrawing")->sheet->parameters;
        const QString wheel1 = TableOf(table, "Колесо 1");
        const QString wheel2 = TableOf(table, "Колесо 2");
        QVERIFY2(wheel1.contains("Направление линии зуба=Левое; "), qPrintable(wheel1));
        QVERIFY2(wheel2.contains("Направление линии зуба=Правое; "), qPrintable(wheel2));
        QVERIFY2(wheel1.contains("Степень точности=7-B; "), qPrintable(wheel1));
        QVERIFY2(wheel1.contains("Угол наклона зуба=15°; "), qPrintable(wheel1));
        QVERIFY2(wheel2.endsWith("Число зубьев сопряжённого колеса=20; Межосевое расстояние=" +
                                 driver.Find<DrawingReport>("frDrawing")
                                     ->sheet->Value("Межосевое расстояние aw, мм")),
                 qPrintable(wheel2));
    }

    void accuracyOnTwoLinesRefused() {
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        driver.Find<QLineEdit>("txtAccuracy")->setText(QStringLiteral("7\tB"));
        const QString message = driver.Fill("OK");
        QVERIFY2(message.contains("без управляющих символов"), qPrintable(message));
        QCOMPARE(driver.Frames(), "frAcc");
    }
};

QTEST_MAIN(TableInputTest)
#include "table_input_test.moc"
