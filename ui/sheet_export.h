// The data sheet taken out of the window: the rows it has, whatever they are, as tab-separated
// text and an HTML table for the clipboard (a spreadsheet or a word processor pastes them as a
// table), as CSV the way Russian office programs read it, as plain text, and on paper or PDF
// together with the picture of the drawing.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <vector>

#include "report/data_sheet.h"
#include "report/parameter_table.h"

namespace tarvo::ui {

// The sheet as rows of cells: a heading row ("Параметр" and the wheels), a row per quantity (a
// pair's row has one cell after its label) and the warnings below.
struct SheetLines {
    QStringList headings;
    std::vector<QStringList> rows;
    QStringList warnings;
};

// The sheet's rows with numbers written with `separator` as the decimal sign.
SheetLines LinesOfSheet(const DataSheet& sheet, char separator);

// Appends each wheel's parameter table after the sheet's rows: a row naming the table, then
// a row per parameter (its name and symbol in one cell, its value in the next).
void AddParameterTables(SheetLines& lines, const std::vector<ParameterTable>& tables);

// Cells separated by tabs, one row a line; the warnings after an empty line.
QString SheetTabText(const SheetLines& lines);
// An HTML table with the same rows (a pair's row spans the wheel columns), warnings below.
QString SheetHtml(const SheetLines& lines);
// UTF-8 with its byte-order mark, ";" between cells, CR LF between rows; a cell holding ";",
// a quote or a line break is quoted. Numbers should be made with a decimal comma.
QByteArray SheetCsv(const SheetLines& lines);

// One page: the drawing's picture above the sheet, scaled to the page.
void PrintSheet(QPrinter& printer, const SheetLines& lines, const QImage& picture,
                const QString& title);
// The same page painted into `area` of any device of `resolution` dots per inch.
void PaintSheetPage(QPainter& painter, const QRectF& area, double resolution,
                    const SheetLines& lines, const QImage& picture, const QString& title);

}  // namespace tarvo::ui
