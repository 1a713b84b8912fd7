// The data sheet in words: the table's rows and the warning lines as the window shows them, and
// the same as plain text and as JSON for tarvo-cli --report. Numbers are formatted here, without
// the process locale, so every reader sees the same digits.
#pragma once

#include <string>
#include <vector>

#include "report/data_sheet.h"

namespace tarvo {

struct SheetRow {
    std::string label;  // Russian name with symbol and unit: "Делительный диаметр d, мм"
    std::vector<std::string> cells;  // one per wheel; a row of the pair has one cell
};

struct SheetTable {
    std::vector<std::string> headings;  // the wheels' names
    std::vector<SheetRow> wheelRows;
    std::vector<SheetRow> pairRows;  // empty for a spline member
};

// v rounded to `decimals` places in fixed notation with `separator` as the decimal sign; "—"
// for a value that is not a finite number. A value that rounds to zero has no minus sign.
std::string FixedText(double v, int decimals, char separator = '.');

// As FixedText, then trailing zeros and a bare decimal sign removed: 2, 2.5, 3.1058.
std::string ShortText(double v, int decimals, char separator = '.');

SheetTable MakeSheetTable(const DataSheet& sheet, char separator = '.');

// One Russian sentence per warning, in the order of sheet.warnings.
std::vector<std::string> WarningLines(const DataSheet& sheet, char separator = '.');

// The table and the warnings as plain text, columns aligned, for a terminal; or why there is
// no sheet.
std::string DataSheetText(const DataSheetResult& made);

// The sheet as one JSON object with the drawing's path, or the path and why there is no sheet.
// Lengths are rounded to 1e-9 mm and angles to 1e-9 degrees (the digits beyond are the
// arithmetic's noise), then written with at most 15 significant digits. `input`, when given, is
// the JSON object of the data the drawing was made from, carried as "input".
std::string DataSheetJson(const DataSheetResult& made, const std::string& path,
                          const std::string& input = {});

}  // namespace tarvo
