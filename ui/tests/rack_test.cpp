// The basic rack on the gear-pair page: the six fixed rows, the designer's own rack in its frame,
// and the angle panel that enters the helix angle and the rack's profile angle in degrees,
// minutes and seconds; ending with a drawing made through both, compared with tarvo-cli's.
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include "app/basic_rack.h"
#include "app/custom_rack.h"
#include "math/constants.h"
#include "math/involute.h"
#include "ui/controls.h"
#include "window_driver.h"

using tarvo::Message;
using tarvo::MessageIcon;
using tarvo::ui::test::FileBytes;
using tarvo::ui::test::RunCli;
using tarvo::ui::test::WindowDriver;

namespace {

const QStringList kCustomBoxes = {"TextAlfa", "TextH", "TextHf", "TextC", "TextRo"};

// Everything a row handler could change by mistake: every box's text and every control's
// visible and enabled state.
QStringList ControlsState(const WindowDriver& driver) {
    QStringList state;
    for (const QWidget* control : driver.window->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty()) {
            continue;
        }
        QString line = control->objectName() + (control->isHidden() ? " hidden" : " shown") +
                       (control->isEnabled() ? " enabled" : " disabled");
        if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            line += " [" + box->text() + "]";
        }
        state << line;
    }
    return state;
}

QStringList CustomTexts(const WindowDriver& driver) {
    QStringList texts;
    for (const QString& box : kCustomBoxes) {
        texts << driver.Text(box);
    }
    return texts;
}

// The gear-pair page, with the custom rack frame open on the stored rack.
void OpenCustomFrame(WindowDriver& driver) {
    driver.Ok();
    driver.Click("ctlOB5");
}

// The largest rf* the rack's tooth tip takes for ha* = 1 and a 20-degree profile.
double RoLimit20() {
    const double a = tarvo::GradToRad(20);
    return (tarvo::kPi / 4 - std::tan(a)) / std::cos(a);
}

}  // namespace

class RackTest : public QObject {
    Q_OBJECT
private slots:
    void fixedRowStoresItsValuesAndChangesNoControl_data();
    void fixedRowStoresItsValuesAndChangesNoControl();
    void rowsStandInTheirOrder();
    void customFrameShowsTheStoredRack();
    void customRackStores_data();
    void customRackStores();
    void zeroCoefficientKeepsTheFrameOpen();
    void doubleClickReopensTheCustomFrame();
    void anglePanelSplitsAndJoins_data();
    void anglePanelSplitsAndJoins();
    void anglePanelKeepsItsBoxesForAZeroAngle();
    void anglePanelOpensBesideItsBox();
    void customRackAndHelixReachTheDrawing();
};

void RackTest::fixedRowStoresItsValuesAndChangesNoControl_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < tarvo::kRackRows.size(); ++i) {
        QTest::newRow(tarvo::kRackRows[i].button) << static_cast<int>(i);
    }
}

void RackTest::fixedRowStoresItsValuesAndChangesNoControl() {
    QFETCH(int, row);
    const tarvo::RackRow& rack = tarvo::kRackRows[static_cast<std::size_t>(row)];
    WindowDriver driver;
    driver.Ok();
    // Start from a rack that is none of the rows.
    driver.state.Alfa = driver.state.H = driver.state.Hf = driver.state.C = driver.state.Ro = -1;
    const QStringList before = ControlsState(driver);
    driver.Click(rack.button);
    QCOMPARE(driver.state.Alfa, rack.rack.alfa);
    QCOMPARE(driver.state.H, rack.rack.h);
    QCOMPARE(driver.state.Hf, rack.rack.hf);
    QCOMPARE(driver.state.C, rack.rack.c);
    QCOMPARE(driver.state.Ro, rack.rack.ro);
    QCOMPARE(ControlsState(driver), before);
    QVERIFY(driver.Find<QRadioButton>(rack.button)->isChecked());
    QVERIFY(driver.NoMessage());
}

