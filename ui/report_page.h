// The report page frSave: the full path of the drawing just written. The right part of the page
// is kept free for a picture of the drawing beside the path.
#pragma once

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>

namespace tarvo::ui {

class ReportPage : public QGroupBox {
    Q_OBJECT
public:
    explicit ReportPage(QWidget* parent);

    // The row holding txtRep on the left; a picture of the drawing goes after it.
    QHBoxLayout* Row() const { return row_; }

    QPlainTextEdit* txtRep = nullptr;

private:
    QHBoxLayout* row_ = nullptr;
};

}  // namespace tarvo::ui
