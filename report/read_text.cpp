// One table of the reader's faults in words; the file or line they concern is added to each.
#include "report/read_text.h"

namespace tarvo {

namespace {

const char* Words(DxfReadFault fault) {
    switch (fault) {
        case DxfReadFault::CannotOpen:
            return "файл не открывается";
        case DxfReadFault::CannotRead:
            return "файл не читается";
        case DxfReadFault::CodeWithoutValue:
            return "у кода группы нет значения";
        case DxfReadFault::CodeNotNumber:
            return "код группы не число";
        case DxfReadFault::CoordinateNotNumber:
            return "координата не число";
        case DxfReadFault::NoEof:
            return "файл обрывается: нет EOF";
        case DxfReadFault::PolylineNotEnded:
            return "полилиния не закончена (нет SEQEND)";
        case DxfReadFault::PolylineInPolyline:
            return "новая полилиния до SEQEND предыдущей";
        case DxfReadFault::VertexOutsidePolyline:
            return "VERTEX вне полилинии";
        case DxfReadFault::VertexWithoutCoordinates:
            return "у VERTEX нет координат 10 и 20";
        case DxfReadFault::SeqendWithoutPolyline:
            return "SEQEND без полилинии";
        case DxfReadFault::LineWithoutCoordinates:
            return "у LINE нет координат 10, 20, 11 и 21";
    }
    return "";
}

}  // namespace

std::string DescribeDxfRead(const DxfReadError& read) {
    std::string text = Words(read.fault);
    if (!read.detail.empty()) {
        text += ": " + read.detail;
    }
    const bool wholeFile =
        read.fault == DxfReadFault::CannotOpen || read.fault == DxfReadFault::CannotRead;
    return wholeFile ? text : "строка " + std::to_string(read.line) + ": " + text;
}

}  // namespace tarvo
