// The window from start-up through every page to the drawing file, as a designer goes through it:
// the three tasks written byte for byte as tarvo-cli writes them, the refusals of the parameters
// pages with their texts and focus, a second round, and a file that cannot be written.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "app/startup.h"
#include "ui/controls.h"
#include "window_driver.h"

using tarvo::Message;
using tarvo::MessageIcon;
using tarvo::ui::test::FileBytes;
using tarvo::ui::test::RunCli;
using tarvo::ui::test::WindowDriver;

namespace {

// Starts the window in `folder`, where the file page's lists begin, and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const QString& folder) : previous_(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~InFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

// "txtm=2,5" typed into txtm.
void TypeAll(WindowDriver& driver, const QStringList& entries) {
    for (const QString& entry : entries) {
        const qsizetype equals = entry.indexOf('=');
        driver.Type(entry.left(equals), entry.mid(equals + 1));
    }
}

void ClickAll(WindowDriver& driver, const QStringList& names) {
    for (const QString& name : names) {
        driver.Click(name);
    }
}

const QStringList kPages = {"frStartOpt", "frPar", "frContur", "frIntEx", "FrParSl",
                            "frAcc",      "frFile", "frSave"};

// The frames showing, in a fixed order.
QStringList ShowingFrames(const WindowDriver& driver) {
    QStringList showing;
    for (const QString& page : kPages) {
        if (driver.Showing(page)) {
            showing << page;
        }
    }
    return showing;
}

}  // namespace

class FrmParTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheStartPageWithTheReleaseCaption();
    void drawsWhatTarvoCliDraws_data();
    void drawsWhatTarvoCliDraws();
    void refusesParameters_data();
    void refusesParameters();
    void proposesANameFromTheEntriesAndTheClock();
    void secondRoundKeepsEntriesAndName();
    void fileThatCannotBeWrittenKeepsTheFilePage();
    void ostSplineHasNoShiftRow();
};

void FrmParTest::startsOnTheStartPageWithTheReleaseCaption() {
    WindowDriver driver;
    QCOMPARE(driver.window->windowTitle(), QStringLiteral("Tarvo 3.0.4"));
    QCOMPARE(ShowingFrames(driver), QStringList{"frStartOpt"});
    QVERIFY(driver.Find<QRadioButton>("ctlOptionTip(0)")->isChecked());
    QCOMPARE(tarvo::ui::Tag(driver.Find("frStartOpt")), QStringLiteral("0"));
    QVERIFY(driver.Find("frGradTrans")->isHidden());
    QVERIFY(driver.Find("frAltContur")->isHidden());
    // The default accuracy is set before the window loads, so its boxes show it.
    QCOMPARE(driver.state.AccEv, 6);
    QCOMPARE(driver.state.AccPer, 3);
    QCOMPARE(driver.Text("txtAccEv"), QStringLiteral("6"));
    QCOMPARE(driver.Text("txtAccPer"), QStringLiteral("3"));
    const QList<QSize> sizes = driver.window->windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
}

