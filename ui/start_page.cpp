// Start page.
#include "ui/start_page.h"

#include <QVBoxLayout>

#include "ui/controls.h"

namespace tarvo::ui {

StartPage::StartPage(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("frStartOpt"));
    const QString captions[3] = {
        QStringLiteral("Зубчатая передача"),
        QStringLiteral("Шлицы эвольвентные ГОСТ 6033-80"),
        QStringLiteral("Шлицы эвольвентные ОСТ 1 00086-73"),
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 30, 40, 30);
    layout->setSpacing(24);
    layout->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        ctlOptionTip[static_cast<std::size_t>(i)] =
            MakeOption(this, GroupName("ctlOptionTip", i), captions[i]);
        layout->addWidget(ctlOptionTip[static_cast<std::size_t>(i)]);
        connect(ctlOptionTip[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { ctlOptionTip_Click(i); });
    }
    layout->addStretch(1);
    cmOpenCalc =
        MakeButton(this, QStringLiteral("cmOpenCalc"), QStringLiteral("Открыть расчёт..."));
    cmOpenCalc->setToolTip(
        QStringLiteral("Заполнить все страницы данными сохранённого расчёта (*.tarvo.json)"));
    layout->addWidget(cmOpenCalc, 0, Qt::AlignLeft);
    ctlOptionTip[0]->setChecked(true);
}

void StartPage::ctlOptionTip_Click(int index) {
    SetTag(this, QString::number(index));
}

QString StartPage::TaskChoice() const {
    return Tag(this);
}

}  // namespace tarvo::ui
