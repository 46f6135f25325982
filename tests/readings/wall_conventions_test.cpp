// The wall in the conventions dial programs take, each worked out by hand for a few walls: the
// numbers a maker copies into another program.

#include <gtest/gtest.h>

#include <QLocale>

#include "readings/wall_conventions.h"

namespace {

struct ConventionCase {
    double declination;  // degrees from south, west positive
    double lean;         // degrees, positive leaning back
    const char* westPositive;
    const char* eastPositive;
    const char* azimuth;
    const char* inclination;
    const char* reclination;
};

// A face that leans back 6 degrees makes 84 degrees with the horizontal on its own side; one
// that overhangs 4 degrees makes 94. A wall facing south-west by 38 degrees looks toward azimuth
// 180 + 38 = 218 from north through east; one facing 107.1 degrees east of south, toward
// 180 - 107.1 = 72.9.
TEST(WallConventions, AgreeWithValuesWorkedOutByHand) {
    const ConventionCase cases[] = {
        {38.0, 6.0, "38.0°", "-38.0°", "218.0°", "84.0°", "6.0°"},
        {-107.1, -4.0, "-107.1°", "107.1°", "72.9°", "94.0°", "-4.0°"},
        {0.0, 0.0, "0.0°", "0.0°", "180.0°", "90.0°", "0.0°"},
        {-90.0, 10.0, "-90.0°", "90.0°", "90.0°", "80.0°", "10.0°"},
        {180.0, -10.0, "180.0°", "180.0°", "0.0°", "100.0°", "-10.0°"},
    };
    const QLocale c(QLocale::C);
    for (const ConventionCase& k : cases) {
        SCOPED_TRACE(k.declination);
        const auto rows = wall_conventions::Conventions(k.declination, k.lean, c);
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(rows[0].second, QString::fromUtf8(k.westPositive));
        EXPECT_EQ(rows[1].second, QString::fromUtf8(k.eastPositive));
        EXPECT_EQ(rows[2].second, QString::fromUtf8(k.azimuth));
        EXPECT_EQ(rows[3].second, QString::fromUtf8(k.inclination));
        EXPECT_EQ(rows[4].second, QString::fromUtf8(k.reclination));
    }
    // In French the comma is the decimal sign, as a French dial program reads it.
    EXPECT_EQ(wall_conventions::Conventions(37.6, 6.0, QLocale(QLocale::French))[3].second,
              QString::fromUtf8("84,0°"));
}

}  // namespace
