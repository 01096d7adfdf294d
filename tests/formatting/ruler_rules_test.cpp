// The ruler's arithmetic: points and pixels, the markers' places and limits.
#include "mainform/RulerRules.h"

#include <gtest/gtest.h>

using namespace ruler;

TEST(RulerRules, ConversionsTruncateTowardsZero)
{
    const struct {
        int points, pixels;
    } kPointsToPixels[] = {{0, 0}, {1, 1}, {2, 2}, {3, 4}, {10, 13}, {200, 266}, {-1, -1}, {-3, -4}};
    for (const auto& entry : kPointsToPixels)
        EXPECT_EQ(PointsToPixels(entry.points), entry.pixels) << entry.points;
    const struct {
        int pixels, points;
    } kPixelsToPoints[] = {{0, 0}, {1, 0}, {2, 1}, {4, 3}, {41, 30}, {-1, 0}, {-3, -2}};
    for (const auto& entry : kPixelsToPoints)
        EXPECT_EQ(PixelsToPoints(entry.pixels), entry.points) << entry.pixels;
}

TEST(RulerRules, ZeroIndentsStandAtTwoTwoAndTheRulersEndLessFourteen)
{
    MarkerLefts zero = PlaceMarkers(0, 0, 0, 600);
    EXPECT_EQ(zero.first, 2);
    EXPECT_EQ(zero.left, 2);
    EXPECT_EQ(zero.right, 600 - 14);
    // Other lines left of the first line come back from their place.
    EXPECT_EQ(LeftIndentAt(PlaceMarkers(40, -40, 0, 600).left, 40), -40);
}

TEST(RulerRules, LimitsApplyInTheirOrder)
{
    const struct {
        int left, right, expected;
    } kIndentMarker[] = {{-5, 300, 2}, {50, 300, 50}, {400, 300, 300}, {-5, 1, 1}};
    for (const auto& entry : kIndentMarker)
        EXPECT_EQ(LimitIndentMarker(entry.left, entry.right), entry.expected) << entry.left;
    const struct {
        int left, leftMarker, firstMarker, expected;
    } kRightMarker[] = {{300, 2, 2, 300}, {10, 40, 20, 40}, {10, 20, 40, 40}, {700, 2, 2, 587}, {100, 650, 2, 587}};
    for (const auto& entry : kRightMarker)
        EXPECT_EQ(LimitRightMarker(entry.left, entry.leftMarker, entry.firstMarker, 600), entry.expected) << entry.left;
    EXPECT_EQ(FollowMouse(40, 5, kGrabOffset), 40);
    EXPECT_EQ(FollowMouse(40, 12, kGrabOffset), 47);
    EXPECT_EQ(FollowMouse(40, -8, kGrabOffset), 27);
}
