// CHostEntitySet: the document's selection handler, which takes the input
// of the root level while no command runs. It keeps the selected records
// (a plain click selects, Ctrl toggles), previews what a click would do
// while the cursor hovers, clears the selection on cancel and when a
// command ends, and forwards picks to the handler object that an add-in
// registered for the root level.
#pragma once

#include <vector>

#include "host/document/document_services.h"
#include "iaddin.h"
#include "ientityrecord.h"
#include "objectmodel/vector3.h"

class CNuvexDoc;

// Record flags of the selection.
constexpr uint32_t kSelectionFlags = 0x1F00003;
constexpr uint32_t kPreviewSelect = 0x200000;
constexpr uint32_t kPreviewDeselect = 0x400000;
constexpr uint32_t kPreviewMarker = 0xC;
constexpr uint32_t kGripMarkerFlags = 0x10028;
constexpr uint32_t kGripDragFlags = 0x3;
constexpr uint32_t kHolderKeepsObject = 0x10;

class CHostEntitySet : public IRootEventHandler {
public:
    explicit CHostEntitySet(CNuvexDoc& document) : m_document(document) {}
    CHostEntitySet(const CHostEntitySet&) = delete;
    CHostEntitySet& operator=(const CHostEntitySet&) = delete;
    virtual ~CHostEntitySet();

    // Sets *result to 0, then handles the start (0x1), cancel (0x10) and
    // pick (0x10004, 0x20004) events; others are ignored.
    HRESULT OnEvent(LONG code, void* value, LONG final, LONG kind, LONG* result) override;
    std::vector<uintptr_t> GetSelection() override;
    bool IsDraggingGrip() override { return m_gripDrag; }

    void ClearSelection();
    int32_t IndexOf(IEntityRecord* record) const;
    void Select(IEntityRecord* record);
    void Deselect(int32_t index);
    // The add-in's root handler, null until a final pick made it.
    IAddinCommand* GetHandler() const { return m_handler.Get(); }

    // The grip markers of every selected object, as command objects.
    void ShowGrips();
    // Records every (selected object, grip point) at the marker's position.
    void FindGripMatches(IUnknown* marker);

private:
    void GripPick(IUnknown* marker, LONG final);
    void GripPoint(void* value, LONG final, LONG kind, int32_t modifier, LONG* result);
    void SelectionPick(LONG code, void* value, LONG final, LONG kind, int32_t modifier);
    // Makes the handler when it is missing; false when none can be made.
    bool EnsureHandler();
    // Forwards an event; a failing handler is released and forgotten.
    void Forward(LONG code, void* value, LONG final, LONG kind, LONG* result);

    CNuvexDoc& m_document;
    bool m_hover = false;
    bool m_gripDrag = false;
    // Borrowed: the document's object list holds the records.
    std::vector<IEntityRecord*> m_selection;
    std::vector<ComPtr<IEntityRecord>> m_copies;
    CVector3 m_gripPoint;
    // Parallel: grip point number and selection index of each match.
    std::vector<int32_t> m_matchPoints;
    std::vector<int32_t> m_matchSelection;
    ComPtr<IAddinCommand> m_handler;
};
