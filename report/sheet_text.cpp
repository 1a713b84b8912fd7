// Rows, warning sentences, plain text and JSON of the data sheet.
#include "report/sheet_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <optional>

#include "math/json_text.h"
#include "math/number_text.h"
#include "report/measure_text.h"
#include "report/parameter_table.h"

namespace tarvo {

namespace {

constexpr int kLength = 4;  // mm: a ten-thousandth, as span measurements are given
constexpr int kAngle = 4;   // degrees
constexpr int kTurn = 3;    // turn of wheel 1 in the mesh check, degrees

const char* const kDash = "—";
const char* const kNotFound = "не определяется";

std::string Whole(int v) {
    return std::to_string(v);
}

// A wheel of the sheet in words: as the column heading names it, as the object of "of"
// ("колеса 1", "вала"), and after "на" ("колесо 1").
struct WheelWords {
    const char* name;
    const char* of;
    const char* onto;
};

WheelWords WordsOf(WheelRole role) {
    switch (role) {
        case WheelRole::Pair:
            return {"Передача", "передачи", "передачу"};
        case WheelRole::Wheel1:
            return {"Колесо 1", "колеса 1", "колесо 1"};
        case WheelRole::Wheel2:
            return {"Колесо 2", "колеса 2", "колесо 2"};
        case WheelRole::Pinion:
            return {"Шестерня", "шестерни", "шестерню"};
        case WheelRole::Ring:
            return {"Колесо с внутренними зубьями", "колеса с внутренними зубьями",
                    "колесо с внутренними зубьями"};
        case WheelRole::Shaft:
            return {"Вал", "вала", "вал"};
        case WheelRole::Hub:
            return {"Втулка", "втулки", "втулку"};
    }
    return {"", "", ""};
}

std::string OfWheel(WheelRole role) {
    return WordsOf(role).of;
}
std::string OntoWheel(WheelRole role) {
    return WordsOf(role).onto;
}

// Characters on a terminal: UTF-8 continuation bytes take no room of their own.
std::size_t Width(const std::string& text) {
    std::size_t width = 0;
    for (const char ch : text) {
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++width;
        }
    }
    return width;
}

std::string PadRight(const std::string& text, std::size_t width) {
    const std::size_t w = Width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
    const std::size_t w = Width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

// Every number of the JSON form is a length in mm, an angle in degrees or a ratio. Rounded to
// a billionth the noise of the arithmetic goes (da 44.0000000000001 reads 44); beyond 1e6 the
// 15 significant digits are coarser than that already. Dividing the whole number of billionths
// by 1e9 (exact) gives the double nearest the decimal value.
constexpr double kJsonScale = 1e9;
constexpr double kJsonRoundedBelow = 1e6;

std::string JsonNumber(double v) {
    if (!std::isfinite(v)) {
        return "null";
    }
    if (std::fabs(v) < kJsonRoundedBelow) {
        v = std::round(v * kJsonScale) / kJsonScale;
        // A value rounded to zero has no minus sign.
        v = v == 0 ? 0.0 : v;
    }
    return GeneralText(v);
}

// A value that may be absent: null when it is.
std::string JsonNumber(const std::optional<double>& v) {
    return v ? JsonNumber(*v) : "null";
}

const char* KindName(BuilderCall::Kind kind) {
    switch (kind) {
        case BuilderCall::Kind::ExternalPair:
            return "external-pair";
        case BuilderCall::Kind::InternalPair:
            return "internal-pair";
        case BuilderCall::Kind::Spline:
            return "spline";
    }
    return "";
}

const char* WarningName(SheetWarningKind kind) {
    // In the order of SheetWarningKind: the names JSON gives the warnings.
    static constexpr const char* kNames[] = {
        "low-contact-ratio", "pointed-tooth", "interference", "overlap",       "mesh-not-checked",
        "undercut",          "jam",           "span-refused", "roller-refused"};
    static_assert(
        std::size(kNames) == static_cast<std::size_t>(SheetWarningKind::RollerRefused) + 1,
        "a name for every warning");
    return kNames[static_cast<std::size_t>(kind)];
}

std::string Prefixed(const std::string& prefix, const std::string& text) {
    return text.empty() ? text : prefix + text;
}

// "21 точке", "22 точках" (after "при"): the count's own form of the word.
std::string PointsAfterAt(int n) {
    return Whole(n) + (n % 10 == 1 && n % 100 != 11 ? " точке" : " точках");
}

// What clears an overlap of the drawn outlines, found by rebuilding the pair in memory, as a
// sentence that follows the warning (nothing when no search was made).
std::string RemedyText(const std::optional<OverlapRemedy>& sought, char sep) {
    if (!sought) {
        return {};
    }
    const OverlapRemedy& remedy = *sought;
    switch (remedy.verdict) {
        case OverlapRemedy::Verdict::MorePoints:
            return "Причина — хорды между редкими точками: перекрытия нет при " +
                   PointsAfterAt(remedy.filletPoints) + " переходной кривой" +
                   (remedy.moreInvolutePoints
                        ? " и " + PointsAfterAt(remedy.involutePoints) + " эвольвенты."
                        : std::string("."));
        case OverlapRemedy::Verdict::InGeometry:
            return "Перекрытие — в самой геометрии зубьев: его не устраняет никакое допустимое "
                   "число точек; при " +
                   PointsAfterAt(kMaxAccPer) + " переходной кривой и " + PointsAfterAt(kMaxAccEv) +
                   " эвольвенты остаётся " + FixedText(remedy.finestDepth, kLength, sep) +
                   " мм при повороте колеса 1 на " + FixedText(remedy.finestTurn, kTurn, sep) +
                   "°.";
    }
    return {};
}

// null when nothing was sought; the counts only where they clear the overlap.
std::string RemedyJson(const std::optional<OverlapRemedy>& sought) {
    if (!sought) {
        return "null";
    }
    const OverlapRemedy& remedy = *sought;
    switch (remedy.verdict) {
        case OverlapRemedy::Verdict::MorePoints:
            return "{\"verdict\": \"more-points\", \"fillet_points\": " +
                   Whole(remedy.filletPoints) +
                   ", \"involute_points\": " + Whole(remedy.involutePoints) + "}";
        case OverlapRemedy::Verdict::InGeometry:
            return "{\"verdict\": \"in-geometry\", \"finest_depth\": " +
                   JsonNumber(remedy.finestDepth) +
                   ", \"finest_turn_deg\": " + JsonNumber(remedy.finestTurn) + "}";
    }
    return "null";
}

// The sentence on the tolerance that clears an overlap (nothing when none was sought).
std::string ToleranceRemedyText(const std::optional<OverlapTolerance>& sought, char sep) {
    if (!sought) {
        return {};
    }
    const OverlapTolerance& remedy = *sought;
    if (remedy.tolerance) {
        return "Перекрытия нет и при допуске на отклонение контура " +
               ShortText(*remedy.tolerance, 6, sep) + " мм.";
    }
    const double finest = kRemedyTolerances[std::size(kRemedyTolerances) - 1];
    return "Допуск на отклонение контура до " + ShortText(finest, 6, sep) + " мм его не устраняет.";
}

std::string ToleranceRemedyJson(const std::optional<OverlapTolerance>& sought) {
    if (!sought) {
        return "null";
    }
    const OverlapTolerance& remedy = *sought;
    return std::string("{\"found\": ") + (remedy.tolerance ? "true" : "false") +
           ", \"tolerance\": " + (remedy.tolerance ? JsonNumber(*remedy.tolerance) : "null") + "}";
}

// The check of the drawn outlines as a JSON object, with what clears an overlap.
std::string MeshCheckJson(const PairSheet& p) {
    if (!p.mesh.ok()) {
        return "{\"error\": " + JsonString(p.mesh.fault()) + "}";
    }
    const MeshClearance& m = p.mesh.value();
    return "{\"positions\": " + Whole(m.positions) +
           ", \"step_deg\": " + JsonNumber(m.stepDegrees) +
           ", \"drawn_clearance\": " + JsonNumber(m.drawnClearance) +
           ", \"min_clearance\": " + JsonNumber(m.minClearance) +
           ", \"min_clearance_turn_deg\": " + JsonNumber(m.minClearanceTurn) +
           ", \"overlap\": " + (m.overlap ? "true" : "false") +
           ", \"overlap_depth\": " + JsonNumber(m.overlapDepth) +
           ", \"overlap_area\": " + JsonNumber(m.overlapArea) +
           ", \"overlap_turn_deg\": " + JsonNumber(m.overlapTurn) +
           ", \"overlap_remedy\": " + RemedyJson(p.remedy) +
           ", \"overlap_tolerance\": " + ToleranceRemedyJson(p.toleranceRemedy) + "}";
}

}  // namespace

std::string FixedText(double v, int decimals, char separator) {
    if (!std::isfinite(v)) {
        return kDash;
    }
    if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) {
        v = 0;  // no "-0.0000"
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    for (char& ch : text) {
        if (ch == '.') {
            ch = separator;
        }
    }
    return text;
}

std::string ShortText(double v, int decimals, char separator) {
    std::string text = FixedText(v, decimals, separator);
    if (text.find(separator) == std::string::npos) {
        return text;
    }
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == separator) {
        text.pop_back();
    }
    return text;
}

