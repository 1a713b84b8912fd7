// The controls that keep themselves in step: the accuracy boxes and scroll bars, the drive,
// folder and file lists of the file page, the hand of the tooth line offered only for a helical
// pair, what the parameter table takes from the pages; and the real message boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

#include "ui/data_sheet_view.h"
#include "ui/drawing_report.h"
#include "ui/folder_list.h"
#include "window_driver.h"

using tarvo::MessageIcon;
using tarvo::ui::DrawingReport;
using namespace tarvo::ui::test;

namespace {

QString Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text().trimmed();
    }
    return items.join(' ');
}

void ClickEntry(QListWidget* list, QListWidgetItem* item, bool twice = false) {
    list->scrollToItem(item);
    QTest::mouseEvent(twice ? QTest::MouseDClick : QTest::MouseClick, list->viewport(),
                      Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The texts of the parameter table's value column, from the wheel named `wheel` to the next
// heading, as "name=value" separated by "; ".
QString TableOf(const QTableWidget* table, const QString& wheel) {
    QStringList rows;
    bool inside = false;
    for (int r = 0; r < table->rowCount(); ++r) {
        const bool heading = table->columnSpan(r, 0) == 3;
        if (heading) {
            inside = table->item(r, 0)->text() == wheel;
            continue;
        }
        if (inside) {
            rows << table->item(r, 0)->text() + "=" + table->item(r, 2)->text();
        }
    }
    return rows.join("; ");
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
  private slots:
    void accuracyBoxesScrollBarsAndTolerance() {
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        auto* fillet = driver.Find<QScrollBar>("scPHScroll");
        // The scroll bar writes its box, clicked on its right arrow; a count typed is read on
        // leaving its box and held to the bar's range (no number gives the smallest), the box
        // showing it also where the bar does not move.
        QTest::mouseClick(fillet, Qt::LeftButton, {}, {fillet->width() - 4, fillet->height() / 2});
        QCOMPARE(driver.Texts("txtAccEv txtAccPer"), "6|4");
        driver.Fill("txtAccEv=6,5 txtAccPer=points");
        QTest::keyClick(driver.Find("txtAccPer"), Qt::Key_Tab);
        QCOMPARE(driver.Texts("txtAccEv txtAccPer"), "6|3");
        driver.Fill("txtAccPer=51 txtAccEv=6");
        QCOMPARE(driver.Texts("txtAccPer") + ' ' + QString::number(fillet->value()), "50 50");
        driver.Fill("OK");
        QCOMPARE(QList<int>({driver.state.AccEv, driver.state.AccPer}), QList<int>({6, 50}));
        // Ticking the tolerance takes the counts out of use and the tolerance typed into it.
        QCOMPARE(driver.Enabled("txtTolerance"), "");
        driver.Fill("cmBack chkTolerance");
        QCOMPARE(driver.Enabled("txtTolerance txtAccEv scEvHScroll txtAccPer scPHScroll"),
                 "txtTolerance");
    }

    // Every box the designer types in says what it takes when the pointer rests on it, and is
    // wide enough for the longest number the form writes: no digit is ever clipped.
    void everyBoxHasATipAndRoomForFifteenDigits() {
        WindowDriver driver;
        const QList<QLineEdit*> boxes = driver.window->findChildren<QLineEdit*>();
        QVERIFY(boxes.size() >= 15);
        for (const QLineEdit* box : boxes) {
            QVERIFY2(!box->toolTip().isEmpty(), qPrintable(box->objectName()));
        }
        for (const QString& name : QString("txtm txtBeta txtZ1 txtx1 txtZ2 txtx2 txtJbn txtmSL "
                                           "txtZ txtX TextAlfa TextH TextHf TextC TextRo")
                                       .split(' ')) {
            const QLineEdit* box = driver.Find<QLineEdit>(name);
            const int needed = box->fontMetrics().horizontalAdvance("-8.88888888888888E-308");
            QVERIFY2(box->width() - 2 * (2 + 4) >= needed, qPrintable(name));
        }
    }

    void filePageListsAndTheHighlightedFolder() {
        WorkFolder folder;
        for (const char* name : {"sub", "folder.dxf"}) {
            QVERIFY(QDir(folder.path()).mkdir(name));
        }
        for (const char* name : {"top.dxf", "b.DXF", "c.txt", "d.Dxf", "e.dxf.bak", "sub/in.dxf"}) {
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        }
        WindowDriver driver;
        auto* folders = driver.Find<tarvo::ui::FolderList>("ctDir");
        auto* files = driver.Find<QListWidget>("ctFile");
        // Drawings only, ending in .dxf or .DXF; a click on one takes its name.
        QCOMPARE(Items(files), "b.DXF top.dxf");
        ClickEntry(files, files->item(0));
        QCOMPARE(driver.Texts("txtFileName"), "b.DXF");
        // Highlighted only: the opened folder and its files stay.
        const QString sub = folder.filePath("sub");
        const auto where = [&] { return folders->Highlighted() + ' ' + folders->Path(); };
        ClickEntry(folders, folders->Entry(sub));
        QCOMPARE(where(), sub + ' ' + folder.path());
        QCOMPARE(Items(files), "b.DXF top.dxf");
        // Opened: sub's files listed. Up highlights the parent, and Enter opens it.
        ClickEntry(folders, folders->Entry(sub), true);
        QCOMPARE(folders->Path() + ' ' + Items(files), sub + " in.dxf");
        folders->setFocus();
        QTest::keyClick(folders, Qt::Key_Up);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(where(), folder.path() + ' ' + folder.path());
        // Shown again it lists folders made meanwhile; the drawing goes to the highlighted one.
        QVERIFY(QDir(folder.path()).mkdir("later"));
        driver.Fill(kToAccuracy + " OK");
        QCOMPARE(folders->findItems("later", Qt::MatchEndsWith).size(), 1);
        ClickEntry(folders, folders->Entry(sub));
        QCOMPARE(driver.Fill("txtFileName=here.dxf OK"), QString());
        QVERIFY(QFile::exists(folder.filePath("sub/here.dxf")));
        // A drive that went away after the list was made: said, and the folder stays.
        auto* drives = driver.Find<QComboBox>("ctDisc");
        const QString gone = folder.filePath("unplugged");
        drives->addItem("unplugged", gone);
        drives->setCurrentIndex(drives->count() - 1);
        const auto listed = tarvo::ui::CanList(gone);
        QVERIFY(!listed.ok());
        QCOMPARE(driver.Fill(""), "Exclamation|Внимание!|" + listed.fault() + "!");
        QCOMPARE(folders->Path(), folder.path());
        QCOMPARE(driver.FocusName(), "ctDisc");
    }

    void handRowOnlyForAHelix() {
        WindowDriver driver;
        driver.Fill("OK");
        QCOMPARE(driver.Showing("lbHand cboHand"), QString());
        driver.Fill("txtBeta=15");
        QCOMPARE(driver.Showing("lbHand cboHand"), "lbHand cboHand");
        driver.Fill("txtBeta=0,0");
        QCOMPARE(driver.Showing("lbHand cboHand"), QString());
    }

    void tableOnTheReportPage() {
        WorkFolder folder;
        WindowDriver driver;
        driver.Fill("OK txtm=2 txtZ1=20 txtZ2=40 txtBeta=15");
        driver.Find<QComboBox>("cboHand")->setCurrentIndex(1);
        QCOMPARE(driver.Fill("OK txtAccuracy=7-B OK txtFileName=table.dxf OK"), QString());
        const QTableWidget* table = driver.Find<DrawingReport>("frDrawing")->sheet->parameters;
        const QString wheel1 = TableOf(table, "Колесо 1");
        const QString wheel2 = TableOf(table, "Колесо 2");
        QVERIFY2(wheel1.contains("Направление линии зуба=Левое; "), qPrintable(wheel1));
        QVERIFY2(wheel2.contains("Направление линии зуба=Правое; "), qPrintable(wheel2));
        QVERIFY2(wheel1.contains("Степень точности=7-B; "), qPrintable(wheel1));
        QVERIFY2(wheel1.contains("Угол наклона зуба=15°; "), qPrintable(wheel1));
        QVERIFY2(wheel2.endsWith("Число зубьев сопряжённого колеса=20; Межосевое расстояние=" +
                                 driver.Find<DrawingReport>("frDrawing")
                                     ->sheet->Value("Межосевое расстояние aw, мм")),
                 qPrintable(wheel2));
    }

    void accuracyOnTwoLinesRefused() {
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        driver.Find<QLineEdit>("txtAccuracy")->setText(QStringLiteral("7\tB"));
        const QString message = driver.Fill("OK");
        QVERIFY2(message.contains("без управляющих символов"), qPrintable(message));
        QCOMPARE(driver.Frames(), "frAcc");
    }

    void messageBoxes() {
        // The message's icon and title, and the box's: no title shows the program's name.
        const struct {
            MessageIcon icon;
            const char* title;
            QMessageBox::Icon box;
            QString seen;
        } rows[] = {
            {MessageIcon::Critical, "Ошибка данных...", QMessageBox::Critical, "Ошибка данных..."},
            {MessageIcon::Exclamation, "", QMessageBox::Warning, "Tarvo"},
            {MessageIcon::Information, "", QMessageBox::Information, "Tarvo"}};
        for (const auto& row : rows) {
            QWidget parent;
            QString seen;
            // The box is modal: read it and press its only button from inside its own loop.
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr && box->buttons().size() == 1 && box->icon() == row.box);
                seen = box->windowTitle() + '|' + box->text();
                box->button(QMessageBox::Ok)->click();
            });
            tarvo::ui::MessageBoxSink(&parent).Show(
                {"Неверно задан параметр:\r\nМодуль, мм !", row.icon, row.title});
            QCOMPARE(seen, row.seen + "|Неверно задан параметр:\nМодуль, мм !");
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
