// The system shell's "open" verb, seen from a test: shell_recorder.exe is
// registered as the program that opens ".reg" and ".pdf" files and "http" and
// "mailto" addresses, and logs every target it is started with.
#pragma once

#include <string>
#include <vector>

class TShellRecorder {
public:
    // Registers the recorder (beside the test program) and starts an empty log.
    TShellRecorder();
    // Puts the previous registrations back.
    ~TShellRecorder();
    TShellRecorder(const TShellRecorder&) = delete;
    TShellRecorder& operator=(const TShellRecorder&) = delete;

    // The targets opened so far, after waiting up to `milliseconds` for at
    // least `count` of them.
    std::vector<std::string> Opened(size_t count, int milliseconds = 15000) const;

private:
    std::string log_;
    struct Saved {
        std::string key;
        bool existed;
        std::string value;
    };
    std::vector<Saved> saved_;
};
