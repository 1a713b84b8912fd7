// Report page.
#include "ui/report_page.h"

#include <QPalette>
#include <QTextOption>
#include <QVBoxLayout>

namespace tarvo::ui {

namespace {
// A long path wraps onto a second line; the text box's own inner margin around them.
constexpr int kPathLines = 2;
constexpr int kPathMargin = 4;
}  // namespace

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

    cmSaveCalc = new QPushButton(QStringLiteral("Сохранить расчёт..."), this);
    cmSaveCalc->setObjectName(QStringLiteral("cmSaveCalc"));
    cmSaveCalc->setToolTip(QStringLiteral(
        "Сохранить данные этого чертежа (не сам чертёж) в файл расчёта *.tarvo.json"));
    // The path on two lines across the top, so the drawing and its sheet below have the
    // page's whole width.
    txtRep->setFixedHeight(kPathLines * txtRep->fontMetrics().lineSpacing() +
                           2 * (txtRep->frameWidth() + kPathMargin));
    row_ = new QHBoxLayout;
    row_->setSpacing(12);
    row_->addWidget(txtRep, 1);
    row_->addWidget(cmSaveCalc, 0, Qt::AlignTop);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 12, 12, 12);
    page->setSpacing(10);
    page->addLayout(row_);
    drawing = new DrawingReport(this);
    page->addWidget(drawing, 1);
}

}  // namespace tarvo::ui
