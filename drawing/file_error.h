// Why a drawing file was refused before the operating system was asked to write it: the target
// is a device, a pipe, a socket or a folder where a drawing file should be. The operating
// system's own failures travel as std::error_code in the system category; these in their own.
#pragma once

#include <system_error>

namespace tarvo {

enum class FileRefusal {
    NotRegularFile = 1,  // a device, FIFO or socket, directly or through links
};

const std::error_category& FileRefusalCategory();

std::error_code MakeErrorCode(FileRefusal refusal);

}  // namespace tarvo
