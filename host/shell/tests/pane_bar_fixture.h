// A pane group's docking bar over a document with fakes, on a plain window
// of the headless display, and an add-in object that records the events it
// hears: what the pane page and control panel tests share.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/document/tests/document_test_support.h"
#include "host/shell/docking_pane_bar.h"
#include "objectmodel/com_object.h"
#include "platform/framework/docking.h"
#include "platform/user/inspect.h"

// Records each event as "event value result-word" and answers `answer`.
class RecordingCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    explicit RecordingCommand(std::vector<std::string>& log, LONG answer = 0) : m_log(log), m_answer(answer) {}
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG commandNumber, LONG_PTR) override
    {
        m_log.push_back("create " + std::to_string(commandNumber));
        if (onCreate) {
            onCreate();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG, LONG* result) override
    {
        std::string entry = "event " + std::to_string(event);
        if (value != nullptr && (event == 0x1000000 || event == 0x100)) {
            entry += " " + std::to_string(*static_cast<LONG*>(value));
        }
        entry += " final " + std::to_string(final);
        m_log.push_back(entry);
        *result = m_answer;
        return S_OK;
    }
    std::function<void()> onCreate;

private:
    std::vector<std::string>& m_log;
    LONG m_answer;
};

// A frame-like window that lays out its bars whenever it is sized, with a
// child of the client pane's id standing for the document's view.
class CDockSite : public CWnd {
public:
    static constexpr UINT kPaneFirst = 0xE900;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_SIZE) {
            AfxRecalcBarLayout(this);
        }
        return result;
    }
};

class PaneBarFixture {
public:
    PaneBarFixture() { ResetWindowSystem(); }
    ~PaneBarFixture()
    {
        bar.reset();
        if (host.GetSafeHwnd() != nullptr) {
            host.DestroyWindow();
        }
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    // A bar with `pages` (name, flags, command index) on a host window,
    // `tabs` giving it its tab control.
    void Build(const std::vector<PaneItem>& pages, bool tabs = true, CSize size = CSize(320, 300))
    {
        host.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0);
        bar = std::make_unique<CDockingPaneBar>(&fixture.document);
        if (tabs) {
            bar->AddTabControl();
        }
        for (const PaneItem& page : pages) {
            bar->AddPage(page);
        }
        bar->Create(&host, "Workshop", kPaneBarStyle, 0);
        bar->MoveWindow(CRect(CPoint(0, 0), size), TRUE);
        bar->Dialog().MoveWindow(CRect(CPoint(0, 0), size), TRUE);
    }
    CPaneGroupDialog& Dialog() { return bar->Dialog(); }

    DocumentFixture fixture;
    CWnd host;
    std::unique_ptr<CDockingPaneBar> bar;
};

inline PaneItem Page(const char* name, uint32_t flags, int32_t commandIndex = -1)
{
    PaneItem item;
    item.name = name;
    item.flags = flags;
    item.commandIndex = commandIndex;
    return item;
}
