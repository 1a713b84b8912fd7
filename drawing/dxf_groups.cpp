// Long values and the buffer handed to the file.
#include "drawing/dxf_groups.h"

namespace tarvo {

void DxfGroups::LongCode(int code, std::string_view value) {
    Room(kCodeRoom);
    WriteCode(code);
    Flush();
    if (!failed_ && !file_.Write(value.data(), value.size())) {
        failed_ = true;
    }
    EndLine();
}

bool DxfGroups::Flush() {
    if (!failed_ && used_ > 0 && !file_.Write(buffer_.data(), used_)) {
        failed_ = true;
    }
    used_ = 0;
    return !failed_;
}

}  // namespace tarvo
