#include "TempFiles.h"

#include "ui/Classes.h"

#include <windows.h>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TTempFolder::TTempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static int counter = 0;
    root_ = std::string(base) + "mibor8-smtp-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    CreateDirectoryA(root_.c_str(), nullptr);
}

TTempFolder::~TTempFolder() { RemoveTree(root_); }

std::string TTempFolder::Write(const std::string& relative, const std::string& content) const
{
    const std::string path = Path(relative);
    for (size_t slash = path.find('\\', root_.size() + 1); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    TFileStream file(path, fmCreate);
    file.WriteString(content);
    return path;
}
