// Storage units and the units the host asks for.
//
// Page sizes, margins, indents and table widths are stored in twips (1/20
// point, 1440 per inch); drawing positions and extents in EMU (914400 per
// inch, 360000 per centimetre). Values going into the XML are truncated
// toward zero.
#pragma once

#include <cstdint>

// A host integer held at the 32-bit limits, for values stored as 32-bit.
constexpr int32_t ClampToInt32(int64_t value) {
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int32_t(value);
}

// Host enumeration `Units`. A selector outside the list means no conversion.
enum class Units : int32_t { TWIPS = 0, INCHES = 1, CM = 2 };
// Host enumeration `EmuUnits`. A selector outside the list means no conversion.
enum class EmuUnits : int32_t { EMU = 0, INCHES = 1, CM = 2 };

// The host's `Units` selector; anything outside the list (also a value that
// would only fit the list once cut to 32 bits) means no conversion: TWIPS.
Units Units_Of(int64_t selector);

// Twips -> value in `unit`.
double ValueToUnit(int32_t twips, Units unit);
// Value in `unit` -> whole twips, truncated toward zero; saturates at the
// 32-bit limits, NaN gives 0.
int32_t UnitToValue(double value, Units unit);

// Value in `unit` -> whole twips, truncated toward zero, for a measure the
// file format stores unsigned (column and table widths): false, and
// `twips` untouched, for NaN, infinities, values below zero and values of
// more than 2147483647 whole twips, which no such measure holds.
bool UnitToMeasure(double value, Units unit, int32_t& twips);

// EMU -> value in `unit`.
double EMUToValue(int32_t emu, EmuUnits unit);
// Value in `unit` -> whole EMU, truncated toward zero; saturates at the 32-bit
// limits, NaN gives 0.
int32_t ValueToEmu(double value, EmuUnits unit);
