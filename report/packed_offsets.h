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
    // Offsets x0, y0, x1, y1, ... of whole points.
    explicit PackedOffsets(const std::vector<std::int8_t>& offsets);

    std::size_t size() const { return count_; }
    std::size_t BytesHeld() const { return bits_.size(); }

    struct PointOffsets {
        std::int8_t x, y;
    };
    // The offsets of point j: offsets 2j and 2j + 1.
    PointOffsets Point(std::size_t j) const {
        const std::size_t bit = j * (width_[0] + width_[1]);
        const std::size_t byte = bit >> 3;
        // Both rises, at most sixteen bits starting anywhere in a byte, lie within three.
        const std::uint32_t word = bits_[byte] |
                                   (static_cast<std::uint32_t>(bits_[byte + 1]) << 8) |
                                   (static_cast<std::uint32_t>(bits_[byte + 2]) << 16);
        const std::uint32_t rises = word >> (bit & 7);
        const std::uint32_t x = rises & ((1u << width_[0]) - 1);
        const std::uint32_t y = (rises >> width_[0]) & ((1u << width_[1]) - 1);
        return {static_cast<std::int8_t>(least_[0] + static_cast<int>(x)),
                static_cast<std::int8_t>(least_[1] + static_cast<int>(y))};
    }

  private:
    std::vector<std::uint8_t> bits_;
    std::uint32_t count_ = 0;  // offsets, twice the points
    std::int8_t least_[2] = {0, 0};
    std::uint8_t width_[2] = {0, 0};
};

}  // namespace tarvo