void RackTest::rowsStandInTheirOrder() {
    WindowDriver driver;
    driver.Ok();
    // Top to bottom by angle, the buttons' numbers notwithstanding; each row's values beside
    // its button.
    const QStringList order = {"ctlOB7", "ctlOB1", "ctlOB6", "ctlOB2", "ctlOB4", "ctlOB3", "ctlOB5"};
    const QStringList labels = {"Label2(9)", "Label2(0)", "Label2(8)", "Label2(1)",
                                "Label2(3)", "Label2(2)", "Label2(6)"};
    int previousY = -1;
    for (int i = 0; i < order.size(); ++i) {
        const auto* button = driver.Find<QRadioButton>(order[i]);
        const auto* label = driver.Find<QLabel>(labels[i]);
        QVERIFY2(button->y() > previousY, qPrintable(order[i]));
        QVERIFY2(std::abs(button->geometry().center().y() - label->geometry().center().y()) < 4,
                 qPrintable(labels[i]));
        previousY = button->y();
    }
    QCOMPARE(driver.Find<QLabel>("Label2(0)")->text(),
             QStringLiteral("20       1          1        0,25         0,38"));
    QVERIFY(driver.Find<QRadioButton>("ctlOB1")->isChecked());
    QCOMPARE(driver.Find<QLabel>("Label2(4)")->text(), QStringLiteral("α"));
}

void RackTest::customFrameShowsTheStoredRack() {
    WindowDriver driver;
    OpenCustomFrame(driver);
    QVERIFY(driver.Showing("frAltContur"));
    QCOMPARE(CustomTexts(driver), (QStringList{"20", "1", "1", "0.25", "0.38"}));
    QCOMPARE(tarvo::ui::Tag(driver.Box("TextRo")),
             QStringLiteral("Коэффициент радиуса кривизны переходной кривой"));
    for (int field = 0; field < 5; ++field) {
        QCOMPARE(tarvo::ui::Tag(driver.Box(kCustomBoxes[field])),
                 QString::fromUtf8(tarvo::RackFieldName(static_cast<tarvo::RackField>(field))));
    }
    // The frames beneath wait; the page command does not.
    QVERIFY(!driver.Find("frPar")->isEnabled());
    QVERIFY(!driver.Find("frContur")->isEnabled());
    QVERIFY(driver.Find("ctlCom")->isEnabled());
    // Opening stores nothing.
    QCOMPARE(driver.state.Ro, 0.38);
}

void RackTest::customRackStores_data() {
    QTest::addColumn<QString>("ro");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("reduced");
    QTest::newRow("empty rf* derived from c*") << "" << 0.25 / (1 - std::sin(tarvo::GradToRad(20))) << false;
    QTest::newRow("rf* above the limit") << "0.5" << RoLimit20() << true;
    QTest::newRow("rf* exactly the limit") << QString::number(RoLimit20(), 'g', 17) << RoLimit20() << false;
    QTest::newRow("rf* below the limit, comma") << "0,3" << 0.3 << false;
}

void RackTest::customRackStores() {
    QFETCH(QString, ro);
    QFETCH(double, stored);
    QFETCH(bool, reduced);
    WindowDriver driver;
    OpenCustomFrame(driver);
    driver.Type("TextC", "0,25");
    driver.Type("TextRo", ro);
    driver.Click("ComOK");
    QCOMPARE(driver.state.Alfa, 20.0);
    QCOMPARE(driver.state.C, 0.25);
    QCOMPARE(driver.state.Ro, stored);
    if (reduced) {
        const Message message = driver.TakeMessage();
        QVERIFY(message.icon == MessageIcon::Information);
        QVERIFY(message.title.empty());
        const QChar separator = QLocale::system().decimalPoint().at(0);
        const QString expected = "Параметр: 'Коэффициент радиуса кривизны переходной кривой' "
                                 "уменьшен до величины 0" + QString(separator) + "4485";
        QCOMPARE(QString::fromStdString(message.text), expected);
    } else {
        QVERIFY(driver.NoMessage());
    }
    QVERIFY(!driver.Showing("frAltContur"));
    QVERIFY(driver.Find("frPar")->isEnabled());
    QVERIFY(driver.Find("frContur")->isEnabled());
    QVERIFY(driver.Find<QRadioButton>("ctlOB5")->isChecked());
}

