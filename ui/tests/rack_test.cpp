// The basic rack on the gear-pair page: the six fixed rows, the designer's own rack in its frame
// (applied or refused, never dropped) and the angle panel in degrees, minutes and seconds.
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

// A fixed row: its button, the label beside it with its values, and alpha, ha*, hf*, c*, rf*;
// top to bottom by angle.
const struct {
    const char* name;
    QString label;
    QList<double> rack;
} kRows[] = {
    {"ctlOB7", "Label2(9)", {18, 1, 1.2, 0.28734, 0.41585}},
    {"ctlOB1", "Label2(0)", {20, 1, 1, 0.25, 0.38}},
    {"ctlOB6", "Label2(8)", {22.5, 1, 1, 0.4, 0.28467}},
    {"ctlOB2", "Label2(1)", {25, 1, 1, 0.20328, 0.35208}},
    {"ctlOB4", "Label2(3)", {28, 0.95, 0.95, 0.1684, 0.31742}},
    {"ctlOB3", "Label2(2)", {28, 0.9, 0.9, 0.18438, 0.34754}},
};

// For ha* = 1 and 20 degrees: rf* from c* alone, and the largest rf* the tip takes.
const double kAlpha = tarvo::GradToRad(20);
const double kLimit = (tarvo::kPi / 4 - std::tan(kAlpha)) / std::cos(kAlpha);
const QString kZero = "Параметр: 'Коэффициент %1' не может быть нулевым!";
// Typed into the frame opened on the 20-degree rack, then its own "OK" (ComOK) or the page's.
const struct {
    const char* name;
    QString typed;
    QList<double> rack;  // alpha, ha*, hf*, c*, rf* stored
    QStringList message;
    QString focus;  // in the frame left open; "" when it closed
} kCustom[] = {
    {"empty rf* derived from c*", "TextC=0,25 TextRo= ComOK",
     {20, 1, 1, 0.25, 0.25 / (1 - std::sin(kAlpha))}, {}, ""},
    {"rf* above the limit", "TextRo=0.5 ComOK", {20, 1, 1, 0.25, kLimit},
     {"Information", "",
      "Параметр: 'Коэффициент радиуса кривизны переходной кривой' уменьшен до величины 0" +
          QString(QLocale::system().decimalPoint()) + "4485"},
     ""},
    {"rf* exactly the limit", "TextRo=" + QString::number(kLimit, 'g', 17) + " ComOK",
     {20, 1, 1, 0.25, kLimit}, {}, ""},
    {"rf* below the limit, comma", "TextRo=0,3 ComOK", {20, 1, 1, 0.25, 0.3}, {}, ""},
    {"zero ha* refused after alpha is stored", "TextAlfa=25 TextH=0 ComOK",
     {25, 1, 1, 0.25, 0.38}, {"Exclamation", "", kZero.arg("высоты головки")}, "TextH"},
    {"zero c* refused by the page's OK", "TextHf=1,2 TextC=0 OK", {20, 1, 1.2, 0.25, 0.38},
     {"Exclamation", "", kZero.arg("радиального зазора")}, "TextC"},
};

// An angle typed into `box` (txtBeta opens the panel with cmGrad(0), TextAlfa with cmGrad(1)),
// the panel's three boxes, what the designer changes there, and the angle joined back.
const struct {
    const char* name;
    QString box, angle;
    QStringList parts;
    QString typed, joined;
} kAngles[] = {
    {"seconds round to 34", "txtBeta", "8.1094444", {"8", "6", "34"}, "", "8.10944444444444"},
    {"seconds come out as 60", "txtBeta", "10.99999", {"10", "59", "60"}, "", "11"},
    {"negative angle floors", "txtBeta", "-10.5", {"-11", "30", "0"}, "", "-10.5"},
    {"profile angle with a comma", "TextAlfa", "15,25", {"15", "15", "0"}, "", "15.25"},
    {"minutes read up to the comma", "txtBeta", "10", {"10", "0", "0"}, "Text1(1)=30,5", "10.5"},
    {"zero angle leaves the boxes", "txtBeta", "0", {"", "", ""}, "Text1(0)=5 Text1(1)=7",
     "5.11666666666667"},
};

// Every named control's visibility, enabled state and text: what a row could change by mistake.
QStringList ControlsState(const WindowDriver& driver) {
    QStringList state;
    for (const QWidget* control : driver.window->findChildren<QWidget*>()) {
        const auto* box = qobject_cast<const QLineEdit*>(control);
        if (!control->objectName().isEmpty()) {
            state << control->objectName() + (control->isHidden() ? " hidden" : " shown") +
                         (control->isEnabled() ? " enabled" : " disabled") +
                         (box != nullptr ? " [" + box->text() + "]" : QString());
        }
    }
    return state;
}

QList<double> StoredRack(const tarvo::MainMod& s) { return {s.Alfa, s.H, s.Hf, s.C, s.Ro}; }

// Two racks value by value, each pair as QCOMPARE compares doubles.
void CompareRack(const QList<double>& actual, const QList<double>& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual[i], expected[i]);
    }
}

}  // namespace

