// Accuracy page.
#include "ui/accuracy_page.h"

#include <QGridLayout>
#include <QLabel>

#include <cmath>

#include "app/page_command.h"
#include "app/table_input.h"
#include "math/number_text.h"
#include "math/rounding.h"
#include "ui/controls.h"
#include "ui/focus_loss.h"

namespace tarvo::ui {

namespace {

QScrollBar* MakeScrollBar(QWidget* parent, const QString& name, int minimum, int maximum) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(5);
    return bar;
}

// A count typed into a box: its leading number as typed, rounded half to even, then held to
// the scroll bar's range, so a count out of range or no number at all still gives a count the
// profile generator can use (150 becomes 100, nothing becomes the minimum).
int TypedCount(const QLineEdit* box, const QScrollBar* bar) {
    const double rounded = RoundHalfEven(RawValue(ToCore(box->text())));
    if (std::isnan(rounded) || rounded < bar->minimum()) {
        return bar->minimum();
    }
    if (rounded > bar->maximum()) {
        return bar->maximum();
    }
    return static_cast<int>(rounded);
}

void TakeTypedCount(QLineEdit* box, QScrollBar* bar) {
    bar->setValue(TypedCount(box, bar));
    // The box shows the count the page stores, also where the scroll bar did not move.
    box->setText(QString::number(bar->value()));
}

}  // namespace

AccuracyPage::AccuracyPage(QWidget* parent)
    : QGroupBox(QStringLiteral("Точность прорисовки"), parent) {
    setObjectName(QStringLiteral("frAcc"));
    QLabel* ev = MakeLabel(this, GroupName("Label4", 0), QStringLiteral("Эвольвента:"));
    txtAccEv = MakeBox(this, QStringLiteral("txtAccEv"),
                       QStringLiteral("Число точек на эвольвенте: целое, от 3 до 100"));
    QLabel* evUnit = MakeLabel(this, GroupName("Label4", 2), QStringLiteral("точек"));
    scEvHScroll = MakeScrollBar(this, QStringLiteral("scEvHScroll"), kMinAccEv, kMaxAccEv);
    QLabel* per = MakeLabel(this, GroupName("Label4", 1), QStringLiteral("Переходная кривая:"));
    txtAccPer = MakeBox(this, QStringLiteral("txtAccPer"),
                        QStringLiteral("Число точек на переходной кривой: целое, от 3 до 50"));
    QLabel* perUnit = MakeLabel(this, GroupName("Label4", 3), QStringLiteral("точек"));
    scPHScroll = MakeScrollBar(this, QStringLiteral("scPHScroll"), kMinAccPer, kMaxAccPer);
    QLabel* warning = MakeLabel(
        this, GroupName("Label4", 4),
        QStringLiteral("Внимание! Увеличение количества точек снижает производительность 3D "
                       "приложений..."));
    warning->setWordWrap(true);
    chkCutFillet =
        new QCheckBox(QStringLiteral("Переходная кривая как при нарезании рейкой"), this);
    chkCutFillet->setObjectName(QStringLiteral("chkCutFillet"));
    chkTolerance = new QCheckBox(QStringLiteral("Допуск на отклонение контура, мм"), this);
    chkTolerance->setObjectName(QStringLiteral("chkTolerance"));
    chkTolerance->setToolTip(
        QStringLiteral("Точки ставятся там, где их требует кривизна, так что ни одна хорда "
                       "эвольвенты и переходной кривой не отходит от точной кривой дальше "
                       "допуска; числа точек выше тогда не используются"));
    txtTolerance = MakeBox(this, QStringLiteral("txtTolerance"),
                           QStringLiteral("Допуск на отклонение контура, мм: от 0,00001 до 1"));
    txtTolerance->setText(QStringLiteral("0,001"));
    txtTolerance->setEnabled(false);

    QLabel* accuracy =
        MakeLabel(this, QStringLiteral("lbAccuracy"), QStringLiteral("Степень точности"));
    txtAccuracy = MakeBox(this, QStringLiteral("txtAccuracy"),
                          QStringLiteral("Обозначение степени точности для таблицы параметров "
                                         "чертежа, например «7-B ГОСТ 1643-81»: печатается как "
                                         "введено, до 40 знаков; можно оставить пустым"));
    txtAccuracy->setMaxLength(static_cast<int>(kMaxAccuracyText));
    txtAccuracy->setMinimumWidth(260);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(30, 24, 30, 20);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(2, 1);
    txtAccEv->setFixedWidth(60);
    txtAccPer->setFixedWidth(60);
    grid->addWidget(ev, 0, 0, 1, 3);
    grid->addWidget(txtAccEv, 1, 0);
    grid->addWidget(evUnit, 1, 1);
    grid->addWidget(scEvHScroll, 2, 0, 1, 3);
    grid->setRowMinimumHeight(3, 18);
    grid->addWidget(per, 4, 0, 1, 3);
    grid->addWidget(txtAccPer, 5, 0);
    grid->addWidget(perUnit, 5, 1);
    grid->addWidget(scPHScroll, 6, 0, 1, 3);
    grid->setRowMinimumHeight(7, 18);
    grid->addWidget(warning, 8, 0, 1, 3);
    grid->addWidget(chkCutFillet, 9, 0, 1, 3);
    grid->addWidget(chkTolerance, 10, 0, 1, 3);
    txtTolerance->setFixedWidth(100);
    grid->addWidget(txtTolerance, 11, 0, 1, 2);
    grid->setRowMinimumHeight(12, 18);
    grid->addWidget(accuracy, 13, 0, 1, 3);
    grid->addWidget(txtAccuracy, 14, 0, 1, 2);
    grid->setRowStretch(15, 1);
    connect(chkTolerance, &QCheckBox::toggled, this, &AccuracyPage::chkTolerance_Click);

    connect(scEvHScroll, &QScrollBar::valueChanged, this, &AccuracyPage::scEvHScroll_Change);
    connect(scPHScroll, &QScrollBar::valueChanged, this, &AccuracyPage::scPHScroll_Change);
    OnFocusLost(txtAccEv, [this] { txtAccEv_LostFocus(); });
    OnFocusLost(txtAccPer, [this] { txtAccPer_LostFocus(); });
}

void AccuracyPage::Load(std::int32_t accEv, std::int32_t accPer) {
    scPHScroll->setValue(accPer);
    scPHScroll_Change();
    scEvHScroll->setValue(accEv);
    scEvHScroll_Change();
}

void AccuracyPage::scEvHScroll_Change() {
    txtAccEv->setText(QString::number(scEvHScroll->value()));
}

void AccuracyPage::scPHScroll_Change() {
    txtAccPer->setText(QString::number(scPHScroll->value()));
}

void AccuracyPage::txtAccEv_LostFocus() {
    TakeTypedCount(txtAccEv, scEvHScroll);
}

void AccuracyPage::txtAccPer_LostFocus() {
    TakeTypedCount(txtAccPer, scPHScroll);
}

void AccuracyPage::chkTolerance_Click() {
    const bool tolerance = chkTolerance->isChecked();
    txtTolerance->setEnabled(tolerance);
    for (QWidget* counts :
         std::initializer_list<QWidget*>{txtAccEv, scEvHScroll, txtAccPer, scPHScroll}) {
        counts->setEnabled(!tolerance);
    }
}

}  // namespace tarvo::ui
