// The document's view window: paint, input, context menu and commands.
#include "host/view/nuvex_view.h"

#include "host/document/nuvex_doc.h"
#include "host/shell/addin_host.h"
#include "host/shell/host_application.h"
#include "host/shell/snap_glyph_strip.h"
#include "host/view/host_view.h"
#include "host/view/selection_drawing.h"
#include "host/view/view_pane_bars.h"
#include "host/view/view_print.h"
#include "platform/framework/cmdui.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gditext.h"
#include "platform/kernel/resource.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace {

// Set while any view paints: updates of all views then do not repaint.
bool g_viewDrawing = false;
// The document the next dynamically made view shows.
thread_local CNuvexDoc* g_documentForNewViews = nullptr;

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF)};
}

// What a view shows in place of a drawing it cannot make.
void ShowNoOpenGL(HWND window, const RECT& area)
{
    HDC dc = ::GetDC(window);
    if (dc == nullptr) {
        return;
    }
    RECT text = area;
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextA(dc, kNoOpenGLText, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::ReleaseDC(window, dc);
}

HCURSOR LoadViewCursor(WORD id, LPCSTR fallback)
{
    HCURSOR cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    return cursor != nullptr ? cursor : LoadCursorA(nullptr, fallback);
}

} // namespace

NUVEX_IMPLEMENT_RUNTIMECLASS(CNuvexView, CView, 0xFFFF, CNuvexView::CreateObject)

CObject* CNuvexView::CreateObject()
{
    if (g_documentForNewViews == nullptr) {
        return nullptr;
    }
    auto* view = new CNuvexView(*g_documentForNewViews);
    view->m_deleteWithWindow = true;
    return view;
}

CNuvexDoc* CNuvexView::SetDocumentForNewViews(CNuvexDoc* document)
{
    CNuvexDoc* previous = g_documentForNewViews;
    g_documentForNewViews = document;
    return previous;
}

void CNuvexView::PostNcDestroy()
{
    if (m_deleteWithWindow) {
        delete this;
    }
}

void CNuvexView::OnUpdate(CView*, LPARAM, CObject*) { OnUpdate(); }

CHostApplication* CNuvexView::Application() const
{
    return CHostApplication::FromInterface(m_document.Services().GetHostApplication());
}

int CNuvexView::OnCreate()
{
    CFrameWnd* frame = GetParentFrame();
    CHostApplication* application = Application();
    if (frame == nullptr || application == nullptr) {
        return 0;
    }
    return CreatePaneBars(*frame, m_document, application->PaneGroups()) ? 0 : -1;
}

void CNuvexView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (CHostApplication* application = Application()) {
        application->FireDocumentEvent(kEventViewInitialUpdate, m_document.GetHostDocument());
    }
    if (CFrameWnd* frame = GetParentFrame()) {
        CreatePaneHandlers(*frame, m_document);
    }
    m_document.UpdateAllViews(this);
}

void CNuvexView::OnActivateView(BOOL activate, CView* activateView, CView* deactivateView)
{
    if (CHostApplication* application = Application()) {
        application->FireDocumentEvent(activate ? kEventDocumentActivated : kEventDocumentDeactivated,
                                       m_document.GetHostDocument());
    }
    m_document.Output().FireDocumentEvent(activate ? kEventViewActivated : kEventViewDeactivated);
    m_document.OnViewActivated(activate, activateView, deactivateView);
    m_document.UpdateAllViews(nullptr);
    CView::OnActivateView(activate, activateView, deactivateView);
}

IConnectionPoint* CNuvexView::MainConnectionPoint()
{
    CConnectionPoint* main = m_events->Find(IID_IDispatch, kMainEventGroup);
    return main != nullptr ? ComPtr<IConnectionPoint>::Share(main).Detach() : nullptr;
}

IConnectionPoint* CNuvexView::AddinConnectionPoint(IAddin* addin)
{
    // The add-in's record index names its point; an add-in that is not
    // loaded gets the main point's group.
    IDocumentServices& services = m_document.Services();
    int32_t group = kMainEventGroup;
    for (int32_t index = 0; addin != nullptr && index < services.GetAddinCount(); ++index) {
        if (services.GetAddin(index) == addin) {
            group = index;
            break;
        }
    }
    CConnectionPoint* point = m_events->Find(IID_IDispatch, group);
    if (point == nullptr) {
        point = m_events->AddConnectionPoint(IID_IDispatch, group);
    }
    return ComPtr<IConnectionPoint>::Share(point).Detach();
}

