// Moving through the pages: data that give no drawing lead back to the box to change (in the
// window and, with the same words, in tarvo-cli), "Назад" from every page keeps the entries,
// the drawing is made without freezing the window, and Enter presses "OK".
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "ui/drawing_report.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

const QStringList kPairPage{"frPar", "frContur", "frIntEx"};
const QStringList kSplinePage{"FrParSl"};

// tarvo-cli's exit status and error text for `arguments`, written over `path`.
struct CliRun {
    int status = -1;
    QString err;
};

CliRun RunCli(const QString& arguments, const QString& path) {
    QProcess cli;
    cli.start(QStringLiteral(TARVO_CLI), arguments.split(' ') << "-o" << path);
    cli.waitForFinished(120000);
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardError()).trimmed()};
}

}  // namespace

class PageFlowTest : public QObject {
    Q_OBJECT
private slots:
    void outOfRangeNamesTheBoxInWindowAndCli_data() {
        QTest::addColumn<QString>("entries");  // from the start page through the parameters
        QTest::addColumn<QString>("focus");    // the box blamed
        QTest::addColumn<QString>("caption");  // its label
        QTest::addColumn<QString>("option");   // tarvo-cli's option for it
        QTest::addColumn<QString>("cli");      // the same data for tarvo-cli
        const QString pair = "pair --mesh external --module 2 --z1 20 --z2 40 ";
        const QString helix = "Угол наклона зуба, град.";
        const QString module = "Модуль нормальный, мм";
        QTest::newRow("helix 90") << "OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=90" << "txtBeta"
                                  << helix << "--helix" << pair + "--helix 90";
        QTest::newRow("helix -90") << "OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=-90" << "txtBeta"
                                   << helix << "--helix" << pair + "--helix -90";
        QTest::newRow("helix 85: no working angle even unshifted")
            << "OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=85" << "txtBeta" << helix << "--helix"
            << pair + "--helix 85";
        QTest::newRow("helix 80 turns module 1e148 transverse past the range")
            << "OK txtm=1e148 txtZ1=20 txtZ2=40 txtBeta=80" << "txtBeta" << helix << "--helix"
            << "pair --mesh external --module 1e148 --z1 20 --z2 40 --helix 80";
        QTest::newRow("module 1e308") << "OK txtm=1e308 txtZ1=20 txtZ2=40" << "txtm" << module
                                      << "--module"
                                      << "pair --mesh external --module 1e308 --z1 20 --z2 40";
        QTest::newRow("module 1e-320") << "OK txtm=1e-320 txtZ1=20 txtZ2=40" << "txtm" << module
                                       << "--module"
                                       << "pair --mesh external --module 1e-320 --z1 20 --z2 40";
        QTest::newRow("backlash 100") << "OK txtm=2 txtZ1=20 txtZ2=40 txtJbn=100" << "txtJbn"
                                      << "Нормальный боковой зазор jn" << "--backlash"
                                      << pair + "--backlash 100";
        QTest::newRow("x1 -3: tip inside base") << "OK txtm=2 txtZ1=20 txtZ2=40 txtx1=-3"
                                                << "txtx1" << "Коэффициент смещения x1" << "--x1"
                                                << pair + "--x1 -3";
        QTest::newRow("internal ring x2 -5")
            << "OK opTip(1) txtm=2 txtZ1=20 txtZ2=40 txtx2=-5" << "txtx2"
            << "Коэффициент смещения x2" << "--x2"
            << "pair --mesh internal --module 2 --z1 20 --z2 40 --x2 -5";
        QTest::newRow("GOST hub shift -3 mm")
            << "ctlOptionTip(1) OK opValVt(1) txtmSL=2 txtZ=20 txtX=-3" << "txtX"
            << "Смещение, мм" << "--shift"
            << "spline --standard gost --part hub --module 2 --teeth 20 --shift -3";
        QTest::newRow("spline module 1e200")
            << "ctlOptionTip(2) OK txtmSL=1e200 txtZ=20" << "txtmSL" << "Модуль, мм"
            << "--module" << "spline --standard ost --part shaft --module 1e200 --teeth 20";
    }