void FrmParTest::drawsWhatTarvoCliDraws_data() {
    QTest::addColumn<QString>("task");         // the start page's option
    QTest::addColumn<QStringList>("clicks");   // options on the parameters page
    QTest::addColumn<QStringList>("typed");    // boxes of the parameters page
    QTest::addColumn<QString>("involute");     // txtAccEv
    QTest::addColumn<QString>("fillet");       // txtAccPer
    QTest::addColumn<QStringList>("cli");      // the same drawing asked of tarvo-cli

    QTest::newRow("external pair, shifted, finer accuracy")
        << "ctlOptionTip(0)" << QStringList{}
        << QStringList{"txtm=2", "txtZ1=20", "txtZ2=40", "txtx1=0,3", "txtx2=-0.1", "txtJbn=0.05"}
        << "8" << "4"
        << QStringList{"pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
                       "--x1", "0.3", "--x2", "-0.1", "--backlash", "0.05",
                       "--involute-points", "8", "--fillet-points", "4"};
    QTest::newRow("internal helical pair, 25 degree rack")
        << "ctlOptionTip(0)" << QStringList{"opTip(1)", "ctlOB2"}
        << QStringList{"txtm=2,5", "txtBeta=12,5", "txtZ1=18", "txtZ2=61"}
        << "6" << "3"
        << QStringList{"pair", "--mesh", "internal", "--module", "2.5", "--helix", "12.5", "--z1",
                       "18", "--z2", "61", "--rack", "25"};
    QTest::newRow("GOST spline shaft with shift")
        << "ctlOptionTip(1)" << QStringList{}
        << QStringList{"txtmSL=1,25", "txtZ=18", "txtX=0,1"}
        << "10" << "5"
        << QStringList{"spline", "--standard", "gost", "--part", "shaft", "--module", "1.25",
                       "--teeth", "18", "--shift", "0.1", "--involute-points", "10",
                       "--fillet-points", "5"};
    QTest::newRow("OST spline hub, module 1")
        << "ctlOptionTip(2)" << QStringList{"opValVt(1)"}
        << QStringList{"txtmSL=1", "txtZ=24"}
        << "6" << "3"
        << QStringList{"spline", "--standard", "ost", "--part", "hub", "--module", "1", "--teeth",
                       "24"};
}

void FrmParTest::drawsWhatTarvoCliDraws() {
    QFETCH(QString, task);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, typed);
    QFETCH(QString, involute);
    QFETCH(QString, fillet);
    QFETCH(QStringList, cli);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    InFolder in(folder.path());
    WindowDriver driver;

    driver.Click(task);
    driver.Ok();
    ClickAll(driver, clicks);
    TypeAll(driver, typed);
    driver.Ok();
    QVERIFY(driver.NoMessage());
    QCOMPARE(ShowingFrames(driver), QStringList{"frAcc"});

    driver.Type("txtAccEv", involute);
    driver.Type("txtAccPer", fillet);
    driver.Tab();
    driver.Ok();
    QCOMPARE(ShowingFrames(driver), QStringList{"frFile"});
    QCOMPARE(driver.state.AccEv, involute.toInt());
    QCOMPARE(driver.state.AccPer, fillet.toInt());

    driver.Type("txtFileName", "  window.dxf ");
    driver.Ok();
    QVERIFY(driver.NoMessage());
    QCOMPARE(ShowingFrames(driver), QStringList{"frSave"});
    const QString written = folder.filePath("window.dxf");
    QCOMPARE(driver.Find<QPlainTextEdit>("txtRep")->toPlainText(), written);

    QString cliError;
    QVERIFY2(RunCli(cli << "-o" << folder.filePath("cli.dxf"), &cliError), qPrintable(cliError));
    const QByteArray expected = FileBytes(folder.filePath("cli.dxf"));
    QVERIFY(!expected.isEmpty());
    QVERIFY(FileBytes(written) == expected);

    // The report page leads back to the start page.
    driver.Ok();
    QCOMPARE(ShowingFrames(driver), QStringList{"frStartOpt"});
    QVERIFY(driver.Find<QRadioButton>(task)->isChecked());
}

