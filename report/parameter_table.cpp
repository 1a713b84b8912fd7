// The rows of the parameter table, and their text, JSON and drawing.
#include "report/parameter_table.h"

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "profile/gear_formulas.h"
#include "profile/point_xy.h"
#include "report/sheet_text.h"

namespace tarvo {

namespace {

constexpr int kLength = 4;      // mm, as on the sheet
constexpr int kRackDigits = 5;  // rack coefficients as stored (0.28734)

// The normal basic rack of GOST 13755-81: 20 degrees, ha* 1, c* 0.25, rf* 0.38 (hf* here the
// working depth below the datum line without the clearance, as the rack rows store it).
bool IsGost13755(const SheetRack& r) {
    return r.alpha == 20 && r.ha == 1 && r.hf == 1 && r.c == 0.25 && r.rf == 0.38;
}

// An angle in degrees as degrees, minutes and seconds: 12°30', 8°6'34", 0°.
std::string Dms(double degrees) {
    const double total = std::round(std::fabs(degrees) * 3600);
    const long seconds = static_cast<long>(total);
    const long d = seconds / 3600;
    const long m = seconds / 60 % 60;
    const long s = seconds % 60;
    std::string text = std::to_string(d) + "°";
    if (m != 0 || s != 0) {
        text += std::to_string(m) + "'";
    }
    if (s != 0) {
        text += std::to_string(s) + "\"";
    }
    return text;
}

std::string HandWord(std::optional<Hand> hand) {
    if (!hand) {
        return "—";
    }
    switch (*hand) {
        case Hand::Right:
            return "Правое";
        case Hand::Left:
            return "Левое";
    }
    return "—";
}

std::string Wheel(const WheelSheet& w) {
    switch (w.role) {
        case WheelRole::Wheel1:
            return "Колесо 1";
        case WheelRole::Wheel2:
            return "Колесо 2";
        case WheelRole::Pinion:
            return "Шестерня";
        case WheelRole::Ring:
            return "Колесо с внутренними зубьями";
        case WheelRole::Shaft:
            return "Вал";
        case WheelRole::Hub:
            return "Втулка";
        case WheelRole::Pair:
            return "Передача";
    }
    return "";
}

// The accuracy designation as typed; the cell stays blank when none was given.
std::string AccuracyCell(const DataSheet& sheet) {
    return sheet.accuracy ? *sheet.accuracy : std::string();
}

struct Rows {
    std::vector<ParameterRow>& rows;
    char sep;
    void Add(const std::string& name, const std::string& symbol, const std::string& value) {
        rows.push_back({name, symbol, value});
    }
    std::string Mm(double v) const { return FixedText(v, kLength, sep); }
    // A length that may be absent: a dash, as for a value that is no number.
    std::string Mm(const std::optional<double>& v) const { return v ? Mm(*v) : "—"; }
    std::string Short(double v, int decimals) const { return ShortText(v, decimals, sep); }
};

// The span and roller rows: nominal (without backlash) and, with a backlash, as drawn.
void AddMeasurementRows(Rows& r, const DataSheet& sheet, const WheelSheet& w) {
    const bool thinned = sheet.backlash > 0;
    if (w.hasSpan) {
        r.Add("Число зубьев в длине общей нормали", "k", std::to_string(w.k));
        if (!w.W || !w.WNominal) {
            r.Add("Длина общей нормали", "W", "не определяется");
        } else {
            r.Add("Длина общей нормали", "W", r.Mm(*w.WNominal));
            if (thinned) {
                r.Add("Длина общей нормали (с зазором)", "W", r.Mm(*w.W));
            }
        }
    }
    const std::string over = sheet.helical ? (w.internalTeeth ? "между шариками" : "по шарикам")
                                           : (w.internalTeeth ? "между роликами" : "по роликам");
    if (w.rollerRefusal) {
        r.Add("Размер " + over, "M", "не определяется");
        return;
    }
    r.Add(sheet.helical ? "Диаметр шарика" : "Диаметр ролика", "D", r.Short(*w.rollerD, 3));
    r.Add("Размер " + over, "M", r.Mm(w.MNominal));
    if (thinned) {
        r.Add("Размер " + over + " (с зазором)", "M", r.Mm(w.M));
    }
}

void AddRackRows(Rows& r, const SheetRack& rack) {
    if (IsGost13755(rack)) {
        r.Add("Нормальный исходный контур", "", "ГОСТ 13755-81");
        return;
    }
    r.Add("Исходный контур: угол профиля", "α", r.Short(rack.alpha, 6) + "°");
    r.Add("коэффициент высоты головки", "ha*", r.Short(rack.ha, kRackDigits));
    r.Add("коэффициент высоты ножки", "hf*", r.Short(rack.hf, kRackDigits));
    r.Add("коэффициент радиального зазора", "c*", r.Short(rack.c, kRackDigits));
    r.Add("коэф. радиуса переходной кривой", "ρf*", r.Short(rack.rf, kRackDigits));
}

ParameterTable GearTable(const DataSheet& sheet, std::size_t i, char sep) {
    const WheelSheet& w = sheet.wheels[i];
    const WheelSheet& mate = sheet.wheels[1 - i];
    ParameterTable table{Wheel(w), {}};
    Rows r{table.rows, sep};
    r.Add("Модуль", "m", r.Short(w.mn, kLength));
    r.Add("Число зубьев", "z", std::to_string(w.z));
    r.Add("Угол наклона зуба", "β", Dms(sheet.beta));
    r.Add("Направление линии зуба", "", HandWord(w.hand));
    AddRackRows(r, sheet.rack);
    r.Add("Коэффициент смещения", "x", r.Short(w.x, 4));
    r.Add("Степень точности", "", AccuracyCell(sheet));
    AddMeasurementRows(r, sheet, w);
    r.Add("Делительный диаметр", "d", r.Mm(w.d));
    r.Add("Число зубьев сопряжённого колеса", "z", std::to_string(mate.z));
    r.Add("Межосевое расстояние", "aw", r.Mm(sheet.mesh.aw));
    return table;
}

ParameterTable SplineTable(const DataSheet& sheet, char sep) {
    const WheelSheet& w = sheet.wheels.front();
    ParameterTable table{Wheel(w), {}};
    Rows r{table.rows, sep};
    const bool gost = sheet.spline == SplineNorm::Gost6033;
    r.Add("Модуль", "m", r.Short(w.mn, kLength));
    r.Add("Число зубьев", "z", std::to_string(w.z));
    r.Add("Угол профиля", "α", r.Short(sheet.rack.alpha, 6) + "°");
    const double nominal = GostSplineNominalDiameter(w.z, w.mn, w.x);
    if (gost) {
        r.Add("Номинальный диаметр", "D", r.Short(nominal, 3));
    }
    r.Add("Смещение исходного контура", "xm", r.Short(w.x * w.mn, kLength));
    // The hub's space width on d equals the tooth thickness of a shaft with the same shift;
    // the hub's own tooth is the rest of the pitch.
    ToothData t;
    t.z = w.z;
    t.mn = w.mn;
    t.alphaN = sheet.rack.alpha * kPi / 180;
    t.x = w.x;
    t.internal = w.internalTeeth;
    const double s = ReferenceThickness(t);
    if (w.internalTeeth) {
        r.Add("Ширина впадины", "e", r.Mm(kPi * w.mn - s));
    } else {
        r.Add("Толщина зуба", "s", r.Mm(s));
    }
    r.Add("Степень точности", "", AccuracyCell(sheet));
    AddMeasurementRows(r, sheet, w);
    r.Add("Делительный диаметр", "d", r.Mm(w.d));
    if (gost) {
        r.Add("Обозначение", "",
              r.Short(nominal, 3) + " × " + r.Short(w.mn, kLength) + " ГОСТ 6033-80");
    }
    return table;
}

// Characters on a terminal, as the sheet's text counts them.
std::size_t Width(const std::string& text) {
    std::size_t width = 0;
    for (const char ch : text) {
        width += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
    }
    return width;
}

std::string Padded(const std::string& text, std::size_t width) {
    const std::size_t w = Width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
        }
        out += ch;
    }
    return out + "\"";
}

}  // namespace

