// Folders and files of the document tests, on the C: drive of the test's prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// An empty folder C:\mibor8-tests\<name> (emptied when it exists).
std::string FreshFolder(const std::string& name);
// The names in a folder, sorted; no "." and "..".
std::vector<std::string> FilesIn(const std::string& folder);
