// The parameter table of a part drawing (the table in the upper right corner of a gear or
// spline drawing): for each wheel of the sheet its rows in the usual order, as name, symbol
// and value, and the same as plain text, JSON and a table drawing.
#pragma once

#include <string>
#include <vector>

#include "drawing/dxf_table.h"
#include "report/data_sheet.h"

namespace tarvo {

struct ParameterRow {
    std::string name;    // "Модуль"
    std::string symbol;  // "m"; empty where the table has none
    std::string value;   // as it goes into the table, with `separator` as the decimal sign
};

struct ParameterTable {
    std::string wheel;  // the wheel's name on the sheet ("Колесо 1", "Втулка")
    std::vector<ParameterRow> rows;
};

// The nominal diameter of a GOST 6033-80 spline: D = m (z + 1.1) + 2 x m (the shaft's tip
// diameter plus 0.2 m: the joint centres on the flanks).
double GostSplineNominalDiameter(int z, double m, double x);

// One table per wheel, in the sheet's order.
std::vector<ParameterTable> MakeParameterTables(const DataSheet& sheet, char separator = '.');

// The tables as plain text (a heading per wheel, then name, symbol and value aligned) and as
// a JSON array of {"wheel", "rows": [{"name", "symbol", "value"}]}.
std::string ParameterTablesText(const std::vector<ParameterTable>& tables);
std::string ParameterTablesJson(const std::vector<ParameterTable>& tables);

// Size of the drawn table, mm: the usual parameter table of a part drawing is 110 mm wide,
// its rows 8 mm high; columns of name, symbol and value.
constexpr double kTableWidth = 110;
constexpr double kTableRow = 8;
constexpr double kTableNameColumn = 65;
constexpr double kTableSymbolColumn = 15;
constexpr double kTableTextHeight = 2.5;  // the 2.5 size of drawing lettering
constexpr double kTableGap = 20;          // between the tables of two wheels

// The tables as lines and texts, side by side from the origin, their top edge on y = 0, each
// with the wheel's name above it.
DxfTableDrawing ParameterTablesDrawing(const std::vector<ParameterTable>& tables);

}  // namespace tarvo
