// The controls that keep themselves in step: the accuracy boxes and scroll bars, the drive,
// folder and file lists of the file page; and the look the window is drawn with (fonts,
// underlined captions, the pages sharing one rectangle).
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "ui/controls.h"
#include "ui/folder_list.h"
#include "ui/message_sink.h"
#include "window_driver.h"

using tarvo::Message;
using tarvo::MessageIcon;
using tarvo::ui::FolderList;
using tarvo::ui::test::WindowDriver;

namespace {

// The accuracy page, reached from the start page through a valid gear pair.
void GoToAccuracy(WindowDriver& driver) {
    driver.Ok();
    driver.Type("txtm", "2");
    driver.Type("txtZ1", "20");
    driver.Type("txtZ2", "40");
    driver.Ok();
    QVERIFY(driver.Showing("frAcc"));
}

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text().trimmed();
    }
    return items;
}

void ClickEntry(QListWidget* list, QListWidgetItem* item, bool twice) {
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndFonts();
    void pagesShareOneRectangle();
    void accuracyBoxTakesATypedCount_data();
    void accuracyBoxTakesATypedCount();
    void scrollBarWritesItsBox();
    void folderHighlightedIsNotFolderOpened();
    void fileListShowsDrawingsOnly();
    void driveThatCannotBeOpened();
    void popUpsGoAndComeWithTheGearPairPage();
    void messageBoxes_data();
    void messageBoxes();
};

void ControlsTest::captionsAndFonts() {
    WindowDriver driver;
    const QStringList underlined = {"lbM(0)", "lbZ1", "lbZ2(0)", "lbM(1)", "lbZ2(1)", "lbX",
                                    "Label1(10)", "Label1(9)", "Label1(12)", "Label1(8)"};
    for (const QLabel* label : driver.window->findChildren<QLabel*>()) {
        QCOMPARE(label->font().underline(), underlined.contains(label->objectName()));
    }

    const QFont form = driver.Find<QLabel>("lbZ1")->font();
    QCOMPARE(form.pointSizeF(), 9.75);
    // The form's font has every Cyrillic letter of the captions.
    QVERIFY(QFontMetrics(form).inFontUcs4(U'ё'));
    QVERIFY(QFontMetrics(form).inFontUcs4(U'Ж'));
    const QFont alpha = driver.Find<QLabel>("Label2(4)")->font();
    QCOMPARE(alpha.pointSizeF(), 15.75);
    QVERIFY(QFontMetrics(alpha).inFontUcs4(U'α'));
    QCOMPARE(driver.Find<QLabel>("Label2(5)")->font().pointSizeF(), 12.0);
    QCOMPARE(driver.Find<QWidget>("cmGrad(0)")->font().pointSizeF(), 11.25);
    QCOMPARE(driver.Find<QWidget>("cmGrad(1)")->font().pointSizeF(), 11.25);
    const QFont degrees = driver.Find<QLabel>("Label1(0)")->font();
    const QFont minutes = driver.Find<QLabel>("Label2(7)")->font();
    const QFont seconds = driver.Find<QLabel>("Label3(1)")->font();
    QVERIFY(degrees.bold() && !degrees.italic());
    QVERIFY(minutes.bold() && minutes.italic());
    QVERIFY(seconds.bold() && seconds.italic());
    QCOMPARE(seconds.pointSizeF(), 15.75);
}

void ControlsTest::pagesShareOneRectangle() {
    WindowDriver driver;
    const QRect page = driver.Find("frStartOpt")->geometry();
    for (const char* name : {"FrParSl", "frAcc", "frFile", "frSave"}) {
        QCOMPARE(driver.Find(name)->geometry(), page);
    }
    const QRect frPar = driver.Find("frPar")->geometry();
    const QRect frContur = driver.Find("frContur")->geometry();
    const QRect frIntEx = driver.Find("frIntEx")->geometry();
    QCOMPARE(frPar.topLeft(), page.topLeft());
    QCOMPARE(frPar.height(), page.height());
    QCOMPARE(frPar.width(), page.width() / 2);
    QCOMPARE(frContur.left(), frPar.right() + 1);
    QCOMPARE(frContur.right(), page.right());
    QCOMPARE(frIntEx.top(), frContur.bottom() + 1);
    QCOMPARE(frIntEx.bottom(), page.bottom());
    // "OK" below the pages on the right, Label5 on the left.
    const QRect ok = driver.Find("ctlCom")->geometry();
    QVERIFY(ok.top() > page.bottom());
    QCOMPARE(ok.right(), page.right());
    QVERIFY(driver.Find("Label5")->geometry().left() < ok.left());
    QVERIFY(!driver.Find<QLabel>("Label5")->text().contains("www"));
}