namespace {

// The root as drawn and, where it differs, as the basic rack cuts it: the drawing's fillet is
// that of an equivalent rack, which runs deeper on shifted external teeth.
template <typename Row>
void AddRootRows(const DataSheet& sheet, Row& row, char sep) {
    bool differs = false;
    for (const WheelSheet& w : sheet.wheels) {
        differs = differs || (w.rackCut && std::fabs(w.df - w.dfRack) > kRootDifference);
    }
    if (!differs) {
        row("Диаметр впадин df, мм",
            [sep](const WheelSheet& w) { return FixedText(w.df, kLength, sep); });
        return;
    }
    row("Диаметр впадин df на чертеже, мм",
        [sep](const WheelSheet& w) { return FixedText(w.df, kLength, sep); });
    row("Диаметр впадин df при нарезании рейкой, мм", [sep](const WheelSheet& w) {
        return w.rackCut ? FixedText(w.dfRack, kLength, sep) : std::string(kDash);
    });
}

// Span, tip thickness and rollers: measurements of the teeth as drawn, which with a backlash
// are thinner than the nominal ones; the labels say so.
template <typename Row>
void AddMeasurementRows(const DataSheet& sheet, Row& row, char sep) {
    const std::string thinned = sheet.backlash > 0 ? " (с боковым зазором)" : "";
    bool anySpan = false;
    bool anyInternal = false;
    for (const WheelSheet& w : sheet.wheels) {
        anySpan = anySpan || w.hasSpan;
        anyInternal = anyInternal || w.internalTeeth;
    }
    if (anySpan) {
        row("Зубьев в длине общей нормали k",
            [](const WheelSheet& w) { return w.hasSpan ? Whole(w.k) : std::string(kDash); });
        row("Длина общей нормали W" + thinned + ", мм", [sep](const WheelSheet& w) {
            return !w.hasSpan ? std::string(kDash)
                   : !w.W     ? std::string(kNotFound)
                              : FixedText(*w.W, kLength, sep);
        });
    }
    // A helical wheel's tip thickness is measured square to the tooth line; the transverse one
    // is given beside it.
    if (sheet.helical) {
        row("Нормальная толщина зуба на вершине sna" + thinned + ", мм",
            [sep](const WheelSheet& w) { return FixedText(w.tipThickness, kLength, sep); });
        row("Торцовая толщина зуба на вершине sat" + thinned + ", мм",
            [sep](const WheelSheet& w) { return FixedText(w.tipThicknessT, kLength, sep); });
    } else {
        row("Толщина зуба по окружности вершин sa" + thinned + ", мм",
            [sep](const WheelSheet& w) { return FixedText(w.tipThickness, kLength, sep); });
    }
    auto roller = [sep](bool internal) {
        return [sep, internal](const WheelSheet& w) {
            if (w.internalTeeth != internal) {
                return std::string(kDash);
            }
            return !w.M ? std::string(kNotFound)
                        : FixedText(*w.M, kLength, sep) + " (D = " + ShortText(*w.rollerD, 3, sep) +
                              ")";
        };
    };
    // A helical wheel is measured over balls, which touch its flanks in one transverse section.
    const std::string over = sheet.helical ? "по шарикам" : "по роликам";
    const std::string between = sheet.helical ? "между шариками" : "между роликами";
    if (anySpan) {
        row("Размер " + over + " M" + thinned + ", мм", roller(false));
    }
    if (anyInternal) {
        row("Размер " + between + " M" + thinned + ", мм", roller(true));
    }
}

// How far the drawn chords stray from the exact curves, in micrometres, with the side they err
// to; and the points of one flank.
std::string SideWords(const ChordDeviation& d) {
    if (!(d.largest() > 0)) {
        return {};
    }
    return d.errsIntoSpace() ? " (во впадину)" : " (в тело зуба)";
}

std::string Micrometres(double mm, char sep) {
    return ShortText(mm * 1000, 3, sep);
}

template <typename Row>
void AddAccuracyRows(const DataSheet& sheet, Row& row, char sep) {
    const std::string within =
        sheet.tolerance > 0 ? " (допуск " + Micrometres(sheet.tolerance, sep) + ")" : "";
    row("Точек на профиле: эвольвента + переходная кривая", [](const WheelSheet& w) {
        if (!w.accuracy) {
            return std::string(kDash);
        }
        const FlankDeviation& f = w.accuracy->flank;
        return Whole(f.involutePoints) + " + " + Whole(f.filletPoints);
    });
    auto deviation = [sep](const ChordDeviation WheelAccuracy::*part) {
        return [sep, part](const WheelSheet& w) {
            if (!w.accuracy) {
                return std::string(kDash);
            }
            const ChordDeviation& d = (*w.accuracy).*part;
            return Micrometres(d.largest(), sep) + SideWords(d);
        };
    };
    auto member = [sep](bool fillet) {
        return [sep, fillet](const WheelSheet& w) {
            if (!w.accuracy) {
                return std::string(kDash);
            }
            const FlankDeviation& f = w.accuracy->flank;
            const ChordDeviation& d = fillet ? f.fillet : f.involute;
            return Micrometres(d.largest(), sep) + SideWords(d);
        };
    };
    row("Отклонение хорд от эвольвенты" + within + ", мкм", member(false));
    row("Отклонение хорд от переходной кривой" + within + ", мкм", member(true));
    row("Хорда вершины зуба: отклонение от окружности, мкм", deviation(&WheelAccuracy::tipLand));
    row("Хорда впадины: отклонение от окружности, мкм", deviation(&WheelAccuracy::rootLand));
}

// A deviation in JSON, mm: the largest, its side and both sides.
std::string DeviationJson(const ChordDeviation& d) {
    return "{\"largest\": " + JsonNumber(d.largest()) + ", \"side\": \"" +
           (d.errsIntoSpace() ? "space" : "tooth") +
           "\", \"into_tooth\": " + JsonNumber(d.intoTooth) +
           ", \"into_space\": " + JsonNumber(d.intoSpace) + "}";
}

std::string AccuracyJson(const std::optional<WheelAccuracy>& known) {
    if (!known) {
        return "null";
    }
    const WheelAccuracy& a = *known;
    return "{\"involute_points\": " + Whole(a.flank.involutePoints) +
           ", \"fillet_points\": " + Whole(a.flank.filletPoints) +
           ", \"involute\": " + DeviationJson(a.flank.involute) +
           ", \"fillet\": " + DeviationJson(a.flank.fillet) +
           ", \"tip_land\": " + DeviationJson(a.tipLand) +
           ", \"root_land\": " + DeviationJson(a.rootLand) + "}";
}

// The sentences about where a mate's tip reaches and what the rack leaves on a wheel.
std::string InterferenceLine(const DataSheet& sheet, const SheetWarning& warning, char sep) {
    const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
    const WheelSheet& mate = sheet.wheels[static_cast<std::size_t>(warning.mate)];
    return "Интерференция: вершина зуба " + OfWheel(mate.role) + " заходит на " +
           OntoWheel(w.role) +
           (w.internalTeeth ? " дальше начала эвольвенты: до диаметра "
                            : " ниже начала эвольвенты: до диаметра ") +
           FixedText(w.activeStart, kLength, sep) + " мм, эвольвента начинается на диаметре " +
           FixedText(w.formDiameter, kLength, sep) + " мм.";
}

std::string JamLine(const DataSheet& sheet, const SheetWarning& warning) {
    const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
    const WheelSheet& mate = sheet.wheels[static_cast<std::size_t>(warning.mate)];
    return "Вершина зуба " + OfWheel(mate.role) +
           " выходит за точку касания линии зацепления с основной окружностью " + OfWheel(w.role) +
           ": зубья заклинит.";
}

std::string UndercutLine(const DataSheet& sheet, const SheetWarning& warning, char sep) {
    const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
    return "Подрезание ножки зуба " + OfWheel(w.role) +
           " исходной рейкой: x = " + ShortText(w.x, 4, sep) +
           " меньше xmin = " + FixedText(w.xMin, 4, sep) + ".";
}

std::string HandJson(std::optional<Hand> hand) {
    if (!hand) {
        return "null";
    }
    switch (*hand) {
        case Hand::Right:
            return "\"right\"";
        case Hand::Left:
            return "\"left\"";
    }
    return "null";
}

// The span over k teeth as drawn and without backlash; with a refusal W is null and the
// reason is given.
std::string SpanJson(const WheelSheet& w) {
    if (!w.hasSpan) {
        return "null";
    }
    std::string out = "{\"k\": " + Whole(w.k) + ", \"W\": " + JsonNumber(w.W) +
                      ", \"W_nominal\": " + JsonNumber(w.WNominal) +
                      ", \"contact_diameter\": " + JsonNumber(w.spanContact);
    if (w.spanRefusal) {
        out += ", \"reason\": " + JsonString(SpanRefusalLine(w, OfWheel(w.role), '.'));
    }
    return out + "}";
}

std::string RollersJson(const WheelSheet& w, bool helical) {
    std::string out = "{\"D\": " + JsonNumber(w.rollerD) + ", \"M\": " + JsonNumber(w.M) +
                      ", \"M_nominal\": " + JsonNumber(w.MNominal) +
                      ", \"contact_diameter\": " + JsonNumber(w.rollerContact) +
                      ", \"between\": " + (w.internalTeeth ? "true" : "false");
    if (w.rollerRefusal) {
        out += ", \"reason\": " + JsonString(RollerRefusalLine(w, OfWheel(w.role), helical, '.'));
    }
    return out + "}";
}

// One wheel of the JSON form, on one line.
std::string WheelJson(const WheelSheet& w, bool pair, bool helical) {
    std::string out =
        "{\"name\": " + JsonString(WordsOf(w.role).name) +
        ", \"internal_teeth\": " + (w.internalTeeth ? "true" : "false") + ", \"z\": " + Whole(w.z) +
        ", \"mn\": " + JsonNumber(w.mn) + ", \"mt\": " + JsonNumber(w.mt) +
        ", \"d\": " + JsonNumber(w.d) + ", \"da\": " + JsonNumber(w.da) +
        ", \"df\": " + JsonNumber(w.df) + ", \"db\": " + JsonNumber(w.db) +
        ", \"x\": " + JsonNumber(w.x) + ", \"hand\": " + HandJson(w.hand) +
        ", \"involute\": {\"from\": " + JsonNumber(w.involute.from) +
        ", \"to\": " + JsonNumber(w.involute.to) + "}, \"span\": " + SpanJson(w) +
        ", \"sna\": " + JsonNumber(w.tipThickness) + ", \"sat\": " + JsonNumber(w.tipThicknessT) +
        ", \"backlash_thinning\": " + JsonNumber(w.thinning) +
        ", \"rollers\": " + RollersJson(w, helical);
    if (w.rackCut) {
        out += ", \"df_rack\": " + JsonNumber(w.dfRack) + ", \"x_min\": " + JsonNumber(w.xMin) +
               ", \"undercut\": " + (w.undercut ? "true" : "false");
    }
    if (pair) {
        // Past the base tangent point the reach has no meaning: the teeth jam.
        out += ", \"jam\": " + std::string(w.jam ? "true" : "false") +
               ", \"active_profile_start\": " +
               (w.jam ? std::string("null") : JsonNumber(w.activeStart));
    }
    out += ", \"chord_deviation\": " + AccuracyJson(w.accuracy);
    if (w.checkedInterference) {
        out += ", \"form_diameter\": " + JsonNumber(w.formDiameter) +
               ", \"interference\": " + (w.interference ? "true" : "false");
    }
    return out + "}";
}

}  // namespace

