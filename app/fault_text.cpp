// One table of the words for faults and wheels, so the layers below speak only in enums.
#include "app/fault_text.h"

#include <cstddef>
#include <iterator>

#include "app/os_reason.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "profile/chord_placement.h"

namespace tarvo {

namespace {

std::string Sentence(GeometryFault fault) {
    switch (fault) {
        case GeometryFault::WorkingAngleNotFound:
            return "при этих коэффициентах смещения угол зацепления не находится. "
                   "Измените смещения.";
        case GeometryFault::WorkingAngleNotPositive:
            return "угол зацепления получается нулевым или отрицательным: отрицательные "
                   "смещения слишком велики, зубья колёс пересекают сами себя. "
                   "Увеличьте сумму смещений.";
        case GeometryFault::TipInsideBase:
            return "окружность вершин лежит внутри основной окружности. Увеличьте число зубьев "
                   "или измените смещение.";
        case GeometryFault::ActiveProfileUndefined:
            return "не удаётся найти начало активного профиля: головка сопряжённого колеса "
                   "слишком велика. Измените смещения или исходный контур.";
        case GeometryFault::RackRoundingNotFound:
            return "скругление головки исходного контура не вписывается во впадину. Проверьте "
                   "коэффициенты исходного контура и смещение.";
        case GeometryFault::CutterAngleNotFound:
            return "не удаётся найти угол станочного зацепления долбяка. Измените смещение или "
                   "числа зубьев.";
        case GeometryFault::CutterRoundingNotFound:
            return "скругление вершины долбяка не вписывается в его зуб. Проверьте коэффициенты "
                   "исходного контура и смещение.";
        case GeometryFault::NonFinitePoint:
            return "точки профиля зуба не определены при этих данных. Проверьте параметры.";
        case GeometryFault::PointedTooth:
            return "зуб заострён: его боковые стороны пересекаются. Уменьшите смещение или "
                   "увеличьте число зубьев.";
        case GeometryFault::RootFilletsCross:
            return "переходные кривые соседних зубьев пересекаются во впадине. Измените "
                   "смещение или исходный контур.";
        case GeometryFault::DedendumPastCentre:
            return "ножка зуба глубже делительного радиуса: впадины сходятся в центре колеса. "
                   "Увеличьте число зубьев или уменьшите высоту ножки исходного контура.";
        case GeometryFault::EqualToothCounts:
            return "числа зубьев колёс внутреннего зацепления не могут быть равны.";
        case GeometryFault::TooManyTeeth:
            return "число зубьев больше допустимого (" + std::to_string(kMaxTeeth) + ").";
        case GeometryFault::PartnerTooLarge:
            return "число зубьев вала больше допустимого (" + std::to_string(kMaxShaftTeeth) + ").";
        case GeometryFault::ToothCountNotPositive:
            return "число зубьев должно быть больше нуля.";
        case GeometryFault::ModuleNotPositive:
            return "модуль должен быть конечным числом больше нуля.";
        case GeometryFault::DataOutOfRange:
            return "углы, смещения и боковой зазор должны быть конечными числами.";
        case GeometryFault::ToleranceTooFine:
            return "для заданного допуска нужно больше точек, чем допускается (" +
                   std::to_string(kMaxTolerancePoints) +
                   " на эвольвенте и на переходной кривой). Увеличьте допуск на отклонение "
                   "контура.";
    }
    return "";
}

}  // namespace

const char* RoleName(WheelRole role) {
    // In the order of WheelRole.
    static constexpr const char* kNames[] = {
        "Передача", "Колесо 1", "Колесо 2", "Шестерня", "Колесо с внутренними зубьями",
        "Вал",      "Втулка"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(WheelRole::Hub) + 1,
                  "a name for every role");
    return kNames[static_cast<std::size_t>(role)];
}

// The tolerance's refusal names the member and the points it would take.
std::string ToleranceSentence(const GeometryError& error) {
    const std::string member = error.onFillet ? "переходной кривой" : "эвольвенте";
    const std::string needed = error.points > 0 ? std::to_string(error.points) + " точек"
                                                : std::string("неисчислимо много точек");
    return "для заданного допуска на " + member + " нужно " + needed + ", а допускается не более " +
           std::to_string(error.allowed > 0 ? error.allowed : kMaxTolerancePoints) +
           ". Увеличьте допуск на отклонение контура.";
}

std::string Describe(const GeometryError& error) {
    if (error.fault == GeometryFault::ToleranceTooFine && error.points != 0) {
        return RoleName(error.role) + (": " + ToleranceSentence(error));
    }
    return RoleName(error.role) + (": " + Sentence(error.fault));
}

std::string DrawReason(const DrawFault& fault) {
    switch (fault.kind) {
        case DrawFault::Kind::GeometryRefused:
            return Describe(*fault.geometry);
        case DrawFault::Kind::FileNotWritten:
            return RussianOsReason(fault.fileError);
    }
    return {};
}

}  // namespace tarvo
