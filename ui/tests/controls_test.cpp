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
    void accuracyBoxTakesATypedCount_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("count");  // in the box, on the scroll bar and, leaving, stored
        QTest::newRow("half rounds up to even 8") << "txtAccPer" << "7.5" << 8;
        QTest::newRow("half rounds down to even 6") << "txtAccEv" << "6.5" << 6;
        QTest::newRow("comma ends the number") << "txtAccEv" << "12,7" << 12;
        QTest::newRow("above the involute range") << "txtAccEv" << "150" << 100;
        QTest::newRow("above the fillet range") << "txtAccPer" << "51" << 50;
        QTest::newRow("no number") << "txtAccPer" << "points" << 3;
        QTest::newRow("negative") << "txtAccEv" << "-7" << 3;
        QTest::newRow("huge, past any whole number") << "txtAccPer" << "1e300" << 50;
    }

    void accuracyBoxTakesATypedCount() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, count);
        WindowDriver driver;
        driver.Fill(kToAccuracy);
        const bool involute = box == "txtAccEv";
        auto* bar = driver.Find<QScrollBar>(involute ? "scEvHScroll" : "scPHScroll");
        // The scroll bar writes its box, moved or clicked on its right arrow; then back, so a
        // typed count equal to the stored one leaves the bar where it is.
        const int stored = bar->value();
        bar->setValue(40);
        QCOMPARE(driver.Text(box), QStringLiteral("40"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->width() - 4, bar->height() / 2});
        QCOMPARE(driver.Text(box), QStringLiteral("41"));
        bar->setValue(stored);
        driver.Type(box, typed);
        QTest::keyClick(driver.Find(box), Qt::Key_Tab);
        QCOMPARE(driver.Text(box), QString::number(count));
        QCOMPARE(bar->value(), count);
        driver.Ok();
        // Stored, and the other count untouched.
        QCOMPARE(driver.state.AccEv, involute ? count : 6);
        QCOMPARE(driver.state.AccPer, involute ? 3 : count);
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

        // The drawing goes into the highlighted folder, not the opened one.
        driver.Fill(kToAccuracy + " OK");
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
