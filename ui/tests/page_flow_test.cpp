// Moving through the pages: data that give no drawing lead back to the box to change (in the
// window and, with the same words, in tarvo-cli), a file that cannot be written keeps the file
// page, "Назад" keeps the entries, a long drawing takes one "OK", and Enter presses "OK".
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

const QString kWrong = "Неверно задан параметр:";
const QString kPair = "pair --mesh external --module 2 --z1 20 --z2 40 ";
// `entries` lead from the start page through the parameters; `focus` is the box blamed.
const struct {
    const char* name;
    QString entries, focus;
    QString caption;  // the box's label; the whole message where the page itself refuses
    QString cli;      // the same data for tarvo-cli; "" where the page itself refuses
    QString option;   // tarvo-cli's option for the box
} kRefused[] = {
    {"module 0", "OK txtm=0 txtZ1=20 txtZ2=40", "txtm",
     kWrong + "\r\nМодуль нормальный, мм !", "", ""},
    {"Z1 0,9 reads as 0", "OK txtm=2 txtZ1=0,9 txtZ2=40", "txtZ1",
     kWrong + "Число зубьев Z1", "", ""},
    {"Z2 not a number", "OK txtm=2 txtZ1=20 txtZ2=z", "txtZ2", kWrong + "Число зубьев Z2", "", ""},
    {"spline module negative", "ctlOptionTip(1) OK txtmSL=-1 txtZ=18", "txtmSL",
     kWrong + "\r\nМодуль, мм !", "", ""},
    {"spline teeth 0", "ctlOptionTip(2) OK txtmSL=1 txtZ=0", "txtZ",
     kWrong + "Число зубьев", "", ""},
    // Out of the builders' range, found on leaving the file page.
    {"helix 85: no working angle even unshifted", "OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=85",
     "txtBeta", "Угол наклона зуба, град.", kPair + "--helix 85", "--helix"},
    {"backlash 100", "OK txtm=2 txtZ1=20 txtZ2=40 txtJbn=100", "txtJbn",
     "Нормальный боковой зазор jn", kPair + "--backlash 100", "--backlash"},
    {"x1 -3: tip inside base", "OK txtm=2 txtZ1=20 txtZ2=40 txtx1=-3", "txtx1",
     "Коэффициент смещения x1", kPair + "--x1 -3", "--x1"},
    {"internal ring x2 -5", "OK opTip(1) txtm=2 txtZ1=20 txtZ2=40 txtx2=-5", "txtx2",
     "Коэффициент смещения x2", "pair --mesh internal --module 2 --z1 20 --z2 40 --x2 -5", "--x2"},
    {"GOST hub shift -3 mm", "ctlOptionTip(1) OK opValVt(1) txtmSL=2 txtZ=20 txtX=-3", "txtX",
     "Смещение, мм", "spline --standard gost --part hub --module 2 --teeth 20 --shift -3",
     "--shift"},
    {"spline module 1e200", "ctlOptionTip(2) OK txtmSL=1e200 txtZ=20", "txtmSL", "Модуль, мм",
     "spline --standard ost --part shaft --module 1e200 --teeth 20", "--module"},
};

// Teeth the builder cannot make: `fix` is what the designer then changes.
const struct {
    const char* name;
    QString entries, focus, fix;
} kImpossible[] = {
    {"wheel 1 pointed by its shift", "OK txtm=2 txtZ1=20 txtZ2=40 txtx1=2", "txtx1", "txtx1=0"},
    // The builder counts the pinion as member 1; the ring here is wheel 2.
    {"ring left no cutter angle", "OK opTip(1) txtm=2 txtZ1=20 txtZ2=40 txtJbn=2", "txtx2",
     "txtJbn=0"},
    {"GOST shaft pointed", "ctlOptionTip(1) OK txtmSL=2 txtZ=20 txtX=-3", "txtX", "txtX=0"},
};

// A name typed on the file page and the last line of the message that refuses it.
const struct {
    const char* name;
    QString typed, reason;
} kUnwritable[] = {
    {"folder missing", "missing/part", "папка не найдена"},
    {"a file where a folder should be", "plain/part.dxf", "часть пути — не папка, а файл"},
    {"name too long", QString(300, 'n'), "слишком длинное имя файла или пути"},
    {"path is a folder", "folder.dxf", "по этому пути находится папка, а не файл"},
};

