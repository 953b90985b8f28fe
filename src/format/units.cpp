#include "format/units.h"

#include <cmath>
#include <limits>

namespace {

// Centimetres per twip as documents written by this library have always
// used it (slightly off 2.54 / 1440, so 1 cm is stored as 566 twips).
constexpr double kCentimetresPerTwip = 0.0017638889;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kEmuPerInch = 914400.0;
constexpr double kEmuPerCentimetre = 360000.0;

// Truncation toward zero into 32 bits. A plain cast is undefined for NaN
// and for values outside the range, which host input can easily reach
// (a width of 3000 inches in EMU), so those saturate instead.
int32_t TruncateToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

}  // namespace

Units Units_Of(int64_t selector) {
    return selector == int64_t(Units::INCHES) || selector == int64_t(Units::CM) ? Units(selector) : Units::TWIPS;
}

double ValueToUnit(int32_t twips, Units unit) {
    switch (unit) {
        case Units::INCHES: return twips / kTwipsPerInch;
        case Units::CM: return twips * kCentimetresPerTwip;
        default: return twips;
    }
}

int32_t UnitToValue(double value, Units unit) {
    switch (unit) {
        case Units::INCHES: return TruncateToInt32(value * kTwipsPerInch);
        case Units::CM: return TruncateToInt32(value / kCentimetresPerTwip);
        default: return TruncateToInt32(value);
    }
}

bool UnitToMeasure(double value, Units unit, int32_t& twips) {
    double v = value;
    if (unit == Units::INCHES) v = value * kTwipsPerInch;
    if (unit == Units::CM) v = value / kCentimetresPerTwip;
    // NaN fails the first test.
    if (!(v >= 0.0) || !std::isfinite(v) || v >= 2147483648.0) return false;
    twips = static_cast<int32_t>(v);
    return true;
}

double EMUToValue(int32_t emu, EmuUnits unit) {
    switch (unit) {
        case EmuUnits::INCHES: return emu / kEmuPerInch;
        case EmuUnits::CM: return emu / kEmuPerCentimetre;
        default: return emu;
    }
}

int32_t ValueToEmu(double value, EmuUnits unit) {
    switch (unit) {
        case EmuUnits::INCHES: return TruncateToInt32(value * kEmuPerInch);
        case EmuUnits::CM: return TruncateToInt32(value * kEmuPerCentimetre);
        default: return TruncateToInt32(value);
    }
}
