// The close prompt and the save dialog as the program shows them: the
// platform's message boxes and its file dialog, owned by a window. Tests
// answer them through the platform's dialog answer hook.
#pragma once

#include "host/view/document_closing.h"
#include "platform/base/types.h"

class CPlatformSavePrompts : public ISavePrompts {
public:
    // owner: the window the boxes belong to (the main frame), may be null.
    // extension: the drawing files' extension without its dot ("nvx").
    CPlatformSavePrompts(HWND owner, std::string caption, std::string extension)
        : m_owner(owner), m_caption(std::move(caption)), m_extension(std::move(extension))
    {
    }
    PromptAnswer ShowMessage(const std::string& text, PromptButtons buttons) override;
    bool AskSaveFileName(std::string& path, bool saveAs) override;
    void SetWaitCursor(bool on) override;

private:
    HWND m_owner;
    std::string m_caption;
    std::string m_extension;
    HCURSOR m_previousCursor = nullptr;
};
