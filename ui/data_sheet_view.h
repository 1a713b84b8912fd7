// The data sheet on the report page: a small read-only table of what goes on the part drawing
// (a column per wheel, headed in its outline's colour), the mesh rows of a pair across the
// wheel columns, and under the table one plain line per warning.
#pragma once

#include <QLabel>
#include <QStringList>
#include <QTabWidget>
#include <QTableWidget>
#include <QWidget>

#include <optional>

#include "report/data_sheet.h"

namespace tarvo::ui {

class DataSheetView : public QWidget {
    Q_OBJECT
  public:
    explicit DataSheetView(QWidget* parent = nullptr);

    // Fills the table and the warning lines; numbers take `separator` as the decimal sign.
    void SetSheet(const DataSheetResult& made, char separator);
    void Clear();

    // The text of the row labelled `label`, wheel column `column` (0 for a row of the pair);
    // empty when there is no such row.
    QString Value(const QString& label, int column = 0) const;
    QStringList Warnings() const;
    // The sheet shown, or null when there is none.
    const DataSheet* Sheet() const { return sheet_ ? &*sheet_ : nullptr; }

    QTableWidget* table = nullptr;
    // The parameter table of each wheel's part drawing, on a tab beside the sheet: name,
    // symbol and value, a heading row per wheel.
    QTableWidget* parameters = nullptr;
    QTabWidget* tabs = nullptr;

  private:
    QWidget* warnings_ = nullptr;
    QList<QLabel*> lines_;
    std::optional<DataSheet> sheet_;
};

}  // namespace tarvo::ui
