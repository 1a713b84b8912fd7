// The start page frStartOpt: the choice of task, a gear pair or a member of one of the two
// involute spline standards, kept in the frame's Tag until "OK" leaves the page.
#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace tarvo::ui {

class StartPage : public QGroupBox {
    Q_OBJECT
  public:
    explicit StartPage(QWidget* parent);

    // Records the chosen task in the Tag: "0" gear pair, "1" GOST 6033-80, "2" OST 1 00086-73.
    void ctlOptionTip_Click(int index);
    // The task the page command reads.
    QString TaskChoice() const;

    std::array<QRadioButton*, 3> ctlOptionTip{};
    // "Открыть расчёт...": fills every page from a saved calculation.
    QPushButton* cmOpenCalc = nullptr;
};

}  // namespace tarvo::ui
