// Message boxes of the window.
#include "ui/message_sink.h"

#include <QMessageBox>

namespace tarvo::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxSink::Show(const Message& message) {
    const QString title =
        message.title.empty() ? kApplicationTitle : QString::fromStdString(message.title);
    // The messages break their lines the Windows way; a label wants a bare line feed.
    QString text = QString::fromStdString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(BoxIcon(message.icon), title, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace tarvo::ui
