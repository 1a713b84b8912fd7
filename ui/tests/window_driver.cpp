// Window driver for the Qt tests.
#include "window_driver.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

namespace tarvo::ui::test {

WindowDriver::WindowDriver() {
    window = StartWindow(state, &sink);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active; focus checks may fail");
    }
}

WindowDriver::~WindowDriver() = default;

void WindowDriver::Type(const QString& name, const QString& text) {
    QLineEdit* box = Box(name);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
    }
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(box, ch.toLatin1());
        } else {
            // QTest types ASCII only; a Cyrillic letter arrives as a key with its text.
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

void WindowDriver::Tab() {
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : window.get(), Qt::Key_Tab);
}

void WindowDriver::Click(const QString& name) {
    auto* button = Find<QAbstractButton>(name);
    if (qobject_cast<QRadioButton*>(button) != nullptr) {
        // On the round indicator, which every option button has whatever its caption.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

Message WindowDriver::TakeMessage() {
    if (sink.shown.size() != 1) {
        qWarning("expected one message, got %d", static_cast<int>(sink.shown.size()));
        for (const Message& message : sink.shown) {
            qWarning("  %s", message.text.c_str());
        }
        sink.shown.clear();
        return {"<no single message>", MessageIcon::Critical, "<none>"};
    }
    Message message = sink.shown.front();
    sink.shown.clear();
    return message;
}

QString WindowDriver::FocusName() const {
    const QWidget* focused = QApplication::focusWidget();
    return focused == nullptr ? QString() : focused->objectName();
}

bool RunCli(const QStringList& arguments, QString* errorText) {
    QProcess cli;
    cli.start(QStringLiteral(TARVO_CLI), arguments);
    const bool finished = cli.waitForFinished(120000);
    if (errorText != nullptr) {
        *errorText = QString::fromUtf8(cli.readAllStandardError());
    }
    return finished && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tarvo::ui::test