SheetTable MakeSheetTable(const DataSheet& sheet, char sep) {
    SheetTable table;
    const std::vector<WheelSheet>& wheels = sheet.wheels;
    for (const WheelSheet& w : wheels) {
        table.headings.push_back(std::string(WordsOf(w.role).name) +
                                 (sheet.pair && w.internalTeeth ? " (внутр.)" : ""));
    }
    auto row = [&](const std::string& label, auto cell) {
        SheetRow r{label, {}};
        for (const WheelSheet& w : wheels) {
            r.cells.push_back(cell(w));
        }
        table.wheelRows.push_back(r);
    };
    row("Число зубьев z", [](const WheelSheet& w) { return Whole(w.z); });
    row(sheet.helical ? "Модуль нормальный mn, мм" : "Модуль m, мм",
        [sep](const WheelSheet& w) { return ShortText(w.mn, kLength, sep); });
    if (sheet.helical) {
        row("Модуль торцовый mt, мм",
            [sep](const WheelSheet& w) { return ShortText(w.mt, kLength, sep); });
    }
    row("Делительный диаметр d, мм",
        [sep](const WheelSheet& w) { return FixedText(w.d, kLength, sep); });
    row("Диаметр вершин da, мм",
        [sep](const WheelSheet& w) { return FixedText(w.da, kLength, sep); });
    AddRootRows(sheet, row, sep);
    row("Основной диаметр db, мм",
        [sep](const WheelSheet& w) { return FixedText(w.db, kLength, sep); });
    row("Коэффициент смещения x", [sep](const WheelSheet& w) { return ShortText(w.x, 4, sep); });
    AddMeasurementRows(sheet, row, sep);
    AddAccuracyRows(sheet, row, sep);
    if (!sheet.pair) {
        return table;
    }
    const PairSheet& p = sheet.mesh;
    auto pairRow = [&](const std::string& label, const std::string& cell) {
        table.pairRows.push_back({label, {cell}});
    };
    pairRow("Межосевое расстояние aw, мм", FixedText(p.aw, kLength, sep));
    pairRow("Угол зацепления αtw, °", FixedText(p.alphaTw, kAngle, sep));
    pairRow("Коэф. торцового перекрытия εα", FixedText(p.epsAlpha, kContactRatioDecimals, sep));
    if (!p.mesh.ok()) {
        pairRow("Проверка зацепления по чертежу", "не выполнена");
        return table;
    }
    const MeshClearance& m = p.mesh.value();
    pairRow("Зазор на чертеже, мм", FixedText(m.drawnClearance, kLength, sep));
    pairRow("Наименьший зазор за шаг, мм", FixedText(m.minClearance, kLength, sep));
    pairRow("Проверено положений за шаг",
            Whole(m.positions) + " через " + FixedText(m.stepDegrees, kTurn, sep) + "°");
    pairRow("Перекрытие контуров, мм", m.overlap
                                           ? FixedText(m.overlapDepth, kLength, sep) + " при " +
                                                 FixedText(m.overlapTurn, kTurn, sep) + "°"
                                           : std::string("нет"));
    return table;
}

