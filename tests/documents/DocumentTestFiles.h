// Helpers of the document tests: folders and files on the C: drive of the
// test's prefix, and the text of a failure.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

// An empty folder C:\mibor8-tests\<name> (emptied when it exists).
std::string FreshFolder(const std::string& name);
// The names in a folder, sorted; no "." and "..".
std::vector<std::string> FilesIn(const std::string& folder);

// The text of the failure `action` raised; empty when it raised none.
template <typename Action>
std::string FailureOf(Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
