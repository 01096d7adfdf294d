#include "mainform/TextColors.h"

const TTextColor kTextColors[kTextColorCount] = {
    {"White", "White1Click", RGBColor(255, 255, 255)},  {"Silver", "Silver1Click", RGBColor(192, 192, 192)},
    {"Gray", "Gray1Click", RGBColor(128, 128, 128)},    {"Black", "Black1Click", RGBColor(0, 0, 0)},
    {"Red", "Red1Click", RGBColor(255, 0, 0)},          {"Yellow", "Yellow1Click", RGBColor(255, 255, 0)},
    {"Lime", "Lime1Click", RGBColor(0, 255, 0)},        {"Aqua", "Aqua1Click", RGBColor(0, 255, 255)},
    {"Blue", "Blue1Click", RGBColor(0, 0, 255)},        {"Fuchsia", "Fuchsia1Click", RGBColor(255, 0, 255)},
    {"Maroon", "MaroonClick", RGBColor(128, 0, 0)},     {"Olive", "Olive1Click", RGBColor(128, 128, 0)},
    {"Green", "Green1Click", RGBColor(0, 128, 0)},      {"Teal", "Teal1Click", RGBColor(0, 128, 128)},
    {"Navy", "Navy1Click", RGBColor(0, 0, 128)},        {"Purple", "Purple1Click", RGBColor(128, 0, 128)},
};
