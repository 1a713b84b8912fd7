// The operating system's reason for a failed file or folder operation, in the designer's
// language: the common causes (folder missing, no permission, disk full, read-only medium, name
// too long, a folder where a file should be) in Russian, anything else in the system's words.
#pragma once

#include <string>

namespace tarvo {

// `systemText` as std::system_category() words it; the Russian wording when it is one of the
// common causes, otherwise `systemText` unchanged.
std::string RussianOsReason(const std::string& systemText);

}  // namespace tarvo
