// The printer of this platform: pages in memory, written as PNG files.
#include "platform/gdi/printer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/gdi/surface.h"

namespace {

constexpr int kMaxPageSide = 16384;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

struct Printer {
    std::vector<uint32_t> page;
    int width = 0;
    int height = 0;
    int dotsPerInch = 0;
    bool inJob = false;
    bool inPage = false;
    std::string firstFile;
    std::vector<std::string> files;
};

std::map<HDC, std::unique_ptr<Printer>>& Printers()
{
    static std::map<HDC, std::unique_ptr<Printer>> printers;
    return printers;
}

Printer* Find(HDC dc)
{
    auto& printers = Printers();
    auto it = printers.find(dc);
    return it == printers.end() ? nullptr : it->second.get();
}

// "name.png" for page 1, "name-k.png" for page k.
std::string PageFile(const std::string& first, size_t page)
{
    if (page == 1) {
        return first;
    }
    const std::string suffix = "-" + std::to_string(page);
    const size_t dot = first.rfind('.');
    const size_t slash = first.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return first + suffix;
    }
    return first.substr(0, dot) + suffix + first.substr(dot);
}

} // namespace

HDC CreatePrinterDC(int width, int height, int dotsPerInch)
{
    if (width < 1 || height < 1 || width > kMaxPageSide || height > kMaxPageSide || dotsPerInch < 1) {
        return nullptr;
    }
    auto printer = std::make_unique<Printer>();
    printer->width = width;
    printer->height = height;
    printer->dotsPerInch = dotsPerInch;
    printer->page.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kWhite);
    const GdiSurface surface{printer->page.data(), width, height, width};
    HDC dc = CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, width, height});
    if (dc == nullptr) {
        return nullptr;
    }
    Printers()[dc] = std::move(printer);
    return dc;
}

BOOL DeletePrinterDC(HDC dc)
{
    auto& printers = Printers();
    auto it = printers.find(dc);
    if (it == printers.end()) {
        return FALSE;
    }
    DeleteSurfaceDC(dc);
    printers.erase(it);
    return TRUE;
}

BOOL GetPrinterPageInfo(HDC dc, SIZE* page, int* dotsPerInch)
{
    Printer* printer = Find(dc);
    if (printer == nullptr) {
        return FALSE;
    }
    if (page != nullptr) {
        *page = SIZE{printer->width, printer->height};
    }
    if (dotsPerInch != nullptr) {
        *dotsPerInch = printer->dotsPerInch;
    }
    return TRUE;
}

int StartDocA(HDC dc, const DOCINFOA* info)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || printer->inJob) {
        return 0;
    }
    std::string output = info != nullptr && info->lpszOutput != nullptr ? info->lpszOutput : "";
    if (output.empty()) {
        std::string name = info != nullptr && info->lpszDocName != nullptr && *info->lpszDocName != '\0'
                               ? info->lpszDocName
                               : "page";
        // A document name is no path: separators would leave the folder.
        std::replace(name.begin(), name.end(), '/', '_');
        std::replace(name.begin(), name.end(), '\\', '_');
        const char* folder = std::getenv("NUVEX_PRINT_DIR");
        output = (folder != nullptr && *folder != '\0' ? std::string(folder) + "/" : std::string()) + name + ".png";
    }
    printer->firstFile = output;
    printer->files.clear();
    printer->inJob = true;
    return 1;
}

int StartPage(HDC dc)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || !printer->inJob || printer->inPage) {
        return 0;
    }
    std::fill(printer->page.begin(), printer->page.end(), kWhite);
    printer->inPage = true;
    return 1;
}

int EndPage(HDC dc)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || !printer->inPage) {
        return 0;
    }
    printer->inPage = false;
    const std::string file = PageFile(printer->firstFile, printer->files.size() + 1);
    const GdiSurface surface{printer->page.data(), printer->width, printer->height, printer->width};
    const bool written = SavePngSurface(surface, file.c_str(), PngAlpha::Opaque) != FALSE;
    printer->files.push_back(written ? file : std::string());
    return written ? 1 : 0;
}

int EndDoc(HDC dc)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || !printer->inJob) {
        return 0;
    }
    if (printer->inPage) {
        EndPage(dc);
    }
    printer->inJob = false;
    return 1;
}

int AbortDoc(HDC dc)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || !printer->inJob) {
        return 0;
    }
    printer->inPage = false;
    printer->inJob = false;
    return 1;
}

int GetPrinterPageFileCount(HDC dc)
{
    Printer* printer = Find(dc);
    return printer == nullptr ? 0 : static_cast<int>(printer->files.size());
}

BOOL GetPrinterPageFile(HDC dc, int page, char* buffer, int size)
{
    Printer* printer = Find(dc);
    if (printer == nullptr || page < 0 || static_cast<size_t>(page) >= printer->files.size() || buffer == nullptr ||
        size < 1) {
        return FALSE;
    }
    const std::string& file = printer->files[static_cast<size_t>(page)];
    if (file.size() + 1 > static_cast<size_t>(size)) {
        return FALSE;
    }
    std::memcpy(buffer, file.c_str(), file.size() + 1);
    return TRUE;
}
