// A drawing on a desktop: the fixture drawing of lines and arcs, written as
// an nvx file through the document and opened again from it, shown by a
// CNuvexView in a plain frame (the program's main frame is not needed for
// that). The desktop test drives it on a virtual X server; the fixture
// program nuvexview_desktop shows it for a person.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/document/tests/document_test_support.h"
#include "host/view/nuvex_view.h"
#include "platform/framework/framewnd.h"

// Lines of the fixture drawing in model coordinates (z = 0).
struct FixtureLine {
    double fromX, fromY, toX, toY;
};
// Arcs of the fixture drawing, counter-clockwise about +z from the start
// angle to the end angle (degrees).
struct FixtureArc {
    double centreX, centreY, radius, startDeg, endDeg;
};
// Drawing lines (they pick and snap), then the entity component's straight
// moves and arcs (they pick, but give no snap points).
extern const std::vector<FixtureLine> kFixtureLines;
extern const std::vector<FixtureLine> kFixtureMoves;
extern const std::vector<FixtureArc> kFixtureArcs;

// Services that make the fixture's drawing lines and the entity
// component's moves and arcs, so that a document reads and writes them;
// the view's variables are registered.
class DesktopServices : public TestServices {
public:
    DesktopServices();
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override;
};

// Updates of all views reach the frame's view.
class DesktopOutput : public TestOutput {
public:
    void UpdateAllViews() override;
    int32_t GetModifierKind() override;
    CNuvexView* view = nullptr;
};

// Writes the fixture drawing to `path` as an nvx file; false when it
// cannot be written.
bool WriteFixtureDrawing(const std::string& path);

// A plain frame with one view of a document as its client.
class CDesktopViewFrame : public CFrameWnd {
public:
    // Creates the frame as a top-level window of `rect` (screen) with the
    // view of `document` filling it.
    BOOL CreateWithView(CNuvexDoc& document, const char* title, const RECT& rect);
    CNuvexView* View() const { return m_view; }
    // The program ends when the frame is closed.
    bool quitOnDestroy = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

private:
    CNuvexView* m_view = nullptr;
};

// A document opened from a file and shown in a frame.
class DesktopSession {
public:
    DesktopSession();
    ~DesktopSession();
    // Opens `path` into the document and shows it in a frame at `rect`
    // (screen), zoomed to fit; false with `error` when it cannot.
    bool Open(const std::string& path, const RECT& rect, std::string& error);
    CNuvexDoc& Document() { return *m_document; }
    CDesktopViewFrame& Frame() { return m_frame; }
    CNuvexView& View() { return *m_frame.View(); }

private:
    DesktopServices m_services;
    DesktopOutput m_output;
    std::unique_ptr<CNuvexDoc> m_document;
    CDesktopViewFrame m_frame;
};