IHostView* CNuvexView::GetHostView() { return m_hostView.get(); }

void CNuvexView::TakeFocusAfterTypedInput()
{
    if (m_hWnd == nullptr) {
        return;
    }
    ::SetFocus(m_hWnd);
    if (HWND root = ::GetAncestor(m_hWnd, GA_ROOT)) {
        ::SetActiveWindow(root);
    }
    m_input.RefreshModifierState();
}


CNuvexView::CNuvexView(CNuvexDoc& document)
    : m_document(document),
      m_context(std::make_unique<CGraphicsContext>(*this, SystemGl())),
      m_gl(SystemGLCalls()),
      m_input(document, *this),
      m_tools(document),
      m_events(ComPtr<CConnectionPointContainer>::Share(new CConnectionPointContainer())),
      m_hostView(std::make_unique<CHostView>(*this))
{
    m_events->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
    m_tools.SetSelectionDrawer([this](const ViewToolState& view, int phase, uint32_t) {
        DrawSelection(m_document, view, phase);
    });
    m_commandCursor = LoadViewCursor(kCommandCursorId, IDC_CROSS);
    m_zoomCursor = LoadViewCursor(kZoomCursorId, IDC_CROSS);
}

CNuvexView::~CNuvexView()
{
    if (m_hWnd != nullptr) {
        CGLWnd::ReleaseFrom(*this);
    }
}