    void outOfRangeNamesTheBoxInWindowAndCli() {
        QFETCH(QString, entries);
        QFETCH(QString, focus);
        QFETCH(QString, caption);
        QFETCH(QString, option);
        QFETCH(QString, cli);
        WorkFolder folder;

        // tarvo-cli: status 1, the option and caption named, the old file untouched.
        const QString old = folder.filePath("old.dxf");
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
        file.close();
        const CliRun run = RunCli(cli, old);
        QCOMPARE(run.status, 1);
        const QString prefix = "tarvo-cli: " + option + ": неверно задан параметр «" + caption + "»: ";
        QVERIFY2(run.err.startsWith(prefix), qPrintable(run.err));
        const QString reason = run.err.mid(prefix.size());
        QCOMPARE(FileBytes(old), QByteArray("kept"));

        // The window: back on the parameters page, entries as typed, the same reason.
        WindowDriver driver;
        driver.Fill(entries + " OK OK txtFileName=blamed OK");
        QCOMPARE(driver.Messages(),
                 (QStringList{"Critical", "Ошибка данных...",
                              "Неверно задан параметр:\r\n" + caption + " !\r\n" + reason}));
        QCOMPARE(driver.Frames(), entries.startsWith("ctlOptionTip") ? kSplinePage : kPairPage);
        QCOMPARE(driver.FocusName(), focus);
        const QString typed = entries.mid(entries.indexOf(focus + '=') + focus.size() + 1)
                                  .section(' ', 0, 0);
        QCOMPARE(driver.Text(focus), typed);
        QVERIFY(!QFile::exists(folder.filePath("blamed.dxf")));
        if (QTest::currentDataTag() == QByteArray("backlash 100")) {
            QCOMPARE(reason, QStringLiteral("боковой зазор больше толщины зуба"));
        }
    }

    void impossibleTeethGoBackToTheBoxToChange_data() {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("focus");  // the box the builder's sentence names
        QTest::addColumn<QString>("fix");    // what the designer then changes
        QTest::newRow("wheel 1 pointed by its shift")
            << "OK txtm=2 txtZ1=20 txtZ2=40 txtx1=2" << "txtx1" << "txtx1=0";
        // The builder counts the pinion as member 1; the ring here is wheel 1 or wheel 2.
        QTest::newRow("ring as wheel 2 left no cutter angle")
            << "OK opTip(1) txtm=2 txtZ1=20 txtZ2=40 txtJbn=2" << "txtx2" << "txtJbn=0";
        QTest::newRow("ring as wheel 1 left no cutter angle")
            << "OK opTip(1) txtm=2 txtZ1=40 txtZ2=20 txtJbn=2" << "txtx1" << "txtJbn=0";
        QTest::newRow("GOST shaft pointed") << "ctlOptionTip(1) OK txtmSL=2 txtZ=20 txtX=-3"
                                            << "txtX" << "txtX=0";
    }

