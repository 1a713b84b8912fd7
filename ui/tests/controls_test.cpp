// The controls that keep themselves in step: the accuracy boxes and scroll bars, the drive,
// folder and file lists of the file page; and the real message boxes.
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "ui/folder_list.h"
#include "window_driver.h"

using tarvo::MessageIcon;
using tarvo::ui::FolderList;
using namespace tarvo::ui::test;

namespace {

// Typed into an accuracy box: the count then in the box, on its scroll bar and, leaving, stored.
const struct {
    const char* name;
    QString box, typed;
    int count;
} kCounts[] = {
    {"half rounds up to even 8", "txtAccPer", "7.5", 8},
    {"half rounds down to even 6", "txtAccEv", "6.5", 6},
    {"comma ends the number", "txtAccEv", "12,7", 12},
    {"above the involute range", "txtAccEv", "150", 100},
    {"above the fillet range", "txtAccPer", "51", 50},
    {"no number", "txtAccPer", "points", 3},
};

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text().trimmed();
    }
    return items;
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
    void accuracyBoxTakesATypedCount_data() { AddRows(kCounts); }
    void accuracyBoxTakesATypedCount() {
        const auto& row = CurrentRow(kCounts);
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        const bool involute = row.box == "txtAccEv";
        auto* bar = driver.Find<QScrollBar>(involute ? "scEvHScroll" : "scPHScroll");
        // The scroll bar writes its box, moved or clicked on its right arrow; then back, so a
        // typed count equal to the stored one leaves the bar where it is.
        const int stored = bar->value();
        bar->setValue(40);
        QCOMPARE(driver.Text(row.box), QStringLiteral("40"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->width() - 4, bar->height() / 2});
        QCOMPARE(driver.Text(row.box), QStringLiteral("41"));
        bar->setValue(stored);
        driver.Type(row.box, row.typed);
        QTest::keyClick(driver.Find(row.box), Qt::Key_Tab);
        QCOMPARE(driver.Text(row.box), QString::number(row.count));
        QCOMPARE(bar->value(), row.count);
        driver.Ok();
        // Stored, and the other count untouched.
        QCOMPARE(driver.state.AccEv, involute ? row.count : 6);
        QCOMPARE(driver.state.AccPer, involute ? 3 : row.count);
    }

    void filePageListsAndTheHighlightedFolder() {
        WorkFolder folder;
        QDir(folder.path()).mkdir("sub");
        QDir(folder.path()).mkdir("folder.dxf");
        for (const char* name : {"top.dxf", "b.DXF", "c.txt", "d.Dxf", "e.dxf.bak", "sub/in.dxf"}) {
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        }
        WindowDriver driver;
        auto* folders = driver.Find<FolderList>("ctDir");
        auto* files = driver.Find<QListWidget>("ctFile");
        // Drawings only: files ending in .dxf or .DXF. A click on one takes its name.
        QCOMPARE(Items(files), (QStringList{"b.DXF", "top.dxf"}));
        ClickEntry(files, files->item(0));
        QCOMPARE(driver.Text("txtFileName"), QStringLiteral("b.DXF"));
        // Highlighted only: the opened folder and its files stay.
        const QString sub = folder.filePath("sub");
        ClickEntry(folders, folders->Entry(sub));
        QCOMPARE(folders->Highlighted(), sub);
        QCOMPARE(folders->Path(), folder.path());
        QCOMPARE(Items(files), (QStringList{"b.DXF", "top.dxf"}));
        // Opened: the list shows sub's parents, and sub's files.
        ClickEntry(folders, folders->Entry(sub), true);
        QCOMPARE(folders->Path(), sub);
        QCOMPARE(Items(files), QStringList{"in.dxf"});
        // Back up with the arrow key, then Enter opens the parent.
        folders->setFocus();
        QTest::keyClick(folders, Qt::Key_Up);
        QCOMPARE(folders->Highlighted(), folder.path());
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->Path(), folder.path());

        // Shown again, the page lists folders made meanwhile; the drawing goes into the
        // highlighted folder, not the opened one.
        QVERIFY(QDir(folder.path()).mkdir("later"));
        driver.Fill(kToAccuracy + " OK");
        QCOMPARE(folders->findItems("later", Qt::MatchEndsWith).size(), 1);
        ClickEntry(folders, folders->Entry(sub));
        driver.Fill("txtFileName=here.dxf OK");
        QCOMPARE(driver.Messages(), QStringList());
        QVERIFY(QFile::exists(folder.filePath("sub/here.dxf")));

        // A drive that went away after the list was made: said, and the folder stays.
        auto* drives = driver.Find<QComboBox>("ctDisc");
        const QString gone = folder.filePath("unplugged");
        drives->addItem("unplugged", gone);
        drives->setCurrentIndex(drives->count() - 1);
        QString reason;
        QVERIFY(!tarvo::ui::CanList(gone, &reason));
        QCOMPARE(driver.Messages(), (QStringList{"Exclamation", "Внимание!", reason + "!"}));
        QCOMPARE(folders->Path(), folder.path());
        QCOMPARE(driver.FocusName(), QStringLiteral("ctDisc"));
        // The root, always offered, opens.
        drives->setCurrentIndex(drives->findData(QDir::rootPath()));
        QCOMPARE(driver.Messages(), QStringList());
        QCOMPARE(folders->Path(), QDir::rootPath());
    }

    void messageBoxes() {
        // The message's icon and title, and the box's: no title shows the program's name.
        const struct { MessageIcon icon; const char* title; QMessageBox::Icon boxIcon;
                       const char* boxTitle; } rows[] = {
            {MessageIcon::Critical, "Ошибка данных...", QMessageBox::Critical, "Ошибка данных..."},
            {MessageIcon::Exclamation, "", QMessageBox::Warning, "Tarvo"},
            {MessageIcon::Information, "", QMessageBox::Information, "Tarvo"},
        };
        for (const auto& row : rows) {
            QWidget parent;
            tarvo::ui::MessageBoxSink sink(&parent);
            QStringList seen;
            // The box is modal: read it and press its only button from inside its own loop.
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                seen << QString::number(box->icon()) << box->windowTitle() << box->text()
                     << QString::number(box->buttons().size());
                box->button(QMessageBox::Ok)->click();
            });
            sink.Show({"Неверно задан параметр:\r\nМодуль, мм !", row.icon, row.title});
            QCOMPARE(seen, (QStringList{QString::number(row.boxIcon), row.boxTitle,
                                        "Неверно задан параметр:\nМодуль, мм !", "1"}));
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
