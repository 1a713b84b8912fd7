// A shared, closing holder of the descriptor of a written drawing.
#include "drawing/written_file.h"

#include <unistd.h>

namespace tarvo {

struct WrittenFile::Holder {
    int fd;
    explicit Holder(int d) : fd(d) {}
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    ~Holder() { close(fd); }
};

WrittenFile::WrittenFile(int descriptor)
    : holder_(descriptor >= 0 ? std::make_shared<const Holder>(descriptor) : nullptr) {}

int WrittenFile::Descriptor() const {
    return holder_ ? holder_->fd : -1;
}

}  // namespace tarvo
