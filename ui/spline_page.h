// The spline page FrParSl: module, number of teeth and profile shift of one member of a spline
// joint, and whether that member is the shaft or the hub.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <array>

namespace tarvo::ui {

class SplinePage : public QGroupBox {
    Q_OBJECT
  public:
    explicit SplinePage(QWidget* parent);

    // The shift row is shown for GOST 6033-80 only.
    void ShowShiftRow(bool visible);

    QLabel* lbM1 = nullptr;  // lbM(1)
    QLineEdit* txtmSL = nullptr;
    QLabel* lbZ2_1 = nullptr;  // lbZ2(1)
    QLineEdit* txtZ = nullptr;
    QLabel* lbX = nullptr;
    QLineEdit* txtX = nullptr;
    std::array<QRadioButton*, 2> opValVt{};  // shaft, hub
};

}  // namespace tarvo::ui
