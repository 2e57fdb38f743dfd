// A person opening a drawing on a desktop: the fixture drawing, read from
// its nvx file, in a view shown by the sdl back-end on a virtual X server,
// driven by real X pointer and key events: the wheel zooms about the
// cursor, the middle button pans, Ctrl with the middle button orbits, a
// click picks a line, and a point command gets the snapped end point under
// the cursor. The view's state and a few shown pixels are checked.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>

#include "host/document/host_entity_set.h"
#include "host/view/tests/desktop/desktop_fixture.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::PumpMessagesUntil;
using nuvex::testing::VirtualServer;

constexpr double kTolerance = 1e-6;
constexpr int kWaitMs = 5000;
constexpr UINT_PTR kPumpTimer = 1;
// The view's background, white.
constexpr uint32_t kBackground = 0xFFFFFF;

// A command that waits for points: it keeps the last point event.
class PointCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG, LONG* result) override
    {
        if (event == 0x200002 && value != nullptr) {
            const auto* records = static_cast<const double*>(value);
            // Three event value records of 16 bytes, the double first.
            point = CVector3(records[0], records[2], records[4]);
            points += 1;
            lastFinal = final;
        }
        *result = 0;
        return S_OK;
    }
    CVector3 point;
    int points = 0;
    LONG lastFinal = -1;
};

class DesktopViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string program = FindProgram("Xvfb");
        if (program.empty()) {
            GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                            "the desktop view test needs a virtual X server";
        }
        server = std::make_unique<VirtualServer>(program);
        const std::string display = server->Start();
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("NUVEX_DISPLAY", "sdl", 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        ResetWindowSystem(1024, 768);
        ASSERT_TRUE(StartSdlDisplay());
        started = true;
        pointer = std::make_unique<Pointer>(display);
        file = ::testing::TempDir() + "/desktop_fixture.nvx";
        ASSERT_TRUE(WriteFixtureDrawing(file));
    }
    void TearDown() override
    {
        session.reset();
        pointer.reset();
        if (started) {
            StopSdlDisplay();
            ResetWindowSystem();
        }
        setenv("NUVEX_DISPLAY", "headless", 1);
        server.reset();
        if (!file.empty()) {
            std::filesystem::remove(file);
        }
    }

    // Runs the message loop until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int ms = kWaitMs) { return PumpMessagesUntil(done, ms); }
    // Lets pending input arrive and be handled.
    void Settle() { PumpUntil([] { return false; }, 300); }

    CNuvexView& View() { return session->View(); }
    HWND Frame() { return session->Frame().m_hWnd; }
    // The screen point of a model point in the view.
    POINT ScreenOf(const CVector3& model)
    {
        CViewTransform& transform = View().Transform();
        POINT client = transform.ClientPointOf(transform.ViewPointOf(model));
        ::ClientToScreen(View().m_hWnd, &client);
        return client;
    }
    POINT ScreenOfClient(POINT client)
    {
        ::ClientToScreen(View().m_hWnd, &client);
        return client;
    }
    // Moves the pointer and waits until the view saw it there.
    bool MoveTo(POINT screen)
    {
        POINT client = screen;
        ::ScreenToClient(View().m_hWnd, &client);
        pointer->Move(Frame(), screen);
        return PumpUntil([&] {
            const POINT seen = View().Transform().CursorClient();
            return seen.x == client.x && seen.y == client.y;
        });
    }

    std::unique_ptr<VirtualServer> server;
    std::unique_ptr<Pointer> pointer;
    std::unique_ptr<DesktopSession> session;
    std::string file;
    bool started = false;
};

