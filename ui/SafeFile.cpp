#include "ui/SafeFile.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <windows.h>

#include <memory>

namespace {

[[noreturn]] void CannotCreate(const std::string& fileName) { throw EFCreateError("Cannot create file " + fileName); }

// A file that exists but could not be written over: read-only, a folder, or
// held open by another program that does not share writing.
bool Unwritable(const std::string& fileName)
{
    HANDLE file = CreateFileW(ToWide(fileName).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return false;
}

// The new file, deleted when it has not been put in place.
class NewFile {
public:
    explicit NewFile(const std::string& target)
    {
        std::string folder = ExtractFilePath(target);
        wchar_t name[MAX_PATH + 1] = {0};
        if (!GetTempFileNameW(ToWide(folder.empty() ? "." : folder).c_str(), L"~mb", 0, name))
            CannotCreate(target);
        path_ = ToUtf8(name);
    }
    ~NewFile()
    {
        if (!placed_)
            DeleteFileW(ToWide(path_).c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    const std::string& Path() const { return path_; }
    void Placed() { placed_ = true; }

private:
    std::string path_;
    bool placed_ = false;
};

} // namespace

void SaveFileSafely(const std::string& fileName, const std::function<void(TStream&)>& write)
{
    const std::wstring wideName = ToWide(fileName);
    bool exists = GetFileAttributesW(wideName.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exists && Unwritable(fileName))
        CannotCreate(fileName);

    NewFile replacement(fileName);
    {
        std::unique_ptr<TFileStream> stream;
        try {
            stream = std::make_unique<TFileStream>(replacement.Path(), fmCreate);
        } catch (const EFCreateError&) {
            CannotCreate(fileName);
        }
        write(*stream);
        // The bytes are on the disk before the old file goes.
        if (!stream->Flush())
            throw EWriteError("Failed to Save Stream");
    }

    if (exists) {
        if (ReplaceFileW(wideName.c_str(), ToWide(replacement.Path()).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr)) {
            replacement.Placed();
            return;
        }
        // The system may have removed the old file and failed to rename the
        // new one: then the new one is all there is, and must not be lost.
        if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT || GetFileAttributesW(wideName.c_str()) !=
                                                                      INVALID_FILE_ATTRIBUTES)
            CannotCreate(fileName);
    }
    if (!MoveFileExW(ToWide(replacement.Path()).c_str(), wideName.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (exists)
            replacement.Placed(); // kept under its own name: the only copy left
        CannotCreate(fileName);
    }
    replacement.Placed();
}
