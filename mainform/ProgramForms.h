// The program's windows, made once in start-up order and destroyed together.
#pragma once

// Makes the six windows in the order they depend on each other: the main
// window, Preferences (which loads the settings), the About box (which counts
// the start), the image viewer, the auxiliary window and the send window.
void CreateProgramForms();
// Destroys them, last made first, without running their close events.
void DestroyProgramForms();