class RackTest : public QObject {
    Q_OBJECT
private slots:
    void fixedRowStoresItsRack_data() { AddRows(kRows); }
    void fixedRowStoresItsRack() {
        const auto& row = CurrentRow(kRows);
        WindowDriver driver;
        driver.Ok();
        // Start from a rack that is none of the rows; the row changes nothing else.
        tarvo::MainMod& s = driver.state;
        s.Alfa = s.H = s.Hf = s.C = s.Ro = -1;
        const QStringList before = ControlsState(driver);
        driver.Click(row.name);
        QCOMPARE(StoredRack(s), row.rack);
        QCOMPARE(ControlsState(driver), before);
        QVERIFY(driver.Checked(row.name));
        QCOMPARE(driver.Messages(), QStringList());
        // The row reads what it stores, beside its button and below the row above.
        QList<double> shown;
        for (const QString& value : driver.Find<QLabel>(row.label)->text().replace(',', '.').split(
                 ' ', Qt::SkipEmptyParts)) {
            shown << value.toDouble();
        }
        QCOMPARE(shown, row.rack);
        const QRect button = driver.Find(row.name)->geometry();
        QVERIFY(std::abs(button.center().y() - driver.Find(row.label)->geometry().center().y()) < 4);
        QVERIFY(&row == kRows || button.y() > driver.Find((&row - 1)->name)->y());
    }

    void customRack_data() { AddRows(kCustom); }
    void customRack() {
        const auto& row = CurrentRow(kCustom);
        WindowDriver driver;
        const QStringList boxes = {"TextAlfa", "TextH", "TextHf", "TextC", "TextRo"};
        // Opened after the 20-degree row it shows that rack; the frames beneath wait, "OK" not.
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 ctlOB2 ctlOB1 ctlOB5");
        QCOMPARE(driver.Texts(boxes), (QStringList{"20", "1", "1", "0.25", "0.38"}));
        QVERIFY(!driver.Enabled("frPar") && !driver.Enabled("frContur") && driver.Enabled("ctlCom"));
        driver.Fill(row.typed);
        CompareRack(StoredRack(driver.state), row.rack);
        QCOMPARE(driver.Messages(), row.message);
        QCOMPARE(driver.Frames(), kPairPage);
        const bool open = !row.focus.isEmpty();
        QCOMPARE(driver.Showing("frAltContur"), open);
        QCOMPARE(driver.Enabled("frPar") && driver.Enabled("frContur"), !open);
        if (open) {
            QCOMPARE(driver.FocusName(), row.focus);
            return;
        }
        // The rows show the designer's own rack; a double click on it opens the frame again on
        // what was stored.
        auto* own = driver.Find<QRadioButton>("ctlOB5");
        QVERIFY(own->isChecked());
        QTest::mouseDClick(own, Qt::LeftButton, {}, QPoint(8, own->height() / 2));
        QVERIFY(driver.Showing("frAltContur"));
        QList<double> shown;
        for (const QString& text : driver.Texts(boxes)) {
            shown << text.toDouble();
        }
        CompareRack(shown, row.rack);
    }

    void leavingThePageAppliesOpenPopUps() {
        // Leaving by "OK" or "Назад", and the way back.
        const QStringList ways[] = {{"OK", "frAcc", "cmBack"}, {"cmBack", "frStartOpt", "OK"}};
        for (const QStringList& way : ways) {
            WorkFolder folder;
            WindowDriver driver;
            driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 ctlOB5 TextH=0,9 cmGrad(1) Text1(0)=22 "
                        "Text1(1)=30 Text1(2)=0");
            QVERIFY(driver.Showing("frAltContur") && driver.Showing("frGradTrans"));
            // Leaving with both open stores what they show, as their own "OK"s would.
            driver.Fill(way[0]);
            QCOMPARE(driver.Messages(), QStringList());
            QCOMPARE(driver.Frames(), QStringList{way[1]});
            QCOMPARE(driver.state.Alfa, 22.5);
            QCOMPARE(driver.state.H, 0.9);
            QVERIFY(driver.Checked("ctlOB5"));
            // Coming back, the pop-ups are closed and the frames beneath take entries.
            driver.Fill(way[2]);
            QCOMPARE(driver.Frames(), kPairPage);
            QVERIFY(!driver.Showing("frAltContur") && !driver.Showing("frGradTrans"));
            QVERIFY(driver.Enabled("frPar") && driver.Enabled("frContur"));
        }
    }

    void anglePanelSplitsAndJoins_data() { AddRows(kAngles); }
    void anglePanelSplitsAndJoins() {
        const auto& row = CurrentRow(kAngles);
        WindowDriver driver;
        const bool helix = row.box == "txtBeta";
        const auto enabled = [&] {
            return QList<bool>{driver.Enabled("frPar"), driver.Enabled("frContur"),
                               driver.Enabled("frAltContur")};
        };
        driver.Fill(helix ? "OK" : "OK ctlOB5");
        driver.Type(row.box, row.angle);
        driver.Click(helix ? "cmGrad(0)" : "cmGrad(1)");
        QVERIFY(driver.Showing("frGradTrans"));
        QCOMPARE(driver.Texts({"Text1(0)", "Text1(1)", "Text1(2)"}), row.parts);
        QCOMPARE(enabled(), (QList<bool>{false, false, helix}));
        driver.Fill(row.typed + " ctlCommand");
        QVERIFY(!driver.Showing("frGradTrans"));
        QCOMPARE(driver.Text(row.box), row.joined);
        // The frames beneath the custom rack frame wait for its own "OK".
        QCOMPARE(enabled(), (QList<bool>{helix, helix, true}));
    }
};

QTEST_MAIN(RackTest)
#include "rack_test.moc"
