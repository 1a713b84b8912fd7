// The accuracy page frAcc: how many points the outline gets on the involute and on the
// transition curve, each as a box and a scroll bar kept in step. The scroll bars' ranges are the
// page command's (kMinAccEv ... kMaxAccPer), so a count shown is a count the drawing can use.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QScrollBar>

#include <cstdint>

namespace tarvo::ui {

class AccuracyPage : public QGroupBox {
    Q_OBJECT
  public:
    explicit AccuracyPage(QWidget* parent);

    // Shows the stored counts: the transition-curve scroll bar first, then the involute one;
    // both boxes show the counts even where a scroll bar already held its value.
    void Load(std::int32_t accEv, std::int32_t accPer);

    void scEvHScroll_Change();
    void scPHScroll_Change();
    // A box left: its leading number (a comma ends it), rounded half to even and brought into
    // the scroll bar's range, goes to the scroll bar and back into the box.
    void txtAccEv_LostFocus();
    void txtAccPer_LostFocus();

    QLineEdit* txtAccEv = nullptr;
    QScrollBar* scEvHScroll = nullptr;
    QLineEdit* txtAccPer = nullptr;
    QScrollBar* scPHScroll = nullptr;
    // External roots as the cutting rack generates them instead of the equivalent rack's fillet.
    QCheckBox* chkCutFillet = nullptr;
    // The accuracy designation for the parameter table, printed as typed.
    QLineEdit* txtAccuracy = nullptr;
    // Points placed for a chord tolerance instead of the counts: ticking it enables the
    // tolerance box and disables the counts' boxes and scroll bars.
    QCheckBox* chkTolerance = nullptr;
    QLineEdit* txtTolerance = nullptr;
    void chkTolerance_Click();
};

}  // namespace tarvo::ui
