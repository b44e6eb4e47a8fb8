// Printer DCs: the program draws into a page image with the screen's rules;
// each finished page goes to a QPrinter (a real printer or a PDF file).
#include "plat/print.h"
#include "gdi/dc_target_p.h"
#include "plat/gdi.h"
#include "plat/path.h"
#include "plat/profile.h"
#include "text_qt_p.h"
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <map>
#include <memory>
#include <strings.h>

namespace plat {

namespace {

constexpr int kDpi = 300;

class PrinterTarget : public detail::DcTarget {
public:
    explicit PrinterTarget(std::unique_ptr<QPrinter> p, bool pdf, std::string file)
        : printer(std::move(p)), pdf_(pdf), file_(std::move(file))
    {
        // Pixels from millimetres, rounded: A4 is 2480 x 3508 at 300 dpi.
        const QRectF mm = printer->pageLayout().fullRect(QPageLayout::Millimeter);
        page = QImage(qRound(mm.width() / 25.4 * kDpi), qRound(mm.height() / 25.4 * kDpi), QImage::Format_RGB32);
        page.fill(0xFFFFFFFFu);
    }
    ~PrinterTarget() override { abort(); }
    QImage* image() override { return &page; }
    void touched(const QRect&) override { drawn = true; }
    int deviceCaps(int index) const override
    {
        switch (index) {
        case HORZRES: return page.width();
        case VERTRES: return page.height();
        case LOGPIXELSX:
        case LOGPIXELSY: return kDpi;
        case HORZSIZE: return static_cast<int>(page.width() * 254 / (kDpi * 10));
        case VERTSIZE: return static_cast<int>(page.height() * 254 / (kDpi * 10));
        case TECHNOLOGY: return DT_RASPRINTER;
        default: return 0;
        }
    }

    bool start(const char* output)
    {
        if (docOpen)
            return false;
        if (pdf_ && output && *output) {
            file_ = output;
            printer->setOutputFileName(QString::fromStdString(ResolvePath(output)));
        }
        painter = std::make_unique<QPainter>();
        if (!painter->begin(printer.get())) {
            painter.reset();
            return false;
        }
        docOpen = true;
        pages = 0;
        clear();
        return true;
    }
    bool end_page()
    {
        if (!docOpen)
            return false;
        if (pages > 0 && !printer->newPage())
            return false;
        const QRect target(0, 0, printer->width(), printer->height());
        painter->drawImage(target, page);
        ++pages;
        clear();
        return true;
    }
    bool end_doc()
    {
        if (!docOpen)
            return false;
        docOpen = false;
        return painter->end();
    }
    void abort()
    {
        if (!docOpen)
            return;
        docOpen = false;
        painter->end();
        if (pdf_ && !file_.empty())
            QFile::remove(QString::fromStdString(ResolvePath(file_.c_str())));
    }
    void clear()
    {
        page.fill(0xFFFFFFFFu);
        drawn = false;
    }

    QImage page;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    bool docOpen = false;
    bool drawn = false;
    int pages = 0;

private:
    bool pdf_;
    std::string file_;
};

std::map<HDC, std::weak_ptr<PrinterTarget>>& printers()
{
    static std::map<HDC, std::weak_ptr<PrinterTarget>> m;
    return m;
}

std::shared_ptr<PrinterTarget> find_printer(HDC hdc)
{
    auto it = printers().find(hdc);
    if (it == printers().end())
        return nullptr;
    auto p = it->second.lock();
    if (!p || detail::TargetOf(hdc) != p.get()) {
        printers().erase(it);
        return nullptr;
    }
    return p;
}

} // namespace

HDC CreateDC(const char*, const char* device, const char* port, const void*)
{
    std::unique_ptr<QPrinter> printer;
    bool pdf = false;
    std::string file;
    if (device && strcasecmp(device, "PDF") == 0) {
        if (!port || !*port)
            return 0;
        pdf = true;
        file = port;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(ResolvePath(port)));
    } else {
        const QPrinterInfo info = (device && *device) ? QPrinterInfo::printerInfo(qstr_from_ansi(device))
                                                      : QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return 0;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    printer->setFullPage(true);
    if (pdf)
        printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setResolution(kDpi);
    auto target = std::make_shared<PrinterTarget>(std::move(printer), pdf, file);
    if (target->page.isNull())
        return 0;
    const HDC hdc = detail::CreateTargetDC(target);
    if (hdc)
        printers()[hdc] = target;
    return hdc;
}

HDC CreateDefaultPrinterDC()
{
    char buf[81] = {};
    GetProfileString("windows", "device", ",,,", buf, sizeof buf);
    std::string parts[3];
    int n = 0;
    for (const char* p = buf; *p && n < 3; ++p) {
        if (*p == ',')
            ++n;
        else if (n < 3)
            parts[n].push_back(*p);
    }
    if (parts[0].empty())
        return 0;
    return CreateDC(parts[1].c_str(), parts[0].c_str(), parts[2].c_str(), nullptr);
}

BOOL DeletePrinterDC(HDC hdc)
{
    if (!find_printer(hdc))
        return FALSE;
    printers().erase(hdc);
    return DeleteDC(hdc);
}

BOOL IsPrinterDC(HDC hdc) { return find_printer(hdc) ? TRUE : FALSE; }

int StartDoc(HDC hdc, const DOCINFO* info)
{
    auto p = find_printer(hdc);
    if (!p || !p->start(info ? info->lpszOutput : nullptr))
        return SP_ERROR;
    return 1;
}

int StartPage(HDC hdc)
{
    auto p = find_printer(hdc);
    if (!p || !p->docOpen)
        return SP_ERROR;
    p->clear();
    return 1;
}

int EndPage(HDC hdc)
{
    auto p = find_printer(hdc);
    return p && p->end_page() ? 1 : SP_ERROR;
}

int EndDoc(HDC hdc)
{
    auto p = find_printer(hdc);
    return p && p->end_doc() ? 1 : SP_ERROR;
}

int AbortDoc(HDC hdc)
{
    auto p = find_printer(hdc);
    if (!p || !p->docOpen)
        return SP_ERROR;
    p->abort();
    return 1;
}

int Escape(HDC hdc, int escape, int, const char* in, void*)
{
    switch (escape) {
    case STARTDOC: {
        DOCINFO di;
        di.lpszDocName = in;
        return StartDoc(hdc, &di);
    }
    case NEWFRAME: return EndPage(hdc);
    case ENDDOC: return EndDoc(hdc);
    case ABORTDOC: return AbortDoc(hdc);
    default: return 0;
    }
}

BOOL GetPrinterPageInfo(HDC hdc, int* width, int* height, int* dpi)
{
    auto p = find_printer(hdc);
    if (!p)
        return FALSE;
    if (width)
        *width = p->page.width();
    if (height)
        *height = p->page.height();
    if (dpi)
        *dpi = kDpi;
    return TRUE;
}

} // namespace plat
