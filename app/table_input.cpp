// Checks of the hand of the tooth line and of the accuracy designation.
#include "app/table_input.h"

namespace tarvo {

std::optional<std::string> HandConflict(double helixDegrees, Hand hand) {
    if (helixDegrees < 0 && hand == Hand::Right) {
        return "отрицательный угол наклона означает левое направление линии зуба, выбрано правое";
    }
    return std::nullopt;
}

Hand Wheel1Hand(double helixDegrees, Hand chosen) {
    return helixDegrees < 0 ? Hand::Left : chosen;
}

std::optional<std::string> AccuracyTextProblem(const std::string& text) {
    std::size_t characters = 0;
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 0x20 || u == 0x7F) {
            return "степень точности — одна строка без управляющих символов";
        }
        characters += (u & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters > kMaxAccuracyText) {
        return "степень точности длиннее " + std::to_string(kMaxAccuracyText) + " знаков";
    }
    return std::nullopt;
}

}  // namespace tarvo
