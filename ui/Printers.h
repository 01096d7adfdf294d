// Print jobs: the pages of one document sent to a printer, or to whatever
// device context a job of another kind draws on.
#pragma once

#include "ui/GdiObjects.h"
#include "ui/SysUtils.h"

#include <windows.h>

#include <string>

// A printing call that failed.
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// One document's pages. Pages are drawn on Handle() between BeginPage and
// EndPage; every step raises EPrinter when it fails.
class TPrintJob {
public:
    virtual ~TPrintJob() = default;
    // The device context of the page being drawn.
    virtual HDC Handle() const = 0;
    // The area a page may use, in twips, from the printable area's top left.
    virtual RECT PageArea() const = 0;
    virtual void BeginDoc(const std::string& title) = 0;
    virtual void BeginPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
};

// A job on a printer's device context, which the job owns. The page is the
// printer's whole printable area. A document begun and not ended (a failure
// on the way) is aborted when the job goes, so that nothing of it is printed.
class TPrinterJob : public TPrintJob {
public:
    explicit TPrinterJob(TOwnedDC printer);
    ~TPrinterJob() override;

    HDC Handle() const override { return printer_; }
    RECT PageArea() const override;
    void BeginDoc(const std::string& title) override;
    void BeginPage() override;
    void EndPage() override;
    void EndDoc() override;

private:
    TOwnedDC printer_;
    bool printing_ = false;
};
