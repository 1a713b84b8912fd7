// The basic rack on the gear-pair page: the six fixed rows, the designer's own rack in its frame,
// the angle panel in degrees, minutes and seconds, and a drawing made through both.
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QTest>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

// Every named control's visibility, enabled state and text: what a row could change by mistake.
QStringList ControlsState(const WindowDriver& driver) {
    QStringList state;
    for (const QWidget* control : driver.window->findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty()) {
            const auto* box = qobject_cast<const QLineEdit*>(control);
            state << control->objectName() + (control->isHidden() ? " hidden" : " shown") +
                         (control->isEnabled() ? " enabled" : " disabled") +
                         (box != nullptr ? " [" + box->text() + "]" : QString());
        }
    }
    return state;
}

// Alpha, ha*, hf*, c*, rf* as stored.
QList<double> StoredRack(const WindowDriver& driver) {
    const tarvo::MainMod& s = driver.state;
    return {s.Alfa, s.H, s.Hf, s.C, s.Ro};
}

}  // namespace

class RackTest : public QObject {
    Q_OBJECT
private slots:
    void fixedRowStoresItsRack_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("label");       // the row's values beside its button
        QTest::addColumn<QString>("above");       // the row above: top to bottom by angle
        QTest::addColumn<QList<double>>("rack");  // alpha, ha*, hf*, c*, rf*
        const struct { const char* button; const char* label; QList<double> rack; } rows[] = {
            {"ctlOB7", "Label2(9)", {18, 1, 1.2, 0.28734, 0.41585}},
            {"ctlOB1", "Label2(0)", {20, 1, 1, 0.25, 0.38}},
            {"ctlOB6", "Label2(8)", {22.5, 1, 1, 0.4, 0.28467}},
            {"ctlOB2", "Label2(1)", {25, 1, 1, 0.20328, 0.35208}},
            {"ctlOB4", "Label2(3)", {28, 0.95, 0.95, 0.1684, 0.31742}},
            {"ctlOB3", "Label2(2)", {28, 0.9, 0.9, 0.18438, 0.34754}},
        };
        QString above;
        for (const auto& row : rows) {
            QTest::newRow(row.button) << row.button << row.label << above << row.rack;
            above = row.button;
        }
    }

    void fixedRowStoresItsRack() {
        QFETCH(QString, button);
        QFETCH(QString, label);
        QFETCH(QString, above);
        QFETCH(QList<double>, rack);
        WindowDriver driver;
        driver.Ok();
        // Start from a rack that is none of the rows.
        tarvo::MainMod& s = driver.state;
        s.Alfa = s.H = s.Hf = s.C = s.Ro = -1;
        const QStringList before = ControlsState(driver);
        driver.Click(button);
        QCOMPARE(StoredRack(driver), rack);
        QCOMPARE(ControlsState(driver), before);
        QVERIFY(driver.Checked(button));
        QCOMPARE(driver.Messages(), QStringList());
        // The row reads what it stores, beside its button and below the row above.
        QList<double> shown;
        for (const QString& value :
             driver.Find<QLabel>(label)->text().replace(',', '.').split(' ', Qt::SkipEmptyParts)) {
            shown << value.toDouble();
        }
        QCOMPARE(shown, rack);
        const QRect row = driver.Find(button)->geometry();
        QVERIFY(std::abs(row.center().y() - driver.Find(label)->geometry().center().y()) < 4);
        QVERIFY(above.isEmpty() || row.y() > driver.Find(above)->y());
    }

    void customRack_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<double>>("rack");  // alpha, ha*, hf*, c*, rf* stored
        QTest::addColumn<QStringList>("message");
        QTest::addColumn<bool>("open");  // the frame stays open
        // For ha* = 1 and 20 degrees: rf* from c* alone, and the largest rf* the tip takes.
        const double a = tarvo::GradToRad(20);
        const double limit = (tarvo::kPi / 4 - std::tan(a)) / std::cos(a);
        const QString reduced = "Параметр: 'Коэффициент радиуса кривизны переходной кривой' "
                                "уменьшен до величины 0" +
                                QLocale::system().decimalPoint() + "4485";
        QTest::newRow("empty rf* derived from c*")
            << "TextC=0,25 TextRo="
            << QList<double>{20, 1, 1, 0.25, 0.25 / (1 - std::sin(a))}
            << QStringList{} << false;
        QTest::newRow("rf* above the limit") << "TextRo=0.5" << QList<double>{20, 1, 1, 0.25, limit}
                                             << QStringList{"Information", "", reduced} << false;
        QTest::newRow("rf* exactly the limit") << "TextRo=" + QString::number(limit, 'g', 17)
                                               << QList<double>{20, 1, 1, 0.25, limit}
                                               << QStringList{} << false;
        QTest::newRow("rf* below the limit, comma")
            << "TextRo=0,3" << QList<double>{20, 1, 1, 0.25, 0.3} << QStringList{} << false;
        QTest::newRow("zero ha* refused after alpha is stored")
            << "TextAlfa=25 TextH=0" << QList<double>{25, 1, 1, 0.25, 0.38}
            << QStringList{"Exclamation", "",
                           "Параметр: 'Коэффициент высоты головки' не может быть нулевым!"}
            << true;
    }

    void customRack() {
        QFETCH(QString, typed);
        QFETCH(QList<double>, rack);
        QFETCH(QStringList, message);
        QFETCH(bool, open);
        WindowDriver driver;
        const QStringList boxes = {"TextAlfa", "TextH", "TextHf", "TextC", "TextRo"};
        // Opened after the 20-degree row it shows that rack; the frames beneath wait, "OK" not.
        driver.Fill("OK ctlOB2 ctlOB1 ctlOB5");
        QVERIFY(driver.Showing("frAltContur"));
        QCOMPARE(driver.Texts(boxes), (QStringList{"20", "1", "1", "0.25", "0.38"}));
        QVERIFY(!driver.Enabled("frPar") && !driver.Enabled("frContur"));
        QVERIFY(driver.Enabled("ctlCom"));
        driver.Fill(typed + " ComOK");
        const QList<double> stored = StoredRack(driver);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(stored[i], rack[i]);
        }
        QCOMPARE(driver.Messages(), message);
        QCOMPARE(driver.Showing("frAltContur"), open);
        QCOMPARE(driver.Enabled("frPar") && driver.Enabled("frContur"), !open);
        if (open) {
            QCOMPARE(driver.FocusName(), QStringLiteral("TextH"));
            return;
        }
        // The rows show the designer's own rack; a double click on it opens the frame again on
        // what was stored.
        auto* row = driver.Find<QRadioButton>("ctlOB5");
        QVERIFY(row->isChecked());
        QTest::mouseDClick(row, Qt::LeftButton, {}, QPoint(8, row->height() / 2));
        QVERIFY(driver.Showing("frAltContur"));
        const QStringList shown = driver.Texts(boxes);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(shown[i].toDouble(), rack[i]);
        }
    }

    void leavingThePageAppliesOpenPopUps_data() {
        QTest::addColumn<QString>("leave");  // "OK" or the back button
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("OK") << "OK" << QStringList{"frAcc"};
        QTest::newRow("back") << "cmBack" << QStringList{"frStartOpt"};
    }

    void leavingThePageAppliesOpenPopUps() {
        QFETCH(QString, leave);
        QFETCH(QStringList, frames);
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 ctlOB5 TextH=0,9 cmGrad(1) Text1(0)=22 "
                    "Text1(1)=30 Text1(2)=0");
        QVERIFY(driver.Showing("frAltContur") && driver.Showing("frGradTrans"));
        // Leaving with both open stores what they show, as their own "OK"s would.
        driver.Fill(leave);
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Frames(), frames);
        QCOMPARE(driver.state.Alfa, 22.5);
        QCOMPARE(driver.state.H, 0.9);
        QVERIFY(driver.Checked("ctlOB5"));
        // Coming back, the pop-ups are closed and the frames beneath take entries.
        driver.Click("cmBack");
        if (leave == "cmBack") {
            driver.Ok();
        }
        QCOMPARE(driver.Frames(), (QStringList{"frPar", "frContur", "frIntEx"}));
        QVERIFY(!driver.Showing("frAltContur") && !driver.Showing("frGradTrans"));
        QVERIFY(driver.Enabled("frPar") && driver.Enabled("frContur"));
    }

    void refusedCustomRackKeepsThePage() {
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 ctlOB5 TextC=0 OK");
        const QStringList message = driver.Messages();
        QCOMPARE(message.size(), 3);
        QCOMPARE(message[0], QStringLiteral("Exclamation"));
        QCOMPARE(driver.Frames(), (QStringList{"frPar", "frContur", "frIntEx"}));
        QVERIFY(driver.Showing("frAltContur"));
        QCOMPARE(driver.FocusName(), QStringLiteral("TextC"));
    }

    void anglePanelSplitsAndJoins_data() {
        QTest::addColumn<QString>("box");  // txtBeta opens with cmGrad(0), TextAlfa with cmGrad(1)
        QTest::addColumn<QString>("angle");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("typed");  // what the designer changes in the panel
        QTest::addColumn<QString>("joined");
        QTest::newRow("seconds round to 34")
            << "txtBeta" << "8.1094444" << QStringList{"8", "6", "34"} << "" << "8.10944444444444";
        QTest::newRow("seconds come out as 60")
            << "txtBeta" << "10.99999" << QStringList{"10", "59", "60"} << "" << "11";
        QTest::newRow("negative angle floors")
            << "txtBeta" << "-10.5" << QStringList{"-11", "30", "0"} << "" << "-10.5";
        QTest::newRow("profile angle with a comma")
            << "TextAlfa" << "15,25" << QStringList{"15", "15", "0"} << "" << "15.25";
        QTest::newRow("minutes read up to the comma")
            << "txtBeta" << "10" << QStringList{"10", "0", "0"} << "Text1(1)=30,5" << "10.5";
        QTest::newRow("zero angle leaves the boxes")
            << "txtBeta" << "0" << QStringList{"", "", ""} << "Text1(0)=5 Text1(1)=7"
            << "5.11666666666667";
    }

    void anglePanelSplitsAndJoins() {
        QFETCH(QString, box);
        QFETCH(QString, angle);
        QFETCH(QStringList, parts);
        QFETCH(QString, typed);
        QFETCH(QString, joined);
        WindowDriver driver;
        const bool helix = box == "txtBeta";
        const auto enabled = [&] {
            return QList<bool>{driver.Enabled("frPar"), driver.Enabled("frContur"),
                               driver.Enabled("frAltContur")};
        };
        driver.Fill(helix ? "OK" : "OK ctlOB5");
        driver.Type(box, angle);
        driver.Click(helix ? "cmGrad(0)" : "cmGrad(1)");
        QVERIFY(driver.Showing("frGradTrans"));
        QCOMPARE(driver.Texts({"Text1(0)", "Text1(1)", "Text1(2)"}), parts);
        QCOMPARE(enabled(), (QList<bool>{false, false, helix}));
        driver.Fill(typed + " ctlCommand");
        QVERIFY(!driver.Showing("frGradTrans"));
        QCOMPARE(driver.Text(box), joined);
        // The frames beneath the custom rack frame wait for its own "OK".
        QCOMPARE(enabled(), (QList<bool>{helix, helix, true}));
    }

    void customRackAndHelixReachTheDrawing() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK ctlOB5 cmGrad(1) Text1(0)=22 Text1(1)=30 Text1(2)=0 ctlCommand");
        QCOMPARE(driver.Text("TextAlfa"), QStringLiteral("22.5"));
        driver.Fill("TextH=1,1 TextHf=1.35 TextC=0.3 TextRo= ComOK");
        QCOMPARE(driver.Messages(), QStringList());
        driver.Fill("cmGrad(0) Text1(0)=12 Text1(1)=30 Text1(2)=0 ctlCommand");
        QCOMPARE(driver.Text("txtBeta"), QStringLiteral("12.5"));
        driver.Fill("txtm=3 txtZ1=17 txtZ2=30 OK OK txtFileName=custom OK");
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Report(), folder.filePath("custom.dxf"));
        QCOMPARE(DiffersFromCli(folder.filePath("custom.dxf"),
                                "pair --mesh external --module 3 --z1 17 --z2 30 --helix 12.5 "
                                "--rack-custom 22.5,1.1,1.35,0.3,"),
                 QString());
    }
};

QTEST_MAIN(RackTest)
#include "rack_test.moc"
