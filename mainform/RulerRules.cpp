#include "mainform/RulerRules.h"

namespace ruler {

// C++ division truncates towards zero.
int PointsToPixels(int points) { return points * 4 / 3; }
int PixelsToPoints(int pixels) { return pixels * 3 / 4; }

MarkerLefts PlaceMarkers(int firstIndent, int leftIndent, int rightIndent, int width)
{
    return {PointsToPixels(firstIndent) + 2, PointsToPixels(firstIndent + leftIndent) + 2,
            width - PointsToPixels(rightIndent + 6) - 6};
}

int LimitIndentMarker(int left, int rightMarker)
{
    if (left < 2)
        left = 2;
    if (left > rightMarker)
        left = rightMarker;
    return left;
}

int LimitRightMarker(int left, int leftMarker, int firstMarker, int width)
{
    if (left < leftMarker)
        left = leftMarker;
    if (left < firstMarker)
        left = firstMarker;
    if (left > width - 13)
        left = width - 13;
    return left;
}

int FollowMouse(int left, int x, int grabOffset) { return left + x - grabOffset; }

// The marker's middle (left + 5) less the ruler's start (6 pixels), in points.
int FirstIndentAt(int firstMarker) { return PixelsToPoints(firstMarker + kGrabOffset - 6); }
int LeftIndentAt(int leftMarker, int firstIndent) { return PixelsToPoints(leftMarker + kGrabOffset - 6) - firstIndent; }
int RightIndentAt(int rightMarker, int width) { return PixelsToPoints(width + kGrabOffset - rightMarker - 2) - 12; }

} // namespace ruler
