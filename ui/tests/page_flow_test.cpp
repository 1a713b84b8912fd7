// Moving through the pages: data that give no drawing or file lead back to the box to change,
// "Назад" and a second round keep the entries, a long drawing takes one "OK", Enter presses "OK".
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

const QString kWrong = "Critical|Ошибка данных...|Неверно задан параметр:";
const QString kPair = "OK txtm=2 txtZ1=20 txtZ2=40 ";
const QString kToFile = " OK OK txtFileName=blamed OK";
const QString kUnwritten = "Exclamation|Внимание!|Чертёж не сохранён: не удалось записать файл\r\n";
const QString kNotDrawn = "Exclamation|Внимание!|Чертёж не построен и не сохранён.\r\n";
const QString kPointed =
    ": зуб заострён: его боковые стороны пересекаются. Уменьшите смещение "
    "или увеличьте число зубьев.";
// `steps` end where the window refuses: on the parameters page, or on the file page for data out
// of the builders' range, teeth they cannot make or a file that cannot be written. `focus` is
// the box blamed; `fix`, when given, is what the designer then does to go on.
const struct {
    const char* name;
    QString steps, focus, message, fix = {};
} kRefused[] = {
    {"module 0", "OK txtm=0 txtZ1=20 txtZ2=40 OK", "txtm", kWrong + "\r\nМодуль нормальный, мм !"},
    {"Z1 0,9 reads as 0", "OK txtm=2 txtZ1=0,9 txtZ2=40 OK", "txtZ1", kWrong + "Число зубьев Z1"},
    {"Z2 not a number", "OK txtm=2 txtZ1=20 txtZ2=z OK", "txtZ2", kWrong + "Число зубьев Z2"},
    {"spline module negative", "ctlOptionTip(1) OK txtmSL=-1 txtZ=18 OK", "txtmSL",
     kWrong + "\r\nМодуль, мм !"},
    {"spline teeth 0", "ctlOptionTip(2) OK txtmSL=1 txtZ=0 OK", "txtZ", kWrong + "Число зубьев"},
    {"helix 85: no working angle even unshifted", kPair + "txtBeta=85" + kToFile, "txtBeta",
     kWrong + "\r\nУгол наклона зуба, град. !\r\nпри таком угле наклона торцовый угол профиля "
              "близок к 90° и угол зацепления не находится"},
    {"backlash 100", kPair + "txtJbn=100" + kToFile, "txtJbn",
     kWrong + "\r\nНормальный боковой зазор jn !\r\nбоковой зазор больше толщины зуба"},
    {"wheel 1 pointed by its shift", kPair + "txtx1=2" + kToFile, "txtx1",
     kNotDrawn + "Колесо 1" + kPointed, "txtx1=0 OK OK OK"},
    // The builder counts the pinion as member 1; the ring here is wheel 2.
    {"ring left no cutter angle", kPair + "opTip(1) txtJbn=2" + kToFile, "txtx2",
     kNotDrawn + "Колесо с внутренними зубьями: не удаётся найти угол станочного зацепления "
                 "долбяка. Измените смещение или числа зубьев.",
     "txtJbn=0 OK OK OK"},
    {"GOST shaft pointed", "ctlOptionTip(1) OK txtmSL=2 txtZ=20 txtX=-3" + kToFile, "txtX",
     kNotDrawn + "Вал" + kPointed, "txtX=0 OK OK OK"},
    {"negative helix with a right hand", kPair + "txtBeta=-15 OK", "cboHand",
     "Critical||Неверно задан параметр:\r\nотрицательный угол наклона означает левое направление "
     "линии зуба, выбрано правое !",
     "cboHand=левое OK OK txtFileName=blamed OK"},
    // "{folder}" stands for the work folder.
    {"folder missing", kToAccuracy + " OK txtFileName=missing/part OK", "txtFileName",
     kUnwritten + "{folder}/missing/part.dxf\r\nпапка не найдена", "txtFileName=blamed OK"},
    {"path is a folder", kToAccuracy + " OK txtFileName=folder.dxf OK", "txtFileName",
     kUnwritten + "{folder}/folder.dxf\r\nпо этому пути находится папка, а не файл",
     "txtFileName=blamed OK"},
};

using tarvo::Page;

// Where the steps leave the window: the page it holds and the frames that page shows (with the
// spline shift's box, a GOST spline's only).
const struct {
    const char* name;
    QString steps;
    Page page;
    QString frames;
} kPages[] = {
    {"start", "", Page::Start, "frStartOpt"},
    {"gear pair", "OK", Page::GearPair, kPairPage},
    {"accuracy", kToAccuracy, Page::Accuracy, "frAcc"},
    {"file", kToAccuracy + " OK", Page::File, "frFile"},
    {"report", kToAccuracy + " OK txtFileName=p OK", Page::Report, "frSave"},
    {"GOST spline, with its shift", "ctlOptionTip(1) OK", Page::Spline, "FrParSl txtX"},
    {"OST spline", "ctlOptionTip(2) OK", Page::Spline, "FrParSl"},
};

}  // namespace