double GostSplineNominalDiameter(int z, double m, double x) {
    return m * (z + 1.1) + 2 * x * m;
}

std::vector<ParameterTable> MakeParameterTables(const DataSheet& sheet, char sep) {
    std::vector<ParameterTable> tables;
    if (!sheet.pair) {
        if (!sheet.wheels.empty()) {
            tables.push_back(SplineTable(sheet, sep));
        }
        return tables;
    }
    for (std::size_t i = 0; i < sheet.wheels.size() && sheet.wheels.size() == 2; ++i) {
        tables.push_back(GearTable(sheet, i, sep));
    }
    return tables;
}

std::string ParameterTablesText(const std::vector<ParameterTable>& tables) {
    std::size_t nameWidth = 0;
    std::size_t symbolWidth = 0;
    for (const ParameterTable& t : tables) {
        for (const ParameterRow& r : t.rows) {
            nameWidth = std::max(nameWidth, Width(r.name));
            symbolWidth = std::max(symbolWidth, Width(r.symbol));
        }
    }
    std::string out;
    for (const ParameterTable& t : tables) {
        out += "Таблица параметров: " + t.wheel + "\n";
        for (const ParameterRow& r : t.rows) {
            std::string line =
                Padded(r.name, nameWidth) + "  " + Padded(r.symbol, symbolWidth) + "  " + r.value;
            while (!line.empty() && line.back() == ' ') {
                line.pop_back();
            }
            out += line + "\n";
        }
    }
    return out;
}

