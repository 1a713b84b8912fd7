// Drives a fresh Tarvo window as a designer would: finds controls by their names, clicks them
// and types into them.
#pragma once

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "profile/main_mod.h"
#include "ui/frm_par.h"
#include "ui/message_sink.h"

namespace tarvo::ui::test {

// From the start page through a valid gear pair to the accuracy page.
inline const QString kToAccuracy = QStringLiteral("OK txtm=2 txtZ1=20 txtZ2=40 OK");

// A new temporary folder, current while it lives: the file page's lists start there.
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
    // The control is not hidden itself (whether or not its frame is).
    bool Showing(const QString& name) const { return !Find(name)->isHidden(); }
    bool Enabled(const QString& name) const { return Find(name)->isEnabled(); }
    bool Checked(const QString& name) const { return Find<QAbstractButton>(name)->isChecked(); }
    // The page frames showing, in a fixed order; the path on the report page.
    QStringList Frames() const;
    QString Report() const { return Find<QPlainTextEdit>("txtRep")->toPlainText(); }
    QString FocusName() const;

    // Clicks into the box and types `text` (ASCII) over what it holds.
    void Type(const QString& name, const QString& text);
    // Blank-separated steps: "txtm=2,5" types into txtm, "OK" presses the page command, any
    // other name is a button to click.
    void Fill(const QString& steps);
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
// Empty when tarvo-cli given the blank-separated `arguments` writes the same bytes as the file
// `written`; otherwise why not. tarvo-cli writes cli.dxf beside `written`.
QString DiffersFromCli(const QString& written, const QString& arguments);

}  // namespace tarvo::ui::test
