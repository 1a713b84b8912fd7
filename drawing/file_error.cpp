// The category of the writer's own refusals.
#include "drawing/file_error.h"

#include <string>

namespace tarvo {

namespace {

class FileRefusalCategoryImpl final : public std::error_category {
  public:
    const char* name() const noexcept override { return "tarvo.file"; }
    // Log text only; app/ words the refusal for the designer.
    std::string message(int code) const override {
        switch (static_cast<FileRefusal>(code)) {
            case FileRefusal::NotRegularFile:
                return "not a regular file";
        }
        return "unknown file refusal";
    }
};

}  // namespace

const std::error_category& FileRefusalCategory() {
    static const FileRefusalCategoryImpl category;
    return category;
}

std::error_code MakeErrorCode(FileRefusal refusal) {
    return {static_cast<int>(refusal), FileRefusalCategory()};
}

}  // namespace tarvo
