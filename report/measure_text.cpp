// The sentences for a refused span or roller.
#include "report/measure_text.h"

#include "report/sheet_text.h"

namespace tarvo {

namespace {

constexpr int kLength = 4;  // mm, as the sheet's other lengths

std::string Mm(double v, char sep) {
    return FixedText(v, kLength, sep) + " мм";
}

// "от 41,3 до 44 мм": the drawn involute, from the smaller diameter.
std::string InvoluteRange(const InvoluteSpan& span, char sep) {
    const double low = span.from < span.to ? span.from : span.to;
    const double high = span.from < span.to ? span.to : span.from;
    return "от " + FixedText(low, kLength, sep) + " до " + Mm(high, sep);
}

}  // namespace

std::string SpanRefusalLine(const WheelSheet& w, const std::string& ofWheel, char sep) {
    const SpanRefusal& r = *w.spanRefusal;
    return "Длина общей нормали для " + ofWheel +
           " не определяется: ни при каком числе зубьев k губки не касаются эвольвенты на "
           "чертеже (" +
           InvoluteRange(w.involute, sep) + "); при k = " + std::to_string(r.k) +
           " касание на диаметре " + Mm(r.contactD, sep) + ".";
}

std::string RollerRefusalLine(const WheelSheet& w, const std::string& ofWheel, bool helical,
                              char sep) {
    const RollerRefusal& r = *w.rollerRefusal;
    const std::string what = helical ? "шарик" : "ролик";
    // Every fault but NoGaugeSize names a roller that was placed, and all but NoPosition and
    // OffInvolute one that touches the flanks.
    const auto roller = [&] { return what + " D = " + ShortText(*r.D, 3, sep) + " мм"; };
    const auto touching = [&] {
        return " (касание профиля на диаметре " + Mm(*r.contactD, sep) + ")";
    };
    std::string reason;
    switch (r.fault) {
        case RollerFault::NoPosition:
            reason = roller() + " не ложится на оба профиля впадины";
            break;
        case RollerFault::OffInvolute:
            reason = r.contactD.value_or(0) > 0
                         ? roller() + " касается профиля на диаметре " + Mm(*r.contactD, sep) +
                               ", вне эвольвенты на чертеже (" + InvoluteRange(w.involute, sep) +
                               ")"
                         : roller() +
                               " касался бы профиля ниже основной окружности, где "
                               "эвольвенты нет";
            break;
        case RollerFault::NotProtruding:
            reason = w.internalTeeth
                         ? roller() + touching() + " не заходит за вершины зубьев: dM − D = " +
                               Mm(*r.centreD - *r.D, sep) + " не меньше da = " + Mm(w.da, sep)
                         : roller() + touching() +
                               " не выступает за вершины зубьев: M = " + Mm(*r.M, sep) +
                               " не больше da = " + Mm(w.da, sep);
            break;
        case RollerFault::HitsRoot:
            reason = roller() + touching() + " врезается в переходную кривую или дно впадины";
            break;
        case RollerFault::NoGaugeSize:
            reason = "ни один " + what + " ряда калибров не касается эвольвенты на чертеже (" +
                     InvoluteRange(w.involute, sep) + ")";
            break;
    }
    const std::string measurement = helical ? "Размер по шарикам" : "Размер по роликам";
    return measurement + " для " + ofWheel + " не определяется: " + reason + ".";
}

}  // namespace tarvo
