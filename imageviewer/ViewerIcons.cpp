#include "imageviewer/ViewerIcons.h"

#include "mainform/Icons.h"
#include "ui/Menus.h"

namespace {

// Rows of palette characters ('.' transparent; see PaletteColor in ui/Menus.cpp).
const std::vector<std::string> kCenter = {
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwkkkkkkkkwwwk",
    "kwwwkcccccykwwwk",
    "kwwwkcccccckwwwk",
    "kwwwkccwccckwwwk",
    "kwwwkceeecckwwwk",
    "kwwwkeeeeegkwwwk",
    "kwwwkggggggkwwwk",
    "kwwwkkkkkkkkwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
};

const std::vector<std::string> kStretch = {
    "kkkkkkkkkkkkkkkk",
    "kbbbb......bbbbk",
    "kbb..........bbk",
    "kb.b........b.bk",
    "kb..b......b..bk",
    "k....kkkkkk....k",
    "k....kccyck....k",
    "k....kcwcck....k",
    "k....keeeck....k",
    "k....kggggk....k",
    "k....kkkkkk....k",
    "kb..b......b..bk",
    "kb.b........b.bk",
    "kbb..........bbk",
    "kbbbb......bbbbk",
    "kkkkkkkkkkkkkkkk",
};

const std::vector<std::string> kDesktop = {
    "................",
    "kkkkkkkkkkkkkkkk",
    "keeeeeeeeeeeeeek",
    "kecccccccccyycek",
    "keccccwcccyyccek",
    "kecccwweccccccek",
    "keccceeeeeccccek",
    "keceeeeeeeeeggek",
    "keggeeeeeggggggk",
    "keeeeeeeeeeeeeek",
    "kkkkkkkkkkkkkkkk",
    "......kssk......",
    "......kssk......",
    "...kkkkkkkkkk...",
    "...kssssssssk...",
    "...kkkkkkkkkk...",
};

} // namespace

void LoadViewerIcons(TImageList& images)
{
    images.AddPicture(MainIconPicture(iconOpen));
    images.AddPicture(MainIconPicture(iconExit));
    images.AddPicture(MainIconPicture(iconCopy));
    images.AddPicture(kCenter);
    images.AddPicture(kStretch);
    images.AddPicture(kDesktop);
}
