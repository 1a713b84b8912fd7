#include "report/packed_offsets.h"

#include <algorithm>

namespace tarvo {

PackedOffsets::PackedOffsets(const std::vector<std::int8_t>& offsets)
    : count_(static_cast<std::uint32_t>(offsets.size() / 2 * 2)) {
    int least[2] = {127, 127};
    int most[2] = {-128, -128};
    for (std::size_t i = 0; i < count_; ++i) {
        least[i & 1] = std::min<int>(least[i & 1], offsets[i]);
        most[i & 1] = std::max<int>(most[i & 1], offsets[i]);
    }
    for (std::size_t axis = 0; axis < 2 && count_ > 0; ++axis) {
        least_[axis] = static_cast<std::int8_t>(least[axis]);
        while ((1 << width_[axis]) <= most[axis] - least[axis]) {
            ++width_[axis];
        }
    }
    const std::size_t bits = (count_ / 2) * (width_[0] + width_[1]);
    // A point's read takes the byte its rises start in and the two after it: two bytes more
    // than the rises fill, whole or in part.
    bits_.assign(bits / 8 + 3, 0);
    std::size_t bit = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        const std::size_t axis = i & 1;
        const unsigned rise = static_cast<unsigned>(offsets[i] - least_[axis]);
        const unsigned shifted = rise << (bit & 7);
        bits_[bit >> 3] |= static_cast<std::uint8_t>(shifted & 0xff);
        bits_[(bit >> 3) + 1] |= static_cast<std::uint8_t>(shifted >> 8);
        bit += width_[axis];
    }
}

}  // namespace tarvo
