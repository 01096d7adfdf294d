// Exceptions and the small text helpers the program uses everywhere.
#pragma once

#include <exception>
#include <string>

// The program's exception base: a failure with a text meant for the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EConvertError : public Exception { public: using Exception::Exception; };
class EStreamError : public Exception { public: using Exception::Exception; };
class EFOpenError : public EStreamError { public: using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EStreamError { public: using EStreamError::EStreamError; };
class EWriteError : public EStreamError { public: using EStreamError::EStreamError; };
class EOutOfResources : public Exception { public: using Exception::Exception; };
class EOSError : public Exception { public: using Exception::Exception; };
class ERegistryException : public Exception { public: using Exception::Exception; };

// Runs `step` where the program passes over its failure by choice (the caller
// says why): a failure of type Failure ends the step and nothing else.
template <typename Failure = std::exception, typename Step>
void IgnoreFailure(Step&& step)
{
    try {
        step();
    } catch (const Failure&) {
    }
}

// Runs `step` where its failure is to be reported once the step has been
// left (no message loop may run while an exception is being handled): true,
// with the failure's text, when it failed.
template <typename Step>
bool StepFailed(Step&& step, std::string& failure)
{
    try {
        step();
        return false;
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "Unexpected failure";
    }
    return true;
}

// A fault of the program itself (a command or a form that is not there), not
// of the user's input or the machine: no box to click away, the program ends
// at once with the text where a debugger or the console sees it.
[[noreturn]] void FailFast(const std::string& what);

// Integer text: optional blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". The whole text must be used and the
// value must fit 32 bits.
bool TryStrToInt(const std::string& text, int& value);
// As TryStrToInt; raises EConvertError "'text' is not a valid integer value".
int StrToInt(const std::string& text);
int StrToIntDef(const std::string& text, int fallback);
std::string IntToStr(long long value);
// Upper-case hexadecimal, at least `digits` digits.
std::string IntToHex(unsigned value, int digits);

// ASCII-only case mapping.
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);
bool SameText(const std::string& a, const std::string& b);
std::string Trim(const std::string& text);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The folder part of a path with its trailing separator ("C:\a\b.txt" -> "C:\a\").
std::string ExtractFilePath(const std::string& path);
// The name part of a path: the text after the last backslash or colon.
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
