// Long values and the buffer handed to the file.
#include "drawing/dxf_groups.h"

namespace tarvo {

void DxfGroups::LongCode(int code, std::string_view value) {
    Room(kCodeRoom);
    WriteCode(code);
    Flush();
    if (!fault_) {
        const FileStep wrote = file_.Write(value.data(), value.size());
        if (!wrote.ok()) {
            fault_ = wrote.fault();
        }
    }
    EndLine();
}

bool DxfGroups::Flush() {
    if (!fault_ && used_ > 0) {
        const FileStep wrote = file_.Write(buffer_.data(), used_);
        if (!wrote.ok()) {
            fault_ = wrote.fault();
        }
    }
    used_ = 0;
    return !fault_;
}

}  // namespace tarvo
