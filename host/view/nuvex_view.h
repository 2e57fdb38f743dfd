// CNuvexView: the window that shows a document. It draws nothing itself:
// its paint brings the transforms up to date and has the shared OpenGL
// window, which it takes over as its child, draw the scene now. Mouse and
// key messages (its own and those the OpenGL window passes on) become
// command events through CViewInput; the right button opens the context
// menu; its commands reach the command engine and the zooms.
//
// It is the framework's view: a document template makes it in a frame for
// the document it opens (see CNuvexDocTemplate), or a program gives the
// document at construction and makes the window itself.
#pragma once

#include <memory>

#include "host/document/document_view.h"
#include "host/menulook/new_menu.h"
#include "host/shell/connection_point.h"
#include "host/view/gl_wnd.h"
#include "host/view/gl_window_paint.h"
#include "host/view/graphics_context.h"
#include "host/view/view_commands.h"
#include "host/view/view_gl_context.h"
#include "host/view/view_input.h"
#include "host/view/tool_layer.h"
#include "host/view/view_tool_state.h"
#include "host/view/view_transform.h"
#include "platform/framework/view.h"

class CHostApplication;
class CHostView;
class CNuvexDoc;

// The cursors of the view: a running command and a zoom window.
inline constexpr WORD kCommandCursorId = 146;
inline constexpr WORD kZoomCursorId = 156;
// The text a view without its OpenGL window shows in its place.
// Document events of a view's activation and deactivation.
inline constexpr int32_t kEventViewActivated = 3;
inline constexpr int32_t kEventViewDeactivated = 4;
inline constexpr const char* kNoOpenGLText = "OpenGL is not available: the drawing cannot be shown.";

