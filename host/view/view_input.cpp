// Mouse, wheel and keyboard input of a view, and its zoom commands.
#include "host/view/view_input.h"

#include "host/document/command_engine.h"
#include "host/document/host_entity_set.h"
#include "host/document/nuvex_doc.h"
#include "ientityrecord.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/point_list.h"
#include "objectmodel/real.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace {

// The links of a picked record are asked with this argument; bit 0x1 of
// the first answer keeps the record out of the pick.
constexpr uint32_t kPickLinkQuery = 4;
constexpr uint32_t kLinkVeto = 0x1;
// The intersection options of the cursor line with the XY plane.
constexpr uint32_t kIntersectOptions = 19;
// A right double-click types a space: repeat count 1, scan code 57.
constexpr LPARAM kSpaceKeyData = 1 | (57 << 16);
constexpr UINT kCharEnter = 13;
constexpr UINT kCharEscape = 27;
// The main window's command line submits on IDOK.
constexpr WPARAM kSubmitCommandLine = 1;
// Document events of the middle button.
constexpr int32_t kEventMiddleDown = 13;
constexpr int32_t kEventMiddleUp = 14;

bool HasAll(uint32_t word, uint32_t bits)
{
    return (word & bits) == bits;
}

// The kind argument of an event: 0 for plain, else 2 or 4.
LONG EventKind(int32_t modifierKind)
{
    return modifierKind == 1 ? 0 : modifierKind;
}

CPoint2 AsPoint2(POINT p)
{
    return CPoint2(CReal(static_cast<double>(p.x)), CReal(static_cast<double>(p.y)));
}

} // namespace

int32_t ModifierKindOfKeys(WPARAM keyFlags)
{
    if ((keyFlags & MK_CONTROL) != 0) {
        return 2;
    }
    return (keyFlags & MK_SHIFT) != 0 ? 4 : 1;
}

uint32_t CViewInput::InputWord(int32_t modifierKind) const { return m_document.GetInputFlagsA(modifierKind); }

LONG CViewInput::Send(LONG code, void* value, LONG final, int32_t modifierKind)
{
    LONG result = command_result::kNotHandled;
    m_document.SendCommandEvent(code, value, final, EventKind(modifierKind), &result);
    m_document.EndCommandLevel(code, result, m_site.GetDocumentView(), FALSE);
    return result;
}

void CViewInput::FinishCommandEvent(BOOL refreshModifiers)
{
    m_boxStarted = false;
    if (refreshModifiers) {
        RefreshModifierState();
    }
}

LONG CViewInput::SendCursorLine(LONG final, int32_t modifierKind)
{
    // A copy that lives for the call; a command that keeps it holds a
    // reference of its own.
    ComPtr<CLineObject> copy = ComPtr<CLineObject>::Share(new CLineObject(m_site.GetCursorLine()));
    ILine* line = copy.Get();
    return Send(command_event::kCursorLine, &line, final, modifierKind);
}

LONG CViewInput::SendPoint(const CVector3& point, LONG final, int32_t modifierKind)
{
    RealComponent records[3] = {point.x.GetComponent(), point.y.GetComponent(), point.z.GetComponent()};
    return Send(command_event::kModelPoint, records, final, modifierKind);
}

void CViewInput::UpdateCursorPoint()
{
    CPlaneObject plane = m_document.GetDocumentXYPlane();
    ComPtr<CPointList> points = ComPtr<CPointList>::Share(new CPointList());
    CLineObject line(m_site.GetCursorLine());
    const HRESULT hr = line.IntersectPlane(&plane, points.Get(), kIntersectOptions, kIntersectOptions);
    if (SUCCEEDED(hr) && points->GetCount() >= 1) {
        m_cursorPoint = points->GetAt(0);
        m_cursorPointValid = true;
    } else {
        m_cursorPointValid = false;
    }
}

uint32_t CViewInput::SelectionCount()
{
    uint32_t count = 0;
    if (ISelectionSet* selection = m_site.GetPickSelection()) {
        selection->GetCount(&count);
    }
    return count;
}

void CViewInput::UpdateAllViews()
{
    m_document.Output().UpdateAllViews();
}