void FrmParTest::refusesParameters_data() {
    QTest::addColumn<QString>("task");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("page");

    QTest::newRow("module 0") << "ctlOptionTip(0)" << QStringList{"txtm=0", "txtZ1=20", "txtZ2=40"}
                              << "Неверно задан параметр:\r\nМодуль нормальный, мм !" << "txtm"
                              << "frPar";
    QTest::newRow("module empty") << "ctlOptionTip(0)" << QStringList{"txtZ1=20", "txtZ2=40"}
                                  << "Неверно задан параметр:\r\nМодуль нормальный, мм !"
                                  << "txtm" << "frPar";
    QTest::newRow("Z1 0,9 reads as 0") << "ctlOptionTip(0)" << QStringList{"txtm=2", "txtZ1=0,9", "txtZ2=40"}
                                       << "Неверно задан параметр:Число зубьев Z1" << "txtZ1"
                                       << "frPar";
    QTest::newRow("Z2 not a number") << "ctlOptionTip(0)" << QStringList{"txtm=2", "txtZ1=20", "txtZ2=z"}
                                     << "Неверно задан параметр:Число зубьев Z2" << "txtZ2"
                                     << "frPar";
    QTest::newRow("spline module negative") << "ctlOptionTip(1)" << QStringList{"txtmSL=-1", "txtZ=18"}
                                            << "Неверно задан параметр:\r\nМодуль, мм !" << "txtmSL"
                                            << "FrParSl";
    QTest::newRow("spline teeth 0") << "ctlOptionTip(2)" << QStringList{"txtmSL=1", "txtZ=0"}
                                    << "Неверно задан параметр:Число зубьев" << "txtZ"
                                    << "FrParSl";
}

void FrmParTest::refusesParameters() {
    QFETCH(QString, task);
    QFETCH(QStringList, typed);
    QFETCH(QString, text);
    QFETCH(QString, focus);
    QFETCH(QString, page);

    WindowDriver driver;
    driver.Click(task);
    driver.Ok();
    TypeAll(driver, typed);
    driver.Ok();
    const Message message = driver.TakeMessage();
    QCOMPARE(QString::fromStdString(message.text), text);
    QCOMPARE(QString::fromStdString(message.title), QStringLiteral("Ошибка данных..."));
    QVERIFY(message.icon == MessageIcon::Critical);
    QCOMPARE(driver.FocusName(), focus);
    QVERIFY(driver.Showing(page));
    QVERIFY(!driver.Showing("frAcc"));
    // Nothing was proposed or stored.
    QVERIFY(driver.state.OutFile.empty());
    QCOMPARE(driver.Text("txtFileName"), QString());
}

void FrmParTest::proposesANameFromTheEntriesAndTheClock() {
    QTemporaryDir folder;
    InFolder in(folder.path());
    WindowDriver driver;
    driver.window->SetClock([] { return std::make_pair(std::string("05.12.2026"), std::string("10:42:15")); });
    driver.Ok();
    TypeAll(driver, {"txtm=2.5", "txtZ1=20", "txtZ2=41"});
    driver.Ok();
    QCOMPARE(driver.Text("txtFileName"), QStringLiteral("20x41x2_5_05_12_2026_10_42_15.dxf"));

    // The real clock gives a name without folder separators.
    const auto [date, time] = tarvo::ui::RegionalNow();
    QVERIFY(!QString::fromStdString(date + time).contains('/'));
    QVERIFY(!date.empty() && !time.empty());
}

void FrmParTest::secondRoundKeepsEntriesAndName() {
    QTemporaryDir folder;
    InFolder in(folder.path());
    WindowDriver driver;
    driver.Ok();
    driver.Click("ctlOB7");  // the 18-degree row, which the next round replaces by the 20-degree one
    TypeAll(driver, {"txtm=3", "txtZ1=17", "txtZ2=60"});
    driver.Click("opTip(1)");
    driver.Ok();
    driver.Ok();
    const QString proposed = driver.Text("txtFileName");
    QVERIFY(proposed.startsWith("17x60x3_"));
    driver.Ok();
    QVERIFY(driver.NoMessage());
    QVERIFY(QFile::exists(folder.filePath(proposed)));
    driver.Ok();

    // Round two: everything as it was left, the rack back on the 20-degree row.
    QCOMPARE(ShowingFrames(driver), QStringList{"frStartOpt"});
    driver.Ok();
    QCOMPARE(driver.Text("txtm"), QStringLiteral("3"));
    QCOMPARE(driver.Text("txtZ1"), QStringLiteral("17"));
    QCOMPARE(driver.Text("txtZ2"), QStringLiteral("60"));
    QVERIFY(driver.Find<QRadioButton>("opTip(1)")->isChecked());
    QVERIFY(driver.Find<QRadioButton>("ctlOB1")->isChecked());
    QCOMPARE(driver.state.Alfa, 20.0);
    driver.Type("txtZ2", "61");
    driver.Ok();
    driver.Ok();
    QCOMPARE(ShowingFrames(driver), QStringList{"frFile"});
    // No new name is proposed once a path exists; the file now lists the first drawing.
    QCOMPARE(driver.Text("txtFileName"), proposed);
    QVERIFY(!driver.Find<QListWidget>("ctFile")->findItems(proposed, Qt::MatchExactly).isEmpty());
    const QByteArray first = FileBytes(folder.filePath(proposed));
    driver.Ok();
    QCOMPARE(driver.Find<QPlainTextEdit>("txtRep")->toPlainText(), folder.filePath(proposed));
    QVERIFY(FileBytes(folder.filePath(proposed)) != first);
}

