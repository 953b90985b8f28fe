// Twips / EMU and the units the host asks for; values stored are truncated.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "format/units.h"

TEST(Units, Twips) {
    EXPECT_EQ(UnitToValue(8.5, Units::INCHES), 12240);
    EXPECT_EQ(UnitToValue(-0.5, Units::INCHES), -720);
    EXPECT_EQ(UnitToValue(0.99999, Units::INCHES), 1439);
    EXPECT_EQ(UnitToValue(-0.99999, Units::INCHES), -1439);  // toward zero, not floor
    EXPECT_EQ(UnitToValue(-12.9, Units::TWIPS), -12);
    // The stored centimetre constant is a hair above 2.54 / 1440.
    EXPECT_EQ(UnitToValue(1.0, Units::CM), 566);
    EXPECT_EQ(UnitToValue(2.54, Units::CM), 1439);
    EXPECT_DOUBLE_EQ(ValueToUnit(566, Units::CM), 0.9983611174);
    EXPECT_DOUBLE_EQ(ValueToUnit(-720, Units::INCHES), -0.5);
    EXPECT_DOUBLE_EQ(ValueToUnit(1440, static_cast<Units>(3)), 1440.0);  // unknown unit: as is
    EXPECT_EQ(UnitToValue(2.5, static_cast<Units>(-1)), 2);
}

TEST(Units, HostSelectorsOutsideTheListMeanTwips) {
    EXPECT_EQ(Units_Of(1), Units::INCHES);
    EXPECT_EQ(Units_Of(2), Units::CM);
    for (int64_t selector : {int64_t(0), int64_t(-1), int64_t(3), (int64_t(1) << 32) + 1, (int64_t(1) << 32) + 2})
        EXPECT_EQ(Units_Of(selector), Units::TWIPS) << selector;
}

TEST(Units, Emu) {
    EXPECT_DOUBLE_EQ(EMUToValue(1371600, EmuUnits::INCHES), 1.5);
    EXPECT_DOUBLE_EQ(EMUToValue(-180000, EmuUnits::CM), -0.5);
    EXPECT_EQ(ValueToEmu(2.5, EmuUnits::CM), 900000);
    EXPECT_EQ(ValueToEmu(-0.0000011, EmuUnits::INCHES), -1);
    EXPECT_DOUBLE_EQ(EMUToValue(914400, static_cast<EmuUnits>(9)), 914400.0);
}

// 3000 inches is 2.7e9 EMU: out-of-range host values must not wrap around.
TEST(Units, OutOfRangeValuesSaturate) {
    const int32_t max = std::numeric_limits<int32_t>::max(), min = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(ValueToEmu(3000.0, EmuUnits::INCHES), max);
    EXPECT_EQ(ValueToEmu(-3000.0, EmuUnits::INCHES), min);
    EXPECT_EQ(ValueToEmu(std::nan(""), EmuUnits::CM), 0);
    EXPECT_EQ(UnitToValue(1e12, Units::CM), max);
    EXPECT_EQ(UnitToValue(-std::numeric_limits<double>::infinity(), Units::TWIPS), min);
}

// Unsigned measures (column and table widths): what no file holds is
// refused, not saturated, and the result is left alone then.
TEST(Units, MeasuresAFileCannotHoldAreRefused) {
    int32_t twips = 7;
    for (double value : {-1.0, -0.5, std::nan(""), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), 2147483648.0, 1e300}) {
        EXPECT_FALSE(UnitToMeasure(value, Units::TWIPS, twips)) << value;
        EXPECT_EQ(twips, 7);
    }
    EXPECT_FALSE(UnitToMeasure(1.5e6, Units::INCHES, twips));  // 2.16e9 twips
    EXPECT_FALSE(UnitToMeasure(1e300, Units::INCHES, twips));  // infinite once converted
    EXPECT_FALSE(UnitToMeasure(-0.001, Units::CM, twips));
    EXPECT_TRUE(UnitToMeasure(2147483647.9, Units::TWIPS, twips));
    EXPECT_EQ(twips, 2147483647);
    EXPECT_TRUE(UnitToMeasure(-0.0, Units::TWIPS, twips));
    EXPECT_EQ(twips, 0);
    EXPECT_TRUE(UnitToMeasure(2.5, Units::CM, twips));
    EXPECT_EQ(twips, UnitToValue(2.5, Units::CM));
    EXPECT_TRUE(UnitToMeasure(1.5, Units::INCHES, twips));
    EXPECT_EQ(twips, 2160);
}