    void impossibleTeethGoBackToTheBoxToChange() {
        QFETCH(QString, entries);
        QFETCH(QString, focus);
        QFETCH(QString, fix);
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(entries + " OK OK txtFileName=none OK");
        const QStringList message = driver.Messages();
        QCOMPARE(message.mid(0, 2), (QStringList{"Exclamation", "Внимание!"}));
        QVERIFY2(message.size() == 3 && message[2].startsWith("Чертёж не построен и не сохранён."),
                 qPrintable(message.join('|')));
        const bool spline = entries.startsWith("ctlOptionTip");
        QCOMPARE(driver.Frames(), spline ? kSplinePage : kPairPage);
        QCOMPARE(driver.FocusName(), focus);
        QCOMPARE(driver.Text(spline ? "txtZ" : "txtZ2"), spline ? QString("20") : entries.section("txtZ2=", 1).section(' ', 0, 0));
        QCOMPARE(driver.Text("txtFileName"), QStringLiteral("none"));
        QVERIFY(!QFile::exists(folder.filePath("none.dxf")));
        QCOMPARE(driver.Report(), QString());
        // Corrected, the same round goes on through the pages kept as they were.
        driver.Fill(fix + " OK OK OK");
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Report(), folder.filePath("none.dxf"));
    }

    void backFromEveryPageKeepsEntries() {
        WorkFolder folder;
        WindowDriver driver;
        QVERIFY(!driver.Enabled("cmBack"));
        driver.Fill("OK txtm=2,5 txtZ1=18 txtZ2=41 txtx1=0,2 OK txtAccEv=9 OK txtFileName=back OK");
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        const QStringList pages[] = {{"frFile"}, {"frAcc"}, kPairPage, {"frStartOpt"}};
        for (const QStringList& page : pages) {
            driver.Click("cmBack");
            QCOMPARE(driver.Frames(), page);
        }
        QVERIFY(!driver.Enabled("cmBack"));
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Texts({"txtm", "txtZ1", "txtZ2", "txtx1", "txtAccEv", "txtFileName"}),
                 (QStringList{"2,5", "18", "41", "0,2", "9", "back"}));
        // The spline page goes back to the start page, and forward again.
        driver.Fill("ctlOptionTip(1) OK txtmSL=1 cmBack");
        QCOMPARE(driver.Frames(), QStringList{"frStartOpt"});
        driver.Ok();
        QCOMPARE(driver.Text("txtmSL"), QStringLiteral("1"));
        driver.Fill("txtZ=12 OK cmBack");
        QCOMPARE(driver.Frames(), kSplinePage);
    }

    void longDrawingKeepsTheWindowAndTakesOneOk() {
        WorkFolder folder;
        std::atomic<int> calls{0};
        WindowDriver driver([&calls](const tarvo::MainMod& state, const tarvo::BuilderCall& call) {
            ++calls;
            // Long enough to press "OK" and Enter again before the drawing is made.
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            return tarvo::RunBuilder(state, call);
        });
        driver.Fill(kToAccuracy + " OK txtFileName=long");
        auto* ok = driver.Find<QPushButton>("ctlCom");
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(driver.window->Building());
        QVERIFY(!driver.Enabled("ctlCom") && !driver.Enabled("cmBack") && !driver.Enabled("frFile"));
        QVERIFY(driver.Showing("prBusy"));
        QVERIFY(QApplication::overrideCursor() != nullptr &&
                QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        // The window still paints and takes events; the presses meanwhile change nothing.
        QTest::mouseClick(ok, Qt::LeftButton);
        QTest::keyClick(driver.window.get(), Qt::Key_Return);
        QTest::mouseClick(driver.Find<QPushButton>("cmBack"), Qt::LeftButton);
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        QVERIFY(driver.WaitForDrawing());
        QTest::qWait(100);
        QCOMPARE(calls.load(), 1);
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        QCOMPARE(driver.Report(), folder.filePath("long.dxf"));
        QVERIFY(!driver.Showing("prBusy") && driver.Enabled("ctlCom") && driver.Enabled("cmBack"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The path stored for the drawing came back to the window's state.
        QCOMPARE(driver.state.OutFile, folder.filePath("long.dxf").toStdString());
    }

    void enterPressesOk() {
        WorkFolder folder;
        WindowDriver driver;
        QVERIFY(driver.Find<QPushButton>("ctlCom")->isDefault());
        QTest::keyClick(driver.Find("ctlOptionTip(0)"), Qt::Key_Return);
        QCOMPARE(driver.Frames(), kPairPage);
        driver.Fill("txtm=2 txtZ1=20 txtZ2=40");
        QTest::keyClick(driver.Find("txtZ2"), Qt::Key_Enter);
        QCOMPARE(driver.Frames(), QStringList{"frAcc"});
        QTest::keyClick(driver.Find("txtAccEv"), Qt::Key_Return);
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        // Enter on the folder list opens a folder; it does not write the drawing.
        QTest::keyClick(driver.Find("ctDir"), Qt::Key_Return);
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        // Enter on the focused "Назад" goes back.
        driver.Find("cmBack")->setFocus();
        QTest::keyClick(driver.Find("cmBack"), Qt::Key_Return);
        QCOMPARE(driver.Frames(), QStringList{"frAcc"});
        // Alt+O presses "OK" wherever the focus is (a pressed look first, then the click).
        QTest::keyClick(driver.window.get(), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(driver.Frames(), QStringList{"frFile"});
    }

    void enterInAPopUpPressesItsOwnOk() {
        WindowDriver driver;
        driver.Fill("OK txtBeta=10 cmGrad(0) Text1(1)=30");
        QTest::keyClick(driver.Find("Text1(1)"), Qt::Key_Return);
        QVERIFY(!driver.Showing("frGradTrans"));
        QCOMPARE(driver.Text("txtBeta"), QStringLiteral("10.5"));
        QCOMPARE(driver.Frames(), kPairPage);
    }

    void fileFailuresSayWhyInRussian_data() {
        QTest::addColumn<QString>("name");    // typed into the name box
        QTest::addColumn<QString>("reason");  // the last line of the message
        QTest::newRow("folder missing") << "missing/part" << "папка не найдена";
        QTest::newRow("a file where a folder should be")
            << "plain/part" << "часть пути — не папка, а файл";
        QTest::newRow("name too long") << QString(300, 'n') << "слишком длинное имя файла или пути";
        QTest::newRow("path is a folder") << "folder.dxf"
                                          << "по этому пути находится папка, а не файл";
    }

    void fileFailuresSayWhyInRussian() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        WorkFolder folder;
        QVERIFY(QFile(folder.filePath("plain")).open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir("folder.dxf"));
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK txtFileName=" + name + " OK");
        const QStringList message = driver.Messages();
        QCOMPARE(message.mid(0, 2), (QStringList{"Exclamation", "Внимание!"}));
        QVERIFY(message.size() == 3);
        QCOMPARE(message[2].section("\r\n", -1), reason);
        // The file page stays, so another place can be chosen.
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        QCOMPARE(driver.Text("txtFileName"), name);
        QCOMPARE(driver.FocusName(), QStringLiteral("txtFileName"));
    }

    void filePageListsFoldersMadeSinceItWasShown() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK");
        const auto* folders = driver.Find<QListWidget>("ctDir");
        QVERIFY(folders->findItems("later", Qt::MatchEndsWith).isEmpty());
        QVERIFY(QDir(folder.path()).mkdir("later"));
        driver.Fill("cmBack OK");
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        QCOMPARE(folders->findItems("later", Qt::MatchEndsWith).size(), 1);
    }

    void boxesShowFifteenDigitsWhole_data() {
        QTest::addColumn<QString>("entries");  // opens the page and types the number
        QTest::addColumn<QString>("box");
        QTest::newRow("helix angle from the angle panel")
            << "OK txtBeta=8.10944444444444" << "txtBeta";
        QTest::newRow("custom rf*") << "OK ctlOB5 TextRo=0.374234882025" << "TextRo";
        QTest::newRow("negative shift with fifteen digits")
            << "OK txtx2=-0.123456789012345" << "txtx2";
        QTest::newRow("spline shift") << "ctlOptionTip(1) OK txtX=-1.23456789012345E-100" << "txtX";
    }

    void boxesShowFifteenDigitsWhole() {
        QFETCH(QString, entries);
        QFETCH(QString, box);
        WindowDriver driver;
        driver.Fill(entries);
        auto* edit = driver.Find<QLineEdit>(box);
        // Room for the whole text inside the frame, from its first character.
        edit->setCursorPosition(0);
        const int room = edit->contentsRect().width() - 2 * 4;
        QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) <= room,
                 qPrintable(edit->text()));
        // The wider boxes leave every caption of the page whole.
        for (const QLabel* label : driver.window->findChildren<QLabel*>()) {
            if (label->isVisibleTo(driver.window.get()) && !label->text().isEmpty()) {
                QVERIFY2(label->width() >= label->minimumSizeHint().width(),
                         qPrintable(label->text()));
            }
        }
    }

    void everyBoxSaysWhatItTakes() {
        WindowDriver driver;
        const QList<QLineEdit*> boxes = driver.window->findChildren<QLineEdit*>();
        QVERIFY(boxes.size() >= 20);
        for (const QLineEdit* box : boxes) {
            // Boxes inside other controls (the drive list's) are not the form's own.
            if (!box->objectName().isEmpty()) {
                QVERIFY2(!box->toolTip().isEmpty(), qPrintable(box->objectName()));
            }
        }
    }

    void ostSplineRowsStayPut() {
        WindowDriver driver;
        driver.Fill("ctlOptionTip(1) OK");
        const int gostY = driver.Find("opValVt(0)")->y();
        driver.Fill("cmBack ctlOptionTip(2) OK");
        QVERIFY(!driver.Showing("txtX"));
        QCOMPARE(driver.Find("opValVt(0)")->y(), gostY);
    }

    void reportShowsEveryRowAndGrowsWithTheWindow() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK txtFileName=grow OK");
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        const auto* report = driver.Find<tarvo::ui::DrawingReport>("frDrawing");
        QCOMPARE(report->sheet->table->verticalScrollBar()->maximum(), 0);
        const QSize preview = report->preview->size();
        const QSize sheet = report->sheet->size();
        driver.window->resize(driver.window->size() + QSize(600, 300));
        QTRY_VERIFY(report->preview->width() > preview.width() + 100);
        QVERIFY(report->preview->height() > preview.height() + 200);
        QVERIFY(report->sheet->width() > sheet.width() + 100);
        QCOMPARE(driver.Find("ctlCom")->geometry().right(),
                 driver.window->width() - 1 - (driver.Find("frSave")->x()));
    }
};

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
