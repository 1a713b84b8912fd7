// The basic rack on the gear-pair page: the six fixed rows, the designer's own rack in its frame
// (applied or refused, never dropped) and the angle panel in degrees, minutes and seconds.
#include <QLabel>
#include <QLocale>
#include <QRadioButton>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

// A fixed row: its button, the label beside it, and its alpha, ha*, hf*, c*, rf*.
const struct {
    const char* name;
    QString label, rack;
} kRows[] = {
    {"ctlOB7", "Label2(9)", "18 1 1.2 0.28734 0.41585"},
    {"ctlOB1", "Label2(0)", "20 1 1 0.25 0.38"},
    {"ctlOB6", "Label2(8)", "22.5 1 1 0.4 0.28467"},
    {"ctlOB2", "Label2(1)", "25 1 1 0.20328 0.35208"},
    {"ctlOB4", "Label2(3)", "28 0.95 0.95 0.1684 0.31742"},
    {"ctlOB3", "Label2(2)", "28 0.9 0.9 0.18438 0.34754"},
};

// Typed into the frame opened on the 20-degree rack, then its own "OK" (ComOK) or the page's;
// the rack then stored, the messages, and the box focused in the frame left open ("" if closed).
// With ha* = 1 and 20 degrees an empty rf* comes from c* alone; rf* is held to what the tip takes.
const double kAlpha = tarvo::GradToRad(20);
const QString kZero = "Exclamation||Параметр: 'Коэффициент %1' не может быть нулевым!";
const QString kPanel = "TextH=0,9 cmGrad(1) Text1(0)=22 Text1(1)=30 Text1(2)=0 ";
const struct {
    const char* name;
    QString typed, rack, message, focus;
} kCustom[] = {
    {"empty rf* derived from c*", "TextC=0,25 TextRo= ComOK",
     "20 1 1 0.25 " + QString::number(0.25 / (1 - std::sin(kAlpha)), 'g', 17), "", ""},
    {"rf* above the limit", "TextRo=0.5 ComOK",
     "20 1 1 0.25 " +
         QString::number((tarvo::kPi / 4 - std::tan(kAlpha)) / std::cos(kAlpha), 'g', 17),
     "Information||Параметр: 'Коэффициент радиуса кривизны переходной кривой' уменьшен до "
     "величины 0" +
         QString(QLocale::system().decimalPoint()) + "4485",
     ""},
    {"zero ha* refused after alpha is stored", "TextAlfa=25 TextH=0 ComOK", "25 1 1 0.25 0.38",
     kZero.arg("высоты головки"), "TextH"},
    {"zero c* refused by the page's OK", "TextHf=1,2 TextC=0 OK", "20 1 1.2 0.25 0.38",
     kZero.arg("радиального зазора"), "TextC"},
    // Leaving the page with the angle panel open over the frame (as their own "OK"s would), and
    // coming back.
    {"both pop-ups applied on leaving by OK", kPanel + "OK cmBack", "22.5 0.9 1 0.25 0.38", "", ""},
    {"both pop-ups applied on going back", kPanel + "cmBack OK", "22.5 0.9 1 0.25 0.38", "", ""},
};

// An angle typed into `box` (txtBeta opens the panel with cmGrad(0), TextAlfa with cmGrad(1)),
// the panel's three boxes, what the designer changes there, and the angle joined back.
const struct {
    const char* name;
    QString box, angle, parts, typed, joined;
} kAngles[] = {
    {"seconds round to 34", "txtBeta", "8.1094444", "8|6|34", "", "8.10944444444444"},
    {"seconds come out as 60", "txtBeta", "10.99999", "10|59|60", "", "11"},
    {"negative angle floors", "txtBeta", "-10.5", "-11|30|0", "", "-10.5"},
    {"profile angle with a comma", "TextAlfa", "15,25", "15|15|0", "", "15.25"},
    {"minutes read up to the comma", "txtBeta", "10", "10|0|0", "Text1(1)=30,5", "10.5"},
    {"zero angle leaves the boxes", "txtBeta", "0", "||", "Text1(0)=5 Text1(1)=7",
     "5.11666666666667"},
};

