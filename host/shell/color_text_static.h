// CColorTextStatic: the static text of the command prompt, left of the
// command line in the status bar. Every character has its own text colour,
// so the prompt can show the input the running command accepts in another
// colour than the rest; with auto-size the control is as wide as its text,
// so the command line can be laid out right behind it.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/ctrls.h"

class CColorTextStatic : public CStatic {
public:
    // Replaces the text. With resetAll every character gets colour 0
    // (black); without, the characters that existed keep their colours and
    // new ones get 0. With auto-size the control is then fitted.
    void SetText(const std::string& text, BOOL resetAll);
    // Colours the characters start .. start + count - 1 that exist; neither
    // fits nor repaints.
    void SetCharAttributes(COLORREF colour, int start, int count);
    // The control's width becomes its text's + 4 (height and place kept);
    // the parent is repainted at once.
    void FitToText();
    // The width of the text: its runs measured in the default GUI font,
    // with the character extra spacing per run.
    int MeasureText(HDC dc) const;

    const std::string& Text() const { return m_text; }
    const std::vector<COLORREF>& Colors() const { return m_colors; }
    BOOL m_autoSize = TRUE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // One maximal run of characters of the same colour.
    struct Run {
        size_t first = 0;
        size_t count = 0;
        COLORREF colour = 0;
    };
    std::vector<Run> Runs() const;
    void OnPaint();

    std::vector<COLORREF> m_colors;
    std::string m_text;
};
