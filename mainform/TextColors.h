// The sixteen text colours of the colour drop-down, in its order: the
// caption of each item, the name of its command and the colour it sets.
#pragma once

#include "ui/Graphics.h"

struct TTextColor {
    const char* caption;
    const char* command;
    TColor color;
};

constexpr int kTextColorCount = 16;
extern const TTextColor kTextColors[kTextColorCount];
