// The reason a file or folder operation failed, in the designer's language: each cause a
// designer can act on (folder missing, no permission, disk full, read-only medium, name too
// long, a folder or a device where a drawing file should be, ...) in Russian words of its own;
// any other error in a general Russian sentence that keeps the system's words for a support
// question.
#pragma once

#include <string>
#include <system_error>

namespace tarvo {

// `error` as the operating system (std::system_category or std::generic_category) or the
// drawing writer (FileRefusal) reported it.
std::string RussianOsReason(const std::error_code& error);

}  // namespace tarvo
