// Window driver for the Qt tests.
#include "window_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QRadioButton>

#include <utility>

namespace tarvo::ui::test {

WindowDriver::WindowDriver(Builder build, const QString& settings)
    : window(StartWindow(state, this, std::move(build))) {
    if (!settings.isEmpty()) {
        window->UseSettings(settings);
    }
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active; focus checks may fail");
    }
}

void WindowDriver::Show(const Message& message) {
    const char* const icons[] = {"Critical", "Exclamation", "Information"};
    shown_ << icons[static_cast<int>(message.icon)] << QString::fromStdString(message.title)
           << QString::fromStdString(message.text);
}

bool WindowDriver::Ask(const Message& question) {
    shown_ << QStringLiteral("Question") << QString::fromStdString(question.title)
           << QString::fromStdString(question.text);
    return answer;
}

QString WindowDriver::Texts(const QString& names) const {
    QStringList texts;
    for (const QString& name : names.split(' ')) {
        texts << Find<QLineEdit>(name)->text();
    }
    return texts.join('|');
}

QString WindowDriver::Those(const QString& names,
                            bool (QWidget::*test)(const QWidget*) const) const {
    QStringList those;
    for (const QString& name : names.split(' ')) {
        if ((Find(name)->*test)(window.get())) {
            those << name;
        }
    }
    return those.join(' ');
}

QString WindowDriver::Fill(const QString& steps) {
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = step.indexOf('=');
        if (auto* list = window->findChild<QComboBox*>(step.left(equals)); equals >= 0 && list) {
            list->setCurrentIndex(list->findText(step.mid(equals + 1)));
            continue;
        }
        if (equals >= 0) {
            auto* box = Find<QLineEdit>(step.left(equals));
            QTest::mouseClick(box, Qt::LeftButton);
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, step.mid(equals + 1));
            continue;
        }
        auto* button = Find<QAbstractButton>(step == "OK" ? QStringLiteral("ctlCom") : step);
        // An option button or a check box on its indicator, which it has whatever its caption.
        const bool option = qobject_cast<QRadioButton*>(button) != nullptr ||
                            qobject_cast<QCheckBox*>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {},
                          option ? QPoint(8, button->height() / 2) : button->rect().center());
        if (!QTest::qWaitFor([this] { return !window->Building(); }, 120000)) {
            qWarning("the drawing was still being made after two minutes");
        }
    }
    return std::exchange(shown_, {}).join('|');
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::optional<QByteArray> RunCli(const QStringList& args) {
    QProcess cli;
    cli.start(TARVO_CLI, args);
    if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit ||
        cli.exitCode() != 0) {
        return std::nullopt;
    }
    return cli.readAllStandardOutput();
}

}  // namespace tarvo::ui::test
