// The recovery copy: while the editor holds text that is in no file yet, the
// text goes to a file of the program's own a few seconds after the last
// change, so that a program killed or a machine that lost its power loses
// nothing typed. A clean close deletes it; the next start after a run that
// did not close finds what that run left.
#pragma once

#include "ui/ExtCtrls.h"
#include "ui/Handles.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// A text as the recovery copy keeps it: its bytes and whether they are rich
// text (RTF) or plain text (UTF-8 with a byte order mark).
struct TRecoveredText {
    std::string bytes;
    bool rich = false;
};

class TRecoveryCopy {
public:
    // `snapshot` gives the editor's text when a copy is due. The files live
    // in `folder` (with its separator at the end).
    TRecoveryCopy(std::string folder, std::function<TRecoveredText()> snapshot);
    ~TRecoveryCopy();
    TRecoveryCopy(const TRecoveryCopy&) = delete;
    TRecoveryCopy& operator=(const TRecoveryCopy&) = delete;

    // The editor's text changed: a copy is due a few seconds after the last change.
    void Changed();
    // The text is safe in a file (loaded, saved or backed up): no copy is due,
    // and the last one goes.
    void Clean();
    // A clean close: the copies of this run are deleted.
    void Close();

    // The newest copy left by a run of the program that is no longer
    // running, for this run to take up; none when there is none. It stays
    // until this run's first copy or its clean close.
    std::optional<std::string> LeftOver();

    // Seconds from the last change to the copy, and the check's interval in ms.
    static constexpr unsigned kDelay = 3000, kTick = 1000;
    // For tests: whether a copy is due or being written, and the file of this run.
    bool Pending() const { return due_ || writing_; }
    bool Writing() const { return writing_; }
    std::string FileName(bool rich) const;
    // For tests: waits for a copy being written, then writes a due one at once.
    void WriteNow();

private:
    void Tick();
    void StartWriting();
    void Join();
    void DeleteCopies();

    std::string folder_;
    std::string id_; // this run's part of the file names
    std::function<TRecoveredText()> snapshot_;
    TOwnedFile lock_; // held open while the program runs
    std::unique_ptr<TTimer> timer_;
    bool due_ = false;
    unsigned long lastChange_ = 0;
    std::string leftOver_; // a file taken up from a run that did not close
    std::thread writer_;
    std::atomic<bool> writing_{false};
    std::atomic<bool> failed_{false};
};
