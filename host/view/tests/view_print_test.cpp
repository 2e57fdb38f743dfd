// The view's scene rendered off screen and printed: pixels of a small
// drawing land where the view's scale and pan put them, and printed pages
// reach the printer's files with the drawing on them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/view/view_print.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/gdi/printer.h"

namespace {

// A red horizontal line from model (-50, 0) to (50, 0), unlit.
class LineScene : public IPaintScene {
public:
    void DrawToolLayer(int32_t, int32_t) override {}
    void DrawObjects() override
    {
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 0.0f, 0.0f);
        glLineWidth(3.0f);
        glBegin(GL_LINES);
        glVertex3d(-50.0, 0.0, 0.0);
        glVertex3d(50.0, 0.0, 0.0);
        glEnd();
    }
    void DrawCommandObjects() override {}
    void DrawPreview() override {}
};

bool IsRed(uint32_t p)
{
    return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 60 && (p & 0xFF) < 60;
}
bool IsWhite(uint32_t p)
{
    return (p & 0xFFFFFF) == 0xFFFFFF;
}

PaintViewState SmallView(double scale, double panX)
{
    PaintViewState view;
    view.clientWidth = 200;
    view.clientHeight = 100;
    view.scale = scale;
    view.translation(3, 0) = CReal(panX);
    return view;
}

class ViewPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        setenv("GALLIUM_DRIVER", "llvmpipe", 1);
        setenv("LP_NUM_THREADS", "2", 0);
    }
    LineScene scene;
};

TEST_F(ViewPrintTest, TheLineLandsWhereScaleAndPanPutIt)
{
    struct Case {
        const char* name;
        double scale;
        double panX;
        int redFromX;
        int redToX;
    };
    // View x = scale * (model x + pan x), client x = view x + 100.
    const Case cases[] = {
        {"plain", 1.0, 0.0, 52, 148},
        {"zoomed and panned", 2.0, 25.0, 52, 198},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaintViewState view = SmallView(c.scale, c.panX);
        const std::vector<uint32_t> pixels = RenderSceneOffscreen(view, scene);
        if (pixels.empty()) {
            GTEST_SKIP() << "no OpenGL context can be made on this machine";
        }
        auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * 200 + static_cast<size_t>(x)]; };
        for (int x = c.redFromX; x <= c.redToX; x += 8) {
            EXPECT_TRUE(IsRed(at(x, 50)) || IsRed(at(x, 49))) << "x " << x;
        }
        const int leftOfLine = static_cast<int>(100 + c.scale * (-50.0 + c.panX)) - 6;
        if (leftOfLine >= 0) {
            EXPECT_TRUE(IsWhite(at(leftOfLine, 50))) << "x " << leftOfLine;
        }
        EXPECT_TRUE(IsWhite(at(100, 20)));
        EXPECT_TRUE(IsWhite(at(2, 97)));
    }
}

TEST_F(ViewPrintTest, PrintedPagesCarryTheDrawingIntoTheirFiles)
{
    char pattern[] = "/tmp/nuvex-print-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    HDC printer = CreatePrinterDC(400, 300, 100);
    ASSERT_NE(printer, nullptr);
    const std::string first = folder + "/drawing.png";
    DOCINFOA info{sizeof(DOCINFOA), "drawing", first.c_str(), nullptr, 0};
    ASSERT_GT(StartDocA(printer, &info), 0);
    const PaintViewState view = SmallView(1.0, 0.0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(StartPage(printer), 0);
        if (!PrintScene(printer, RECT{0, 0, 400, 300}, view, scene)) {
            AbortDoc(printer);
            DeletePrinterDC(printer);
            std::filesystem::remove_all(folder);
            GTEST_SKIP() << "no OpenGL context can be made on this machine";
        }
        ASSERT_GT(EndPage(printer), 0);
    }
    ASSERT_GT(EndDoc(printer), 0);
    ASSERT_EQ(GetPrinterPageFileCount(printer), 2);
    char second[512];
    ASSERT_TRUE(GetPrinterPageFile(printer, 1, second, sizeof second));
    EXPECT_EQ(std::string(second), folder + "/drawing-2.png");
    DeletePrinterDC(printer);

    for (const std::string& file : {first, std::string(second)}) {
        SCOPED_TRACE(file);
        HBITMAP bitmap = LoadPngBitmapFile(file.c_str());
        ASSERT_NE(bitmap, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        // The 200 x 100 view fits the 400 x 300 page at twice its scale:
        // the line runs through the page's middle row from x 100 to 300.
        const COLORREF onLine = GetPixel(dc, 200, 150);
        const COLORREF besideLine = GetPixel(dc, 200, 60);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        EXPECT_GT(onLine & 0xFF, 200u);
        EXPECT_LT((onLine >> 8) & 0xFF, 60u);
        EXPECT_EQ(besideLine & 0xFFFFFF, 0xFFFFFFu);
    }
    std::filesystem::remove_all(folder);
}

TEST(PrinterTest, JobsRefuseOutOfOrderCalls)
{
    HDC printer = CreatePrinterDC(10, 10, 72);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(StartPage(printer), 0);
    EXPECT_EQ(EndPage(printer), 0);
    EXPECT_EQ(EndDoc(printer), 0);
    DOCINFOA info{sizeof(DOCINFOA), "x", "/nonexistent-folder/x.png", nullptr, 0};
    ASSERT_GT(StartDocA(printer, &info), 0);
    EXPECT_EQ(StartDocA(printer, &info), 0);
    ASSERT_GT(StartPage(printer), 0);
    EXPECT_EQ(StartPage(printer), 0);
    // An unwritable file fails the page, not the job.
    EXPECT_EQ(EndPage(printer), 0);
    EXPECT_GT(EndDoc(printer), 0);
    EXPECT_EQ(GetPrinterPageFileCount(printer), 1);
    EXPECT_TRUE(DeletePrinterDC(printer));
    EXPECT_FALSE(DeletePrinterDC(printer));
    EXPECT_EQ(CreatePrinterDC(0, 10, 72), nullptr);
    EXPECT_EQ(StartDocA(nullptr, &info), 0);
}

} // namespace
