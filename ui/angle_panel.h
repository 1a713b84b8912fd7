// The angle panel frGradTrans: the helix angle (txtBeta) or the custom rack's profile angle
// (TextAlfa) shown and edited as degrees, minutes and seconds, and written back in decimal
// degrees by the panel's "OK".
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <cstdint>

namespace tarvo::ui {

// The controls the panel serves, reads and covers.
struct AngleTargets {
    QLineEdit* txtBeta = nullptr;   // cmGrad(0)'s box, in frPar
    QLineEdit* txtm = nullptr;      // the panel opens just below it for the helix angle
    QLineEdit* TextAlfa = nullptr;  // cmGrad(1)'s box, in frAltContur
    QWidget* frPar = nullptr;
    QWidget* frContur = nullptr;
    QWidget* frAltContur = nullptr;
};

class AnglePanel : public QGroupBox {
    Q_OBJECT
  public:
    AnglePanel(QWidget* parent, const AngleTargets& targets);

    // A "° ' ''" button was pressed: remember which box it serves, split that box's angle into
    // the three boxes (an angle of 0 leaves them as they were), disable the frames holding the
    // box and open the panel beside it.
    void cmGrad_Click(int index);
    // The panel's "OK": joins the three boxes into the target box and closes the panel.
    void ctlCommand_Click();
    // Open from a "° ' ''" button until its "OK", whether or not its page is showing.
    bool IsOpen() const { return open_; }
    // 1 for the helix angle, 2 for the profile angle, 0 before the first opening.
    std::int32_t GradTarget() const { return gradTarget_; }

    std::array<QLineEdit*, 3> Text1{};  // degrees, minutes, seconds
    QPushButton* ctlCommand = nullptr;

  private:
    void Place(int index);

    AngleTargets targets_;
    std::int32_t gradTarget_ = 0;
    bool open_ = false;
};

}  // namespace tarvo::ui
