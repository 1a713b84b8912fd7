// One table of the reader's faults in words; the file or line they concern is added to each.
#include "report/read_text.h"

#include <cstddef>
#include <iterator>

namespace tarvo {

namespace {

const char* Words(DxfReadFault fault) {
    // In the order of DxfReadFault.
    static constexpr const char* kWords[] = {"файл не открывается",
                                             "файл не читается",
                                             "у кода группы нет значения",
                                             "код группы не число",
                                             "координата не число",
                                             "файл обрывается: нет EOF",
                                             "полилиния не закончена (нет SEQEND)",
                                             "новая полилиния до SEQEND предыдущей",
                                             "VERTEX вне полилинии",
                                             "у VERTEX нет координат 10 и 20",
                                             "SEQEND без полилинии",
                                             "у LINE нет координат 10, 20, 11 и 21",
                                             "слишком длинная строка, предел в байтах"};
    static_assert(std::size(kWords) == static_cast<std::size_t>(DxfReadFault::LineTooLong) + 1,
                  "words for every fault");
    return kWords[static_cast<std::size_t>(fault)];
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
