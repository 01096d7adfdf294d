// Handing a file or an address to the system shell, which opens it with the
// program registered for its type: the registry editor for a ".reg" script,
// the PDF reader for the manual, the browser and the mail program for links.
#pragma once

#include <functional>
#include <string>

// Opens `target` with the "open" verb: no parameters, the default working
// folder, a normally shown window. Whether the shell managed is not looked at.
void ShellOpen(const std::string& target);

// Every opening goes through this function; tests may put one of their own in
// its place to see what was opened. Null puts the system's shell back.
using TShellOpener = std::function<void(const std::string& target)>;
void SetShellOpener(TShellOpener opener);

// The full path of the program's own file, however long it is.
std::string ProgramFileName();
