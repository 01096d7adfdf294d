#include "smtp/SocketHost.h"

#include "ui/WideText.h"

#include <windows.h>

namespace {

class TPlainHost : public TSocketHost {
public:
    void ProcessMessages() override
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    void ReportFailure(const std::string& message) override
    {
        MessageBoxW(nullptr, ToWide(message).c_str(), L"Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
};

TPlainHost plainHost;
TSocketHost* installed = &plainHost;

} // namespace

void InstallSocketHost(TSocketHost* host) { installed = host ? host : &plainHost; }

TSocketHost& SocketHost() { return *installed; }