std::string ParameterTablesJson(const std::vector<ParameterTable>& tables) {
    std::string out = "[";
    for (std::size_t i = 0; i < tables.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        out += "{\"wheel\": " + Json(tables[i].wheel) + ", \"rows\": [";
        for (std::size_t k = 0; k < tables[i].rows.size(); ++k) {
            const ParameterRow& r = tables[i].rows[k];
            out += (k == 0 ? "\n      " : ",\n      ");
            out += "{\"name\": " + Json(r.name) + ", \"symbol\": " + Json(r.symbol) +
                   ", \"value\": " + Json(r.value) + "}";
        }
        out += "]}";
    }
    return out + (tables.empty() ? "]" : "\n  ]");
}

namespace {

// A text of the table drawing, its baseline starting at `at`.
DxfTableText TableText(PointXY at, double height, const std::string& text) {
    DxfTableText t;
    t.x = at.X;
    t.y = at.Y;
    t.height = height;
    t.text = text;
    return t;
}

DxfTableLine TableLine(PointXY from, PointXY to) {
    DxfTableLine l;
    l.x1 = from.X;
    l.y1 = from.Y;
    l.x2 = to.X;
    l.y2 = to.Y;
    return l;
}

}  // namespace

DxfTableDrawing ParameterTablesDrawing(const std::vector<ParameterTable>& tables) {
    DxfTableDrawing drawing;
    // Text sits 2.75 mm above a row's lower edge, centred in the 8 mm row at 2.5 mm height.
    const double baseline = (kTableRow - kTableTextHeight) / 2;
    const double inset = 1.5;  // from a column's left edge, mm
    double left = 0;
    for (const ParameterTable& t : tables) {
        const double right = left + kTableWidth;
        const double bottom = -kTableRow * static_cast<double>(t.rows.size());
        drawing.texts.push_back(TableText({left, 3}, 3.5, t.wheel));
        for (std::size_t k = 0; k <= t.rows.size(); ++k) {
            const double y = -kTableRow * static_cast<double>(k);
            drawing.lines.push_back(TableLine({left, y}, {right, y}));
        }
        for (const double x :
             {left, left + kTableNameColumn, left + kTableNameColumn + kTableSymbolColumn, right}) {
            drawing.lines.push_back(TableLine({x, 0}, {x, bottom}));
        }
        for (std::size_t k = 0; k < t.rows.size(); ++k) {
            const double y = -kTableRow * static_cast<double>(k + 1) + baseline;
            const ParameterRow& r = t.rows[k];
            drawing.texts.push_back(TableText({left + inset, y}, kTableTextHeight, r.name));
            if (!r.symbol.empty()) {
                drawing.texts.push_back(
                    TableText({left + kTableNameColumn + inset, y}, kTableTextHeight, r.symbol));
            }
            if (!r.value.empty()) {
                drawing.texts.push_back(
                    TableText({left + kTableNameColumn + kTableSymbolColumn + inset, y},
                              kTableTextHeight, r.value));
            }
        }
        left = right + kTableGap;
    }
    return drawing;
}

}  // namespace tarvo
