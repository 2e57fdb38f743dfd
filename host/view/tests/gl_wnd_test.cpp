// The shared OpenGL window: the painting view takes it over, the view it
// leaves swallows one paint, it goes with the view that owns it, its
// mouse and keyboard messages reach the owning view unchanged, and a view
// whose window cannot be made gets none.
#include <gtest/gtest.h>

#include "host/view/gl_wnd.h"
#include "platform/user/inspect.h"
#include "platform/user/messages.h"

namespace {

class TestView : public CWnd, public IGLWindowOwner {
public:
    TestView(const char* name, std::vector<std::string>& log) : m_name(name), m_log(log) {}
    void PaintGLWindow(CGLWnd&) override { m_log.push_back(m_name + " paints"); }
    void SkipNextPaint() override { m_log.push_back(m_name + " skips a paint"); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE || message == WM_KEYDOWN || message == WM_MOUSEWHEEL) {
            m_log.push_back(m_name + " message " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                            std::to_string(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class GLWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr));
        ASSERT_TRUE(left.Create(nullptr, "left", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 200}, &frame, 1));
        ASSERT_TRUE(right.Create(nullptr, "right", WS_CHILD | WS_VISIBLE, RECT{200, 0, 400, 200}, &frame, 2));
    }
    void TearDown() override
    {
        CGLWnd::ReleaseFrom(left);
        CGLWnd::ReleaseFrom(right);
        right.DestroyWindow();
        left.DestroyWindow();
        frame.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    std::vector<std::string> log;
    CWnd frame;
    TestView left{"left", log};
    TestView right{"right", log};
};

TEST_F(GLWndTest, ThePaintingViewTakesTheWindowOverAndTheOtherSwallowsOnePaint)
{
    CGLWnd* window = CGLWnd::TakeOver(left, RECT{0, 0, 200, 200});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CGLWnd::Shared(), window);
    EXPECT_EQ(::GetParent(window->m_hWnd), left.m_hWnd);
    RECT client{};
    window->GetClientRect(&client);
    EXPECT_EQ(client.right, 200);
    EXPECT_TRUE(log.empty());

    EXPECT_EQ(CGLWnd::TakeOver(right, RECT{0, 0, 200, 180}), window);
    EXPECT_EQ(::GetParent(window->m_hWnd), right.m_hWnd);
    EXPECT_EQ(log, (std::vector<std::string>{"left skips a paint"}));
    window->GetClientRect(&client);
    EXPECT_EQ(client.bottom, 180);
    // Painting again in the same view moves nothing.
    log.clear();
    CGLWnd::TakeOver(right, RECT{0, 0, 200, 180});
    EXPECT_TRUE(log.empty());

    // Only the view that holds it takes it along.
    CGLWnd::ReleaseFrom(left);
    EXPECT_EQ(CGLWnd::Shared(), window);
    CGLWnd::ReleaseFrom(right);
    EXPECT_EQ(CGLWnd::Shared(), nullptr);
}

TEST_F(GLWndTest, MessagesReachTheOwningViewUnchangedAndThePaintAsksItToDraw)
{
    CGLWnd* window = CGLWnd::TakeOver(left, RECT{0, 0, 200, 200});
    ASSERT_NE(window, nullptr);
    ::SendMessageA(window->m_hWnd, WM_MOUSEMOVE, 8, 0x00140010);
    ::SendMessageA(window->m_hWnd, WM_KEYDOWN, 13, 1);
    ::SendMessageA(window->m_hWnd, WM_MOUSEWHEEL, 120u << 16, 0x00500050);
    EXPECT_EQ(log, (std::vector<std::string>{"left message 512 8 1310736", "left message 256 13 1",
                                             "left message 522 7864320 5242960"}));
    log.clear();
    ::SendMessageA(window->m_hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"left paints"}));
}

TEST_F(GLWndTest, AResizeFitsTheWindowToTheViewThatResizes)
{
    // Before any paint there is no window to fit.
    CGLWnd::FollowResize(left, RECT{0, 0, 100, 100});
    EXPECT_EQ(CGLWnd::Shared(), nullptr);
    CGLWnd* window = CGLWnd::TakeOver(left, RECT{0, 0, 200, 200});
    ASSERT_NE(window, nullptr);
    CGLWnd::FollowResize(right, RECT{0, 0, 150, 120});
    EXPECT_EQ(::GetParent(window->m_hWnd), right.m_hWnd);
    RECT client{};
    window->GetClientRect(&client);
    EXPECT_EQ(client.right, 150);
    EXPECT_EQ(client.bottom, 120);
}

TEST_F(GLWndTest, AViewWithoutAWindowGetsNoOpenGLWindow)
{
    std::vector<std::string> otherLog;
    TestView detached("detached", otherLog);
    EXPECT_EQ(CGLWnd::TakeOver(detached, RECT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(CGLWnd::Shared(), nullptr);
}

} // namespace