QStringList ParametersPage(const QString& entries) {
    return entries.startsWith("ctlOptionTip") ? QStringList{"FrParSl"} : kPairPage;
}

}  // namespace

class PageFlowTest : public QObject {
    Q_OBJECT
private slots:
    void refusedEntryNamesItsBox_data() { AddRows(kRefused); }
    void refusedEntryNamesItsBox() {
        const auto& row = CurrentRow(kRefused);
        WorkFolder folder;
        QString message = row.caption;
        if (!row.cli.isEmpty()) {
            // tarvo-cli: status 1, the option and caption named, the old file untouched.
            const QString old = folder.filePath("old.dxf");
            QFile file(old);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
            file.close();
            const CliRun run = RunCli(row.cli, old);
            const QString prefix =
                "tarvo-cli: " + row.option + ": неверно задан параметр «" + row.caption + "»: ";
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.startsWith(prefix), qPrintable(run.err));
            QCOMPARE(FileBytes(old), QByteArray("kept"));
            message = kWrong + "\r\n" + row.caption + " !\r\n" + run.err.mid(prefix.size());
        }
        // The window: back on the parameters page, entries as typed, the same reason.
        WindowDriver driver;
        driver.Fill(row.entries + (row.cli.isEmpty() ? " OK" : " OK OK txtFileName=blamed OK"));
        QCOMPARE(driver.Messages(), (QStringList{"Critical", "Ошибка данных...", message}));
        QCOMPARE(driver.Frames(), ParametersPage(row.entries));
        QCOMPARE(driver.FocusName(), row.focus);
        QCOMPARE(driver.Text(row.focus), row.entries.section(row.focus + '=', 1).section(' ', 0, 0));
        QVERIFY(!QFile::exists(folder.filePath("blamed.dxf")));
        QVERIFY(row.option != "--backlash" || message.endsWith("боковой зазор больше толщины зуба"));
    }

    void impossibleTeethGoBackToTheBoxToChange_data() { AddRows(kImpossible); }
    void impossibleTeethGoBackToTheBoxToChange() {
        const auto& row = CurrentRow(kImpossible);
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(row.entries + " OK OK txtFileName=none OK");
        const QStringList message = driver.Messages();
        QCOMPARE(message.mid(0, 2), (QStringList{"Exclamation", "Внимание!"}));
        QVERIFY2(message.size() == 3 && message[2].startsWith("Чертёж не построен и не сохранён."),
                 qPrintable(message.join('|')));
        QCOMPARE(driver.Frames(), ParametersPage(row.entries));
        QCOMPARE(driver.FocusName(), row.focus);
        const bool spline = row.entries.startsWith("ctlOptionTip");
        QCOMPARE(driver.Texts({spline ? "txtZ" : "txtZ2", "txtFileName"}),
                 (QStringList{spline ? "20" : "40", "none"}));
        QVERIFY(!QFile::exists(folder.filePath("none.dxf")));
        QCOMPARE(driver.Report(), QString());
        // Corrected, the same round goes on through the pages kept as they were.
        driver.Fill(row.fix + " OK OK OK");
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Report(), folder.filePath("none.dxf"));
    }

    void fileNotWrittenKeepsTheFilePage_data() { AddRows(kUnwritable); }
    void fileNotWrittenKeepsTheFilePage() {
        const auto& row = CurrentRow(kUnwritable);
        WorkFolder folder;
        QVERIFY(QFile(folder.filePath("plain")).open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir("folder.dxf"));
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK txtFileName=" + row.typed + " OK");
        const QStringList message = driver.Messages();
        QCOMPARE(message.mid(0, 2), (QStringList{"Exclamation", "Внимание!"}));
        QVERIFY2(message.size() == 3 && message[2].contains(folder.filePath(row.typed.left(20))),
                 qPrintable(message.join('|')));
        QCOMPARE(message[2].section("\r\n", -1), row.reason);
        // Nothing said to be written; the file page stays, so another name can be given.
        QCOMPARE(driver.Report(), QString());
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        QCOMPARE(driver.Text("txtFileName"), row.typed);
        QCOMPARE(driver.FocusName(), QStringLiteral("txtFileName"));
        driver.Fill("txtFileName=part OK");
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(driver.Report(), folder.filePath("part.dxf"));
        QVERIFY(QFile::exists(folder.filePath("part.dxf")));
        QCOMPARE(driver.Texts({"txtm", "txtZ1", "txtZ2"}), (QStringList{"2", "20", "40"}));
    }

    void backFromEveryPageKeepsEntries() {
        WorkFolder folder;
        WindowDriver driver;
        QVERIFY(!driver.Enabled("cmBack"));
        driver.Fill("OK txtm=2,5 txtZ1=18 txtZ2=41 txtx1=0,2 OK txtAccEv=9 OK txtFileName=back OK");
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        for (const QStringList& page : {QStringList{"frFile"}, QStringList{"frAcc"}, kPairPage,
                                        QStringList{"frStartOpt"}}) {
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
        const int gostY = driver.Find("opValVt(0)")->y();
        driver.Fill("txtZ=12 OK cmBack");
        QCOMPARE(driver.Frames(), QStringList{"FrParSl"});
        // The OST page hides the shift; its rows stay where the GOST page has them.
        driver.Fill("cmBack ctlOptionTip(2) OK");
        QVERIFY(!driver.Showing("txtX"));
        QCOMPARE(driver.Find("opValVt(0)")->y(), gostY);
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
        QVERIFY(driver.window->Building() && driver.Showing("prBusy"));
        QVERIFY(!driver.Enabled("ctlCom") && !driver.Enabled("cmBack") && !driver.Enabled("frFile"));
        QVERIFY(QApplication::overrideCursor() != nullptr &&
                QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        // The window still takes events; the presses meanwhile change nothing.
        QTest::mouseClick(ok, Qt::LeftButton);
        QTest::keyClick(driver.window.get(), Qt::Key_Return);
        QTest::mouseClick(driver.Find<QPushButton>("cmBack"), Qt::LeftButton);
        QCOMPARE(driver.Frames(), QStringList{"frFile"});
        QVERIFY(driver.WaitForDrawing());
        QTest::qWait(100);
        QCOMPARE(calls.load(), 1);
        QCOMPARE(driver.Frames(), QStringList{"frSave"});
        QCOMPARE(driver.Report(), folder.filePath("long.dxf"));
        QCOMPARE(driver.state.OutFile, folder.filePath("long.dxf").toStdString());
        QVERIFY(!driver.Showing("prBusy") && driver.Enabled("ctlCom") && driver.Enabled("cmBack"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void enterPressesOk() {
        WorkFolder folder;
        WindowDriver driver;
        QVERIFY(driver.Find<QPushButton>("ctlCom")->isDefault());
        QTest::keyClick(driver.Find("ctlOptionTip(0)"), Qt::Key_Return);
        QCOMPARE(driver.Frames(), kPairPage);
        // In a pop-up Enter presses its own "OK": the angle panel closes, the page stays.
        driver.Fill("txtBeta=10 cmGrad(0) Text1(1)=30");
        QTest::keyClick(driver.Find("Text1(1)"), Qt::Key_Return);
        QVERIFY(!driver.Showing("frGradTrans"));
        QCOMPARE(driver.Text("txtBeta"), QStringLiteral("10.5"));
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

    void boxesShowFifteenDigitsWhole() {
        // What opens the page and types the number, and the box.
        const QStringList rows[] = {{"OK txtBeta=8.10944444444444", "txtBeta"},
                                    {"OK ctlOB5 TextRo=0.374234882025", "TextRo"},
                                    {"OK txtx2=-0.123456789012345", "txtx2"},
                                    {"ctlOptionTip(1) OK txtX=-1.23456789012345E-100", "txtX"}};
        for (const QStringList& row : rows) {
            WindowDriver driver;
            driver.Fill(row[0]);
            auto* edit = driver.Find<QLineEdit>(row[1]);
            // Room for the whole text inside the frame, from its first character.
            edit->setCursorPosition(0);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) <=
                         edit->contentsRect().width() - 2 * 4,
                     qPrintable(row[0]));
            // The wider boxes leave every caption of the page whole.
            for (const QLabel* label : driver.window->findChildren<QLabel*>()) {
                QVERIFY2(!label->isVisibleTo(driver.window.get()) || label->text().isEmpty() ||
                             label->width() >= label->minimumSizeHint().width(),
                         qPrintable(row[0] + ": " + label->text()));
            }
        }
    }
};

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