void RackTest::zeroCoefficientKeepsTheFrameOpen() {
    WindowDriver driver;
    OpenCustomFrame(driver);
    driver.Type("TextAlfa", "25");
    driver.Type("TextH", "0");
    driver.Click("ComOK");
    const Message message = driver.TakeMessage();
    QCOMPARE(QString::fromStdString(message.text),
             QStringLiteral("Параметр: 'Коэффициент высоты головки' не может быть нулевым!"));
    QVERIFY(message.icon == MessageIcon::Exclamation);
    QVERIFY(message.title.empty());
    QVERIFY(driver.Showing("frAltContur"));
    QVERIFY(!driver.Find("frPar")->isEnabled());
    QCOMPARE(driver.FocusName(), QStringLiteral("TextH"));
    // Field by field: the angle before the refused field is already stored.
    QCOMPARE(driver.state.Alfa, 25.0);
    QCOMPARE(driver.state.H, 1.0);
}

void RackTest::doubleClickReopensTheCustomFrame() {
    WindowDriver driver;
    OpenCustomFrame(driver);
    driver.Type("TextAlfa", "22,5");
    driver.Click("ComOK");
    QVERIFY(!driver.Showing("frAltContur"));
    auto* other = driver.Find<QRadioButton>("ctlOB5");
    QTest::mouseDClick(other, Qt::LeftButton, {}, QPoint(8, other->height() / 2));
    QVERIFY(driver.Showing("frAltContur"));
    QCOMPARE(CustomTexts(driver), (QStringList{"22.5", "1", "1", "0.25", "0.38"}));
}

void RackTest::anglePanelSplitsAndJoins_data() {
    QTest::addColumn<QString>("button");  // cmGrad(0) for txtBeta, cmGrad(1) for TextAlfa
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QStringList>("typed");  // what the designer changes in the panel
    QTest::addColumn<QString>("joined");

    QTest::newRow("seconds round to 34") << "cmGrad(0)" << "8.1094444" << QStringList{"8", "6", "34"}
                                         << QStringList{} << "8.10944444444444";
    QTest::newRow("seconds come out as 60") << "cmGrad(0)" << "10.99999" << QStringList{"10", "59", "60"}
                                            << QStringList{} << "11";
    QTest::newRow("negative angle floors") << "cmGrad(0)" << "-10.5" << QStringList{"-11", "30", "0"}
                                           << QStringList{} << "-10.5";
    QTest::newRow("profile angle with a comma") << "cmGrad(1)" << "15,25" << QStringList{"15", "15", "0"}
                                                << QStringList{} << "15.25";
    QTest::newRow("minutes read up to the comma") << "cmGrad(0)" << "10" << QStringList{"10", "0", "0"}
                                                  << QStringList{"Text1(1)=30,5"} << "10.5";
    QTest::newRow("90 minutes are 1.5 degrees") << "cmGrad(1)" << "20" << QStringList{"20", "0", "0"}
                                                << QStringList{"Text1(1)=90", "Text1(2)=36"} << "21.51";
}

void RackTest::anglePanelSplitsAndJoins() {
    QFETCH(QString, button);
    QFETCH(QString, angle);
    QFETCH(QStringList, parts);
    QFETCH(QStringList, typed);
    QFETCH(QString, joined);

    WindowDriver driver;
    driver.Ok();
    const bool helix = button == "cmGrad(0)";
    const QString box = helix ? "txtBeta" : "TextAlfa";
    if (!helix) {
        driver.Click("ctlOB5");
    }
    driver.Type(box, angle);
    driver.Click(button);
    QVERIFY(driver.Showing("frGradTrans"));
    QCOMPARE((QStringList{driver.Text("Text1(0)"), driver.Text("Text1(1)"), driver.Text("Text1(2)")}),
             parts);
    if (helix) {
        QVERIFY(!driver.Find("frPar")->isEnabled());
        QVERIFY(!driver.Find("frContur")->isEnabled());
    } else {
        QVERIFY(!driver.Find("frAltContur")->isEnabled());
    }
    for (const QString& entry : typed) {
        driver.Type(entry.section('=', 0, 0), entry.section('=', 1));
    }
    driver.Click("ctlCommand");
    QVERIFY(!driver.Showing("frGradTrans"));
    QCOMPARE(driver.Text(box), joined);
    if (helix) {
        QVERIFY(driver.Find("frPar")->isEnabled());
        QVERIFY(driver.Find("frContur")->isEnabled());
    } else {
        QVERIFY(driver.Find("frAltContur")->isEnabled());
        // The frames beneath the custom rack frame wait for its own "OK".
        QVERIFY(!driver.Find("frPar")->isEnabled());
    }
}