// The numbers in a label or in boxes' texts, read with either decimal sign.
QList<double> Numbers(QString text) {
    QList<double> numbers;
    for (const auto& n : text.replace(',', '.').replace('|', ' ').split(' ', Qt::SkipEmptyParts)) {
        numbers << n.toDouble();
    }
    return numbers;
}

QList<double> Stored(const tarvo::MainMod& s) {
    return {s.Alfa, s.H, s.Hf, s.C, s.Ro};
}

// A rack value by value, each as QCOMPARE compares doubles.
void CompareRack(const QList<double>& actual, const QString& expected) {
    QCOMPARE(actual.size(), 5);
    for (qsizetype i = 0; i < 5; ++i) {
        QCOMPARE(actual[i], Numbers(expected)[i]);
    }
}

}  // namespace

class RackTest : public QObject {
    Q_OBJECT
  private slots:
    void fixedRowsStoreTheirRacks() {
        WindowDriver driver;
        driver.Fill("OK");
        // Each row after one with another rack; the label beside it reads what it stores.
        for (const auto& row : kRows) {
            QCOMPARE(driver.Fill(row.name), QString());
            QVERIFY2(Stored(driver.state) == Numbers(row.rack), row.name);
            QCOMPARE(Numbers(driver.Find<QLabel>(row.label)->text()), Numbers(row.rack));
        }
    }

    void customRack_data() { AddRows(kCustom); }
    void customRack() {
        const auto& row = CurrentRow(kCustom);
        WindowDriver driver;
        // Opened after the 20-degree row it shows that rack; the frames beneath wait, "OK" not.
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 ctlOB2 ctlOB1 ctlOB5");
        QCOMPARE(driver.Texts("TextAlfa TextH TextHf TextC TextRo"), "20|1|1|0.25|0.38");
        QCOMPARE(driver.Enabled("frPar frContur ctlCom"), "ctlCom");
        QCOMPARE(driver.Fill(row.typed), row.message);
        CompareRack(Stored(driver.state), row.rack);
        QCOMPARE(driver.Frames(), kPairPage);
        const bool open = !row.focus.isEmpty();
        QCOMPARE(driver.Showing("frAltContur frGradTrans"), open ? "frAltContur" : "");
        QCOMPARE(driver.Enabled("frPar frContur"), open ? "" : "frPar frContur");
        if (open) {
            QCOMPARE(driver.FocusName(), row.focus);
            return;
        }
        // The rows show the own rack; a double click reopens the frame on what was stored.
        auto* own = driver.Find<QRadioButton>("ctlOB5");
        QVERIFY(own->isChecked());
        QTest::mouseDClick(own, Qt::LeftButton, {}, QPoint(8, own->height() / 2));
        QCOMPARE(driver.Showing("frAltContur"), "frAltContur");
        CompareRack(Numbers(driver.Texts("TextAlfa TextH TextHf TextC TextRo")), row.rack);
    }

    void anglePanelSplitsAndJoins_data() { AddRows(kAngles); }
    void anglePanelSplitsAndJoins() {
        const auto& row = CurrentRow(kAngles);
        WindowDriver driver;
        const bool helix = row.box == "txtBeta";
        driver.Fill((helix ? "OK " : "OK ctlOB5 ") + row.box + '=' + row.angle +
                    (helix ? " cmGrad(0)" : " cmGrad(1)"));
        QCOMPARE(driver.Texts("Text1(0) Text1(1) Text1(2)"), row.parts);
        QCOMPARE(driver.Enabled("frPar frContur frAltContur"), helix ? "frAltContur" : "");
        driver.Fill(row.typed + " ctlCommand");
        QCOMPARE(driver.Texts(row.box), row.joined);
        // Closed; the frames beneath the custom rack frame wait for its own "OK".
        QCOMPARE(driver.Enabled("frPar frContur frAltContur"),
                 helix ? "frPar frContur frAltContur" : "frAltContur");
    }
};

QTEST_MAIN(RackTest)
#include "rack_test.moc"
