// A designer's day at the window: nothing written over without asking, a name that follows the
// pair, the rack row kept, the entries kept between runs, calculations saved and opened again to
// the same drawing bytes.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QTableWidget>

#include "ui/data_sheet_view.h"
#include "ui/drawing_report.h"
#include "ui/folder_list.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

QByteArray Hash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Draws what `cli` asks of tarvo-cli into `path`; true when it was written.
bool CliDraws(const QStringList& args, const QString& path) {
    QProcess cli;
    cli.start(TARVO_CLI, QStringList(args) << "-o" << path);
    return cli.waitForFinished(120000) && cli.exitStatus() == QProcess::NormalExit &&
           cli.exitCode() == 0;
}

// One drawing of each task, entered on its pages (from the start page to the file page).
const struct {
    const char* name;
    QString steps;
} kTasks[] = {
    {"external helical pair, rack 25",
     "OK ctlOB2 txtm=3 txtZ1=17 txtZ2=53 txtBeta=12,5 "
     "txtx1=0,3 txtx2=-0,1 txtJbn=0,1 OK txtAccEv=12 OK"},
    {"internal pair, ring first, cut roots",
     "OK opTip(1) txtm=2,5 txtZ1=60 txtZ2=20 txtx1=0,5 txtx2=0,2 OK chkCutFillet OK"},
    {"own rack, rf* derived",
     "OK ctlOB5 TextAlfa=22,5 TextH=1,1 TextHf=1.35 TextC=0.3 TextRo= ComOK txtm=3 txtZ1=17 "
     "txtZ2=30 OK OK"},
    {"left-hand helical pair, tolerance, accuracy",
     "OK txtm=2 txtZ1=21 txtZ2=34 txtBeta=15 cboHand=левое OK chkTolerance txtTolerance=0,002 "
     "txtAccuracy=7-C OK"},
    {"GOST hub, shift in mm", "ctlOptionTip(1) OK opValVt(1) txtmSL=1,25 txtZ=20 txtX=0,3 OK OK"},
    {"OST shaft", "ctlOptionTip(2) OK txtmSL=1 txtZ=18 OK txtAccEv=40 txtAccPer=20 OK"},
};

// Calculation files that must be refused, with what the message names; the pages stay, also
// when the file fails late, after entries were read. (Every refusal of the reader: the
// Calculation suite.)
const struct {
    const char* name;
    QByteArray text;
    QString says;
} kBadFiles[] = {
    {"not JSON", "module = 2", "файл не является JSON-объектом"},
    {"unknown entry", "{\"input\": {\"command\": \"pair\", \"modul\": 2}}",
     "неизвестный параметр «modul»"},
    {"module as text", "{\"input\": {\"command\": \"pair\", \"module\": \"два\"}}",
     "параметр «module»: ожидалось число"},
    {"no such rack row", "{\"input\": {\"command\": \"pair\", \"rack\": \"21\"}}",
     "параметр «rack»"},
    {"own rack with a zero",
     "{\"input\": {\"command\": \"pair\", \"rack-custom\": \"20,0,1,0.25,\"}}",
     "не может быть нулевым"},
    {"spline without a standard", "{\"input\": {\"command\": \"spline\"}}", "не задана задача"},
};

// Settings files that are not this program's: the window starts as on a first run.
const struct {
    const char* name;
    QByteArray text;
} kForeignSettings[] = {
    {"binary garbage", QByteArray("\x00\xff\x13[[[=\xfe\n\x01", 11)},
    {"another program's ini", "[General]\nlanguage=fi\n[controls]\ntxtm=7\n"},
    {"our mark, wrong values",
     "[tarvo]\nformat=1\n[controls]\nctlOB2=maybe\nctlOptionTip(1)=@Variant(\\0\\0\\xff)\n"
     "[window]\ngeometry=@ByteArray(nonsense)\nfolder=/no/such/folder\n"},
};

}  // namespace

