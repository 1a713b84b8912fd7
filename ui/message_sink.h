// Where the window's messages go: in the running program a modal message box with one OK button,
// in the tests a list they read, so no test waits on a modal loop.
#pragma once

#include <QString>
#include <QWidget>

#include "app/page_command.h"

namespace tarvo::ui {

// The application title, shown by every message box given no title of its own.
inline const QString kApplicationTitle = QStringLiteral("Tarvo");

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Returns when the user has seen the message.
    virtual void Show(const Message& message) = 0;
    // A question with the buttons "Да" and "Нет"; true for "Да".
    virtual bool Ask(const Message& question) = 0;
};

// The real thing: a modal QMessageBox over `parent` with the message's icon and title.
class MessageBoxSink : public MessageSink {
  public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
    void Show(const Message& message) override;
    // "Нет" is the default button: Enter keeps what is there.
    bool Ask(const Message& question) override;

  private:
    QWidget* parent_;
};

}  // namespace tarvo::ui