void CViewInput::OnMouseMove(WPARAM keyFlags, POINT client)
{
    // 1. A move that the view caused itself (the glyph strip moved).
    if (m_skipNextMove) {
        m_skipNextMove = false;
        return;
    }
    // 2. Modifier, cursor, orientation.
    const int32_t kind = ModifierKindOfKeys(keyFlags);
    const bool ctrl = (keyFlags & MK_CONTROL) != 0;
    m_document.ClearReferencePoint();
    m_cursorClient = client;
    m_site.ReadViewOrientation();
    bool changed = false;
    // 3. Middle-button drag: pan, or orbit with Ctrl (not while a box is open).
    if (m_middleDown) {
        if (!ctrl) {
            m_site.SetScalePan(PanStep(m_site.GetScalePan(), m_middlePoint, client));
        } else if (!m_boxStarted) {
            m_site.StoreViewOrientation(OrbitStep(m_site.GetOrientation(), m_site.GetScalePan().scale,
                                                  m_site.GetClientSize().cx, m_middlePoint, client));
            m_site.ReadViewOrientation();
        }
        m_middlePoint = client;
        changed = true;
    }
    // 4. Transforms for the new cursor.
    m_site.UpdateCursorTransforms(client);
    const uint32_t word = InputWord(kind);
    const bool freeOfCtrl = !ctrl || m_middleDown;
    // 5. Cursor line.
    if (HasAll(word, kInputCursorLine) && freeOfCtrl) {
        SendCursorLine(0, kind);
        changed = true;
    }
    // 6. Cursor point on the XY plane.
    UpdateCursorPoint();
    // 7. An open box's first corner follows its model point.
    m_clickPointView = m_site.ModelToView(m_clickLine.GetPointValue());
    // 8. A level that takes no box closes an open one.
    if (!HasAll(word, kInputBoxPick)) {
        m_boxStarted = false;
    }
    if (m_boxStarted) {
        changed = true;
    }
    // 9. What this move evaluates.
    const bool snap = (word & kInputPoint) != 0 && !m_boxStarted && freeOfCtrl;
    const bool pick = (word & kInputPickBit) != 0 && !m_zoomWindow;
    const POINT cursorView = m_site.GetCursorView();
    // 10. Snapping.
    if (snap) {
        m_site.EvaluateSnap(cursorView, kind);
    }
    // 11. Picking.
    if (pick) {
        if (HasAll(word, kInputBoxPick)) {
            if (!m_boxStarted) {
                m_site.EvaluatePick(AsPoint2(cursorView), AsPoint2(cursorView), kInputSinglePick, kind);
            } else {
                m_site.EvaluatePick(AsPoint2(m_clickPointView), AsPoint2(cursorView), word, kind);
            }
        } else if (HasAll(word, kInputSinglePick)) {
            m_site.EvaluatePick(AsPoint2(cursorView), AsPoint2(cursorView), kInputSinglePick, kind);
        }
    }
    // 12. The snap glyphs beside the cursor.
    CVector3 point = m_cursorPoint;
    const uint32_t snapKind = m_document.SnapEngine().ResultKind();
    if (!snap || snapKind == 0) {
        m_site.ShowSnapGlyphs(0, client);
    } else {
        m_cursorPointValid = true;
        point = m_document.SnapEngine().ResultPoint();
        // Showing the strip moves a window under the cursor, which sends
        // one move that is not the user's.
        if (m_site.ShowSnapGlyphs(snapKind, client)) {
            m_skipNextMove = true;
        }
    }
    // 13. The point.
    if (snap && m_cursorPointValid) {
        SendPoint(point, 0, kind);
        changed = true;
    }
    // 14. The objects under the cursor or in the box.
    if (pick && (SelectionCount() >= 1 || m_site.PickChanged())) {
        ISelectionSet* selection = m_site.GetPickSelection();
        Send(m_boxStarted ? command_event::kPickB : command_event::kPickA, &selection, 0, kind);
        changed = true;
    }
    // 15. Coordinates: a point a command set during this move wins.
    if (m_document.IsReferencePointSet()) {
        m_site.ShowCoordinates(m_document.GetReferencePoint());
    } else if (m_cursorPointValid) {
        m_site.ShowCoordinates(point);
    }
    // 16. Redraw.
    if (changed || m_document.IsRedrawPending()) {
        UpdateAllViews();
    }
}

