// The drawing file a write produced, held open: the data sheet reads these bytes, not whatever
// the path names by the time it looks (another program may have replaced the file or repointed
// a link in between). Copies share the one descriptor, closed with the last copy.
#pragma once

#include <memory>

namespace tarvo {

class WrittenFile {
  public:
    // Holds nothing: a drawing made by a stand-in builder in a test.
    WrittenFile() = default;
    // Takes ownership of `descriptor`, open for reading on the file written.
    explicit WrittenFile(int descriptor);

    bool Held() const { return holder_ != nullptr; }
    // The descriptor, or -1 when nothing is held. Its offset is not this object's to keep: a
    // reader positions it (pread, or lseek first).
    int Descriptor() const;

  private:
    struct Holder;
    std::shared_ptr<const Holder> holder_;
};

}  // namespace tarvo