std::vector<std::string> WarningLines(const DataSheet& sheet, char sep) {
    std::vector<std::string> lines;
    for (const SheetWarning& warning : sheet.warnings) {
        switch (warning.kind) {
            case SheetWarningKind::LowContactRatio:
                lines.push_back("Коэффициент торцового перекрытия εα = " +
                                FixedText(sheet.mesh.epsAlpha, kContactRatioDecimals, sep) +
                                " меньше " +
                                FixedText(kMinContactRatio, kContactRatioDecimals, sep) +
                                ": зацепление не обеспечит плавной работы.");
                break;
            case SheetWarningKind::PointedTooth: {
                const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
                lines.push_back(
                    "Заострение зуба " + OfWheel(w.role) + ": толщина на окружности вершин " +
                    FixedText(w.tipThickness, kLength, sep) + " мм меньше " +
                    ShortText(kMinTipThickness, 2, sep) +
                    "·m = " + FixedText(kMinTipThickness * w.mn, kLength, sep) + " мм.");
                break;
            }
            case SheetWarningKind::Interference:
                lines.push_back(InterferenceLine(sheet, warning, sep));
                break;
            case SheetWarningKind::Jam:
                lines.push_back(JamLine(sheet, warning));
                break;
            case SheetWarningKind::Undercut:
                lines.push_back(UndercutLine(sheet, warning, sep));
                break;
            case SheetWarningKind::Overlap:
                lines.push_back(
                    "Контуры на чертеже перекрываются: на глубину до " +
                    FixedText(sheet.mesh.mesh->overlapDepth, kLength, sep) + " мм (общая площадь " +
                    FixedText(sheet.mesh.mesh->overlapArea, 6, sep) +
                    " мм²) при повороте колеса 1 на " +
                    FixedText(sheet.mesh.mesh->overlapTurn, kTurn, sep) + "°." +
                    Prefixed(" ", RemedyText(sheet.mesh.remedy, sep)) +
                    Prefixed(" ", ToleranceRemedyText(sheet.mesh.toleranceRemedy, sep)));
                break;
            case SheetWarningKind::MeshNotChecked:
                lines.push_back("Зацепление по чертежу не проверено: " + sheet.mesh.mesh.fault() +
                                ".");
                break;
            case SheetWarningKind::SpanRefused: {
                const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
                lines.push_back(SpanRefusalLine(w, OfWheel(w.role), sep));
                break;
            }
            case SheetWarningKind::RollerRefused: {
                const WheelSheet& w = sheet.wheels[static_cast<std::size_t>(warning.wheel)];
                lines.push_back(RollerRefusalLine(w, OfWheel(w.role), sheet.helical, sep));
                break;
            }
        }
    }
    return lines;
}

