// The indent ruler's arithmetic. Paragraph indents are whole points, marker
// places are pixels, one point is 4/3 pixel, and every conversion truncates
// towards zero.
#pragma once

namespace ruler {

constexpr int kMarkerWidth = 10;
// Where the mouse holds a marker: its middle.
constexpr int kGrabOffset = kMarkerWidth / 2;

int PointsToPixels(int points);
int PixelsToPoints(int pixels);

// The lefts of the three markers on a ruler `width` pixels wide, for a
// paragraph's first-line indent, the indent of its other lines (relative to
// the first line) and its right indent, in points.
struct MarkerLefts {
    int first, left, right;
};
MarkerLefts PlaceMarkers(int firstIndent, int leftIndent, int rightIndent, int width);

// The limits a marker is pulled back within, checked in this order. The
// first-line and the left marker: at least 2, not right of the right marker.
int LimitIndentMarker(int left, int rightMarker);
// The right marker: not left of the left marker, not left of the first-line
// marker, at most the ruler's width minus 13.
int LimitRightMarker(int left, int leftMarker, int firstMarker, int width);

// A held marker follows the mouse (`x` within the marker) with its grab offset under it.
int FollowMouse(int left, int x, int grabOffset);

// The indents, in points, that released markers stand for.
int FirstIndentAt(int firstMarker);
int LeftIndentAt(int leftMarker, int firstIndent);
int RightIndentAt(int rightMarker, int width);

} // namespace ruler
