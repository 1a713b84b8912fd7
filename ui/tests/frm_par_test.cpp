// The window from start-up through every page to the drawing file of each task, with the
// designer's own rack and the angle panel, written byte for byte as tarvo-cli writes it.
#include <QProcess>

#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

// Steps through the parameters page, the accuracy page's entries, and the same drawing asked of
// tarvo-cli.
const struct {
    const char* name;
    QString steps, accuracy, cli;
} kDrawings[] = {
    // Both angles through the angle panel, rf* left to the rack frame to derive.
    {"pair with its own rack, angle panel, shifts and finer accuracy",
     "ctlOptionTip(0) OK ctlOB5 cmGrad(1) Text1(0)=22 Text1(1)=30 Text1(2)=0 ctlCommand TextH=1,1 "
     "TextHf=1.35 TextC=0.3 TextRo= ComOK cmGrad(0) Text1(0)=12 Text1(1)=30 Text1(2)=0 ctlCommand "
     "txtm=3 txtZ1=17 txtZ2=30 txtx1=0,3 txtx2=-0.1 txtJbn=0.05",
     "txtAccEv=8 txtAccPer=4",
     "pair --mesh external --module 3 --z1 17 --z2 30 --helix 12.5 --rack-custom "
     "22.5,1.1,1.35,0.3, "
     "--x1 0.3 --x2 -0.1 --backlash 0.05 --involute-points 8 --fillet-points 4"},
    {"GOST spline shaft with shift", "ctlOptionTip(1) OK txtmSL=1,25 txtZ=18 txtX=0,1",
     "txtAccEv=10 txtAccPer=5",
     "spline --standard gost --part shaft --module 1.25 --teeth 18 --shift 0.1 "
     "--involute-points 10 --fillet-points 5"},
    // The shift typed for a GOST shaft on the round before goes with its row.
    {"OST spline hub after a shifted GOST shaft",
     "ctlOptionTip(1) OK txtmSL=1 txtZ=20 txtX=0,2 OK OK OK OK ctlOptionTip(2) OK opValVt(1) "
     "txtmSL=1 txtZ=24",
     "", "spline --standard ost --part hub --module 1 --teeth 24"},
};

}  // namespace

class FrmParTest : public QObject {
    Q_OBJECT
  private slots:
    void drawsWhatTarvoCliDraws_data() { AddRows(kDrawings); }
    void drawsWhatTarvoCliDraws() {
        const auto& row = CurrentRow(kDrawings);
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill(row.steps), QString());
        const QString task = row.steps.mid(row.steps.lastIndexOf("ctlOptionTip"), 15);
        QCOMPARE(driver.Showing("txtX").isEmpty(), task != "ctlOptionTip(1)");
        QCOMPARE(driver.Fill("OK " + row.accuracy + " OK txtFileName=window.dxf OK"), QString());
        QCOMPARE(driver.Frames(), "frSave");
        QCOMPARE(driver.Report(), folder.filePath("window.dxf"));
        QProcess cli;
        cli.start(TARVO_CLI, row.cli.split(' ') << "-o" << folder.filePath("cli.dxf"));
        QVERIFY(cli.waitForFinished(120000) && cli.exitCode() == 0);
        const QByteArray written = FileBytes(folder.filePath("window.dxf"));
        QVERIFY(!written.isEmpty() && written == FileBytes(folder.filePath("cli.dxf")));
        driver.Fill("OK");
        QCOMPARE(driver.Frames(), "frStartOpt");
        QVERIFY(driver.Checked(task));
    }
};

QTEST_MAIN(FrmParTest)
#include "frm_par_test.moc"
