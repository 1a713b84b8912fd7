// Data sheet view: the rows come from app/sheet_text, so the window shows the very texts that
// tarvo-cli --report prints.
#include "ui/data_sheet_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "report/parameter_table.h"
#include "report/sheet_text.h"
#include "ui/drawing_preview.h"

namespace tarvo::ui {

namespace {

QString FromCore(const std::string& text) {
    return QString::fromStdString(text);
}

// Warnings stand out from the table without a box of their own: dark red text.
const QColor kWarning(160, 20, 20);

// The mesh rows of a pair on a tinted ground, set apart from the wheels' rows above them.
const QColor kMeshRow(236, 241, 248);

QTableWidgetItem* Item(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

// One column per wheel after the label column, each headed in bold in the colour its outline
// has in the preview.
void AddHeadings(QTableWidget* table, const DataSheet& sheet, const SheetTable& rows,
                 const QFont& font) {
    const int wheels = static_cast<int>(rows.headings.size());
    table->setColumnCount(1 + wheels);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("Параметр")));
    for (int i = 0; i < wheels; ++i) {
        auto* heading = new QTableWidgetItem(FromCore(rows.headings[static_cast<std::size_t>(i)]));
        heading->setForeground(
            DrawingPreview::OutlineColour(sheet.wheels[static_cast<std::size_t>(i)].outline));
        QFont bold = font;
        bold.setBold(true);
        heading->setFont(bold);
        table->setHorizontalHeaderItem(1 + i, heading);
    }
}

// The wheels' rows, a cell per wheel, then the pair's rows, one value across the wheel columns
// on the tinted ground.
void AddRows(QTableWidget* table, const SheetTable& rows) {
    const int wheels = static_cast<int>(rows.headings.size());
    const int total = static_cast<int>(rows.wheelRows.size() + rows.pairRows.size());
    table->setRowCount(total);
    int row = 0;
    for (const SheetRow& r : rows.wheelRows) {
        table->setItem(row, 0, Item(FromCore(r.label), Qt::AlignLeft));
        for (int i = 0; i < wheels; ++i) {
            table->setItem(row, 1 + i,
                           Item(FromCore(r.cells[static_cast<std::size_t>(i)]), Qt::AlignRight));
        }
        ++row;
    }
    for (const SheetRow& r : rows.pairRows) {
        QTableWidgetItem* label = Item(FromCore(r.label), Qt::AlignLeft);
        QTableWidgetItem* value = Item(FromCore(r.cells.front()), Qt::AlignRight);
        label->setBackground(kMeshRow);
        value->setBackground(kMeshRow);
        table->setItem(row, 0, label);
        table->setItem(row, 1, value);
        if (wheels > 1) {
            table->setSpan(row, 1, 1, wheels);
        }
        ++row;
    }
}

// The wheel columns as wide as their own cells; a mesh value wider than all of them together
// widens the last. The labels take the rest and wrap. Every row one line of text high.
void FitColumns(QTableWidget* table, const SheetTable& rows, const QFont& font) {
    const int wheels = static_cast<int>(rows.headings.size());
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    const QFontMetrics metrics(font);
    const int padding = 2 * metrics.horizontalAdvance(QLatin1Char('0'));
    std::vector<int> widths(static_cast<std::size_t>(wheels), 0);
    for (int i = 0; i < wheels; ++i) {
        int& w = widths[static_cast<std::size_t>(i)];
        QFont bold = font;
        bold.setBold(true);
        w = QFontMetrics(bold).horizontalAdvance(table->horizontalHeaderItem(1 + i)->text());
        for (const SheetRow& r : rows.wheelRows) {
            w = std::max(w,
                         metrics.horizontalAdvance(FromCore(r.cells[static_cast<std::size_t>(i)])));
        }
        w += padding;
    }
    int together = 0;
    for (const int w : widths) {
        together += w;
    }
    for (const SheetRow& r : rows.pairRows) {
        const int needed = metrics.horizontalAdvance(FromCore(r.cells.front())) + padding;
        if (needed > together) {
            widths.back() += needed - together;
            together = needed;
        }
    }
    for (int i = 0; i < wheels; ++i) {
        header->setSectionResizeMode(1 + i, QHeaderView::Fixed);
        header->resizeSection(1 + i, widths[static_cast<std::size_t>(i)]);
    }
    // The table asks for room for its longest label whole beside the wheel columns (and a
    // scroll bar), so the report page gives it that before the picture takes the rest.
    int labels = 0;
    for (const auto* group : {&rows.wheelRows, &rows.pairRows}) {
        for (const SheetRow& r : *group) {
            labels = std::max(labels, metrics.horizontalAdvance(FromCore(r.label)));
        }
    }
    table->setMinimumWidth(labels + padding + together + 2 * table->frameWidth() +
                           table->verticalScrollBar()->sizeHint().width());
    const int rowHeight = metrics.height() + 2;
    for (int r = 0; r < table->rowCount(); ++r) {
        table->setRowHeight(r, rowHeight);
    }
}

// The parameter tables one under the other: the wheel's name in bold across the row, then its
// rows of name, symbol and value.
void FillParameters(QTableWidget* table, const std::vector<ParameterTable>& tables,
                    const QFont& font) {
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Параметр"), QStringLiteral("Обозначение"), QStringLiteral("Значение")});
    int total = 0;
    for (const ParameterTable& t : tables) {
        total += 1 + static_cast<int>(t.rows.size());
    }
    table->setRowCount(total);
    QFont bold = font;
    bold.setBold(true);
    int row = 0;
    for (const ParameterTable& t : tables) {
        QTableWidgetItem* heading = Item(FromCore(t.wheel), Qt::AlignLeft);
        heading->setFont(bold);
        heading->setBackground(kMeshRow);
        table->setItem(row, 0, heading);
        table->setSpan(row, 0, 1, 3);
        ++row;
        for (const ParameterRow& r : t.rows) {
            table->setItem(row, 0, Item(FromCore(r.name), Qt::AlignLeft));
            table->setItem(row, 1, Item(FromCore(r.symbol), Qt::AlignHCenter));
            table->setItem(row, 2, Item(FromCore(r.value), Qt::AlignLeft));
            ++row;
        }
    }
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    const int rowHeight = QFontMetrics(font).height() + 2;
    for (int r = 0; r < table->rowCount(); ++r) {
        table->setRowHeight(r, rowHeight);
    }
}

}  // namespace

