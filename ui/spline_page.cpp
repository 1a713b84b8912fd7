// Spline page.
#include "ui/spline_page.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "app/input_check.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "ui/controls.h"

namespace tarvo::ui {

SplinePage::SplinePage(QWidget* parent) : QGroupBox(QStringLiteral("Параметры шлицев"), parent) {
    setObjectName(QStringLiteral("FrParSl"));
    lbM1 = MakeLabel(this, GroupName("lbM", 1), Caption(InputField::SplineModule), true);
    txtmSL = MakeBox(this, QStringLiteral("txtmSL"),
                     QStringLiteral("Модуль шлицевого соединения, мм: число больше нуля"));
    lbZ2_1 = MakeLabel(this, GroupName("lbZ2", 1), Caption(InputField::SplineTeeth), true);
    txtZ = MakeBox(this, QStringLiteral("txtZ"),
                   QStringLiteral("Число зубьев: целое, от 1 до %1 (у вала до %2)")
                       .arg(kMaxTeeth)
                       .arg(kMaxShaftTeeth));
    lbX = MakeLabel(this, QStringLiteral("lbX"), Caption(InputField::SplineShift), true);
    txtX = MakeBox(this, QStringLiteral("txtX"),
                   QStringLiteral("Смещение исходного контура, мм (не коэффициент); окружность "
                                  "вершин должна остаться вне основной окружности"));
    opValVt[0] = MakeOption(this, GroupName("opValVt", 0), QStringLiteral("Вал"));
    opValVt[1] = MakeOption(this, GroupName("opValVt", 1), QStringLiteral("Втулка"));
    opValVt[0]->setChecked(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(60, 40, 40, 20);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(22);
    grid->setColumnMinimumWidth(0, 260);
    grid->setColumnStretch(2, 1);
    const std::pair<QLabel*, QLineEdit*> rows[] = {{lbM1, txtmSL}, {lbZ2_1, txtZ}, {lbX, txtX}};
    int row = 0;
    for (const auto& [label, box] : rows) {
        AddNumberRow(grid, row, label, box, 1);
        ++row;
    }
    // The shift row keeps its place when an OST spline hides it, so the rows below stay put.
    for (QWidget* shiftRow : std::initializer_list<QWidget*>{lbX, txtX}) {
        QSizePolicy policy = shiftRow->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        shiftRow->setSizePolicy(policy);
    }
    auto* member = new QHBoxLayout;
    member->addWidget(opValVt[0]);
    member->addSpacing(40);
    member->addWidget(opValVt[1]);
    member->addStretch(1);
    grid->addLayout(member, row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
}

void SplinePage::ShowShiftRow(bool visible) {
    lbX->setVisible(visible);
    txtX->setVisible(visible);
}

}  // namespace tarvo::ui
