// A designer's day at the window: nothing written over without asking, a name that follows the
// pair, the entries kept between runs, calculations saved and opened again to the same bytes.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QStyle>
#include <QTableWidget>

#include "ui/drawing_report.h"
#include "ui/folder_list.h"
#include "window_driver.h"

using namespace tarvo::ui::test;

namespace {

// The sheet's rows as the window shows them, cells joined by `separator` and the values' decimal
// points written as `point`.
QStringList RowsOf(const QTableWidget* table, QChar separator, QChar point) {
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c) {
            if (const QTableWidgetItem* item = table->item(r, c)) {
                cells << (c == 0 ? item->text() : QString(item->text()).replace('.', point));
            }
        }
        rows << cells.join(separator);
    }
    return rows;
}

// One drawing of each task, entered on its pages (from the start page to the file page), and
// the same drawing asked of tarvo-cli.
const struct {
    const char* name;
    QString steps, cli;
} kTasks[] = {
    {"external helical pair, rack 25",
     "OK ctlOB2 txtm=3 txtZ1=17 txtZ2=53 txtBeta=12,5 txtx1=0,3 txtx2=-0,1 txtJbn=0,1 OK "
     "txtAccEv=12 OK",
     "pair --mesh external --module 3 --z1 17 --z2 53 --helix 12.5 --x1 0.3 --x2 -0.1 "
     "--backlash 0.1 --rack 25 --involute-points 12"},
    {"internal pair, ring first, cut roots",
     "OK opTip(1) txtm=2,5 txtZ1=60 txtZ2=20 txtx1=0,5 txtx2=0,2 OK chkCutFillet OK",
     "pair --mesh internal --module 2.5 --z1 60 --z2 20 --x1 0.5 --x2 0.2 --fillet cut"},
    // Both angles through the angle panel, rf* left to the rack frame to derive.
    {"own rack, angle panel, shifts and finer accuracy",
     "OK ctlOB5 cmGrad(1) Text1(0)=22 Text1(1)=30 Text1(2)=0 ctlCommand TextH=1,1 TextHf=1.35 "
     "TextC=0.3 TextRo= ComOK cmGrad(0) Text1(0)=12 Text1(1)=30 Text1(2)=0 ctlCommand txtm=3 "
     "txtZ1=17 txtZ2=30 txtx1=0,3 txtx2=-0.1 txtJbn=0.05 OK txtAccEv=8 txtAccPer=4 OK",
     "pair --mesh external --module 3 --z1 17 --z2 30 --helix 12.5 --rack-custom "
     "22.5,1.1,1.35,0.3, --x1 0.3 --x2 -0.1 --backlash 0.05 --involute-points 8 --fillet-points 4"},
    {"left-hand helical pair, tolerance, accuracy",
     "OK txtm=2 txtZ1=21 txtZ2=34 txtBeta=15 cboHand=левое OK chkTolerance txtTolerance=0,002 "
     "txtAccuracy=7-C OK",
     "pair --mesh external --module 2 --z1 21 --z2 34 --helix 15 --hand left --tolerance 0.002 "
     "--accuracy 7-C"},
    {"GOST hub, shift in mm", "ctlOptionTip(1) OK opValVt(1) txtmSL=1,25 txtZ=20 txtX=0,3 OK OK",
     "spline --standard gost --part hub --module 1.25 --teeth 20 --shift 0.3"},
    // The shift typed for a GOST member on the round before goes with its row.
    {"OST shaft after a shifted GOST hub",
     "ctlOptionTip(1) OK opValVt(1) txtmSL=1 txtZ=20 txtX=0,2 OK OK OK OK ctlOptionTip(2) OK "
     "opValVt(0) txtmSL=1 txtZ=18 OK txtAccEv=40 txtAccPer=20 OK",
     "spline --standard ost --part shaft --module 1 --teeth 18 --involute-points 40 "
     "--fillet-points 20"},
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

// The boxes a closed window keeps for the next one.
const QString kKept =
    "txtm txtZ1 txtZ2 txtx1 txtBeta TextAlfa TextHf txtAccEv txtFileName txtTolerance "
    "txtAccuracy txtFaceWidth txtRim";

}  // namespace

