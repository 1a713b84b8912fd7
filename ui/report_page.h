// The report page frSave: the full path of the drawing just written and, beside it, the drawing
// read back from its file with its data sheet.
#pragma once

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/drawing_report.h"

namespace tarvo::ui {

class ReportPage : public QGroupBox {
    Q_OBJECT
  public:
    explicit ReportPage(QWidget* parent);

    // The row across the top holding txtRep and "Сохранить расчёт..."; the drawing is below.
    QHBoxLayout* Row() const { return row_; }

    QPlainTextEdit* txtRep = nullptr;
    // "Сохранить расчёт...": the data of this drawing as a calculation file.
    QPushButton* cmSaveCalc = nullptr;
    // The picture and the data sheet of the drawing whose path txtRep holds.
    DrawingReport* drawing = nullptr;

  private:
    QHBoxLayout* row_ = nullptr;
};

}  // namespace tarvo::ui
