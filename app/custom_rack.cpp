// Custom basic rack entry.
#include "app/custom_rack.h"

#include <cmath>
#include <cstddef>
#include <iterator>

#include "math/constants.h"
#include "math/involute.h"
#include "math/number_text.h"
#include "math/rounding.h"

namespace tarvo {

const char* RackFieldName(RackField field) {
    // In the order of RackField: the captions of the custom rack's boxes.
    static constexpr const char* kNames[] = {
        "Угол профиля, град.", "Коэффициент высоты головки", "Коэффициент высоты ножки",
        "Коэффициент радиального зазора", "Коэффициент радиуса кривизны переходной кривой"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(RackField::Ro) + 1,
                  "a caption for every field");
    return kNames[static_cast<std::size_t>(field)];
}

CustomRackOutcome StoreCustomRack(MainMod& state, const std::array<std::string, 5>& texts) {
    CustomRackStored stored;
    double* const targets[4] = {&state.Alfa, &state.H, &state.Hf, &state.C};
    for (int i = 0; i < 4; ++i) {
        const double value = FieldValue(texts[static_cast<std::size_t>(i)]);
        if (value == 0) {
            return CustomRackOutcome::Failure(static_cast<RackField>(i));
        }
        *targets[i] = value;
    }
    const double a = GradToRad(state.Alfa);
    const double ro = FieldValue(texts[4]);
    if (ro == 0) {
        // The full rounding that the clearance allows.
        state.Ro = state.C / (1 - std::sin(a));
    } else {
        state.Ro = ro;
        // Largest rounding that fits the rack tooth's tip.
        const double limit = (kPi / 4 - state.H * std::tan(a)) / std::cos(a);
        if (state.Ro > limit) {
            state.Ro = limit;
            stored.roReduced = true;
        }
    }
    return stored;
}

std::string ZeroParameterMessage(RackField field) {
    return std::string("Параметр: '") + RackFieldName(field) + "' не может быть нулевым!";
}

std::string ReducedRoMessage(double ro, char decimalSeparator) {
    return std::string("Параметр: '") + RackFieldName(RackField::Ro) + "' уменьшен до величины " +
           GeneralText(RoundToPlaces(ro, 4), decimalSeparator);
}

}  // namespace tarvo
