#include "ui/Printers.h"

#include "ui/WideText.h"

namespace {

// Printing calls report failure with zero or a negative number.
void Check(int result, const char* call)
{
    if (result <= 0)
        throw EPrinter(Format("%s failed (%d)", call, result));
}

} // namespace

TPrinterJob::TPrinterJob(TOwnedDC printer) : printer_(std::move(printer))
{
    if (!printer_)
        throw EPrinter("No printer");
}

TPrinterJob::~TPrinterJob()
{
    if (printing_)
        AbortDoc(printer_);
}

RECT TPrinterJob::PageArea() const
{
    int dpiX = GetDeviceCaps(printer_, LOGPIXELSX);
    int dpiY = GetDeviceCaps(printer_, LOGPIXELSY);
    Check(dpiX > 0 && dpiY > 0, "GetDeviceCaps");
    return RECT{0, 0, GetDeviceCaps(printer_, HORZRES) * 1440 / dpiX, GetDeviceCaps(printer_, VERTRES) * 1440 / dpiY};
}

void TPrinterJob::BeginDoc(const std::string& title)
{
    const std::wstring name = ToWide(title);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    Check(StartDocW(printer_, &info), "StartDoc");
    printing_ = true;
}

void TPrinterJob::BeginPage() { Check(StartPage(printer_), "StartPage"); }

void TPrinterJob::EndPage() { Check(::EndPage(printer_), "EndPage"); }

void TPrinterJob::EndDoc()
{
    Check(::EndDoc(printer_), "EndDoc");
    printing_ = false;
}
