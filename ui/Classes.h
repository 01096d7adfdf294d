// The object base, event types, string lists and streams.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

// Events are plain std::function members; an unassigned event is skipped.
using TNotifyEvent = std::function<void(TObject* sender)>;

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

// An event that runs a member function of `object`; the one way handlers are
// bound: OnClick = Bind(this, &TForm1::Open1Click).
template <typename Object, typename... Args>
std::function<void(Args...)> Bind(Object* object, void (Object::*handler)(Args...))
{
    return [object, handler](Args... args) { (object->*handler)(std::forward<Args>(args)...); };
}

// A list of text lines. Sorted lists keep their entries in case-insensitive
// order of the user's locale and insert new ones at their place.
class TStringList : public TObject {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : items_(lines) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const std::string& operator[](int index) const { return items_.at(index); }
    std::string& operator[](int index) { return items_.at(index); }
    const std::vector<std::string>& Items() const { return items_; }

    int Add(const std::string& line);
    void Insert(int index, const std::string& line);
    void Delete(int index);
    void Clear() { items_.clear(); }
    void Assign(const TStringList& other) { items_ = other.items_; }
    // Index of the first line equal to `line`, ignoring case; -1 when none.
    int IndexOf(const std::string& line) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

    // Every line followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, CR or LF; an empty remainder after the last break is no line.
    void SetText(const std::string& text);

    // Lines of a file of single-byte text; see SetText.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::string> items_;
    bool sorted_ = false;
};

// Case-insensitive comparison in the user's locale, as sorted lists use it.
int AnsiCompareText(const std::string& a, const std::string& b);

enum class TSeekOrigin { Beginning, Current, End };

class TStream : public TObject {
public:
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
    int64_t Size();

    // Whole transfers: raise EReadError / EWriteError when short.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
    void WriteString(const std::string& text) { WriteBuffer(text.data(), text.size()); }
    // Copies `count` bytes from `source` (all of it from its start when 0).
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    const char* Memory() const { return data_.data(); }
    char* Memory() { return data_.data(); }
    size_t DataSize() const { return data_.size(); }
    void SetSize(size_t size);
    void Clear();
    void Reserve(size_t size) { data_.reserve(size); }
    std::string ToString() const { return std::string(data_.begin(), data_.end()); }

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<char> data_;
    size_t position_ = 0;
};

enum TFileMode : unsigned {
    fmOpenRead = 0,
    fmOpenWrite = 1,
    fmOpenReadWrite = 2,
    fmCreate = 0xFF00,
};

// A file opened through the Win32 API. Opening raises EFOpenError "Cannot open
// file %s"; creating raises EFCreateError "Cannot create file %s".
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Forces the written bytes to the disk; false when the system refuses.
    bool Flush();

    const std::string& FileName() const { return fileName_; }

private:
    void* handle_;
    std::string fileName_;
};
