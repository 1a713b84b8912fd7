// The custom rack frame frAltContur: the designer's own basic rack (profile angle, ha*, hf*, c*,
// rf*), filled from the stored rack when it opens and stored field by field by its "OK".
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <vector>

#include "profile/main_mod.h"
#include "ui/message_sink.h"

namespace tarvo::ui {

class CustomRackFrame : public QGroupBox {
    Q_OBJECT
  public:
    // `beneath`: the frames the pop-up covers, disabled while it is open.
    CustomRackFrame(QWidget* parent, MainMod& state, MessageSink& messages,
                    std::vector<QWidget*> beneath);

    // When "Другой..." (ctlOB5) is chosen: shows the stored rack in the five boxes, names them
    // in their "Tag" properties, disables the frames beneath and opens the frame over them.
    void Open();
    // ComOK_Click: stores the five values; a zero stops at its field with a message and keeps
    // the frame open; an rf* above its limit is reduced with a message; then the frame closes.
    void ComOK_Click();
    // Open from Open until a ComOK_Click that stores all five values, whether or not its page is
    // showing.
    bool IsOpen() const { return open_; }

    QLineEdit* TextAlfa = nullptr;
    QLineEdit* TextH = nullptr;
    QLineEdit* TextHf = nullptr;
    QLineEdit* TextC = nullptr;
    QLineEdit* TextRo = nullptr;
    QPushButton* cmGrad1 = nullptr;  // cmGrad(1): the angle panel for the profile angle
    QPushButton* ComOK = nullptr;

  signals:
    // The five values were stored and the frame closed.
    void stored();

  private:
    // Sets the labels, boxes and buttons in the frame's grid.
    void LayOut(const std::array<QLabel*, 6>& labels);
    std::array<QLineEdit*, 5> Boxes() const { return {TextAlfa, TextH, TextHf, TextC, TextRo}; }

    MainMod& state_;
    MessageSink& messages_;
    std::vector<QWidget*> beneath_;
    std::array<QString, 5> names_;  // the boxes' parameter names, from their labels
    bool open_ = false;
};

}  // namespace tarvo::ui