TEST_F(DesktopViewTest, APersonZoomsPansPicksSnapsAndOrbitsWithTheMouse)
{
    session = std::make_unique<DesktopSession>();
    std::string error;
    ASSERT_TRUE(session->Open(file, RECT{100, 80, 580, 440}, error)) << error;
    ASSERT_TRUE(SdlWaitUntilShown(Frame(), kWaitMs)) << "the frame never showed on the X server";
    ::SetTimer(Frame(), kPumpTimer, 50, nullptr);
    ASSERT_EQ(session->Document().GetObjectCount(), kFixtureLines.size() + kFixtureMoves.size() + kFixtureArcs.size());
    SCOPED_TRACE(pointer->ThroughX() ? "input through the X test extension" : "input through SDL events");

    // Zoom all framed the drawing: its extents are x -100..100, y -60..160.
    CViewTransform& transform = View().Transform();
    EXPECT_NEAR(transform.PanX(), 0.0, kTolerance);
    EXPECT_NEAR(transform.PanY(), -50.0, kTolerance);
    ASSERT_GT(transform.Scale(), 0.0);

    // A few shown pixels: the bottom line is drawn where the view puts it,
    // the inside of the rectangle away from the lines is background.
    {
        std::vector<uint32_t> shown;
        int width = 0;
        int height = 0;
        Settle();
        ASSERT_TRUE(SdlReadShownPixels(Frame(), &shown, &width, &height));
        RECT frameRect{};
        ::GetWindowRect(Frame(), &frameRect);
        // The colour shown at a model point moved by (dx, dy) pixels; none
        // outside the window.
        auto shownAt = [&](const CVector3& model, int dx, int dy) -> std::optional<uint32_t> {
            const POINT screen = ScreenOf(model);
            const int x = screen.x - frameRect.left + dx;
            const int y = screen.y - frameRect.top + dy;
            if (x < 0 || y < 0 || x >= width || y >= height) {
                return std::nullopt;
            }
            return shown[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] & 0xFFFFFFu;
        };
        bool lineShown = false;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const auto colour = shownAt(CVector3(10.0, -60.0, 0.0), dx, dy);
                lineShown = lineShown || (colour && *colour != kBackground);
            }
        }
        EXPECT_TRUE(lineShown) << "the bottom line is not on the screen";
        EXPECT_EQ(shownAt(CVector3(70.0, -35.0, 0.0), 0, 0), std::optional<uint32_t>(kBackground))
            << "the empty inside is not background";
        const std::string shot = ::testing::TempDir() + "/desktop_view.png";
        EXPECT_TRUE(SaveWindowScreenshot(Frame(), shot.c_str()));
        std::filesystem::remove(shot);
    }

    // A click on the bottom line selects it. A loaded X server now and then
    // drops a click; one that never arrived is made again (a second click
    // on the same line picks the same line).
    const POINT onLine = ScreenOf(CVector3(10.0, -60.0, 0.0));
    ASSERT_TRUE(MoveTo(onLine));
    const uintptr_t lineId = reinterpret_cast<uintptr_t>(session->Document().GetObjectAt(0));
    bool picked = false;
    for (int attempt = 0; attempt < 3 && !picked; ++attempt) {
        pointer->Click(Frame(), onLine, 1);
        picked = PumpUntil([&] { return !session->Document().SelectionHandler().GetSelection().empty(); },
                           kWaitMs / 3);
    }
    ASSERT_TRUE(picked) << "the click picked nothing";
    EXPECT_EQ(session->Document().SelectionHandler().GetSelection(), std::vector<uintptr_t>{lineId});
    pointer->Key(Frame(), VK_ESCAPE);
    Settle();

    // A command waiting for points gets the end point the cursor is near.
    auto command = ComPtr<PointCommand>::Share(new PointCommand());
    session->Document().PushLevel(0, command.Get());
    CommandLevel& level = session->Document().Level(session->Document().GetCurrentLevel());
    level.inputKinds = {kPointInput, kPointInput, kPointInput};
    level.options = {kOptionSnaps, kOptionSnaps, kOptionSnaps};
    const CVector3 corner(100.0, -60.0, 0.0);
    POINT nearCorner = ScreenOf(corner);
    nearCorner.x -= 3;
    nearCorner.y += 2;
    ASSERT_TRUE(MoveTo(nearCorner));
    ASSERT_TRUE(PumpUntil([&] { return command->points > 0; })) << "no point event";
    EXPECT_NEAR(command->point.x.GetValue(), 100.0, kTolerance);
    EXPECT_NEAR(command->point.y.GetValue(), -60.0, kTolerance);
    EXPECT_EQ(command->lastFinal, 0);
    EXPECT_NE(session->Document().SnapEngine().ResultKind() & 0x1u, 0u);
    session->Document().CancelCommand();
    Settle();
    command.Reset();

    // The wheel, one notch forward, zooms by 1.2 about the cursor.
    const POINT wheelAt = ScreenOfClient(POINT{transform.ClientWidth() / 2 + 60, transform.ClientHeight() / 2 - 40});
    ASSERT_TRUE(MoveTo(wheelAt));
    const double scale0 = transform.Scale();
    const double panX0 = transform.PanX();
    const double panY0 = transform.PanY();
    const POINT cursor = transform.CursorView();
    pointer->Wheel(Frame(), wheelAt, 1);
    ASSERT_TRUE(PumpUntil([&] { return std::fabs(transform.Scale() - scale0) > 0.0; })) << "the wheel did not zoom";
    Settle();
    EXPECT_NEAR(transform.Scale(), scale0 * 1.2, kTolerance * scale0);
    EXPECT_NEAR(transform.PanX(), panX0 + cursor.x / scale0 * (1.0 / 1.2 - 1.0), kTolerance);
    EXPECT_NEAR(transform.PanY(), panY0 + cursor.y / scale0 * (1.0 / 1.2 - 1.0), kTolerance);

    // A middle-button drag pans: the drawing follows the mouse.
    const double scale1 = transform.Scale();
    const double panX1 = transform.PanX();
    const double panY1 = transform.PanY();
    const POINT from = wheelAt;
    const POINT to{from.x - 30, from.y + 20};
    pointer->Press(Frame(), from, 2);
    Settle();
    ASSERT_TRUE(MoveTo(POINT{from.x - 15, from.y + 10}));
    ASSERT_TRUE(MoveTo(to));
    pointer->Release(Frame(), to, 2);
    Settle();
    EXPECT_NEAR(transform.PanX(), panX1 + (to.x - from.x) / scale1, kTolerance);
    EXPECT_NEAR(transform.PanY(), panY1 - (to.y - from.y) / scale1, kTolerance);
    EXPECT_DOUBLE_EQ(transform.Scale(), scale1);

    // Ctrl with a middle-button drag to the right turns the view about its
    // second axis by 16 / sqrt(scale) radians per client width.
    const double scale2 = transform.Scale();
    const int width = transform.ClientWidth();
    const POINT orbitFrom = ScreenOfClient(POINT{width / 2, transform.ClientHeight() / 2});
    const POINT orbitTo{orbitFrom.x + 20, orbitFrom.y};
    ASSERT_TRUE(MoveTo(orbitFrom));
    ASSERT_TRUE(pointer->KeyDown(Frame(), VK_CONTROL));
    Settle();
    pointer->Press(Frame(), orbitFrom, 2);
    Settle();
    ASSERT_TRUE(MoveTo(orbitTo));
    pointer->Release(Frame(), orbitTo, 2);
    pointer->KeyUp(Frame(), VK_CONTROL);
    Settle();
    const double angle = 20.0 * 16.0 / std::sqrt(scale2) / width;
    transform.ReadViewOrientation(session->Document());
    const CMatrix4& orientation = transform.Orientation();
    // The view direction (the negated third row) turned in the XZ plane.
    const double dx = -orientation(2, 0).GetValue();
    const double dy = -orientation(2, 1).GetValue();
    const double dz = -orientation(2, 2).GetValue();
    EXPECT_NEAR(std::fabs(dx), std::sin(angle), 1e-6);
    EXPECT_NEAR(dy, 0.0, 1e-6);
    EXPECT_NEAR(dz, -std::cos(angle), 1e-6);
    EXPECT_DOUBLE_EQ(transform.Scale(), scale2);
}

} // namespace