std::string DataSheetText(const DataSheetResult& made) {
    if (!made.ok()) {
        return "Данные для чертежа не получены: " + made.fault() + "\n";
    }
    const DataSheet& sheet = made.value();
    const SheetTable table = MakeSheetTable(sheet);
    std::size_t labelWidth = 0;
    for (const auto* rows : {&table.wheelRows, &table.pairRows}) {
        for (const SheetRow& r : *rows) {
            labelWidth = std::max(labelWidth, Width(r.label));
        }
    }
    std::size_t cellWidth = 0;
    for (const std::string& h : table.headings) {
        cellWidth = std::max(cellWidth, Width(h));
    }
    for (const SheetRow& r : table.wheelRows) {
        for (const std::string& c : r.cells) {
            cellWidth = std::max(cellWidth, Width(c));
        }
    }
    std::string out = "Данные для чертежа\n";
    std::string heading = PadRight("", labelWidth);
    for (const std::string& h : table.headings) {
        heading += "  " + PadLeft(h, cellWidth);
    }
    out += heading + "\n";
    for (const SheetRow& r : table.wheelRows) {
        std::string line = PadRight(r.label, labelWidth);
        for (const std::string& c : r.cells) {
            line += "  " + PadLeft(c, cellWidth);
        }
        out += line + "\n";
    }
    if (!table.pairRows.empty()) {
        out += "Зацепление\n";
        for (const SheetRow& r : table.pairRows) {
            out += PadRight(r.label, labelWidth) + "  " + r.cells.front() + "\n";
        }
    }
    out += ParameterTablesText(MakeParameterTables(sheet));
    const std::vector<std::string> warnings = WarningLines(sheet);
    if (!warnings.empty()) {
        out += "Предупреждения\n";
        for (const std::string& w : warnings) {
            out += "! " + w + "\n";
        }
    }
    return out;
}

