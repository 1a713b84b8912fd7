// Drives a fresh Tarvo window as a designer would: finds controls by their names, clicks them
// and types into them.
#pragma once

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#include "profile/main_mod.h"
#include "ui/frm_par.h"
#include "ui/message_sink.h"

namespace tarvo::ui::test {

// Qt Test data rows named after a table's rows (structs beginning with `name`); the running one.
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

// From the start page through a valid gear pair to the accuracy page, and that pair's page.
inline const QString kToAccuracy = QStringLiteral("OK txtm=2 txtZ1=20 txtZ2=40 OK");
inline const QString kPairPage = QStringLiteral("frPar frContur frIntEx");

// A temporary folder, current while it lives: the file page's lists start there.
class WorkFolder : public QTemporaryDir {
    const QString previous_ = QDir::currentPath();

  public:
    WorkFolder() { QDir::setCurrent(path()); }
    ~WorkFolder() { QDir::setCurrent(previous_); }
};

// A window started as the program starts it, shown and active; it records the messages.
class WindowDriver : public MessageSink {
  public:
    // `build` makes the drawings; a test may slow it down or count its calls.
    // `settings`: the settings file the window keeps its entries in; empty keeps none.
    explicit WindowDriver(Builder build = RunBuilder, const QString& settings = QString());
    void Show(const Message& message) override;
    // Recorded as "Question|<title>|<text>"; answered with `answer`.
    bool Ask(const Message& question) override;
    bool answer = true;

    template <typename T = QWidget>
    T* Find(const QString& name) const {
        T* control = window->findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", qPrintable(name));
        }
        return control;
    }
    // Of the blank-separated controls: the boxes' texts joined by "|"; those showing or enabled.
    QString Texts(const QString& names) const;
    QString Showing(const QString& names) const { return Those(names, &QWidget::isVisibleTo); }
    QString Enabled(const QString& names) const { return Those(names, &QWidget::isEnabledTo); }
    bool Checked(const QString& name) const { return Find<QAbstractButton>(name)->isChecked(); }
    QString Frames() const {  // the pages' frames showing, in a fixed order
        return Showing("frStartOpt frPar frContur frIntEx FrParSl frAcc frFile frSave");
    }
    QString Report() const { return Find<QPlainTextEdit>("txtRep")->toPlainText(); }
    QString FocusName() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
    }

    // Steps: "txtm=2,5" types over what txtm holds, "OK" presses the page command, any other
    // name is a button to click, waiting for a drawing it starts. Returns the messages shown
    // since the last call (Fill("") only reads them) as icon|title|text, one after another.
    QString Fill(const QString& steps);

    MainMod state;
    std::unique_ptr<FrmPar> window;

  private:
    QString Those(const QString& names, bool (QWidget::*test)(const QWidget*) const) const;
    QStringList shown_;
};

// The file's bytes, or an empty array when it cannot be read; writing them, true when written.
QByteArray FileBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);
// What tarvo-cli printed when it finished with status 0.
std::optional<QByteArray> RunCli(const QStringList& args);

}  // namespace tarvo::ui::test