class DesignerDayTest : public QObject {
    Q_OBJECT
  private slots:
    void replaceAskedNoKeepsTheFileYesReplacesIt() {
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill(kToAccuracy + " OK txtFileName=part OK"), QString());
        const QByteArray before = Hash(FileBytes(folder.filePath("part.dxf")));
        const QString question = "Question|Внимание!|Файл " + folder.filePath("part.dxf") +
                                 " уже существует. Заменить его?";
        // Another pair into the same name: "Нет" writes nothing and leaves the name selected.
        driver.Fill("OK OK txtZ2=41 OK OK txtFileName=part");
        driver.answer = false;
        QCOMPARE(driver.Fill("OK"), question);
        QCOMPARE(driver.Frames(), "frFile");
        QCOMPARE(driver.FocusName(), "txtFileName");
        QCOMPARE(driver.Find<QLineEdit>("txtFileName")->selectedText(), "part");
        QCOMPARE(Hash(FileBytes(folder.filePath("part.dxf"))), before);
        // "Да" replaces it.
        driver.answer = true;
        QCOMPARE(driver.Fill("OK"), question);
        QCOMPARE(driver.Frames(), "frSave");
        QVERIFY(Hash(FileBytes(folder.filePath("part.dxf"))) != before);
        // A new name is not asked about.
        QCOMPARE(driver.Fill("cmBack txtFileName=other OK"), QString());
        QVERIFY(QFile::exists(folder.filePath("other.dxf")));
    }

    void nameFollowsAChangedPairUntilTheDesignerTypesOne() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill(kToAccuracy + " OK");
        QVERIFY(driver.Texts("txtFileName").startsWith("20x40x2_"));
        QCOMPARE(driver.Fill("OK"), QString());
        // Internal 20 / 60 next: its own name, so nothing is written over.
        driver.Fill("OK OK opTip(1) txtZ2=60 OK OK");
        QVERIFY2(driver.Texts("txtFileName").startsWith("20x60x2_"),
                 qPrintable(driver.Texts("txtFileName")));
        // A GOST hub after it: a spline name.
        driver.Fill("OK OK ctlOptionTip(1) OK txtmSL=2 txtZ=20 OK OK");
        QVERIFY(driver.Texts("txtFileName").startsWith("SL_20x2_"));
        // A name of the designer's own stays whatever changes.
        driver.Fill("txtFileName=hub OK OK ctlOptionTip(0) OK txtZ1=21 OK OK");
        QCOMPARE(driver.Texts("txtFileName"), "hub");
    }

    void rack25SurvivesARefusalBackAndANewRound() {
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill("OK ctlOB2 txtm=0 txtZ1=20 txtZ2=40 OK").section('|', 0, 0),
                 "Critical");
        QVERIFY(driver.Checked("ctlOB2"));
        driver.Fill("txtm=2 OK cmBack");
        QVERIFY(driver.Checked("ctlOB2"));
        driver.Fill("cmBack OK");
        QCOMPARE(driver.Frames(), kPairPage);
        QVERIFY(driver.Checked("ctlOB2"));
        QCOMPARE(driver.state.Alfa, 25.0);
        // After a spline round too, and the drawing is the 25-degree one.
        driver.Fill("cmBack ctlOptionTip(1) OK txtmSL=1 txtZ=12 cmBack ctlOptionTip(0) OK");
        QVERIFY(driver.Checked("ctlOB2"));
        QCOMPARE(driver.Fill("OK OK txtFileName=w.dxf OK"), QString());
        QVERIFY(CliDraws({"pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
                          "--rack", "25"},
                         folder.filePath("c.dxf")));
        QCOMPARE(FileBytes(folder.filePath("w.dxf")), FileBytes(folder.filePath("c.dxf")));
    }

    void secondWindowShowsTheFirstOnesEntriesAndFolder() {
        WorkFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("gears"));
        QTemporaryDir config;
        // In a folder not made yet, as on a first run.
        const QString settings = config.filePath("made/on/close/tarvo.ini");
        QString kept;
        {
            WindowDriver first(tarvo::RunBuilder, settings);
            first.Fill(
                "OK ctlOB5 TextAlfa=22,5 TextH=1 TextHf=1,25 TextC=0,3 TextRo=0,3 ComOK "
                "opTip(1) txtm=2,5 txtZ1=20 txtZ2=61 txtx1=0,1 txtBeta=8 OK txtAccEv=9 "
                "chkCutFillet chkTolerance txtTolerance=0,002 txtAccuracy=7-C OK txtFileName=ring "
                "chkStep txtFaceWidth=35 txtRim=180");
            first.Find<QComboBox>("cboHand")->setCurrentIndex(1);
            QVERIFY(
                first.Find<tarvo::ui::FolderList>("ctDir")->Open(folder.filePath("gears")).ok());
            kept = first.Texts(
                "txtm txtZ1 txtZ2 txtx1 txtBeta TextAlfa TextHf txtAccEv txtFileName txtTolerance "
                "txtAccuracy txtFaceWidth txtRim");
            first.window->close();
        }
        WindowDriver second(tarvo::RunBuilder, settings);
        QCOMPARE(second.Frames(), "frStartOpt");
        QCOMPARE(second.Texts("txtm txtZ1 txtZ2 txtx1 txtBeta TextAlfa TextHf txtAccEv txtFileName "
                              "txtTolerance txtAccuracy txtFaceWidth txtRim"),
                 kept);
        QCOMPARE(second.Find<QComboBox>("cboHand")->currentIndex(), 1);
        QVERIFY(second.Checked("chkTolerance"));
        QVERIFY(second.Checked("chkStep"));
        // The boxes follow their restored check boxes.
        QVERIFY(second.Find<QLineEdit>("txtTolerance")->isEnabled());
        QVERIFY(second.Find<QLineEdit>("txtFaceWidth")->isEnabled());
        // The drawing alone is compared below.
        second.Find<QAbstractButton>("chkStep")->setChecked(false);
        QVERIFY(second.Checked("opTip(1)"));
        QVERIFY(second.Checked("ctlOB5"));
        QVERIFY(second.Checked("chkCutFillet"));
        QCOMPARE(second.Find<tarvo::ui::FolderList>("ctDir")->Path(), folder.filePath("gears"));
        // The own rack is the one drawn, as the first window would draw it.
        QCOMPARE(second.Fill("OK OK OK OK"), QString());
        QCOMPARE(second.Report(), folder.filePath("gears/ring.dxf"));
        QCOMPARE(second.state.Alfa, 22.5);
    }

    void foreignSettingsStartClean_data() { AddRows(kForeignSettings); }
    void foreignSettingsStartClean() {
        const auto& row = CurrentRow(kForeignSettings);
        WorkFolder folder;
        QTemporaryDir config;
        QFile file(config.filePath("tarvo.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(row.text) == row.text.size());
        file.close();
        WindowDriver driver(tarvo::RunBuilder, file.fileName());
        QCOMPARE(driver.Texts("txtm txtZ1 txtAccEv txtAccPer"), "||6|3");
        QVERIFY(driver.Checked("ctlOptionTip(0)") && driver.Checked("ctlOB1"));
        QCOMPARE(driver.Find<tarvo::ui::FolderList>("ctDir")->Path(), folder.path());
        // And the window still works.
        QCOMPARE(driver.Fill(kToAccuracy + " OK txtFileName=p OK"), QString());
        QCOMPARE(driver.Frames(), "frSave");
    }

    void savedCalculationOpensToTheSameBytes_data() { AddRows(kTasks); }
    void savedCalculationOpensToTheSameBytes() {
        const auto& row = CurrentRow(kTasks);
        WorkFolder folder;
        const QString calculation = folder.filePath("a.tarvo.json");
        QString kept;
        int hand = 0;
        bool tolerance = false;
        {
            WindowDriver first;
            QCOMPARE(first.Fill(row.steps + " txtFileName=first OK"), QString());
            QVERIFY(first.window->SaveCalculation(calculation));
            kept = first.Texts("txtAccuracy");
            hand = first.Find<QComboBox>("cboHand")->currentIndex();
            tolerance = first.Checked("chkTolerance");
        }
        const QByteArray drawn = FileBytes(folder.filePath("first.dxf"));
        QVERIFY(drawn.size() > 1000);
        // A fresh window opened from the file draws the same bytes with four presses of "OK".
        WindowDriver second;
        QVERIFY(second.window->OpenCalculation(calculation));
        QCOMPARE(second.Fill(""), QString());
        QCOMPARE(second.Texts("txtAccuracy"), kept);
        QCOMPARE(second.Find<QComboBox>("cboHand")->currentIndex(), hand);
        QCOMPARE(second.Checked("chkTolerance"), tolerance);
        QCOMPARE(second.Frames(), "frStartOpt");
        QCOMPARE(second.Fill("OK OK OK txtFileName=second OK"), QString());
        QCOMPARE(FileBytes(folder.filePath("second.dxf")), drawn);
        // tarvo-cli draws them too.
        QVERIFY(CliDraws({"--from", calculation}, folder.filePath("cli.dxf")));
        QCOMPARE(FileBytes(folder.filePath("cli.dxf")), drawn);
    }

    // At the smallest size the window takes, each task's sheet shows every label and number
    // whole, inside the report page.
    void sheetWholeAtTheSmallestSize_data() { AddRows(kTasks); }
    void sheetWholeAtTheSmallestSize() {
        const auto& row = CurrentRow(kTasks);
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill(row.steps + " txtFileName=p OK"), QString());
        driver.window->resize(driver.window->minimumSize());
        QTest::qWait(50);
        QCOMPARE(driver.window->size(), driver.window->minimumSize());
        auto* table = driver.Find<QTableWidget>("tblSheet");
        const QFontMetrics metrics(table->font());
        // Each cell's text with the margins the item view keeps on either side.
        const int margins = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        for (int r = 0; r < table->rowCount(); ++r) {
            for (int c = 0; c < table->columnCount(); ++c) {
                const QTableWidgetItem* item = table->item(r, c);
                if (item == nullptr)
                    continue;
                int width = 0;
                for (int span = 0; span < table->columnSpan(r, c); ++span) {
                    width += table->columnWidth(c + span);
                }
                QVERIFY2(metrics.horizontalAdvance(item->text()) + margins <= width,
                         qPrintable(item->text()));
            }
        }
        int columns = 0;
        for (int c = 0; c < table->columnCount(); ++c)
            columns += table->columnWidth(c);
        QVERIFY(columns <= table->viewport()->width());
        auto* page = driver.Find("frSave");
        const QRect inPage(table->mapTo(page, QPoint(0, 0)), table->size());
        QVERIFY(page->contentsRect().contains(inPage));
    }

    // The root fillet's words as stored: "equivalent" and its former name "design" leave the
    // box unticked, "cut" ticks it; a calculation saved again says "equivalent".
    void filletWordsOpenAndSaveAsEquivalent() {
        WorkFolder folder;
        for (const auto& [word, ticked] :
             {std::pair{"equivalent", false}, {"design", false}, {"cut", true}}) {
            const QString path = folder.filePath(QString::fromUtf8(word) + ".tarvo.json");
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(R"({"input": {"command": "pair", "mesh": "external", )"
                                  R"("module": 2, "z1": 20, "z2": 40, "fillet": ")") +
                       word + "\"}}");
            file.close();
            WindowDriver driver;
            if (!ticked) {
                // Ticked first, so the file must clear it.
                driver.Fill(kToAccuracy + " chkCutFillet cmBack cmBack");
                QVERIFY(driver.Checked("chkCutFillet"));
            }
            QVERIFY2(driver.window->OpenCalculation(path), word);
            QCOMPARE(driver.Checked("chkCutFillet"), ticked);
            const QString saved = folder.filePath("saved.tarvo.json");
            QVERIFY(driver.window->SaveCalculation(saved));
            QVERIFY(FileBytes(saved).contains(ticked ? R"("fillet": "cut")"
                                                     : R"("fillet": "equivalent")"));
        }
    }

    void badCalculationSaysWhatIsWrong_data() { AddRows(kBadFiles); }
    void badCalculationSaysWhatIsWrong() {
        const auto& row = CurrentRow(kBadFiles);
        WorkFolder folder;
        QFile file(folder.filePath("bad.tarvo.json"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(row.text) == row.text.size());
        file.close();
        WindowDriver driver;
        driver.Fill("OK txtm=3 txtZ1=17 cmBack");
        QVERIFY(!driver.window->OpenCalculation(file.fileName()));
        const QString message = driver.Fill("");
        QVERIFY2(message.startsWith("Exclamation|Внимание!|Расчёт не открыт: " + file.fileName()) &&
                     message.contains(row.says),
                 qPrintable(message));
        // Nothing half-filled.
        QCOMPARE(driver.Texts("txtm txtZ1 TextH"), "3|17|");
        QVERIFY(driver.Checked("ctlOB1") && driver.Checked("ctlOptionTip(0)"));
    }

    void ctrlCPutsTheWholeSheetOnTheClipboard() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=10 txtJbn=0,1 OK OK txtFileName=p OK");
        auto* table = driver.Find<QTableWidget>("tblSheet");
        QVERIFY(table->rowCount() > 10);
        QGuiApplication::clipboard()->clear();
        table->setFocus();
        table->setCurrentCell(3, 1);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.front(), "Параметр\tКолесо 1\tКолесо 2");
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c) {
                if (table->item(r, c) != nullptr)
                    cells << table->item(r, c)->text();
            }
            QCOMPARE(lines[r + 1], cells.join('\t'));
        }
        // The parameter tables follow the sheet: the rack's standard row among them.
        const qsizetype tableStart = lines.indexOf("Таблица параметров: Колесо 1");
        QVERIFY(tableStart > table->rowCount());
        bool rack = false;
        for (qsizetype i = tableStart; i < lines.size(); ++i)
            rack = rack || (lines[i].contains("ГОСТ 13755-81") && lines[i].contains('\t'));
        QVERIFY(rack);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->html().contains("ГОСТ 13755-81"));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->html().contains("<table"));
        // The context menu offers the same.
        QStringList menu;
        for (const QAction* action : table->actions())
            menu << action->text();
        QCOMPARE(menu.join('|'), "Копировать таблицу|Сохранить таблицу...|Печать...");
    }

    void savedSheetReadsBackRowByRow() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK opTip(1) txtm=2 txtZ1=20 txtZ2=60 txtx2=0,5 OK OK txtFileName=p OK");
        auto* report = driver.Find<tarvo::ui::DrawingReport>("frDrawing");
        auto* table = driver.Find<QTableWidget>("tblSheet");
        QVERIFY(report->SaveSheet(folder.filePath("sheet.csv")));
        QByteArray csv = FileBytes(folder.filePath("sheet.csv"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList rows = QString::fromUtf8(csv.mid(3)).split("\r\n", Qt::SkipEmptyParts);
        // The sheet's rows, then the parameter tables (a heading and its rows), then warnings.
        QVERIFY(rows.size() >
                1 + table->rowCount() + 1 +
                    driver.Find<tarvo::ui::DataSheetView>("frSheet")->Warnings().size());
        QCOMPARE(rows[1 + table->rowCount()], "Таблица параметров: Колесо 1");
        QCOMPARE(rows.filter(QRegularExpression("^Таблица параметров: ")).size(), 2);
        QCOMPARE(rows.front(), "Параметр;Колесо 1;Колесо 2 (внутр.)");
        for (int r = 0; r < table->rowCount(); ++r) {
            const QStringList cells = rows[r + 1].split(';');
            QCOMPARE(cells.front(), table->item(r, 0)->text());
            for (int c = 1; c < cells.size(); ++c) {
                // The window's decimal points are decimal commas in the file.
                QCOMPARE(cells[c], table->item(r, c)->text().replace('.', ','));
                QVERIFY(!cells[c].contains('.'));
            }
        }
        // Plain text is what tarvo-cli --report prints after the path.
        QVERIFY(report->SaveSheet(folder.filePath("sheet.txt")));
        QProcess cli;
        cli.start(TARVO_CLI, {"pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2",
                              "60", "--x2", "0.5", "-o", folder.filePath("c.dxf"), "--report"});
        QVERIFY(cli.waitForFinished(120000));
        const QByteArray printed = cli.readAllStandardOutput();
        QCOMPARE(FileBytes(folder.filePath("sheet.txt")), printed.mid(printed.indexOf('\n') + 1));
        // And a printed page as PDF.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("sheet.pdf"));
        QVERIFY(report->PrintSheetTo(printer));
        QVERIFY(FileBytes(folder.filePath("sheet.pdf")).startsWith("%PDF"));
    }
};

QTEST_MAIN(DesignerDayTest)
#include "designer_day_test.moc"