std::string DataSheetJson(const DataSheetResult& made, const std::string& path,
                          const std::string& input) {
    std::string out = "{\n  \"file\": " + JsonString(path) + ",\n";
    if (!input.empty()) {
        out += "  \"input\": " + input + ",\n";
    }
    if (!made.ok()) {
        return out + "  \"error\": " + JsonString(made.fault()) + "\n}\n";
    }
    const DataSheet& sheet = made.value();
    out += "  \"kind\": \"" + std::string(KindName(sheet.kind)) + "\",\n";
    out += "  \"helical\": " + std::string(sheet.helical ? "true" : "false") + ",\n";
    out += "  \"backlash\": " + JsonNumber(sheet.backlash) + ",\n";
    out += "  \"tolerance\": " +
           (sheet.tolerance > 0 ? JsonNumber(sheet.tolerance) : std::string("null")) + ",\n";
    out += "  \"wheels\": [";
    for (std::size_t i = 0; i < sheet.wheels.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += "    " + WheelJson(sheet.wheels[i], sheet.pair, sheet.helical);
    }
    out += "\n  ],\n  \"pair\": ";
    if (sheet.pair) {
        const PairSheet& p = sheet.mesh;
        out += "{\"aw\": " + JsonNumber(p.aw) + ", \"alpha_tw_deg\": " + JsonNumber(p.alphaTw) +
               ", \"eps_alpha\": " + JsonNumber(p.epsAlpha) +
               ",\n    \"mesh_check\": " + MeshCheckJson(p) + "}";
    } else {
        out += "null";
    }
    out += ",\n  \"parameter_table\": " + ParameterTablesJson(MakeParameterTables(sheet));
    out += ",\n  \"warnings\": [";
    const std::vector<std::string> lines = WarningLines(sheet);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"kind\": \"" + std::string(WarningName(sheet.warnings[i].kind)) +
               "\", \"text\": " + JsonString(lines[i]) + "}";
    }
    out += lines.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace tarvo