void ControlsTest::accuracyBoxTakesATypedCount_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");  // in the box, on the scroll bar and, leaving the page, stored
    QTest::newRow("half rounds up to even 8") << "txtAccPer" << "7.5" << 8;
    QTest::newRow("half rounds down to even 6") << "txtAccEv" << "6.5" << 6;
    QTest::newRow("comma ends the number") << "txtAccEv" << "12,7" << 12;
    QTest::newRow("above the involute range") << "txtAccEv" << "150" << 100;
    QTest::newRow("above the fillet range") << "txtAccPer" << "51" << 50;
    QTest::newRow("nothing typed") << "txtAccEv" << "" << 3;
    QTest::newRow("no number") << "txtAccPer" << "много" << 3;
    QTest::newRow("negative") << "txtAccEv" << "-7" << 3;
    QTest::newRow("huge") << "txtAccPer" << "1e300" << 50;
    QTest::newRow("in range") << "txtAccEv" << "40" << 40;
}

void ControlsTest::accuracyBoxTakesATypedCount() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, count);
    WindowDriver driver;
    GoToAccuracy(driver);
    const bool involute = box == "txtAccEv";
    auto* bar = driver.Find<QScrollBar>(involute ? "scEvHScroll" : "scPHScroll");
    driver.Type(box, typed);
    driver.Tab();
    QCOMPARE(driver.Text(box), QString::number(count));
    QCOMPARE(bar->value(), count);
    driver.Ok();
    QCOMPARE(involute ? driver.state.AccEv : driver.state.AccPer, count);
    // The other count is untouched.
    QCOMPARE(involute ? driver.state.AccPer : driver.state.AccEv, involute ? 3 : 6);
}

void ControlsTest::scrollBarWritesItsBox() {
    WindowDriver driver;
    GoToAccuracy(driver);
    auto* involute = driver.Find<QScrollBar>("scEvHScroll");
    auto* fillet = driver.Find<QScrollBar>("scPHScroll");
    QCOMPARE(involute->minimum(), 3);
    QCOMPARE(involute->maximum(), 100);
    QCOMPARE(fillet->minimum(), 3);
    QCOMPARE(fillet->maximum(), 50);
    involute->setValue(40);
    QCOMPARE(driver.Text("txtAccEv"), QStringLiteral("40"));
    // A click on the scroll bar's right arrow.
    QTest::mouseClick(fillet, Qt::LeftButton, {}, QPoint(fillet->width() - 4, fillet->height() / 2));
    QCOMPARE(driver.Text("txtAccPer"), QStringLiteral("4"));
    // A count typed and confirmed with "OK" straight from its box is taken too.
    driver.Type("txtAccPer", "200");
    driver.Ok();
    QCOMPARE(driver.state.AccEv, 40);
    QCOMPARE(driver.state.AccPer, 50);
}

