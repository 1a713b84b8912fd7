// Russian names of the solids and reasons for a model that was not made.
#include "app/solid_words.h"

#include "math/number_text.h"
#include "math/rounding.h"

namespace tarvo {

const char* SolidName(WheelRole role) {
    switch (role) {
        case WheelRole::Wheel1:
        case WheelRole::Pinion:
        case WheelRole::Pair:
            return "Колесо 1";
        case WheelRole::Wheel2:
        case WheelRole::Ring:
            return "Колесо 2";
        case WheelRole::Shaft:
            return "Вал";
        case WheelRole::Hub:
            return "Втулка";
    }
    return "Колесо 1";
}

std::string SolidReason(const SolidError& error) {
    switch (error.fault) {
        case SolidFault::FaceWidthNotPositive:
            return "ширина венца b должна быть числом больше нуля";
        case SolidFault::RimInsideRoot:
            return std::string("диаметр обода («") + SolidName(error.role) +
                   "») должен быть больше диаметра впадин " +
                   GeneralText(RoundToPlaces(error.rootDiameter, 3), ',') + " мм";
        case SolidFault::CurveNotBuilt:
            return std::string("не удалось построить кривые профиля («") + SolidName(error.role) +
                   "»)";
        case SolidFault::SolidNotValid:
            return std::string("тело «") + SolidName(error.role) +
                   "» не прошло проверку и не записано";
        case SolidFault::StepNotWritten:
            return "не удалось сформировать файл STEP";
    }
    return "не удалось сформировать файл STEP";
}

}  // namespace tarvo
