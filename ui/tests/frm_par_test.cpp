// The window from start-up through every page to the drawing file: the three tasks, the
// designer's own rack and the angle panel written byte for byte as tarvo-cli writes them, and a
// second round.
#include <QListWidget>
#include <QTest>

#include "ui/drawing_report.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

class FrmParTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheStartPage() {
        WindowDriver driver;
        QCOMPARE(driver.Frames(), QStringList{"frStartOpt"});
        QVERIFY(!driver.Showing("frGradTrans") && !driver.Showing("frAltContur"));
        // The default point counts are stored before the window loads, so its boxes show them.
        QCOMPARE(driver.Texts({"txtAccEv", "txtAccPer"}), (QStringList{"6", "3"}));
        // Every box of the form's own (not those inside the drive list) says what it takes.
        const QList<QLineEdit*> boxes = driver.window->findChildren<QLineEdit*>();
        QVERIFY(boxes.size() >= 20);
        for (const QLineEdit* box : boxes) {
            QVERIFY2(box->objectName().isEmpty() || !box->toolTip().isEmpty(),
                     qPrintable(box->objectName()));
        }
    }

    void drawsWhatTarvoCliDraws_data() {
        QTest::addColumn<QString>("entries");   // from the start page through the parameters
        QTest::addColumn<QString>("accuracy");  // the accuracy page; none keeps 6 and 3
        QTest::addColumn<QString>("cli");       // the same drawing asked of tarvo-cli
        QTest::newRow("external pair, shifted, finer accuracy")
            << "ctlOptionTip(0) OK txtm=2 txtZ1=20 txtZ2=40 txtx1=0,3 txtx2=-0.1 txtJbn=0.05"
            << "txtAccEv=8 txtAccPer=4"
            << "pair --mesh external --module 2 --z1 20 --z2 40 --x1 0.3 --x2 -0.1 "
               "--backlash 0.05 --involute-points 8 --fillet-points 4";
        QTest::newRow("internal helical pair, 25 degree rack")
            << "ctlOptionTip(0) OK opTip(1) ctlOB2 txtm=2,5 txtBeta=12,5 txtZ1=18 txtZ2=61" << ""
            << "pair --mesh internal --module 2.5 --helix 12.5 --z1 18 --z2 61 --rack 25";
        // Both angles through the angle panel, rf* left to the rack frame to derive.
        QTest::newRow("own rack and helix from the angle panel")
            << "ctlOptionTip(0) OK ctlOB5 cmGrad(1) Text1(0)=22 Text1(1)=30 Text1(2)=0 ctlCommand "
               "TextH=1,1 TextHf=1.35 TextC=0.3 TextRo= ComOK cmGrad(0) Text1(0)=12 Text1(1)=30 "
               "Text1(2)=0 ctlCommand txtm=3 txtZ1=17 txtZ2=30"
            << "" << "pair --mesh external --module 3 --z1 17 --z2 30 --helix 12.5 "
                     "--rack-custom 22.5,1.1,1.35,0.3,";
        QTest::newRow("GOST spline shaft with shift")
            << "ctlOptionTip(1) OK txtmSL=1,25 txtZ=18 txtX=0,1" << "txtAccEv=10 txtAccPer=5"
            << "spline --standard gost --part shaft --module 1.25 --teeth 18 --shift 0.1 "
               "--involute-points 10 --fillet-points 5";
        // The shift typed for a GOST shaft on the round before goes with its row.
        QTest::newRow("OST spline hub after a shifted GOST shaft")
            << "ctlOptionTip(1) OK txtmSL=1 txtZ=20 txtX=0,2 OK OK OK OK "
               "ctlOptionTip(2) OK opValVt(1) txtmSL=1 txtZ=24"
            << "" << "spline --standard ost --part hub --module 1 --teeth 24";
    }

    void drawsWhatTarvoCliDraws() {
        QFETCH(QString, entries);
        QFETCH(QString, accuracy);
        QFETCH(QString, cli);
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(entries);
        const QString task = entries.mid(entries.lastIndexOf("ctlOptionTip"), 15);
        QCOMPARE(driver.Showing("txtX"), task != "ctlOptionTip(2)");
        driver.Fill("OK " + accuracy + " OK");
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        driver.Type("txtFileName", "  window.dxf ");
        driver.Ok();
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        const QString written = folder.filePath("window.dxf");
        QCOMPARE(driver.Report(), written);
        QCOMPARE(DiffersFromCli(written, cli), QString());
        // Beside the path, the drawing read back and its sheet with a column per wheel.
        const auto* report = driver.Find<tarvo::ui::DrawingReport>("frDrawing");
        const bool pair = task == "ctlOptionTip(0)";
        QCOMPARE(report->preview->OutlineCount(), pair ? 2 : 1);
        QCOMPARE(report->sheet->table->columnCount(), pair ? 3 : 2);
        driver.Ok();
        QCOMPARE(driver.Frames(), QStringList{"frStartOpt"});
        QVERIFY(driver.Checked(task));
    }

    void secondRoundKeepsEntriesAndName() {
        WorkFolder folder;
        WindowDriver driver;
        // The 18-degree row, which the next round replaces by the 20-degree one.
        driver.Fill("OK ctlOB7 txtm=3 txtZ1=17 txtZ2=60 opTip(1) OK OK");
        // Named from the entries and the real clock, with no folder in it.
        const QString proposed = driver.Text("txtFileName");
        QVERIFY2(proposed.startsWith("17x60x3_") && !proposed.contains('/'), qPrintable(proposed));
        driver.Ok();
        QCOMPARE(driver.Messages(), QStringList());
        const QByteArray first = FileBytes(folder.filePath(proposed));
        QVERIFY(!first.isEmpty());
        // Round two: everything as it was left, the rack back on the 20-degree row.
        driver.Fill("OK OK");
        QCOMPARE(driver.Texts({"txtm", "txtZ1", "txtZ2"}), (QStringList{"3", "17", "60"}));
        QVERIFY(driver.Checked("opTip(1)") && driver.Checked("ctlOB1"));
        QCOMPARE(driver.state.Alfa, 20.0);
        driver.Fill("txtZ2=61 OK OK");
        // No new name once a path exists; the file list now shows the first drawing.
        QCOMPARE(driver.Text("txtFileName"), proposed);
        QCOMPARE(driver.Find<QListWidget>("ctFile")->findItems(proposed, Qt::MatchExactly).size(), 1);
        driver.Ok();
        QCOMPARE(driver.Report(), folder.filePath(proposed));
        QVERIFY(FileBytes(folder.filePath(proposed)) != first);
    }
};

QTEST_MAIN(FrmParTest)
#include "frm_par_test.moc"
