// The designer's wording of each geometry fault.
#include "profile/geometry_fault.h"

namespace tarvo {

namespace {

const char* Sentence(GeometryFault fault) {
    switch (fault) {
        case GeometryFault::None:
            return "";
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
        case GeometryFault::EqualToothCounts:
            return "числа зубьев колёс внутреннего зацепления не могут быть равны.";
        case GeometryFault::TooManyTeeth:
            return "число зубьев больше допустимого (32767).";
        case GeometryFault::PartnerTooLarge:
            return "число зубьев вала больше допустимого (3276).";
        case GeometryFault::ToothCountNotPositive:
            return "число зубьев должно быть больше нуля.";
        case GeometryFault::ModuleNotPositive:
            return "модуль должен быть конечным числом больше нуля.";
        case GeometryFault::DataNotFinite:
            return "углы, смещения и боковой зазор должны быть конечными числами.";
    }
    return "";
}

}  // namespace

std::string Describe(const GeometryError& error) {
    // A fault of the mesh as a whole (wheel 0) is said of the pair.
    const std::string subject = error.wheelName.empty() ? "Передача" : error.wheelName;
    return subject + ": " + Sentence(error.fault);
}

}  // namespace tarvo
