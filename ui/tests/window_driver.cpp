// Window driver for the Qt tests.
#include "window_driver.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRadioButton>

#include <utility>

namespace tarvo::ui::test {

WindowDriver::WindowDriver(Builder build) : window(StartWindow(state, this, std::move(build))) {
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active; focus checks may fail");
    }
}

QStringList WindowDriver::Texts(const QStringList& names) const {
    QStringList texts;
    for (const QString& name : names) {
        texts << Text(name);
    }
    return texts;
}

QStringList WindowDriver::Frames() const {
    QStringList showing;
    for (const char* page :
         {"frStartOpt", "frPar", "frContur", "frIntEx", "FrParSl", "frAcc", "frFile", "frSave"}) {
        if (Showing(page)) {
            showing << page;
        }
    }
    return showing;
}

QString WindowDriver::FocusName() const {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

void WindowDriver::Fill(const QString& steps) {
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = step.indexOf('=');
        if (equals >= 0) {
            Type(step.left(equals), step.mid(equals + 1));
        } else {
            Click(step == "OK" ? QStringLiteral("ctlCom") : step);
        }
    }
}

void WindowDriver::Type(const QString& name, const QString& text) {
    auto* box = Find<QLineEdit>(name);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void WindowDriver::Click(const QString& name) {
    auto* button = Find<QAbstractButton>(name);
    // An option button on its round indicator, which it has whatever its caption.
    const bool option = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      option ? QPoint(8, button->height() / 2) : button->rect().center());
    if (!WaitForDrawing()) {
        qWarning("the drawing was still being made after two minutes");
    }
}

bool WindowDriver::WaitForDrawing() {
    return QTest::qWaitFor([this] { return !window->Building(); }, 120000);
}

QStringList WindowDriver::Messages() {
    const char* const icons[] = {"Critical", "Exclamation", "Information"};
    QStringList parts;
    for (const Message& message : std::exchange(shown_, {})) {
        parts << icons[static_cast<int>(message.icon)] << QString::fromStdString(message.title)
              << QString::fromStdString(message.text);
    }
    return parts;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CliRun RunCli(const QString& arguments, const QString& path) {
    QProcess cli;
    cli.start(QStringLiteral(TARVO_CLI), arguments.split(' ') << "-o" << path);
    const bool ended = cli.waitForFinished(120000) && cli.exitStatus() == QProcess::NormalExit;
    return {ended ? cli.exitCode() : -1, QString::fromUtf8(cli.readAllStandardError()).trimmed()};
}

QString DiffersFromCli(const QString& written, const QString& arguments) {
    const QString cliFile = QFileInfo(written).dir().filePath("cli.dxf");
    const CliRun run = RunCli(arguments, cliFile);
    const QByteArray expected = FileBytes(cliFile);
    if (run.status != 0 || expected.isEmpty()) {
        return "tarvo-cli wrote nothing: " + run.err;
    }
    return FileBytes(written) == expected ? QString() : written + " differs from tarvo-cli's";
}

}  // namespace tarvo::ui::test
