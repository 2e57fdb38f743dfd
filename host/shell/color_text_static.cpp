// CColorTextStatic: per-character colours, drawn and measured run by run.
#include "host/shell/color_text_static.h"

#include "platform/framework/dc.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gditext.h"
#include "platform/user/winuser.h"

namespace {

// Room the fitted control leaves after its text.
constexpr int kFitMargin = 4;
// The text's baseline lies this far above the client bottom; runs start
// one pixel in.
constexpr int kBaselineInset = 4;
constexpr int kTextLeft = 1;

} // namespace

void CColorTextStatic::SetText(const std::string& text, BOOL resetAll)
{
    const size_t oldLength = m_text.size();
    m_text = text;
    m_colors.resize(m_text.size(), 0);
    if (resetAll) {
        std::fill(m_colors.begin(), m_colors.end(), 0);
    } else {
        for (size_t i = oldLength; i < m_colors.size(); ++i) {
            m_colors[i] = 0;
        }
    }
    if (m_hWnd != nullptr) {
        // The window text stays the prompt's, for whoever reads it.
        ::SetWindowTextA(m_hWnd, m_text.c_str());
    }
    if (m_autoSize) {
        FitToText();
    }
}

void CColorTextStatic::SetCharAttributes(COLORREF colour, int start, int count)
{
    if (start < 0 || count <= 0) {
        return;
    }
    for (size_t i = static_cast<size_t>(start); i < m_colors.size() && i < static_cast<size_t>(start) + static_cast<size_t>(count);
         ++i) {
        m_colors[i] = colour;
    }
}

std::vector<CColorTextStatic::Run> CColorTextStatic::Runs() const
{
    std::vector<Run> runs;
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (runs.empty() || runs.back().colour != m_colors[i]) {
            runs.push_back(Run{i, 0, m_colors[i]});
        }
        ++runs.back().count;
    }
    return runs;
}

int CColorTextStatic::MeasureText(HDC dc) const
{
    const SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    int width = 0;
    for (const Run& run : Runs()) {
        SIZE extent{0, 0};
        ::GetTextExtentPoint32A(dc, m_text.c_str() + run.first, static_cast<int>(run.count), &extent);
        width += extent.cx + ::GetTextCharacterExtra(dc);
    }
    return width;
}

void CColorTextStatic::FitToText()
{
    if (m_hWnd == nullptr) {
        return;
    }
    HDC dc = ::GetDC(m_hWnd);
    const int width = MeasureText(dc) + kFitMargin;
    ::ReleaseDC(m_hWnd, dc);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, window.bottom - window.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                       SWP_NOSENDCHANGING);
    if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) {
        ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void CColorTextStatic::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_BOTTOM);
    int x = 0;
    {
        const SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        for (const Run& run : Runs()) {
            ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetTextColor(dc, run.colour);
            const char* text = m_text.c_str() + run.first;
            const int count = static_cast<int>(run.count);
            ::TextOutA(dc, x + kTextLeft, client.bottom - kBaselineInset, text, count);
            SIZE extent{0, 0};
            ::GetTextExtentPoint32A(dc, text, count, &extent);
            x += extent.cx + ::GetTextCharacterExtra(dc);
        }
    }
    // The font goes back before the paint ends.
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CColorTextStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        OnPaint();
        return 0;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}
