// Functions of system DLLs that only some commands need (the common dialogs,
// the shell, TLS and the data protection), looked up at their first call: a
// DLL linked to the program is loaded, with all the DLLs it needs, before the
// program starts, and under Wine that is a large part of the start-up time.
#pragma once

#include "ui/SysUtils.h"

#include <windows.h>

#include <string>
#include <utility>

// `TLateBound<decltype(&ChooseColorA)> chooseColor("comdlg32.dll", "ChooseColorA");`
// calls like the function itself; the DLL is loaded at the first call, which
// raises EOSError when the DLL or the function is missing.
template <typename Function>
class TLateBound {
public:
    constexpr TLateBound(const char* dll, const char* name) : dll_(dll), name_(name) {}

    template <typename... Arguments>
    auto operator()(Arguments&&... arguments) const
    {
        return Resolve()(std::forward<Arguments>(arguments)...);
    }

private:
    Function Resolve() const
    {
        if (!function_) {
            HMODULE module = LoadLibraryA(dll_);
            FARPROC found = module ? GetProcAddress(module, name_) : nullptr;
            if (!found)
                throw EOSError(std::string("Cannot load ") + name_ + " from " + dll_);
            function_ = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
        }
        return function_;
    }

    const char* dll_;
    const char* name_;
    mutable Function function_ = nullptr;
};
