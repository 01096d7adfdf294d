// What the socket layer asks of the program it runs in: handling the window
// messages that wait while a call waits for the network, and reporting the
// failure of a timer's handler once the handler has been left. The program
// installs its own; until then the messages of the thread are handled here
// and a failure is shown in a plain system error box.
#pragma once

#include "ui/SysUtils.h"

#include <string>

class TSocketHost {
public:
    virtual ~TSocketHost() = default;
    // Handles every message waiting in the thread's queue, then returns.
    virtual void ProcessMessages() = 0;
    // Reports a failure's text; never called while an exception is handled.
    virtual void ReportFailure(const std::string& message) = 0;
};

// Installs `host` (nullptr: the one of the socket layer); the caller keeps it
// alive while it is installed.
void InstallSocketHost(TSocketHost* host);
TSocketHost& SocketHost();

// Runs a step that a window message of the socket layer starts (a timer, a
// socket's notification): its failure is reported through the host once the
// step has been left, and goes no further.
template <typename Step>
void RunReportingFailure(Step&& step)
{
    std::string failure;
    if (StepFailed(step, failure))
        SocketHost().ReportFailure(failure);
}