void CViewInput::OnLButtonDown(WPARAM keyFlags, POINT)
{
    // The click is where the last move left the cursor.
    const POINT client = m_cursorClient;
    const int32_t kind = ModifierKindOfKeys(keyFlags);
    const bool ctrl = (keyFlags & MK_CONTROL) != 0;
    // 1. Transforms.
    m_site.ReadViewOrientation();
    m_site.UpdateCursorTransforms(client);
    const uint32_t word = InputWord(kind);
    bool sent = false;
    LONG lastAnswer = command_result::kNotHandled;
    // 2. Cursor line.
    if (HasAll(word, kInputCursorLine) && (!ctrl || m_middleDown)) {
        lastAnswer = SendCursorLine(1, kind);
        sent = true;
    }
    // 3, 4. The point: snapped when the last evaluation found one.
    UpdateCursorPoint();
    CVector3 point = m_cursorPoint;
    CSnapEngine& snapEngine = m_document.SnapEngine();
    if (snapEngine.ResultKind() != 0) {
        m_cursorPointValid = true;
        point = snapEngine.ResultPoint();
    }
    // 5. Tracking starts again from the axis lines.
    snapEngine.Refresh();
    snapEngine.ResetRecentPoints();
    // 6. What this click gives.
    const bool snap = (word & kInputPoint) != 0 && !m_boxStarted && !ctrl;
    const bool pick = (word & kInputPickBit) != 0;
    const POINT cursorView = m_site.GetCursorView();
    const bool boxMode = HasAll(word, kInputBoxPick);
    // 7. Picking, or the second corner of a zoom window.
    if (pick) {
        if (boxMode) {
            if (!m_boxStarted) {
                if (!m_zoomWindow) {
                    m_site.EvaluatePick(AsPoint2(cursorView), AsPoint2(cursorView), kInputSinglePick, kind);
                }
            } else if (!m_zoomWindow) {
                m_site.EvaluatePick(AsPoint2(m_clickPointView), AsPoint2(cursorView), word, kind);
            } else {
                FinishZoomWindow();
            }
        } else if (HasAll(word, kInputSinglePick)) {
            m_site.EvaluatePick(AsPoint2(cursorView), AsPoint2(cursorView), kInputSinglePick, kind);
        }
    }
    // 8. The first corner of a box: a box-mode click on nothing.
    const bool boxWasStarted = m_boxStarted;
    m_boxStarted = pick && boxMode && SelectionCount() == 0 && !boxWasStarted;
    // 9. The point.
    if (snap && m_cursorPointValid) {
        lastAnswer = SendPoint(point, 1, kind);
        sent = true;
    }
    // 10. The picked objects, each held for the time of the event.
    if (pick && SelectionCount() >= 1) {
        ISelectionSet* selection = m_site.GetPickSelection();
        uint32_t count = 0;
        selection->GetCount(&count);
        // Last to first: a record whose links veto the pick leaves the set;
        // the others are held for the time of the event.
        std::vector<ComPtr<IEntityRecord>> held;
        for (uint32_t i = count; i-- > 0;) {
            uintptr_t id = 0;
            if (FAILED(selection->GetAt(static_cast<int32_t>(i), &id)) || id == 0) {
                continue;
            }
            auto* record = reinterpret_cast<IEntityRecord*>(id);
            if ((CollectPartFlagsA(record, kPickLinkQuery) & kLinkVeto) != 0) {
                selection->RemoveAt(static_cast<int32_t>(i));
            } else {
                held.push_back(ComPtr<IEntityRecord>::Share(record));
            }
        }
        lastAnswer = Send(boxWasStarted ? command_event::kPickB : command_event::kPickA, &selection, 1, kind);
        sent = true;
        for (const ComPtr<IEntityRecord>& record : held) {
            CollectPartFlagsB(record.Get(), kPickLinkQuery);
        }
    }
    // 11. The click line and its view point: the first corner of a box.
    m_clickLine = m_site.GetCursorLine();
    m_clickPointView = m_site.ModelToView(m_clickLine.GetPointValue());
    // 12. Tracking lines through the point while the command goes on.
    const bool goesOn = (lastAnswer & command_result::kTrackPoint) != 0 ||
                        (lastAnswer & (command_result::kCommit | command_result::kEnd)) == 0;
    if (snap && (word & kInputPoint) != 0 && sent && goesOn) {
        CCoordSystemObject& frame = m_document.UserFrame();
        snapEngine.AddTrackingLine(point, frame.GetXAxisValue(), 0);
        snapEngine.AddTrackingLine(point, frame.GetYAxisValue(), 0);
        snapEngine.AddTrackingLine(point, frame.GetZAxisValue(), 0);
    }
    // 13. Redraw and fresh feedback.
    UpdateAllViews();
    OnMouseMove(keyFlags, client);
}

void CViewInput::FinishZoomWindow()
{
    m_site.ResetPick();
    m_document.SnapEngine().Reset();
    const CVector3 first = m_site.ViewToModel(m_clickPointView);
    const CVector3& second = m_site.GetCursorLine().GetPointValue();
    const SIZE client = m_site.GetClientSize();
    // Coinciding corners leave the view as it is.
    if (auto fit = ZoomWindowFit(first.x.GetValue(), first.y.GetValue(), second.x.GetValue(), second.y.GetValue(), client.cx,
                                 client.cy)) {
        ViewScalePan view = m_site.GetScalePan();
        view.scale = fit->scale;
        view.panX = fit->panX;
        view.panY = fit->panY;
        m_site.SetScalePan(view);
    }
    m_zoomWindow = false;
}