class CNuvexView : public CView,
                   public IGLWindowOwner,
                   public IViewInputSite,
                   public IViewCommandSite,
                   public IGraphicsContextOwner,
                   public IDocumentView {
    DECLARE_DYNAMIC(CNuvexView)
public:
    explicit CNuvexView(CNuvexDoc& document);
    ~CNuvexView() override;

    // Dynamic creation, as a frame makes its view: a view of the document
    // set by SetDocumentForNewViews (null while none is set). Such a view
    // deletes itself with its window.
    static CObject* CreateObject();
    // Sets the document that views made by CreateObject show; returns the
    // one set before.
    static CNuvexDoc* SetDocumentForNewViews(CNuvexDoc* document);

    CNuvexDoc* GetDocument() const { return &m_document; }
    CDocumentTools& Tools() { return m_tools; }
    CViewTransform& Transform() { return m_transform; }
    CViewInput& Input() { return m_input; }
    CGraphicsContext& GraphicsContext() { return *m_context; }
    // FALSE after a paint that found no OpenGL window or could not draw
    // into it; the view then says so in its client area.
    BOOL IsDrawingAvailable() const { return m_drawingAvailable; }

    // The document's views are updated: the view repaints at once, unless
    // a paint of any view is running.
    void OnUpdate();
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // The paint: transforms, then the OpenGL window draws the scene now.
    void OnDraw(CDC* dc) override;
    // The first update after the frame was made: the application's event 0
    // with the document, Create on the handler objects of the frame's pane
    // pages, then the view draws and so do the document's other views.
    void OnInitialUpdate() override;
    // The application hears that a view of the document became active
    // (event 6) or stopped being active (event 7), then the document (its
    // events 3 and 4); then every view of it is updated.
    void OnActivateView(BOOL activate, CView* activateView, CView* deactivateView) override;
    // Printing and print preview: the scene rendered off screen for the
    // page rectangle of dc and copied there. FALSE when nothing could be
    // rendered.
    BOOL PrintPage(HDC dc, const RECT& page);

    // The view's event connection points: its main point and an add-in's
    // (made on the first request), AddRef'ed.
    IConnectionPoint* MainConnectionPoint();
    IConnectionPoint* AddinConnectionPoint(IAddin* addin);
    CConnectionPointContainer& EventSource() { return *m_events.Get(); }

    // IDocumentView
    IHostView* GetHostView() override;
    void ClearZoomWindow() override { m_input.ClearZoomWindow(); }
    void FinishCommandEvent(BOOL refreshModifiers) override { m_input.FinishCommandEvent(refreshModifiers); }
    void TakeFocusAfterTypedInput() override;
    CNewMenu* GetContextMenu() override { return &m_contextMenu; }

    // IGLWindowOwner
    void PaintGLWindow(CGLWnd& window) override;
    void SkipNextPaint() override { m_paintsToSkip = 1; }

    // IViewInputSite
    void ReadViewOrientation() override;
    void UpdateCursorTransforms(POINT cursorClient) override;
    POINT GetCursorView() override { return m_transform.CursorView(); }
    const CLineObject& GetCursorLine() override { return m_transform.CursorLine(); }
    POINT ModelToView(const CVector3& point) override { return m_transform.ViewPointOf(point); }
    CVector3 ViewToModel(POINT viewPoint) override;
    ViewScalePan GetScalePan() override;
    void SetScalePan(const ViewScalePan& view) override;
    CMatrix4 GetOrientation() override { return m_transform.Orientation(); }
    void StoreViewOrientation(const CMatrix4& orientation) override;
    SIZE GetClientSize() override;
    void EvaluateSnap(POINT cursorView, int32_t modifierKind) override;
    void EvaluatePick(const CPoint2& first, const CPoint2& second, uint32_t mode, int32_t modifierKind) override;
    ISelectionSet* GetPickSelection() override;
    bool PickChanged() override { return m_tools.Picker().changed != FALSE; }
    void ForcePickChange() override { m_tools.Picker().refreshRequest = TRUE; }
    void ResetPick() override;
    bool ShowSnapGlyphs(uint32_t kind, POINT cursorClient) override;
    void ShowCoordinates(const CVector3&) override {}
    void SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetMouseCapture(bool capture) override;
    bool IsKeyDown(int virtualKey) override;
    void SetCursorShape(ViewCursor cursor) override;
    IDocumentView* GetDocumentView() override { return this; }

    // IViewCommandSite
    HWND GetViewWindow() override { return m_hWnd; }
    RECT GetViewScreenRect() override;
    void ShowPropertiesPane() override {}

    // IGraphicsContextOwner
    bool IsPainting() const override { return m_painting; }
    double GetScale() const override { return m_transform.Scale(); }
    HDC GetPaintDC() const override { return m_gl.GetDeviceContext(); }
    const std::array<CPlaneObject, 4>& GetEdgePlanes() const override { return m_transform.EdgePlanes(); }

    // The view's commands routed from the frame's menus, toolbars and
    // accelerators: the two zooms, undo and redo (enabled whenever asked).
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // The application object of the document's program, or null (a
    // program without one, the tests of the view alone).
    CHostApplication* Application() const;
    // A zoom, undo or redo.
    void RunOwnCommand(UINT id);
    // After the window is made: a docking pane bar per registered pane
    // group on the parent frame; -1 when a bar cannot be made.
    int OnCreate();
    void OnPaint();
    void OnSize(int width, int height);
    void OnDestroy();
    PaintViewState PaintState() const;
    ViewToolState ToolState();

    CNuvexDoc& m_document;
    CViewTransform m_transform;
    std::unique_ptr<CGraphicsContext> m_context;
    CViewGLContext m_gl;
    CViewInput m_input;
    CNewMenu m_contextMenu;
    // Picker, cursor evaluation and tool layer of this view.
    CDocumentTools m_tools;
    COLORREF m_background = 0xFFFFFF;
    RECT m_client{0, 0, 0, 0};
    int32_t m_paintsToSkip = 0;
    bool m_drawInProgress = false;
    bool m_painting = false;
    BOOL m_drawingAvailable = TRUE;
    HCURSOR m_commandCursor = nullptr;
    HCURSOR m_zoomCursor = nullptr;
    bool m_deleteWithWindow = false;
    ComPtr<CConnectionPointContainer> m_events;
    std::unique_ptr<CHostView> m_hostView;
};
