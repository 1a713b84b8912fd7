// Drives a fresh Tarvo window as a designer would: finds controls by their names, clicks them
// and types into them.
#pragma once

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "profile/main_mod.h"
#include "ui/frm_par.h"
#include "ui/message_sink.h"

namespace tarvo::ui::test {

// Qt Test data rows named after a table's rows (structs that begin with `name`), and the row of
// the running case.
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i) {
        QTest::newRow(rows[i].name) << static_cast<int>(i);
    }
}
template <typename Row, std::size_t N>
const Row& CurrentRow(const Row (&rows)[N]) {
    QFETCH(int, row);
    return rows[row];
}

// From the start page through a valid gear pair to the accuracy page.
inline const QString kToAccuracy = QStringLiteral("OK txtm=2 txtZ1=20 txtZ2=40 OK");
inline const QStringList kPairPage{"frPar", "frContur", "frIntEx"};

// A temporary folder, current while it lives: the file page's lists start there.
class WorkFolder : public QTemporaryDir {
    const QString previous_ = QDir::currentPath();

public:
    WorkFolder() { QDir::setCurrent(path()); }
    ~WorkFolder() { QDir::setCurrent(previous_); }
};

// One window started as the program starts it, shown and active on the offscreen screen; it
// records the messages the window shows instead of opening boxes.
class WindowDriver : public MessageSink {
public:
    // `build` makes the drawings; a test may slow it down or count its calls.
    explicit WindowDriver(Builder build = RunBuilder);
    void Show(const Message& message) override { shown_.push_back(message); }

    template <typename T = QWidget>
    T* Find(const QString& name) const {
        T* control = window->findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", qPrintable(name));
        }
        return control;
    }
    QString Text(const QString& name) const { return Find<QLineEdit>(name)->text(); }
    QStringList Texts(const QStringList& names) const;
    bool Showing(const QString& name) const { return !Find(name)->isHidden(); }
    bool Enabled(const QString& name) const { return Find(name)->isEnabled(); }
    bool Checked(const QString& name) const { return Find<QAbstractButton>(name)->isChecked(); }
    QStringList Frames() const;  // the page frames showing, in a fixed order
    QString Report() const { return Find<QPlainTextEdit>("txtRep")->toPlainText(); }
    QString FocusName() const;

    // Blank-separated steps: "txtm=2,5" clicks into txtm and types over what it holds, "OK"
    // presses the page command, any other name is a button to click.
    void Fill(const QString& steps);
    void Type(const QString& name, const QString& text);
    // Clicks and, when that started a drawing, waits until it is made and shown.
    void Click(const QString& name);
    void Ok() { Click(QStringLiteral("ctlCom")); }
    // Waits (up to two minutes) until no drawing is being made; false when one still is.
    bool WaitForDrawing();
    // Icon, title and text of each message shown since the last call.
    QStringList Messages();

    MainMod state;
    std::unique_ptr<FrmPar> window;

private:
    std::vector<Message> shown_;
};

// The file's bytes, or an empty array when it cannot be read.
QByteArray FileBytes(const QString& path);
// tarvo-cli given the blank-separated `arguments` and "-o path": its exit status and errors.
struct CliRun {
    int status;
    QString err;
};
CliRun RunCli(const QString& arguments, const QString& path);
// Empty when tarvo-cli writes the same bytes as the file `written` (its own copy, cli.dxf,
// beside it); otherwise why not.
QString DiffersFromCli(const QString& written, const QString& arguments);

}  // namespace tarvo::ui::test
