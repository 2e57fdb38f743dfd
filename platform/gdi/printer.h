// The printer of this platform: a printer DC draws into a page held in
// memory, and every finished page is written as a PNG file. The document
// calls are those of the platform's print jobs (StartDoc, StartPage,
// EndPage, EndDoc, AbortDoc). Page k of a job whose output is "name.png"
// goes to "name.png" for the first page and "name-k.png" for the others.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

struct DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    // The first page's file; null or empty: "<document name>.png" in the
    // folder named by NUVEX_PRINT_DIR, else the working folder.
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
};

// A printer DC with pages of width x height pixels at dotsPerInch (A4 at
// 150 dpi is 1240 x 1754). Null for a size below 1 or above 16384.
NUVEX_PLATFORM_API HDC CreatePrinterDC(int width, int height, int dotsPerInch);
// Frees a printer DC and its page (a running job is aborted).
NUVEX_PLATFORM_API BOOL DeletePrinterDC(HDC dc);
// The page size in pixels and the resolution; FALSE for a DC that is no printer DC.
NUVEX_PLATFORM_API BOOL GetPrinterPageInfo(HDC dc, SIZE* page, int* dotsPerInch);

// A job id above 0, or 0 (SP_ERROR) when the DC is no printer DC or a job runs.
NUVEX_PLATFORM_API int StartDocA(HDC dc, const DOCINFOA* info);
// A white page; above 0, or 0 outside a job or inside a page.
NUVEX_PLATFORM_API int StartPage(HDC dc);
// Writes the page's file; 0 when it cannot be written (the job goes on).
NUVEX_PLATFORM_API int EndPage(HDC dc);
NUVEX_PLATFORM_API int EndDoc(HDC dc);
// Ends the job; the pages written so far stay.
NUVEX_PLATFORM_API int AbortDoc(HDC dc);
// The files written by the DC's last job, in page order ("" for a page
// whose file could not be written).
NUVEX_PLATFORM_API int GetPrinterPageFileCount(HDC dc);
NUVEX_PLATFORM_API BOOL GetPrinterPageFile(HDC dc, int page, char* buffer, int size);
