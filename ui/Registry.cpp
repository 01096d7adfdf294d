#include "ui/Registry.h"

#include "ui/SysUtils.h"

#include <vector>

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    LONG result;
    if (canCreate)
        result = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &key_, nullptr);
    else
        result = RegOpenKeyExA(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
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
    return key_ && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    if (!key_)
        return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    // The value may change between the two calls; ask again while it grows.
    std::vector<char> buffer(size + 1);
    for (;;) {
        DWORD got = static_cast<DWORD>(buffer.size() - 1);
        LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                       &got);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(got + 1);
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::string();
        buffer[std::min<size_t>(got, buffer.size() - 1)] = '\0';
        // A stored string need not end in a zero; the text stops at the first one.
        return std::string(buffer.data());
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    if (!key_ || RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return key_ && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}
