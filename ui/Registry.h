// String values in the registry of the current user.
#pragma once

#include <windows.h>

#include <string>

class TRegistry {
public:
    explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens a key below the root with full access; creates it when asked.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    bool ValueExists(const std::string& name) const;
    // The string value; empty when it is absent or not a string.
    std::string ReadString(const std::string& name) const;
    // Raises ERegistryException when the value cannot be written.
    void WriteString(const std::string& name, const std::string& value);
    bool DeleteValue(const std::string& name);

private:
    HKEY root_;
    HKEY key_ = nullptr;
};
