#include "ui/Classes.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

// ---- string lists ----

int AnsiCompareText(const std::string& a, const std::string& b)
{
    const std::wstring wideA = ToWide(a), wideB = ToWide(b);
    int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideA.data(), static_cast<int>(wideA.size()),
                                wideB.data(), static_cast<int>(wideB.size()));
    return result - CSTR_EQUAL;
}

int TStringList::Add(const std::string& line)
{
    if (!sorted_) {
        items_.push_back(line);
        return Count() - 1;
    }
    auto at = std::upper_bound(items_.begin(), items_.end(), line, [](const std::string& a, const std::string& b) {
        return AnsiCompareText(a, b) < 0;
    });
    return static_cast<int>(items_.insert(at, line) - items_.begin());
}

void TStringList::Insert(int index, const std::string& line)
{
    items_.insert(items_.begin() + std::clamp(index, 0, Count()), line);
}

void TStringList::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(const std::string& line) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiCompareText(items_[i], line) == 0)
            return i;
    return -1;
}

void TStringList::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (sorted_)
        std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
            return AnsiCompareText(a, b) < 0;
        });
}

std::string TStringList::Text() const
{
    size_t length = 0;
    for (const auto& line : items_)
        length += line.size() + 2;
    std::string text;
    text.reserve(length);
    for (const auto& line : items_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    items_ = std::move(lines);
    if (sorted_)
        SetSorted(true);
}

void TStringList::LoadFromFile(const std::string& fileName)
{
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    SetText(stream.ToString());
}

void TStringList::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    file.WriteString(Text());
}

// ---- streams ----

int64_t TStream::Size()
{
    int64_t position = Seek(0, TSeekOrigin::Current);
    int64_t size = Seek(0, TSeekOrigin::End);
    Seek(position, TSeekOrigin::Beginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)));
    int64_t left = count;
    while (left > 0) {
        size_t chunk = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

size_t TMemoryStream::Read(void* buffer, size_t count)
{
    if (position_ >= data_.size())
        return 0;
    count = std::min(count, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, count);
    position_ += count;
    return count;
}

size_t TMemoryStream::Write(const void* buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (position_ + count > data_.size())
        data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == TSeekOrigin::Beginning ? 0
                 : origin == TSeekOrigin::Current   ? static_cast<int64_t>(position_)
                                                    : static_cast<int64_t>(data_.size());
    position_ = static_cast<size_t>(std::max<int64_t>(0, base + offset));
    return static_cast<int64_t>(position_);
}

void TMemoryStream::SetSize(size_t size)
{
    data_.resize(size);
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    int64_t size = file.Size();
    data_.resize(static_cast<size_t>(size));
    position_ = 0;
    file.ReadBuffer(data_.data(), data_.size());
}

void TMemoryStream::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(data_.data(), data_.size());
}

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName)
{
    if (mode == fmCreate) {
        handle_ = CreateFileW(ToWide(fileName).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFCreateError("Cannot create file " + fileName);
        return;
    }
    DWORD access = mode == fmOpenRead ? GENERIC_READ : mode == fmOpenWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
    handle_ = CreateFileW(ToWide(fileName).c_str(), access, FILE_SHARE_READ | (mode == fmOpenRead ? FILE_SHARE_WRITE : 0),
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw EFOpenError("Cannot open file " + fileName);
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

size_t TFileStream::Read(void* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(handle_, static_cast<char*>(buffer) + total, chunk, &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return total;
}

size_t TFileStream::Write(const void* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(handle_, static_cast<const char*>(buffer) + total, chunk, &written, nullptr) || written == 0)
            break;
        total += written;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = origin == TSeekOrigin::Beginning ? FILE_BEGIN : origin == TSeekOrigin::Current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(handle_, distance, &result, method))
        return -1;
    return result.QuadPart;
}

bool TFileStream::Flush() { return FlushFileBuffers(handle_) != 0; }
