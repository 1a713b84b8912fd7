// What a drawing builder tells its caller: the file was written, or why not, in the words the
// designer reads in the message box.
#pragma once

#include <string>

#include "profile/geometry_fault.h"

namespace tarvo {

enum class DrawStatus {
    Written,          // the drawing is in its file
    GeometryRefused,  // the data give no drawable teeth; nothing was written
    FileNotWritten,   // the file could not be created or written; any old file is untouched
};

struct DrawResult {
    DrawStatus status = DrawStatus::Written;
    GeometryError geometry;  // with GeometryRefused
    std::string fileReason;  // the operating system's words, with FileNotWritten

    // The reason as one Russian sentence (empty when written).
    std::string Reason() const {
        switch (status) {
            case DrawStatus::Written:
                return {};
            case DrawStatus::GeometryRefused:
                return Describe(geometry);
            case DrawStatus::FileNotWritten:
                return fileReason;
        }
        return {};
    }
};

}  // namespace tarvo
