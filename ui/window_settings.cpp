// The window's settings file.
#include "ui/window_settings.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>

namespace tarvo::ui {

namespace {

// The mark of this program's settings and its layout; a file without it is not read.
const QString kFormatKey = QStringLiteral("tarvo/format");
const QString kFormat = QStringLiteral("1");

QString KeyOf(const QString& control) {
    return QStringLiteral("controls/") + control;
}

}  // namespace

const QStringList& KeptControls() {
    static const QStringList kControls = {
        // Start page.
        QStringLiteral("ctlOptionTip(0)"),
        QStringLiteral("ctlOptionTip(1)"),
        QStringLiteral("ctlOptionTip(2)"),
        // Gear-pair page: parameters, mesh type, rack rows and the designer's own rack.
        QStringLiteral("txtm"),
        QStringLiteral("txtBeta"),
        QStringLiteral("txtZ1"),
        QStringLiteral("txtx1"),
        QStringLiteral("txtZ2"),
        QStringLiteral("txtx2"),
        QStringLiteral("txtJbn"),
        QStringLiteral("opTip(0)"),
        QStringLiteral("opTip(1)"),
        QStringLiteral("ctlOB7"),
        QStringLiteral("ctlOB1"),
        QStringLiteral("ctlOB6"),
        QStringLiteral("ctlOB2"),
        QStringLiteral("ctlOB4"),
        QStringLiteral("ctlOB3"),
        QStringLiteral("ctlOB5"),
        QStringLiteral("TextAlfa"),
        QStringLiteral("TextH"),
        QStringLiteral("TextHf"),
        QStringLiteral("TextC"),
        QStringLiteral("TextRo"),
        QStringLiteral("cboHand"),
        // Spline page.
        QStringLiteral("txtmSL"),
        QStringLiteral("txtZ"),
        QStringLiteral("txtX"),
        QStringLiteral("opValVt(0)"),
        QStringLiteral("opValVt(1)"),
        // Accuracy page.
        QStringLiteral("txtAccEv"),
        QStringLiteral("txtAccPer"),
        QStringLiteral("chkCutFillet"),
        QStringLiteral("chkTolerance"),
        QStringLiteral("txtTolerance"),
        QStringLiteral("txtAccuracy"),
        // File page.
        QStringLiteral("txtFileName"),
        QStringLiteral("chkStep"),
        QStringLiteral("txtFaceWidth"),
        QStringLiteral("txtRim"),
    };
    return kControls;
}

QString DefaultSettingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("tarvo/tarvo.ini"));
}

bool IsOurSettings(const QSettings& settings) {
    return settings.status() == QSettings::NoError &&
           settings.value(kFormatKey).toString() == kFormat;
}

void SaveControls(const QWidget* window, QSettings& settings) {
    settings.setValue(kFormatKey, kFormat);
    for (const QString& name : KeptControls()) {
        if (const auto* box = window->findChild<const QLineEdit*>(name)) {
            settings.setValue(KeyOf(name), box->text());
        } else if (const auto* button = window->findChild<const QAbstractButton*>(name)) {
            settings.setValue(KeyOf(name), button->isChecked());
        } else if (const auto* combo = window->findChild<const QComboBox*>(name)) {
            settings.setValue(KeyOf(name), combo->currentIndex());
        }
    }
}

void RestoreControls(QWidget* window, const QSettings& settings) {
    for (const QString& name : KeptControls()) {
        // The ini format gives back what it wrote as texts (within one run, as written).
        const QVariant value = settings.value(KeyOf(name));
        const bool text = value.typeId() == QMetaType::QString;
        if (auto* box = window->findChild<QLineEdit*>(name)) {
            if (text) {
                box->setText(value.toString());
            }
        } else if (auto* button = window->findChild<QAbstractButton*>(name)) {
            const QString word = value.toString();
            const bool known =
                value.typeId() == QMetaType::Bool ||
                (text && (word == QLatin1String("true") || word == QLatin1String("false")));
            const bool chosen = known && value.toBool();
            if (known && (qobject_cast<QRadioButton*>(button) == nullptr || chosen)) {
                button->setChecked(chosen);
            }
        } else if (auto* combo = window->findChild<QComboBox*>(name)) {
            // Only a row the list has; anything else leaves the first-run choice.
            bool whole = false;
            const int index = value.toString().toInt(&whole);
            if (whole && index >= 0 && index < combo->count()) {
                combo->setCurrentIndex(index);
            }
        }
    }
}

}  // namespace tarvo::ui
