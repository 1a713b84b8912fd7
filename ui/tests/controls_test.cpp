// The controls that keep themselves in step: the accuracy boxes and scroll bars, the drive,
// folder and file lists of the file page; and the real message boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>

#include "ui/folder_list.h"
#include "window_driver.h"

using tarvo::MessageIcon;
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

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
  private slots:
    void accuracyBoxesAndScrollBarsKeepInStep() {
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
    }

    // Ticking the tolerance takes the counts out of use and the tolerance typed into it; the
    // drawing is then made for it, and unticking it goes back to the counts.
    void toleranceTakesThePlaceOfTheCounts() {
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        auto* tick = driver.Find<QCheckBox>("chkTolerance");
        QVERIFY(!driver.Find("txtTolerance")->isEnabled());
        QTest::mouseClick(tick, Qt::LeftButton, {}, {4, tick->height() / 2});
        QVERIFY(tick->isChecked());
        QVERIFY(driver.Find("txtTolerance")->isEnabled());
        for (const char* count : {"txtAccEv", "scEvHScroll", "txtAccPer", "scPHScroll"}) {
            QVERIFY2(!driver.Find(count)->isEnabled(), count);
        }
        driver.Fill("txtTolerance=0,002 OK");
        QCOMPARE(driver.state.Tolerance, 0.002);
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
