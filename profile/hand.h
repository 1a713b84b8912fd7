// The hand of a helical wheel's tooth line. A right-hand wheel's section turns anticlockwise
// (seen from the +z side, looking down at the drawing) as it rises along z, like a right-hand
// screw thread. A spur wheel or a spline has none: where that can be, the hand is optional.
#pragma once

namespace tarvo {

enum class Hand { Right, Left };

// The hand of an external mate: the opposite one.
constexpr Hand Opposite(Hand hand) {
    return hand == Hand::Right ? Hand::Left : Hand::Right;
}

}  // namespace tarvo