class DesignerDayTest : public QObject {
    Q_OBJECT
  private slots:
    void replaceAskedNoKeepsTheFileYesReplacesIt() {
        WorkFolder folder;
        WindowDriver driver;
        QCOMPARE(driver.Fill(kToAccuracy + " OK txtFileName=part OK"), QString());
        const QByteArray before = FileBytes(folder.filePath("part.dxf"));
        const QString question = "Question|Внимание!|Файл " + folder.filePath("part.dxf") +
                                 " уже существует. Заменить его?";
        // Another pair into the same name: "Нет" writes nothing and leaves the name selected.
        driver.Fill("OK OK txtZ2=41 OK OK txtFileName=part");
        driver.answer = false;
        QCOMPARE(driver.Fill("OK"), question);
        QCOMPARE(driver.Frames(), "frFile");
        QCOMPARE(driver.FocusName(), "txtFileName");
        QCOMPARE(driver.Find<QLineEdit>("txtFileName")->selectedText(), "part");
        QCOMPARE(FileBytes(folder.filePath("part.dxf")), before);
        // "Да" replaces it.
        driver.answer = true;
        QCOMPARE(driver.Fill("OK"), question);
        QCOMPARE(driver.Frames(), "frSave");
        QVERIFY(FileBytes(folder.filePath("part.dxf")) != before);
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
            kept = first.Texts(kKept);
            first.window->close();
        }
        WindowDriver second(tarvo::RunBuilder, settings);
        QCOMPARE(second.Frames(), "frStartOpt");
        QCOMPARE(second.Texts(kKept), kept);
        QCOMPARE(second.Find<QComboBox>("cboHand")->currentIndex(), 1);
        QVERIFY(second.Checked("chkTolerance") && second.Checked("chkStep"));
        // The boxes follow their restored check boxes.
        QCOMPARE(second.Enabled("txtTolerance txtFaceWidth"), "txtTolerance txtFaceWidth");
        QVERIFY(second.Checked("opTip(1)") && second.Checked("ctlOB5"));
        QVERIFY(second.Checked("chkCutFillet"));
        QCOMPARE(second.Find<tarvo::ui::FolderList>("ctDir")->Path(), folder.filePath("gears"));
        // The own rack is the one drawn, as the first window would draw it; the drawing alone.
        second.Find<QAbstractButton>("chkStep")->setChecked(false);
        QCOMPARE(second.Fill("OK OK OK OK"), QString());
        QCOMPARE(second.Report(), folder.filePath("gears/ring.dxf"));
        QCOMPARE(second.state.Alfa, 22.5);
    }

    void foreignSettingsStartClean_data() { AddRows(kForeignSettings); }
    void foreignSettingsStartClean() {
        const auto& row = CurrentRow(kForeignSettings);
        WorkFolder folder;
        QTemporaryDir config;
        QVERIFY(WriteBytes(config.filePath("tarvo.ini"), row.text));
        WindowDriver driver(tarvo::RunBuilder, config.filePath("tarvo.ini"));
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
        // What the accuracy page and the parameter table hold beyond the drawing.
        const auto beyond = [](const WindowDriver& d) {
            return d.Texts("txtAccuracy") + d.Find<QComboBox>("cboHand")->currentText() +
                   QString::number(d.Checked("chkTolerance"));
        };
        QString kept;
        {
            WindowDriver first;
            QCOMPARE(first.Fill(row.steps + " txtFileName=first OK"), QString());
            QVERIFY(first.window->SaveCalculation(calculation));
            kept = beyond(first);
        }
        const QByteArray drawn = FileBytes(folder.filePath("first.dxf"));
        QVERIFY(drawn.size() > 1000);
        // A fresh window opened from the file draws the same bytes with four presses of "OK".
        WindowDriver second;
        QVERIFY(second.window->OpenCalculation(calculation));
        QCOMPARE(second.Fill(""), QString());
        QCOMPARE(beyond(second), kept);
        QCOMPARE(second.Frames(), "frStartOpt");
        QCOMPARE(second.Fill("OK OK OK txtFileName=second OK"), QString());
        QCOMPARE(FileBytes(folder.filePath("second.dxf")), drawn);
        // tarvo-cli draws them too, from the file and from its own arguments.
        QVERIFY(RunCli({"--from", calculation, "-o", folder.filePath("cli.dxf")}));
        QCOMPARE(FileBytes(folder.filePath("cli.dxf")), drawn);
        QVERIFY(RunCli(row.cli.split(' ') << "-o" << folder.filePath("args.dxf")));
        QCOMPARE(FileBytes(folder.filePath("args.dxf")), drawn);
        // At the smallest size the window takes, the sheet shows every label and number whole,
        // inside the report page.
        second.window->resize(second.window->minimumSize());
        QTest::qWait(50);
        QCOMPARE(second.window->size(), second.window->minimumSize());
        auto* table = second.Find<QTableWidget>("tblSheet");
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
        auto* page = second.Find("frSave");
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
            QVERIFY(
                WriteBytes(path, QByteArray(R"({"input": {"command": "pair", "mesh": "external", )"
                                            R"("module": 2, "z1": 20, "z2": 40, "fillet": ")") +
                                     word + "\"}}"));
            WindowDriver driver;
            // Ticked first when the file must clear it.
            driver.Fill(ticked ? "" : kToAccuracy + " chkCutFillet cmBack cmBack");
            QCOMPARE(driver.Checked("chkCutFillet"), !ticked);
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
        const QString path = folder.filePath("bad.tarvo.json");
        QVERIFY(WriteBytes(path, row.text));
        WindowDriver driver;
        driver.Fill("OK txtm=3 txtZ1=17 cmBack");
        QVERIFY(!driver.window->OpenCalculation(path));
        const QString message = driver.Fill("");
        QVERIFY2(message.startsWith("Exclamation|Внимание!|Расчёт не открыт: " + path) &&
                     message.contains(row.says),
                 qPrintable(message));
        // Nothing half-filled.
        QCOMPARE(driver.Texts("txtm txtZ1 TextH"), "3|17|");
        QVERIFY(driver.Checked("ctlOB1") && driver.Checked("ctlOptionTip(0)"));
    }

    // The sheet of an internal pair, copied with Ctrl+C (its parameter tables after it, the
    // rack's standard row among them) as tab-separated text and as HTML, saved as CSV with
    // decimal commas and as text, and printed; the context menu offers the same.
    void sheetCopiedSavedAndPrinted() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK opTip(1) txtm=2 txtZ1=20 txtZ2=60 txtx2=0,5 OK OK txtFileName=p OK");
        auto* report = driver.Find<tarvo::ui::DrawingReport>("frDrawing");
        auto* table = driver.Find<QTableWidget>("tblSheet");
        QVERIFY(table->rowCount() > 10);
        QGuiApplication::clipboard()->clear();
        table->setFocus();
        table->setCurrentCell(3, 1);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.front(), "Параметр\tКолесо 1\tКолесо 2 (внутр.)");
        QCOMPARE(lines.mid(1, table->rowCount()), RowsOf(table, '\t', '.'));
        const qsizetype tableStart = lines.indexOf("Таблица параметров: Колесо 1");
        QVERIFY(tableStart > table->rowCount());
        QVERIFY(!lines.mid(tableStart)
                     .filter(QRegularExpression("\t.*ГОСТ 13755-81|ГОСТ 13755-81.*\t"))
                     .isEmpty());
        const QString html = QGuiApplication::clipboard()->mimeData()->html();
        QVERIFY(html.contains("ГОСТ 13755-81") && html.contains("<table"));
        QStringList menu;
        for (const QAction* action : table->actions())
            menu << action->text();
        QCOMPARE(menu.join('|'), "Копировать таблицу|Сохранить таблицу...|Печать...");
        QVERIFY(report->SaveSheet(folder.filePath("sheet.csv")));
        QByteArray csv = FileBytes(folder.filePath("sheet.csv"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList rows = QString::fromUtf8(csv.mid(3)).split("\r\n", Qt::SkipEmptyParts);
        // The sheet's rows, then the parameter tables, each a heading and its rows.
        QCOMPARE(rows.front(), "Параметр;Колесо 1;Колесо 2 (внутр.)");
        QCOMPARE(rows.mid(1, table->rowCount()), RowsOf(table, ';', ','));
        QCOMPARE(rows[1 + table->rowCount()], "Таблица параметров: Колесо 1");
        QCOMPARE(rows.filter(QRegularExpression("^Таблица параметров: ")).size(), 2);
        // Plain text is what tarvo-cli --report prints after the path.
        QVERIFY(report->SaveSheet(folder.filePath("sheet.txt")));
        const std::optional<QByteArray> printed =
            RunCli({"pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2", "60",
                    "--x2", "0.5", "-o", folder.filePath("c.dxf"), "--report"});
        QVERIFY(printed);
        QCOMPARE(FileBytes(folder.filePath("sheet.txt")), printed->mid(printed->indexOf('\n') + 1));
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