void RackTest::anglePanelKeepsItsBoxesForAZeroAngle() {
    WindowDriver driver;
    driver.Ok();
    driver.Click("cmGrad(0)");
    QCOMPARE(driver.Text("Text1(0)"), QString());
    driver.Type("Text1(0)", "5");
    driver.Type("Text1(1)", "7");
    driver.Click("ctlCommand");
    QCOMPARE(driver.Text("txtBeta"), QStringLiteral("5.11666666666667"));
    driver.Type("txtBeta", "0");
    driver.Click("cmGrad(0)");
    QCOMPARE((QStringList{driver.Text("Text1(0)"), driver.Text("Text1(1)"), driver.Text("Text1(2)")}),
             (QStringList{"5", "7", ""}));
}

void RackTest::anglePanelOpensBesideItsBox() {
    WindowDriver driver;
    driver.Ok();
    QWidget* window = driver.window.get();
    QWidget* panel = driver.Find("frGradTrans");
    const QLineEdit* module = driver.Box("txtm");
    driver.Click("cmGrad(0)");
    // Just below the module box, over the helix angle's row.
    QCOMPARE(panel->pos(), module->mapTo(window, QPoint(0, module->height())));
    driver.Click("ctlCommand");

    driver.Click("ctlOB5");
    driver.Click("cmGrad(1)");
    const QPoint alfa = driver.Box("TextAlfa")->mapTo(window, QPoint(0, 0));
    QCOMPARE(panel->y(), alfa.y() - 10);
    QCOMPARE(panel->x() + panel->width() / 2, alfa.x());
    QVERIFY(window->rect().contains(panel->geometry()));
    // The panel lies above the custom rack frame it serves (later siblings are drawn on top).
    QVERIFY(window->children().indexOf(panel) > window->children().indexOf(driver.Find("frAltContur")));
}

void RackTest::customRackAndHelixReachTheDrawing() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        WindowDriver driver;
        driver.Ok();
        driver.Click("ctlOB5");
        driver.Click("cmGrad(1)");
        driver.Type("Text1(0)", "22");
        driver.Type("Text1(1)", "30");
        driver.Type("Text1(2)", "0");
        driver.Click("ctlCommand");
        QCOMPARE(driver.Text("TextAlfa"), QStringLiteral("22.5"));
        driver.Type("TextH", "1,1");
        driver.Type("TextHf", "1.35");
        driver.Type("TextC", "0.3");
        driver.Type("TextRo", "");
        driver.Click("ComOK");
        QVERIFY(driver.NoMessage());

        driver.Click("cmGrad(0)");
        driver.Type("Text1(0)", "12");
        driver.Type("Text1(1)", "30");
        driver.Type("Text1(2)", "0");
        driver.Click("ctlCommand");
        QCOMPARE(driver.Text("txtBeta"), QStringLiteral("12.5"));
        driver.Type("txtm", "3");
        driver.Type("txtZ1", "17");
        driver.Type("txtZ2", "30");
        driver.Ok();
        driver.Ok();
        driver.Type("txtFileName", "custom");
        driver.Ok();
        QVERIFY(driver.NoMessage());
        QCOMPARE(driver.Find<QPlainTextEdit>("txtRep")->toPlainText(), folder.filePath("custom.dxf"));
    }
    QDir::setCurrent(previous);
    QString cliError;
    QVERIFY2(RunCli({"pair", "--mesh", "external", "--module", "3", "--z1", "17", "--z2", "30",
                     "--helix", "12.5", "--rack-custom", "22.5,1.1,1.35,0.3,",
                     "-o", folder.filePath("cli.dxf")},
                    &cliError),
             qPrintable(cliError));
    const QByteArray expected = FileBytes(folder.filePath("cli.dxf"));
    QVERIFY(!expected.isEmpty());
    QVERIFY(FileBytes(folder.filePath("custom.dxf")) == expected);
}

QTEST_MAIN(RackTest)
#include "rack_test.moc"
