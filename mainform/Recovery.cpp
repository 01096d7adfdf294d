#include "mainform/Recovery.h"

#include "ui/SafeFile.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <windows.h>

#include <vector>

namespace {

const char* const kPrefix = "Recovery-";

// Deletes a file; a file that is not there is no failure.
void Remove(const std::string& path) { DeleteFileW(ToWide(path).c_str()); }

// The lock of a run: a file it holds open, shared with no one.
TOwnedFile TakeLock(const std::string& path)
{
    return TOwnedFile(
        CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

TRecoveryCopy::TRecoveryCopy(std::string folder, std::function<TRecoveredText()> snapshot)
    : folder_(std::move(folder)), snapshot_(std::move(snapshot))
{
    id_ = IntToStr(GetCurrentProcessId()) + "-" + IntToStr(GetTickCount());
    lock_ = TakeLock(folder_ + kPrefix + id_ + ".lock");
    timer_ = std::make_unique<TTimer>(TTimerOptions{.interval = kTick});
    timer_->OnTimer = [this](TObject*) { Tick(); };
}

TRecoveryCopy::~TRecoveryCopy()
{
    Join();
    if (!lock_)
        return;
    lock_.Reset();
    // Without a copy the lock guards nothing.
    if (GetFileAttributesW(ToWide(FileName(true)).c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetFileAttributesW(ToWide(FileName(false)).c_str()) == INVALID_FILE_ATTRIBUTES)
        Remove(folder_ + kPrefix + id_ + ".lock");
}

std::string TRecoveryCopy::FileName(bool rich) const { return folder_ + kPrefix + id_ + (rich ? ".rtf" : ".txt"); }

void TRecoveryCopy::Changed()
{
    due_ = true;
    lastChange_ = GetTickCount();
}

void TRecoveryCopy::Clean()
{
    due_ = false;
    Join();
    DeleteCopies();
}

void TRecoveryCopy::Close()
{
    Clean();
    if (!leftOver_.empty())
        Remove(leftOver_);
    leftOver_.clear();
    if (lock_) {
        lock_.Reset();
        Remove(folder_ + kPrefix + id_ + ".lock");
    }
    timer_->SetEnabled(false);
}

std::optional<std::string> TRecoveryCopy::LeftOver()
{
    WIN32_FIND_DATAW found;
    TOwnedFind search(FindFirstFileW(ToWide(folder_ + kPrefix + "*").c_str(), &found));
    if (!search)
        return std::nullopt;
    std::string newest;
    FILETIME newestTime{};
    do {
        const std::string name = ToUtf8(found.cFileName);
        const std::string extension = ExtractFileExt(name);
        if ((extension != ".rtf" && extension != ".txt") || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::string stem = name.substr(0, name.size() - extension.size());
        if (stem == kPrefix + id_)
            continue;
        // A run that is still going holds its lock: its copy is its own.
        const std::string lock = folder_ + stem + ".lock";
        if (!TakeLock(lock))
            continue;
        Remove(lock);
        if (newest.empty() || CompareFileTime(&found.ftLastWriteTime, &newestTime) > 0) {
            newest = folder_ + name;
            newestTime = found.ftLastWriteTime;
        }
    } while (FindNextFileW(search, &found));
    search.Reset();
    if (newest.empty())
        return std::nullopt;
    leftOver_ = newest;
    return newest;
}

void TRecoveryCopy::Tick()
{
    if (failed_.exchange(false))
        due_ = true; // tried again, silently
    if (!due_ || writing_ || GetTickCount() - lastChange_ < kDelay)
        return;
    StartWriting();
}

void TRecoveryCopy::WriteNow()
{
    Join();
    if (failed_.exchange(false))
        due_ = true;
    if (due_)
        StartWriting();
    Join();
}

void TRecoveryCopy::StartWriting()
{
    Join();
    due_ = false;
    std::shared_ptr<TRecoveredText> text;
    try {
        text = std::make_shared<TRecoveredText>(snapshot_());
    } catch (const std::exception&) {
        failed_ = true;
        return;
    }
    const std::string target = FileName(text->rich), other = FileName(!text->rich);
    const std::string leftOver = leftOver_;
    leftOver_.clear();
    writing_ = true;
    // The file is written beside the program's work: a long text takes the
    // disk a while, and typing goes on meanwhile.
    writer_ = std::thread([this, text, target, other, leftOver] {
        try {
            SaveFileSafely(target, [&](TStream& file) { file.WriteString(text->bytes); });
            Remove(other);
            if (!leftOver.empty())
                Remove(leftOver);
        } catch (const std::exception&) {
            failed_ = true; // a full disk or a folder closed to writing: later again
        }
        writing_ = false;
    });
}

void TRecoveryCopy::Join()
{
    if (writer_.joinable())
        writer_.join();
}

void TRecoveryCopy::DeleteCopies()
{
    Remove(FileName(true));
    Remove(FileName(false));
}