void CViewInput::OnMButtonDown(WPARAM, POINT client)
{
    m_middleDown = true;
    m_middlePoint = client;
    m_site.SetMouseCapture(true);
    m_document.Output().FireDocumentEvent(kEventMiddleDown);
}

void CViewInput::OnMButtonUp(WPARAM, POINT)
{
    m_middleDown = false;
    m_site.SetMouseCapture(false);
    m_document.Output().FireDocumentEvent(kEventMiddleUp);
}

BOOL CViewInput::OnMouseWheel(WPARAM, int16_t delta, POINT)
{
    // About the cursor of the last move, not the message's point.
    m_site.SetScalePan(WheelZoom(m_site.GetScalePan(), delta, m_site.GetCursorView()));
    UpdateAllViews();
    return TRUE;
}

BOOL CViewInput::OnKeyDown(UINT key, UINT, UINT)
{
    switch (key) {
    case VK_RETURN:
        m_site.SendToMainWindow(WM_COMMAND, kSubmitCommandLine, 0);
        m_zoomWindow = false;
        if (m_document.GetCurrentLevel() > 0) {
            m_document.CancelCommand();
        } else if (m_document.GetLastStartedCommand() >= 0) {
            m_document.StartCommand(m_document.GetLastStartedCommand(), 1);
        }
        UpdateAllViews();
        return TRUE;
    case VK_SHIFT:
        if (!m_shiftHeld) {
            RefreshModifierState();
            m_shiftHeld = true;
        }
        break;
    case VK_CONTROL:
        if (!m_ctrlHeld) {
            RefreshModifierState();
            m_ctrlHeld = true;
        }
        break;
    case VK_ESCAPE:
        m_zoomWindow = false;
        m_document.CancelCommand();
        UpdateAllViews();
        break;
    default:
        break;
    }
    return FALSE;
}

void CViewInput::OnKeyUp(UINT key, UINT, UINT)
{
    if (key == VK_SHIFT) {
        RefreshModifierState();
        m_shiftHeld = false;
    } else if (key == VK_CONTROL) {
        RefreshModifierState();
        m_ctrlHeld = false;
    }
}

void CViewInput::OnChar(UINT character, UINT repeat, UINT flags)
{
    if (character == kCharEscape || character == kCharEnter) {
        return;
    }
    const LPARAM keyData = static_cast<LPARAM>((repeat & 0xFFFFu) | (static_cast<uint32_t>(flags) << 16));
    m_site.SendToMainWindow(WM_CHAR, character, keyData);
}

void CViewInput::OnRButtonDblClk(WPARAM, POINT)
{
    m_site.SendToMainWindow(WM_CHAR, ' ', kSpaceKeyData);
}

BOOL CViewInput::OnSetCursor()
{
    const bool busy = m_document.IsCommandActive() || m_document.SelectionHandler().IsDraggingGrip();
    if (busy && !m_boxStarted) {
        m_site.SetCursorShape(ViewCursor::Command);
        return TRUE;
    }
    if (!m_zoomWindow) {
        UpdateAllViews();
        return FALSE;
    }
    m_site.SetCursorShape(ViewCursor::Zoom);
    return TRUE;
}

void CViewInput::RefreshModifierState()
{
    WPARAM keyFlags = 0;
    if (m_site.IsKeyDown(VK_SHIFT)) {
        keyFlags |= MK_SHIFT;
    }
    if (m_site.IsKeyDown(VK_CONTROL)) {
        keyFlags |= MK_CONTROL;
    }
    if ((InputWord(ModifierKindOfKeys(keyFlags)) & kInputPickBit) != 0) {
        m_site.ForcePickChange();
    }
    OnMouseMove(keyFlags, m_cursorClient);
}

void CViewInput::OnZoomAll()
{
    if (m_document.GetObjectCount() == 0) {
        return;
    }
    const std::optional<ModelExtents> extents = CollectExtents(m_document);
    const SIZE client = m_site.GetClientSize();
    // Without a usable extent the view stays as it is.
    const std::optional<ViewScalePan> target =
        extents ? FitExtents(*extents, client.cx, client.cy) : std::optional<ViewScalePan>();
    if (!target) {
        return;
    }
    for (const ViewScalePan& frame : ZoomAllFrames(m_site.GetScalePan(), *target)) {
        m_site.SetScalePan(frame);
        UpdateAllViews();
    }
    UpdateAllViews();
}

void CViewInput::OnZoomWindow()
{
    m_zoomWindow = true;
    m_document.RemoveCommandObjects(CNuvexDoc::OfCommand::Current, CNuvexDoc::OfOwner::Any, 0);
    if (ISelectionSet* selection = m_site.GetPickSelection()) {
        selection->RemoveAll();
    }
    UpdateAllViews();
}
