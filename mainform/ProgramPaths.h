// Where the program writes the files it names itself. They live in the root of
// drive C: where that can be written, as it can for an administrator or on an
// older system; a standard user since Vista may not create files there, and
// the same names then stand in the user's own application-data folder.
#pragma once

#include <string>

// The backup copy: the location a first start stores, and the two places the
// backup field falls back to when a backup cannot be written.
extern const char* const kDefaultBackupPath; // "C:\Mibor8- Backup"
extern const char* const kNewBackupPath;     // "c:\Mibor8 - BackUp", after New
extern const char* const kClosingBackupPath; // "c:\Mibor8 - BackUp.mib", after closing

// A path the program itself names in the root of C: ("C:\Mibor8- Backup"):
// unchanged where the root can be written, else the same file name in the
// application-data folder (created when missing).
std::string ProgramRootPath(const std::string& builtIn);

// True when `path` is one of the program's own root paths, in any letter case.
bool IsBuiltInRootPath(const std::string& path, const std::string& builtIn);

// The folder the program's own files go to when the root is closed to it:
// "<application data>\Mibor8\", created when missing.
std::string ProgramDataFolder();

// Whether the root of C: can be written, found out once per run by creating
// and deleting a file there.
bool RootWritable();

// For tests: the folder whose writability stands for the root's, and the
// application-data folder, both found anew at the next question. Empty: the
// real ones.
void SetRootProbeFolder(const std::string& folder);
void SetProgramDataFolder(const std::string& folder);
