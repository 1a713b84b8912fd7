// Drives a fresh Tarvo window as a designer would: finds controls by their names, clicks them
// and types into them, and records the messages the window shows instead of opening boxes.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTest>

#include <memory>
#include <vector>

#include "profile/main_mod.h"
#include "ui/frm_par.h"
#include "ui/message_sink.h"

namespace tarvo::ui::test {

class RecordingSink : public MessageSink {
public:
    void Show(const Message& message) override { shown.push_back(message); }
    std::vector<Message> shown;
};

// One window started as the program starts it, shown and active on the offscreen screen.
class WindowDriver {
public:
    WindowDriver();
    ~WindowDriver();

    template <typename T = QWidget>
    T* Find(const QString& name) const {
        T* control = window->findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", qPrintable(name));
        }
        return control;
    }
    QLineEdit* Box(const QString& name) const { return Find<QLineEdit>(name); }
    QString Text(const QString& name) const { return Box(name)->text(); }
    // The frame is shown (whether or not the window is).
    bool Showing(const QString& name) const { return !Find(name)->isHidden(); }

    // Clicks into the box, selects what it holds and types `text` over it.
    void Type(const QString& name, const QString& text);
    // Leaves the focused control with Tab, as the designer moves on.
    void Tab();
    // Clicks a button or an option button.
    void Click(const QString& name);
    // The page command.
    void Ok() { Click(QStringLiteral("ctlCom")); }
    // The only new message since the last call; fails the test on none or several.
    Message TakeMessage();
    bool NoMessage() const { return sink.shown.empty(); }
    // The name of the control that has the input focus.
    QString FocusName() const;

    MainMod state;
    RecordingSink sink;
    std::unique_ptr<FrmPar> window;
};

// Runs tarvo-cli with `arguments`; true when it wrote its drawing.
bool RunCli(const QStringList& arguments, QString* errorText);
// The file's bytes, or an empty array when it cannot be read.
QByteArray FileBytes(const QString& path);

}  // namespace tarvo::ui::test