void FrmParTest::fileThatCannotBeWrittenKeepsTheFilePage() {
    QTemporaryDir folder;
    InFolder in(folder.path());
    QFile plain(folder.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    WindowDriver driver;
    driver.Ok();
    TypeAll(driver, {"txtm=2", "txtZ1=20", "txtZ2=40"});
    driver.Ok();
    driver.Ok();
    // "plain" is a file, so nothing can be written inside it.
    driver.Type("txtFileName", "plain/part.dxf");
    driver.Ok();
    const Message message = driver.TakeMessage();
    QCOMPARE(QString::fromStdString(message.title), QStringLiteral("Внимание!"));
    QVERIFY(message.icon == MessageIcon::Exclamation);
    QVERIFY(QString::fromStdString(message.text).contains(folder.filePath("plain/part.dxf")));
    QCOMPARE(ShowingFrames(driver), QStringList{"frFile"});
    QCOMPARE(driver.Text("txtFileName"), QStringLiteral("plain/part.dxf"));
    QCOMPARE(driver.Find<QPlainTextEdit>("txtRep")->toPlainText(), QString());

    // The designer corrects the name and goes on, with the entries as they were.
    driver.Type("txtFileName", "part");
    driver.Ok();
    QVERIFY(driver.NoMessage());
    QCOMPARE(driver.Find<QPlainTextEdit>("txtRep")->toPlainText(), folder.filePath("part.dxf"));
    QVERIFY(QFile::exists(folder.filePath("part.dxf")));
    QCOMPARE(driver.Text("txtm"), QStringLiteral("2"));
}

void FrmParTest::ostSplineHasNoShiftRow() {
    QTemporaryDir folder;
    InFolder in(folder.path());
    WindowDriver driver;
    // A shift typed for GOST 6033-80 on an earlier round is dropped for OST 1 00086-73.
    driver.Click("ctlOptionTip(1)");
    driver.Ok();
    QVERIFY(driver.Showing("txtX"));
    QCOMPARE(driver.FocusName(), QStringLiteral("txtmSL"));
    TypeAll(driver, {"txtmSL=1", "txtZ=20", "txtX=0,2"});
    driver.Ok();
    QCOMPARE(driver.state.H, 0.45);
    driver.Ok();  // to the file page
    driver.Ok();  // the drawing, the report page
    driver.Ok();  // the start page
    driver.Click("ctlOptionTip(2)");
    QCOMPARE(tarvo::ui::Tag(driver.Find("frStartOpt")), QStringLiteral("2"));
    driver.Ok();
    QVERIFY(!driver.Showing("txtX"));
    QVERIFY(!driver.Showing("lbX"));
    QCOMPARE(driver.Text("txtX"), QString());
    driver.Ok();
    QCOMPARE(driver.state.H, 0.75);
    QCOMPARE(driver.state.Alfa, 30.0);
}

QTEST_MAIN(FrmParTest)
#include "frm_par_test.moc"
