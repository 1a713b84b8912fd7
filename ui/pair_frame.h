// The left half of the gear-pair page, frPar: normal module, helix angle (with its button for
// the angle panel), and per wheel the tooth number and profile shift, then the normal backlash.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvo::ui {

class PairFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit PairFrame(QWidget* parent);

    QLabel* lbM0 = nullptr;  // lbM(0)
    QLineEdit* txtm = nullptr;
    QPushButton* cmGrad0 = nullptr;  // cmGrad(0): the angle panel for the helix angle
    QLineEdit* txtBeta = nullptr;
    QLabel* lbZ1 = nullptr;
    QLineEdit* txtZ1 = nullptr;
    QLineEdit* txtx1 = nullptr;
    QLabel* lbZ2_0 = nullptr;  // lbZ2(0)
    QLineEdit* txtZ2 = nullptr;
    QLineEdit* txtx2 = nullptr;
    QLineEdit* txtJbn = nullptr;
    // The hand of wheel 1's tooth line, shown only while the helix angle is not zero.
    QLabel* lbHand = nullptr;
    QComboBox* cboHand = nullptr;  // 0 right, 1 left

    // Shows or hides the hand row after the helix angle box changed.
    void txtBeta_Change();
};

// The "° ' ''" button that opens the angle panel, in its own larger font.
QPushButton* MakeAngleButton(QWidget* parent, int index);

}  // namespace tarvo::ui
