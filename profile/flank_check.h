// Checks that an external member's flank gives a tooth CAD can extrude: the two flanks of one
// tooth must not cross, nor the fillets of neighbouring teeth.
#pragma once

#include <optional>
#include <vector>

#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

// How far a flank point may lie past the centre line of the neighbouring tooth space before the
// neighbouring fillets are taken to cross: a millionth of a millimetre, far below any drawing
// tolerance but above the rounding of points that lie on the line; in LengthUnit of the module.
constexpr double kSpaceLineTolerance = 0.000001;

// PointedTooth when a point lies below the tooth's centre line (Y < 0), RootFilletsCross when
// one lies past the neighbouring space's centre line (polar angle above pi/z), else nothing.
// `unit` is LengthUnit of the module the flank was drawn at.
std::optional<GeometryFault> CheckExternalFlank(const std::vector<PointXY>& flank, int z,
                                                double unit);

}  // namespace tarvo