DataSheetView::DataSheetView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frSheet"));
    table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("tblSheet"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->verticalHeader()->hide();
    // Compact one-line rows, so the sheet of a pair and its warnings fit the report page; a
    // label too long for its column is shortened with "…" and shown whole as a tip.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->horizontalHeader()->setHighlightSections(false);

    warnings_ = new QWidget(this);
    warnings_->setObjectName(QStringLiteral("frWarnings"));
    auto* lines = new QVBoxLayout(warnings_);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(2);

    parameters = new QTableWidget(this);
    parameters->setObjectName(QStringLiteral("tblParameters"));
    parameters->setEditTriggers(QAbstractItemView::NoEditTriggers);
    parameters->setSelectionMode(QAbstractItemView::ContiguousSelection);
    parameters->verticalHeader()->hide();
    parameters->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    parameters->setWordWrap(false);
    parameters->setTextElideMode(Qt::ElideRight);
    parameters->horizontalHeader()->setHighlightSections(false);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabSheet"));
    tabs->addTab(table, QStringLiteral("Данные для чертежа"));
    tabs->addTab(parameters, QStringLiteral("Таблица параметров"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(tabs, 1);
    layout->addWidget(warnings_);
}

void DataSheetView::Clear() {
    sheet_.reset();
    table->setMinimumWidth(0);
    table->clear();
    table->setRowCount(0);
    table->setColumnCount(0);
    parameters->clear();
    parameters->setRowCount(0);
    parameters->setColumnCount(0);
    for (QLabel* line : lines_) {
        delete line;
    }
    lines_.clear();
}

void DataSheetView::SetSheet(const DataSheetResult& made, char separator) {
    Clear();
    QStringList warnings;
    if (!made.ok()) {
        warnings << QStringLiteral("Данные для чертежа не получены: ") + FromCore(made.fault());
    } else {
        for (const std::string& line : WarningLines(made.value(), separator)) {
            warnings << FromCore(line);
        }
    }
    for (const QString& text : warnings) {
        auto* line = new QLabel(text, warnings_);
        line->setObjectName(QStringLiteral("lbWarning"));
        line->setWordWrap(true);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QPalette palette = line->palette();
        palette.setColor(QPalette::WindowText, kWarning);
        line->setPalette(palette);
        warnings_->layout()->addWidget(line);
        lines_ << line;
    }
    if (!made.ok()) {
        return;
    }

    const DataSheet& sheet = made.value();
    sheet_ = sheet;
    const SheetTable rows = MakeSheetTable(sheet, separator);
    AddHeadings(table, sheet, rows, font());
    AddRows(table, rows);
    FitColumns(table, rows, font());
    FillParameters(parameters, MakeParameterTables(sheet, separator), font());
}

QString DataSheetView::Value(const QString& label, int column) const {
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* name = table->item(row, 0);
        if (name != nullptr && name->text() == label) {
            const QTableWidgetItem* value = table->item(row, 1 + column);
            return value != nullptr ? value->text() : QString();
        }
    }
    return {};
}

QStringList DataSheetView::Warnings() const {
    QStringList texts;
    for (const QLabel* line : lines_) {
        texts << line->text();
    }
    return texts;
}

}  // namespace tarvo::ui
