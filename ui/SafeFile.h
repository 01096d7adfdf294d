// Writing a file so that a failure part-way never destroys the file that was
// there before: the bytes go to a new file in the same folder, which replaces
// the old one only once it is complete. The folder needs room for both copies
// while the write runs.
#pragma once

#include "ui/Classes.h"

#include <functional>
#include <string>

// Calls `write` with a stream on a new file beside `fileName`, then puts that
// file in place of `fileName`. Raises EFCreateError "Cannot create file %s"
// (with `fileName`) when the new file cannot be made or cannot take the old
// one's place (a read-only or locked file, a missing folder); a failure inside
// `write` propagates as it is. On every failure the new file is deleted and
// the old one is left as it was.
void SaveFileSafely(const std::string& fileName, const std::function<void(TStream&)>& write);