void ControlsTest::folderHighlightedIsNotFolderOpened() {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("sub");
    Touch(folder.filePath("top.dxf"));
    Touch(folder.filePath("sub/inner.dxf"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    WindowDriver driver;
    QDir::setCurrent(previous);
    auto* folders = driver.Find<FolderList>("ctDir");
    auto* files = driver.Find<QListWidget>("ctFile");
    QCOMPARE(folders->Path(), folder.path());
    QCOMPARE(folders->Highlighted(), folder.path());
    QCOMPARE(Items(files), QStringList{"top.dxf"});

    // Highlighted only: the file list and the opened folder stay.
    const QString sub = folder.filePath("sub");
    ClickEntry(folders, folders->Entry(sub), false);
    QCOMPARE(folders->Highlighted(), sub);
    QCOMPARE(folders->Path(), folder.path());
    QCOMPARE(Items(files), QStringList{"top.dxf"});

    // Opened: the list now shows sub's parents and files.
    ClickEntry(folders, folders->Entry(sub), true);
    QCOMPARE(folders->Path(), sub);
    QCOMPARE(folders->Highlighted(), sub);
    QCOMPARE(Items(files), QStringList{"inner.dxf"});
    QVERIFY(folders->Entry(folder.path()) != nullptr);
    QVERIFY(folders->Entry(QDir::rootPath()) != nullptr);

    // Back up with the arrow key and Enter.
    folders->setFocus();
    QTest::keyClick(folders, Qt::Key_Up);
    QCOMPARE(folders->Highlighted(), folder.path());
    QCOMPARE(Items(files), QStringList{"inner.dxf"});
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(folders->Path(), folder.path());
    QCOMPARE(Items(files), QStringList{"top.dxf"});

    // The page command writes into the highlighted folder.
    driver.Ok();
    driver.Type("txtm", "2");
    driver.Type("txtZ1", "20");
    driver.Type("txtZ2", "40");
    driver.Ok();
    driver.Ok();
    ClickEntry(folders, folders->Entry(sub), false);
    driver.Type("txtFileName", "here.dxf");
    driver.Ok();
    QVERIFY(driver.NoMessage());
    QVERIFY(QFile::exists(folder.filePath("sub/here.dxf")));
}

void ControlsTest::fileListShowsDrawingsOnly() {
    QTemporaryDir folder;
    for (const char* name : {"a.dxf", "b.DXF", "c.txt", "d.Dxf", "e.dxf.bak", "part.DXF"}) {
        Touch(folder.filePath(name));
    }
    QDir(folder.path()).mkdir("folder.dxf");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    WindowDriver driver;
    QDir::setCurrent(previous);
    auto* files = driver.Find<QListWidget>("ctFile");
    QCOMPARE(Items(files), (QStringList{"a.dxf", "b.DXF", "part.DXF"}));
    ClickEntry(files, files->item(2), false);
    QCOMPARE(driver.Text("txtFileName"), QStringLiteral("part.DXF"));
}

void ControlsTest::driveThatCannotBeOpened() {
    WindowDriver driver;
    auto* drives = driver.Find<QComboBox>("ctDisc");
    auto* folders = driver.Find<FolderList>("ctDir");
    // The root and the home folder are always offered.
    QVERIFY(drives->findData(QDir::rootPath()) >= 0);
    QVERIFY(drives->findData(QDir::homePath()) >= 0);
    const QString before = folders->Path();
    const int count = folders->count();

    // A volume that went away after the list was made.
    QTemporaryDir gone;
    const QString missing = gone.path() + "/unplugged";
    drives->addItem("unplugged", missing);
    drives->setCurrentIndex(drives->count() - 1);
    const Message message = driver.TakeMessage();
    QCOMPARE(QString::fromStdString(message.title), QStringLiteral("Внимание!"));
    QVERIFY(message.icon == MessageIcon::Exclamation);
    QString reason;
    QVERIFY(!tarvo::ui::CanList(missing, &reason));
    QCOMPARE(QString::fromStdString(message.text), reason + "!");
    QCOMPARE(folders->Path(), before);
    QCOMPARE(folders->count(), count);
    QCOMPARE(drives->currentText(), QStringLiteral("unplugged"));
    QCOMPARE(driver.FocusName(), QStringLiteral("ctDisc"));

    // The root opens.
    drives->setCurrentIndex(drives->findData(QDir::rootPath()));
    QVERIFY(driver.NoMessage());
    QCOMPARE(folders->Path(), QDir::rootPath());
}

void ControlsTest::popUpsGoAndComeWithTheGearPairPage() {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    WindowDriver driver;
    QDir::setCurrent(previous);
    driver.Ok();
    driver.Type("txtm", "2");
    driver.Type("txtZ1", "20");
    driver.Type("txtZ2", "40");
    driver.Click("ctlOB5");
    driver.Click("cmGrad(1)");
    QVERIFY(driver.Showing("frAltContur"));
    QVERIFY(driver.Showing("frGradTrans"));
    // The page command stays available and leaves the page with both pop-ups open.
    driver.Ok();
    QVERIFY(driver.Showing("frAcc"));
    QVERIFY(!driver.Showing("frAltContur"));
    QVERIFY(!driver.Showing("frGradTrans"));
    for (int page = 0; page < 4; ++page) {
        driver.Ok();
    }
    QVERIFY(driver.Showing("frPar"));
    QVERIFY(driver.Showing("frAltContur"));
    QVERIFY(driver.Showing("frGradTrans"));
    driver.Click("ctlCommand");
    driver.Click("ComOK");
    QVERIFY(!driver.Showing("frAltContur"));
    QVERIFY(driver.Find("frPar")->isEnabled());
    QVERIFY(driver.Find<QRadioButton>("ctlOB5")->isChecked());
}

void ControlsTest::messageBoxes_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("boxIcon");
    QTest::addColumn<QString>("boxTitle");
    QTest::newRow("refused parameter") << int(MessageIcon::Critical) << "Ошибка данных..."
                                       << int(QMessageBox::Critical) << "Ошибка данных...";
    QTest::newRow("zero coefficient, no title") << int(MessageIcon::Exclamation) << ""
                                                << int(QMessageBox::Warning) << "Tarvo";
    QTest::newRow("reduced rf*, no title") << int(MessageIcon::Information) << ""
                                           << int(QMessageBox::Information) << "Tarvo";
}

void ControlsTest::messageBoxes() {
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(int, boxIcon);
    QFETCH(QString, boxTitle);
    QWidget parent;
    tarvo::ui::MessageBoxSink sink(&parent);
    QString seenTitle;
    QString seenText;
    int seenIcon = -1;
    // The box is modal: read it and press its OK from inside its own loop.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        QCOMPARE(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    sink.Show({"Неверно задан параметр:\r\nМодуль, мм !", static_cast<MessageIcon>(icon),
               title.toStdString()});
    QCOMPARE(seenTitle, boxTitle);
    QCOMPARE(seenIcon, boxIcon);
    QCOMPARE(seenText, QStringLiteral("Неверно задан параметр:\nМодуль, мм !"));
}

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
