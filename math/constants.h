// The numbers every gear computation shares: the drawing's own value of pi and the bounds of
// the iterations that find pressure angles and fillet radii.
#pragma once

namespace tarvo {

// Pi to fifteen significant digits, not the full double. Every angle conversion, tooth
// thickness and turn of a tooth or wheel uses this literal, so the drawing keeps its digits.
constexpr double kPi = 3.14159265358979;

// ArcInv stops when the involute value is matched to this tolerance.
constexpr double kArcInvTolerance = 1e-13;
// Newton steps allowed to ArcInv. From its 45-degree start it needs 6 to 8 steps for pressure
// angles of 10 to 30 degrees and 24 for an involute value of zero (linear convergence there);
// iterates that leave the principal branch of the tangent never come back, so 200 is ample.
constexpr int kArcInvMaxSteps = 200;

// Step by which a tool's tip rounding shrinks until it fits the tooth: 0.005 mm.
constexpr double kRoundingStep = 0.005;
// Reductions allowed to the rack's tip rounding. The count grows with the module (about 114 per
// millimetre of module for a 12-tooth wheel shifted by 0.8), so ten million covers modules far
// beyond any gear; only data whose test value never becomes finite and positive reaches it.
constexpr long kMaxRackRoundingReductions = 10'000'000;
// Reductions allowed to the pinion-type cutter's tip rounding, bounded for the same reason.
// Each step evaluates several arc cosines, so the cap is lower; real cutters need a few per
// millimetre of module.
constexpr long kMaxCutterRoundingReductions = 2'000'000;

// The generated fillets end 0.0001 radian short of a quarter turn of the generating normal:
// at a full quarter turn the contact would sit at the root's centre, where the formulas divide
// by zero.
constexpr double kFilletEndShortOfQuarterTurn = 0.0001;

// Largest tooth count any drawing accepts. The external pair and the spline carry their counts
// as 16-bit values; the internal pair, whose counts are 32-bit, is held to the same limit so
// that a wheel (about ten million points at the finest accuracy) always fits in memory.
constexpr int kMaxTeeth = 32767;

}  // namespace tarvo
