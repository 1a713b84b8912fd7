// Report page.
#include "ui/report_page.h"

#include <QPalette>
#include <QTextOption>
#include <QVBoxLayout>

namespace tarvo::ui {

ReportPage::ReportPage(QWidget* parent)
    : QGroupBox(QStringLiteral("Чертёж сохранён в файле:"), parent) {
    setObjectName(QStringLiteral("frSave"));
    txtRep = new QPlainTextEdit(this);
    txtRep->setObjectName(QStringLiteral("txtRep"));
    // On the button-face colour, so the path reads as a report rather than an entry.
    QPalette palette = txtRep->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    txtRep->setPalette(palette);
    // A path has no blanks to break at; it wraps wherever the line is full.
    txtRep->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtRep->setTabChangesFocus(true);
    // A report, not an entry: the path can be selected and copied but not changed.
    txtRep->setReadOnly(true);

    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(12, 12, 12, 12);
    row_->setSpacing(12);
    cmSaveCalc = new QPushButton(QStringLiteral("Сохранить расчёт..."), this);
    cmSaveCalc->setObjectName(QStringLiteral("cmSaveCalc"));
    cmSaveCalc->setToolTip(QStringLiteral(
        "Сохранить данные этого чертежа (не сам чертёж) в файл расчёта *.tarvo.json"));
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(txtRep, 1);
    left->addWidget(cmSaveCalc);
    row_->addLayout(left, 1);
    drawing = new DrawingReport(this);
    row_->addWidget(drawing, 5);
}

}  // namespace tarvo::ui
