// The form's building blocks: its fonts, frames, labels and boxes, each created with the control
// name the page command, the tests and accessibility tools find it by, and the free "Tag" text.
#pragma once

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

#include <string>

#include "app/input_check.h"

namespace tarvo::ui {

// The name of control `index` of an indexed group: "Label1(10)", "opTip(0)".
QString GroupName(const char* group, int index);

// The form's font: Arial 9.75 pt (on Linux its metric twin Liberation Sans), which has Cyrillic.
QFont FormFont();
// The form's font at another size, optionally bold or italic.
QFont FormFont(double pointSize, bool bold = false, bool italic = false);

// A frame of a page or pop-up; an empty caption draws the frame alone.
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption);
// A one-line caption shown as typed (blanks kept, no markup).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption,
                  bool underlined = false);
// A text box; every box starts empty and takes any length. `tip`: its meaning and range, shown
// when the pointer rests on it.
QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& tip = QString());
// Makes a number box wide enough for the longest number the form writes into it (fifteen
// significant digits with sign and exponent), so no digit is ever clipped.
void FitNumbers(QLineEdit* box);
// One row of a page's grid: the caption in the first column, naming the number box placed in
// `boxColumn` (Alt with the caption's letter moves to it), the box fitted to its numbers.
void AddNumberRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* box, int boxColumn);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption);

// The free text every control carries (the task choice, the custom rack boxes' names).
void SetTag(QObject* control, const QString& tag);
QString Tag(const QObject* control);

// A control's text as the core reads it (UTF-8), and back.
std::string ToCore(const QString& text);
QString FromCore(const std::string& text);
// The caption of a parameters page's box, from the table the input checks quote.
QString Caption(InputField field);

}  // namespace tarvo::ui
