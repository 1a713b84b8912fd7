// The read-back offsets of a kept tooth's coordinates, packed into the bits they need. A written
// coordinate reads back within half a step of the decimal grid it was written on, and on one
// tooth that step is the same number of units in the last place for nearly every point: a few
// units on coordinates below 1000, some forty-five on those a little above. Each axis keeps its
// least offset and, per point, its rise above it in as many bits as the largest rise takes,
// about two thirds of a byte a coordinate on a large wheel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvo {

class PackedOffsets {
  public:
    PackedOffsets() = default;
    // Offsets x0, y0, x1, y1, ...: an even count.
    explicit PackedOffsets(const std::vector<std::int8_t>& offsets);

    std::size_t size() const { return count_; }
    std::size_t BytesHeld() const { return bits_.size(); }

    std::int8_t operator[](std::size_t i) const {
        const std::size_t axis = i & 1;
        const std::size_t bit = (i >> 1) * (width_[0] + width_[1]) + axis * width_[0];
        const std::size_t byte = bit >> 3;
        // A rise of at most eight bits starting anywhere in a byte lies within it and the next.
        const unsigned word = bits_[byte] | (static_cast<unsigned>(bits_[byte + 1]) << 8);
        const unsigned rise = (word >> (bit & 7)) & ((1u << width_[axis]) - 1);
        return static_cast<std::int8_t>(least_[axis] + static_cast<int>(rise));
    }

  private:
    std::vector<std::uint8_t> bits_;
    std::uint32_t count_ = 0;  // twice a tooth's points
    std::int8_t least_[2] = {0, 0};
    std::uint8_t width_[2] = {0, 0};
};

}  // namespace tarvo
