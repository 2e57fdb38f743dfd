// CViewInput: how a view turns mouse movement, clicks, the wheel and keys
// into command events for its document, and runs the zoom commands. A move
// offers the running level (or the root) a cursor line, a snapped model
// point and the objects under the cursor, each only when the level's
// input-kind word for the held modifier asks for it, with final 0; a click
// sends the same with final 1. Every event goes out with the result word
// preset to "not handled" and its answer goes straight to the level's
// closing. Keys go to the command engine (Enter, Esc) or, as typed text,
// to the main window's command line.
//
// The view supplies its transforms, the cursor evaluations and the window
// side through IViewInputSite; this class keeps the input state.
#pragma once

#include <cstdint>
#include <optional>

#include "host/view/view_navigation.h"
#include "iselection.h"
#include "objectmodel/line_object.h"
#include "objectmodel/point2.h"
#include "objectmodel/vector3.h"
#include "platform/base/types.h"

class CNuvexDoc;
class IDocumentView;

// Input-kind bits and words that the view tests.
inline constexpr uint32_t kInputPoint = 0x2;
inline constexpr uint32_t kInputPickBit = 0x4;
inline constexpr uint32_t kInputCursorLine = 0x201000;
inline constexpr uint32_t kInputBoxPick = 0x20004;
inline constexpr uint32_t kInputSinglePick = 0x10004;

// The cursor the view shows.
enum class ViewCursor { Default, Command, Zoom };

class IViewInputSite {
public:
    // The orientation from the document's view variables.
    virtual void ReadViewOrientation() = 0;
    // Cursor (view) from the client point, the view matrices and the
    // cursor line, in that order.
    virtual void UpdateCursorTransforms(POINT cursorClient) = 0;
    virtual POINT GetCursorView() = 0;
    virtual const CLineObject& GetCursorLine() = 0;
    // A model point's view position, rounded to pixels.
    virtual POINT ModelToView(const CVector3& point) = 0;
    // The model point of a view point on the depth-0 plane.
    virtual CVector3 ViewToModel(POINT viewPoint) = 0;

    virtual ViewScalePan GetScalePan() = 0;
    virtual void SetScalePan(const ViewScalePan& view) = 0;
    virtual CMatrix4 GetOrientation() = 0;
    // The orientation becomes the document's view variables.
    virtual void StoreViewOrientation(const CMatrix4& orientation) = 0;
    virtual SIZE GetClientSize() = 0;

    // The cursor evaluation: its result is the snap engine's result kind
    // and point.
    virtual void EvaluateSnap(POINT cursorView, int32_t modifierKind) = 0;
    // Picking between two view corners in a mode; the result is the pick
    // selection.
    virtual void EvaluatePick(const CPoint2& first, const CPoint2& second, uint32_t mode, int32_t modifierKind) = 0;
    virtual ISelectionSet* GetPickSelection() = 0;
    // The last evaluation emptied a selection that had objects.
    virtual bool PickChanged() = 0;
    // The next evaluation reports a change.
    virtual void ForcePickChange() = 0;
    virtual void ResetPick() = 0;

    // The glyphs of the snap kind beside the cursor; FALSE when no glyph
    // was shown (kind 0 hides them).
    virtual bool ShowSnapGlyphs(uint32_t kind, POINT cursorClient) = 0;
    virtual void ShowCoordinates(const CVector3& point) = 0;
    virtual void SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void SetMouseCapture(bool capture) = 0;
    virtual bool IsKeyDown(int virtualKey) = 0;
    virtual void SetCursorShape(ViewCursor cursor) = 0;
    // The view the events come from, whose input state their closing
    // resets; null for a site without one.
    virtual IDocumentView* GetDocumentView() { return nullptr; }

protected:
    ~IViewInputSite() = default;
};

class CViewInput {
public:
    CViewInput(CNuvexDoc& document, IViewInputSite& site) : m_document(document), m_site(site) {}

    void OnMouseMove(WPARAM keyFlags, POINT client);
    void OnLButtonDown(WPARAM keyFlags, POINT client);
    void OnMButtonDown(WPARAM keyFlags, POINT client);
    void OnMButtonUp(WPARAM keyFlags, POINT client);
    // Returns TRUE: the wheel is always handled here.
    BOOL OnMouseWheel(WPARAM keyFlags, int16_t delta, POINT screen);
    // FALSE when the key wants the default handling (every key but Enter).
    BOOL OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT character, UINT repeat, UINT flags);
    void OnRButtonDblClk(WPARAM keyFlags, POINT client);
    // TRUE when the cursor was set here; FALSE for the default cursor.
    BOOL OnSetCursor();
    // Shift and Ctrl as they are now reach the feedback without a move.
    void RefreshModifierState();
    // The closing of an event sent without a view leaves zoom-window mode.
    void ClearZoomWindow() { m_zoomWindow = false; }
    // The closing of an event that ended, committed or handed on a level:
    // no box has its first corner; with `refreshModifiers` the feedback
    // follows the keys held now.
    void FinishCommandEvent(BOOL refreshModifiers);

    void OnZoomAll();
    void OnZoomWindow();

    bool IsZoomWindow() const { return m_zoomWindow; }
    bool IsBoxStarted() const { return m_boxStarted; }
    bool IsMiddleDown() const { return m_middleDown; }
    bool IsCursorPointValid() const { return m_cursorPointValid; }
    const CVector3& GetCursorPoint() const { return m_cursorPoint; }
    POINT GetCursorClient() const { return m_cursorClient; }
    POINT GetClickPointView() const { return m_clickPointView; }
    const CLineObject& GetClickLine() const { return m_clickLine; }

private:
    // The current level's input-kind word for a modifier kind.
    uint32_t InputWord(int32_t modifierKind) const;
    // Sends one event and hands its answer to the level's closing.
    LONG Send(LONG code, void* value, LONG final, int32_t modifierKind);
    LONG SendCursorLine(LONG final, int32_t modifierKind);
    LONG SendPoint(const CVector3& point, LONG final, int32_t modifierKind);
    // The cursor line meets the document's XY plane.
    void UpdateCursorPoint();
    uint32_t SelectionCount();
    void FinishZoomWindow();
    void UpdateAllViews();

    CNuvexDoc& m_document;
    IViewInputSite& m_site;

    bool m_zoomWindow = false;
    bool m_cursorPointValid = false;
    CVector3 m_cursorPoint;
    POINT m_cursorClient{0, 0};
    bool m_boxStarted = false;
    bool m_middleDown = false;
    POINT m_middlePoint{0, 0};
    CLineObject m_clickLine;
    POINT m_clickPointView{0, 0};
    bool m_skipNextMove = false;
    bool m_shiftHeld = false;
    bool m_ctrlHeld = false;
};

// 1 plain, 4 with Shift, 2 with Ctrl (Ctrl wins), from mouse key flags.
int32_t ModifierKindOfKeys(WPARAM keyFlags);