void CNuvexView::OnUpdate()
{
    if (g_viewDrawing || m_hWnd == nullptr) {
        return;
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

void CNuvexView::OnDraw(CDC*)
{
    g_viewDrawing = true;
    m_drawInProgress = true;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (client.right != m_client.right || client.bottom != m_client.bottom) {
        OnSize(client.right, client.bottom);
    }
    m_document.SetDeferRedraw(TRUE);
    m_transform.SetClientSize(m_client.right, m_client.bottom);
    m_transform.ReadViewOrientation(m_document);
    m_transform.UpdateCursorCentre();
    m_transform.BuildViewMatrices();
    m_transform.UpdateCursorLine();
    m_transform.UpdateEdgePlanes();
    // Without its OpenGL window the view draws nothing but says so.
    if (CGLWnd* window = CGLWnd::TakeOver(*this, m_client)) {
        window->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } else {
        m_drawingAvailable = FALSE;
        ShowNoOpenGL(m_hWnd, m_client);
    }
    m_document.SetDeferRedraw(FALSE);
    m_drawInProgress = false;
    g_viewDrawing = false;
}

BOOL CNuvexView::PrintPage(HDC dc, const RECT& page)
{
    m_transform.SetClientSize(m_client.right, m_client.bottom);
    m_transform.ReadViewOrientation(m_document);
    m_transform.BuildViewMatrices();
    auto toolLayer = [](void* owner, int32_t phase, int32_t kind) {
        auto* view = static_cast<CNuvexView*>(owner);
        view->m_tools.Draw(view->ToolState(), phase, static_cast<uint32_t>(kind));
    };
    DocumentPaintScene scene(m_document, m_context.get(), toolLayer, this);
    m_painting = true;
    const BOOL printed = PrintScene(dc, page, PaintState(), scene);
    m_painting = false;
    return printed;
}

PaintViewState CNuvexView::PaintState() const
{
    PaintViewState state;
    state.clientWidth = m_client.right;
    state.clientHeight = m_client.bottom;
    state.background = m_background;
    state.scale = m_transform.Scale();
    state.translation = m_transform.TranslationMatrix();
    state.orientation = m_transform.Orientation();
    return state;
}

void CNuvexView::PaintGLWindow(CGLWnd& window)
{
    PaintViewState state = PaintState();
    auto toolLayer = [](void* owner, int32_t phase, int32_t kind) {
        auto* view = static_cast<CNuvexView*>(owner);
        view->m_tools.Draw(view->ToolState(), phase, static_cast<uint32_t>(kind));
    };
    DocumentPaintScene scene(m_document, m_context.get(), toolLayer, this);
    const int32_t kind = ModifierKindOf(IsKeyDown(VK_SHIFT), IsKeyDown(VK_CONTROL));
    m_painting = true;
    const PaintOutcome outcome = ::PaintGLWindow(m_gl, window.m_hWnd, state, scene, kind);
    m_painting = false;
    m_drawingAvailable = outcome != PaintOutcome::NoContext ? TRUE : FALSE;
    if (!m_drawingAvailable) {
        // The window covers the view, so the message goes onto it.
        ShowNoOpenGL(window.m_hWnd, RECT{0, 0, m_client.right, m_client.bottom});
    }
}

void CNuvexView::OnPaint()
{
    PAINTSTRUCT paint{};
    ::BeginPaint(m_hWnd, &paint);
    if (m_paintsToSkip > 0) {
        --m_paintsToSkip;
    } else {
        OnDraw(nullptr);
    }
    ::EndPaint(m_hWnd, &paint);
}

void CNuvexView::OnSize(int width, int height)
{
    m_client = RECT{0, 0, width, height};
    m_transform.SetClientSize(width, height);
    CGLWnd::FollowResize(*this, m_client);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CNuvexView::OnDestroy()
{
    CGLWnd::ReleaseFrom(*this);
}

LRESULT CNuvexView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = PointOf(lParam);
    const auto key = static_cast<UINT>(wParam);
    const auto repeat = static_cast<UINT>(lParam & 0xFFFF);
    const auto flags = static_cast<UINT>((lParam >> 16) & 0xFFFF);
    switch (message) {
    case WM_CREATE:
        // The pane bars come after the window itself.
        if (CView::WindowProc(message, wParam, lParam) == -1) {
            return -1;
        }
        return OnCreate();
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE:
        CView::WindowProc(message, wParam, lParam);
        OnSize(static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF));
        return 0;
    case WM_DESTROY:
        CView::WindowProc(message, wParam, lParam);
        OnDestroy();
        return 0;
    case WM_MOUSEMOVE:
        m_input.OnMouseMove(wParam, point);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The second of two quick clicks is a click of its own: a box's
        // second corner, or the next object picked.
        m_input.OnLButtonDown(wParam, point);
        break;
    case WM_MBUTTONDOWN:
        m_input.OnMButtonDown(wParam, point);
        break;
    case WM_MBUTTONUP:
        m_input.OnMButtonUp(wParam, point);
        break;
    case WM_MOUSEWHEEL:
        m_input.OnMouseWheel(wParam & 0xFFFF, static_cast<int16_t>((wParam >> 16) & 0xFFFF), point);
        return 0;
    case WM_KEYDOWN:
        if (m_input.OnKeyDown(key, repeat, flags)) {
            return 0;
        }
        break;
    case WM_KEYUP:
        m_input.OnKeyUp(key, repeat, flags);
        break;
    case WM_CHAR:
        m_input.OnChar(key, repeat, flags);
        break;
    case WM_RBUTTONDOWN:
        ShowViewContextMenu(m_document, m_contextMenu, *this);
        break;
    case WM_RBUTTONDBLCLK:
        m_input.OnRButtonDblClk(wParam, point);
        break;
    case WM_SETCURSOR:
        if (m_input.OnSetCursor()) {
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CView::WindowProc(message, wParam, lParam);
}

namespace {

// The view's own commands, from its context menu or from the frame.
bool IsOwnViewCommand(UINT id)
{
    switch (id) {
    case kCommandZoomAll:
    case kCommandZoomAllKey:
    case kCommandZoomWindow:
    case kCommandZoomWindowKey:
    case kCommandUndo:
    case kCommandRedo:
        return true;
    default:
        return false;
    }
}

} // namespace

void CNuvexView::RunOwnCommand(UINT id)
{
    switch (id) {
    case kCommandZoomAll:
    case kCommandZoomAllKey:
        m_input.OnZoomAll();
        break;
    case kCommandZoomWindow:
    case kCommandZoomWindowKey:
        m_input.OnZoomWindow();
        break;
    case kCommandUndo:
        m_document.OnEditUndo();
        break;
    case kCommandRedo:
        m_document.OnEditRedo();
        break;
    default:
        break;
    }
}

BOOL CNuvexView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (RouteViewCommand(m_document, *this, wParam, lParam)) {
        return TRUE;
    }
    if (lParam == 0 && IsOwnViewCommand(static_cast<UINT>(wParam & 0xFFFF))) {
        RunOwnCommand(static_cast<UINT>(wParam & 0xFFFF));
        return TRUE;
    }
    return CView::OnCommand(wParam, lParam);
}

BOOL CNuvexView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (IsOwnViewCommand(id) && (code == CN_COMMAND || code == CN_UPDATE_COMMAND_UI)) {
        if (code == CN_UPDATE_COMMAND_UI && extra != nullptr) {
            static_cast<CCmdUI*>(extra)->Enable(TRUE);
        } else if (code == CN_COMMAND && handlerInfo == nullptr) {
            RunOwnCommand(id);
        }
        return TRUE;
    }
    return CView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CNuvexView::ReadViewOrientation()
{
    m_transform.ReadViewOrientation(m_document);
}

void CNuvexView::UpdateCursorTransforms(POINT cursorClient)
{
    m_transform.SetClientSize(m_client.right, m_client.bottom);
    m_transform.SetCursorClient(cursorClient);
    m_transform.UpdateCursorCentre();
    m_transform.BuildViewMatrices();
    m_transform.UpdateCursorLine();
}

CVector3 CNuvexView::ViewToModel(POINT viewPoint)
{
    return m_transform.ModelPointAt(viewPoint.x, viewPoint.y);
}

ViewScalePan CNuvexView::GetScalePan()
{
    return ViewScalePan{m_transform.Scale(), m_transform.PanX(), m_transform.PanY()};
}

void CNuvexView::SetScalePan(const ViewScalePan& view)
{
    m_transform.SetScale(view.scale);
    m_transform.SetPan(view.panX, view.panY);
}

void CNuvexView::StoreViewOrientation(const CMatrix4& orientation)
{
    const CVector3 right(orientation(0, 0), orientation(0, 1), orientation(0, 2));
    const CVector3 viewDirection(-orientation(2, 0).GetValue(), -orientation(2, 1).GetValue(),
                                 -orientation(2, 2).GetValue());
    m_transform.SetOrientation(viewDirection, right);
    m_transform.StoreViewOrientation(m_document);
}

SIZE CNuvexView::GetClientSize()
{
    return SIZE{m_client.right, m_client.bottom};
}

ViewToolState CNuvexView::ToolState()
{
    ViewToolState state;
    state.transform = &m_transform;
    state.clickPoint = m_input.GetClickPointView();
    state.boxStarted = m_input.IsBoxStarted() ? TRUE : FALSE;
    state.zoomWindow = m_input.IsZoomWindow() ? TRUE : FALSE;
    state.graphics = m_context.get();
    state.gl = &SystemGl();
    return state;
}

void CNuvexView::EvaluateSnap(POINT cursorView, int32_t modifierKind)
{
    m_tools.Evaluator().Evaluate(m_transform, CPoint2(cursorView), static_cast<uint32_t>(modifierKind));
}

void CNuvexView::EvaluatePick(const CPoint2& first, const CPoint2& second, uint32_t mode, int32_t modifierKind)
{
    m_tools.Picker().Evaluate(m_transform, first, second, mode, static_cast<uint32_t>(modifierKind), FALSE);
}

ISelectionSet* CNuvexView::GetPickSelection()
{
    return &m_tools.Picker().Region();
}

void CNuvexView::ResetPick()
{
    m_tools.Picker().Reset();
}

bool CNuvexView::ShowSnapGlyphs(uint32_t kind, POINT cursorClient)
{
    // The main frame's strip, where the program has one.
    auto* host = dynamic_cast<CAddinHost*>(&m_document.Services());
    CImageStripWindow* strip = host != nullptr ? host->SnapGlyphStrip() : nullptr;
    if (strip == nullptr) {
        return false;
    }
    POINT screen = cursorClient;
    ::ClientToScreen(m_hWnd, &screen);
    return ShowSnapGlyphStrip(*strip, kind, screen) != FALSE;
}

void CNuvexView::SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND main = ::GetAncestor(m_hWnd, GA_ROOT);
    if (main != nullptr && main != m_hWnd) {
        ::SendMessageA(main, message, wParam, lParam);
    }
}

void CNuvexView::SetMouseCapture(bool capture)
{
    if (capture) {
        ::SetCapture(m_hWnd);
    } else {
        ::ReleaseCapture();
    }
}

bool CNuvexView::IsKeyDown(int virtualKey)
{
    return ::GetKeyState(virtualKey) < 0;
}

void CNuvexView::SetCursorShape(ViewCursor cursor)
{
    HCURSOR shape = cursor == ViewCursor::Zoom ? m_zoomCursor : m_commandCursor;
    if (cursor != ViewCursor::Default && ::GetCursor() != shape) {
        ::SetCursor(shape);
    }
}

RECT CNuvexView::GetViewScreenRect()
{
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}
