#include "mainform/ProgramPaths.h"

#include "ui/Handles.h"
#include "ui/SysUtils.h"
#include "ui/LateBound.h"
#include "ui/WideText.h"

#include <windows.h>
#include <shlobj.h>

const char* const kDefaultBackupPath = "C:\\Mibor8- Backup";
const char* const kNewBackupPath = "c:\\Mibor8 - BackUp";
const char* const kClosingBackupPath = "c:\\Mibor8 - BackUp.mib";

namespace {

// The shell's DLL loads only when the root folder cannot be written.
const TLateBound<decltype(&SHGetFolderPathW)> getFolderPath("shell32.dll", "SHGetFolderPathW");

} // namespace

namespace {

std::string probeFolder = "C:\\";
std::string dataFolderOverride;
int rootWritable = -1; // not yet known

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

bool FolderWritable(const std::string& folder)
{
    const std::string probe = WithSeparator(folder) + "Mibor8-write-test.tmp";
    const std::wstring wide = ToWide(probe);
    TOwnedFile file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file)
        return false;
    file.Reset();
    DeleteFileW(wide.c_str());
    return true;
}

std::string FileNamePart(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool RootWritable()
{
    if (rootWritable < 0)
        rootWritable = FolderWritable(probeFolder) ? 1 : 0;
    return rootWritable == 1;
}

std::string ProgramDataFolder()
{
    std::string folder = dataFolderOverride;
    if (folder.empty()) {
        // The system names the folder in the environment of every program;
        // the shell, which loads slowly, is asked only where it does not.
        wchar_t appData[MAX_PATH + 1] = {0};
        const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH + 1);
        if ((length == 0 || length > MAX_PATH) &&
            FAILED(getFolderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
            GetTempPathW(MAX_PATH + 1, appData);
        folder = WithSeparator(ToUtf8(appData)) + "Mibor8";
    }
    CreateDirectoryW(ToWide(folder).c_str(), nullptr);
    return WithSeparator(folder);
}

std::string ProgramRootPath(const std::string& builtIn)
{
    return RootWritable() ? builtIn : ProgramDataFolder() + FileNamePart(builtIn);
}

bool IsBuiltInRootPath(const std::string& path, const std::string& builtIn)
{
    return SameText(path, builtIn) || SameText(path, ProgramRootPath(builtIn));
}

void SetRootProbeFolder(const std::string& folder)
{
    probeFolder = folder.empty() ? "C:\\" : folder;
    rootWritable = -1;
}

void SetProgramDataFolder(const std::string& folder) { dataFolderOverride = folder; }