class PageFlowTest : public QObject {
    Q_OBJECT
  private slots:
    void refusalGoesBackToTheBoxToChange_data() { AddRows(kRefused); }
    void refusalGoesBackToTheBoxToChange() {
        const auto& row = CurrentRow(kRefused);
        WorkFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("folder.dxf"));
        WindowDriver driver;
        QCOMPARE(driver.Fill(row.steps), QString(row.message).replace("{folder}", folder.path()));
        QCOMPARE(driver.Frames(), row.focus == "txtFileName"             ? "frFile"
                                  : row.steps.startsWith("ctlOptionTip") ? "FrParSl"
                                                                         : kPairPage);
        QCOMPARE(driver.FocusName(), row.focus);
        // A box refused for its value is named by the caption of the label beside it.
        const QList<QLabel*> labels = driver.window->findChildren<QLabel*>();
        const auto beside = std::find_if(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->buddy() == QApplication::focusWidget();
        });
        if (row.message.startsWith(kWrong)) {
            QVERIFY(beside != labels.end() && row.message.contains((*beside)->text()));
        }
        // Every entry as typed; nothing written, nothing said to be.
        for (const QString& step : row.steps.split(' ')) {
            if (step.contains('=')) {
                QCOMPARE(driver.Texts(step.section('=', 0, 0)), step.section('=', 1));
            }
        }
        QVERIFY(!QFile::exists(folder.filePath("blamed.dxf")));
        QCOMPARE(driver.Report(), QString());
        if (!row.fix.isEmpty()) {
            // Corrected, the same round goes on through the pages kept as they were.
            QCOMPARE(driver.Fill(row.fix), QString());
            QCOMPARE(driver.Report(), folder.filePath("blamed.dxf"));
            QVERIFY(QFile::exists(folder.filePath("blamed.dxf")));
        }
    }

    void entriesOutliveBackAndASecondRound() {
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Frames(), "frStartOpt");
        QCOMPARE(driver.Enabled("cmBack"), "");
        // The 18-degree row, kept through a refusal; the file named from the entries and the
        // clock, with no folder in it.
        QCOMPARE(driver.Fill("OK ctlOB7 opTip(1) txtm=0 OK").section('|', 0, 0), "Critical");
        QVERIFY(driver.Checked("ctlOB7"));
        driver.Fill("txtm=2,5 txtZ1=17 txtZ2=60 txtx1=0,2 OK txtAccEv=9 OK");
        const QString name = driver.Texts("txtFileName");
        QVERIFY2(name.startsWith("17x60x2,5_") && !name.contains('/'), qPrintable(name));
        QCOMPARE(driver.Fill("OK"), QString());
        const QByteArray first = FileBytes(folder.filePath(name));
        QVERIFY(!first.isEmpty());
        for (const QString& page : QStringList{"frFile", "frAcc", kPairPage, "frStartOpt"}) {
            QCOMPARE(driver.Fill("cmBack"), QString());
            QCOMPARE(driver.Frames(), page);
        }
        QCOMPARE(driver.Enabled("cmBack"), "");
        QCOMPARE(driver.Texts("txtm txtZ1 txtZ2 txtx1 txtAccEv txtFileName"),
                 "2,5|17|60|0,2|9|" + name);
        // Round two: all as left, the 18-degree row too; the first drawing listed, and the same
        // pair again keeps its name, so "OK" writes over it once answered.
        driver.Fill("OK");
        QVERIFY(driver.Checked("opTip(1)") && driver.Checked("ctlOB7"));
        driver.Fill("txtx1=0,3 OK OK");
        QCOMPARE(driver.Texts("txtFileName"), name);
        QCOMPARE(driver.Find<QListWidget>("ctFile")->findItems(name, Qt::MatchExactly).size(), 1);
        QVERIFY(driver.Fill("OK").startsWith("Question|"));
        QCOMPARE(driver.Report(), folder.filePath(name));
        QVERIFY(FileBytes(folder.filePath(name)) != first);
        // The spline page goes back to the start page, and the accuracy page back to it.
        driver.Fill("OK ctlOptionTip(1) OK txtmSL=1 cmBack");
        QCOMPARE(driver.Frames(), "frStartOpt");
        driver.Fill("OK txtZ=12 OK cmBack");
        QCOMPARE(driver.Frames(), "FrParSl");
        QCOMPARE(driver.Texts("txtmSL txtZ"), "1|12");
        // Back on the pair after the spline round, the 18-degree row is still the one drawn.
        driver.Fill("cmBack ctlOptionTip(0) OK");
        QVERIFY(driver.Checked("ctlOB7"));
        driver.Fill("OK OK OK");
        QCOMPARE(driver.Frames(), "frSave");
        QCOMPARE(driver.state.Alfa, 18.0);
    }

    // The 3-D model beside the drawing: a face width that is no length keeps the file page and
    // writes nothing; a good one writes the drawing and the model, and the report says so.
    void stepModelBesideTheDrawing() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK txtFileName=model");
        QCOMPARE(driver.Enabled("txtFaceWidth txtRim"), "");
        driver.Fill("chkStep txtFaceWidth=0");
        QCOMPARE(driver.Enabled("txtFaceWidth txtRim"), "txtFaceWidth txtRim");
        QVERIFY(driver.Fill("OK").contains("Ширина венца"));
        QCOMPARE(driver.Frames(), "frFile");
        QVERIFY(!QFile::exists(folder.filePath("model.dxf")));
        QCOMPARE(driver.Fill("txtFaceWidth=8,5 OK"), QString());
        QCOMPARE(driver.Report(), folder.filePath("model.dxf") + "\n3D-модель (STEP) записана: " +
                                      folder.filePath("model.step"));
        QVERIFY(FileBytes(folder.filePath("model.step")).startsWith("ISO-10303-21;"));
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
        QVERIFY(driver.window->Building() && QApplication::overrideCursor() &&
                QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        QCOMPARE(driver.Showing("prBusy"), "prBusy");
        QCOMPARE(driver.Enabled("ctlCom cmBack frFile"), "");
        // The window still takes events; the presses meanwhile change nothing.
        QTest::mouseClick(ok, Qt::LeftButton);
        QTest::keyClick(driver.window.get(), Qt::Key_Return);
        QTest::mouseClick(driver.Find<QPushButton>("cmBack"), Qt::LeftButton);
        QCOMPARE(driver.Frames(), "frFile");
        QTRY_VERIFY_WITH_TIMEOUT(!driver.window->Building(), 120000);
        QTest::qWait(100);
        QCOMPARE(calls.load(), 1);
        QCOMPARE(driver.Frames(), "frSave");
        QCOMPARE(driver.Report(), folder.filePath("long.dxf"));
        QCOMPARE(driver.Showing("prBusy"), "");
        QCOMPARE(driver.Enabled("ctlCom cmBack"), "ctlCom cmBack");
        QVERIFY(!QApplication::overrideCursor());
    }

    // The window holds the page it shows as a value, set with the frames.
    void pageIsHeldWithItsFrames_data() { AddRows(kPages); }
    void pageIsHeldWithItsFrames() {
        const auto& row = CurrentRow(kPages);
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(row.steps);
        QCOMPARE(static_cast<int>(driver.window->CurrentPage()), static_cast<int>(row.page));
        QCOMPARE(QString(driver.Frames() + ' ' + driver.Showing("txtX")).trimmed(), row.frames);
    }

    // Which page "OK" leaves is the page the window holds, not whichever frame happens to be
    // visible: a start page frame shown over the accuracy page does not turn the press into a
    // press on the start page.
    void okLeavesThePageHeldNotAFrameShowing() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        driver.Find("frStartOpt")->show();
        QCOMPARE(driver.Fill("OK"), QString());
        QCOMPARE(static_cast<int>(driver.window->CurrentPage()), static_cast<int>(Page::File));
        QVERIFY(driver.Showing("frFile") == "frFile");
    }

    void enterPressesOk() {
        WorkFolder folder;
        WindowDriver driver;
        const auto enter = [&](const char* name) {
            QTest::keyClick(driver.Find(name), Qt::Key_Return);
            return driver.Frames();
        };
        QCOMPARE(enter("ctlOptionTip(0)"), kPairPage);
        // In a pop-up Enter presses its own "OK": the angle panel closes, the page stays.
        driver.Fill("txtBeta=10 cmGrad(0) Text1(1)=30");
        QCOMPARE(enter("Text1(1)"), kPairPage);
        QCOMPARE(driver.Showing("frGradTrans"), "");
        QCOMPARE(driver.Texts("txtBeta"), "10.5");
        driver.Fill("txtm=2 txtZ1=20 txtZ2=40");
        QTest::keyClick(driver.Find("txtZ2"), Qt::Key_Enter);
        QCOMPARE(driver.Frames(), "frAcc");
        QCOMPARE(enter("txtAccEv"), "frFile");
        // Enter on the folder list opens a folder and writes nothing; on "Назад" it goes back.
        QCOMPARE(enter("ctDir"), "frFile");
        driver.Find("cmBack")->setFocus();
        QCOMPARE(enter("cmBack"), "frAcc");
    }
};

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
