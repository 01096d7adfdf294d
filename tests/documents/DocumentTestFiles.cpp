#include "tests/documents/DocumentTestFiles.h"

#include <algorithm>

std::string FreshFolder(const std::string& name)
{
    CreateDirectoryA("C:\\mibor8-tests", nullptr);
    std::string folder = "C:\\mibor8-tests\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& file : FilesIn(folder)) {
        std::string path = folder + "\\" + file;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    return folder;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
