// The basic rack frame frContur on the gear-pair page: six fixed rack profiles, one row each
// with its five values, and the row "Другой..." that opens the custom rack frame.
#pragma once

#include <QGroupBox>
#include <QRadioButton>

#include <map>
#include <optional>

#include "app/basic_rack.h"
#include "profile/main_mod.h"

namespace tarvo::ui {

// An option button that also reports a double click (reopening the custom rack frame while
// its row is already chosen).
class RowButton : public QRadioButton {
    Q_OBJECT
  public:
    using QRadioButton::QRadioButton;
  signals:
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class RackChoice : public QGroupBox {
    Q_OBJECT
  public:
    RackChoice(QWidget* parent, MainMod& state);

    // A fixed row's button was chosen (ctlOB1 ... ctlOB7 but ctlOB5): its five values are
    // stored; no control changes.
    void StoreRow(const RackRow& row);
    // Shows the 20-degree row as chosen: the choice when nothing was chosen before.
    void SelectFirstRow();

    // The rack the rows have chosen: a fixed row's values, or the designer's own as last
    // stored (the 20-degree row while "Другой..." was never completed).
    BasicRack ChosenRack() const;
    // The designer's own rack as its frame stored it.
    void SetCustom(const BasicRack& rack) { custom_ = rack; }
    bool HasCustom() const { return custom_.has_value(); }
    // The name of the checked row button (ctlOB1 ... ctlOB7).
    QString ChosenButton() const;

    // ctlOB1 ... ctlOB7 by name.
    QRadioButton* Button(const QString& name) const;

  signals:
    // "Другой..." (ctlOB5) was clicked or double-clicked.
    void customChosen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MainMod& state_;
    std::map<QString, QRadioButton*> buttons_;
    std::optional<BasicRack> custom_;
};

}  // namespace tarvo::ui
