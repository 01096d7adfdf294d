#include "ui/Registry.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <vector>

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    LONG result;
    if (canCreate)
        result = RegCreateKeyExW(root_, ToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &key_, nullptr);
    else
        result = RegOpenKeyExW(root_, ToWide(path).c_str(), 0, KEY_ALL_ACCESS, &key_);
    if (result != ERROR_SUCCESS)
        key_ = nullptr;
    return key_ != nullptr;
}

void TRegistry::CloseKey()
{
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return key_ && RegQueryValueExW(key_, ToWide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    if (!key_)
        return std::string();
    const std::wstring wideName = ToWide(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    // The value may change between the two calls; ask again while it grows.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    for (;;) {
        DWORD got = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        LONG result = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                       &got);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(got / sizeof(wchar_t) + 1);
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::string();
        buffer[std::min<size_t>(got / sizeof(wchar_t), buffer.size() - 1)] = L'\0';
        // A stored string need not end in a zero; the text stops at the first one.
        return ToUtf8(buffer.data());
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    const std::wstring wide = ToWide(value);
    if (!key_ || RegSetValueExW(key_, ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return key_ && RegDeleteValueW(key_, ToWide(name).c_str()) == ERROR_SUCCESS;
}
