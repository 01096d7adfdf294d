// Every caption of the program's windows against the room of its control.
#pragma once

#include <string>

// What does not fit, one line a caption (empty: all fit), over the main
// window and its toolbars, the six pages of Preferences (each shown in turn),
// the send window, the About box and the image viewer.
std::string CaptionFaults();
