#include "mainform/Icons.h"

#include "ui/Menus.h"

// Placeholder pictures until the drawn set is in place.
const std::vector<std::string>& MainIconPicture(MainIcon)
{
    static const std::vector<std::string> blank(16, std::string(16, '.'));
    return blank;
}

const std::vector<std::string>& RulerMarkerPicture(RulerMarker)
{
    static const std::vector<std::string> marker = {
        "kkkkkkkkkk", ".kssssssk.", "..kssssk..", "...kssk...", "....kk....", "..........",
    };
    return marker;
}

void LoadMainIcons(TImageList& images)
{
    for (int i = 0; i < iconCount; ++i)
        images.AddPicture(MainIconPicture(static_cast<MainIcon>(i)));
}
