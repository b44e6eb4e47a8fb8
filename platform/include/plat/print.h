// Printer DCs: a page image drawn with the screen's rules and sent to a
// printer (or a PDF file) page by page.
#pragma once
#include "plat/types.h"

namespace plat {

struct DOCINFO {
    int cbSize = sizeof(DOCINFO);
    const char* lpszDocName = nullptr;
    const char* lpszOutput = nullptr; // a file to print into (optional)
};

// Escapes of the old printing interface.
inline constexpr int NEWFRAME = 1;
inline constexpr int ABORTDOC = 2;
inline constexpr int STARTDOC = 10;
inline constexpr int ENDDOC = 11;
inline constexpr int SP_ERROR = -1;

// device "PDF" prints into the file named by port; another name selects that
// printer; NULL or "" the default printer. 0 when there is no such printer
// (or none at all). driver is ignored. The page is A4 at 300 dpi unless the
// printer says otherwise; GetDeviceCaps(HORZRES/VERTRES) give its pixels.
HDC CreateDC(const char* driver, const char* device, const char* port, const void* devMode);
// The default printer from WIN.INI [windows] device = "name,driver,port";
// 0 when it is missing or incomplete.
HDC CreateDefaultPrinterDC();
// Ends a printer DC (an open document is aborted); other DCs go to the
// drawing layer's DeleteDC.
BOOL DeletePrinterDC(HDC hdc);
BOOL IsPrinterDC(HDC hdc);

// > 0 on success, SP_ERROR (or <= 0) on failure.
int StartDoc(HDC hdc, const DOCINFO* info);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);
// STARTDOC (in: the document name), NEWFRAME, ENDDOC, ABORTDOC.
int Escape(HDC hdc, int escape, int inCount, const char* in, void* out);

// Page size in pixels and resolution of a printer DC (tests).
BOOL GetPrinterPageInfo(HDC hdc, int* width, int* height, int* dpi);

} // namespace plat
