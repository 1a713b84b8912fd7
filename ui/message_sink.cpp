// Message boxes of the window.
#include "ui/message_sink.h"

#include <QAbstractButton>
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

QString Title(const Message& message) {
    return message.title.empty() ? kApplicationTitle : QString::fromStdString(message.title);
}

// The messages break their lines the Windows way; a label wants a bare line feed.
QString Text(const Message& message) {
    QString text = QString::fromStdString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

void MessageBoxSink::Show(const Message& message) {
    QMessageBox box(BoxIcon(message.icon), Title(message), Text(message), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxSink::Ask(const Message& question) {
    QMessageBox box(BoxIcon(question.icon), Title(question), Text(question),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tarvo::ui
