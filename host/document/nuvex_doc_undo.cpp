// Undo and redo of the object list. A running command's changes collect as
// pending entries; a commit turns them into one step of the linear
// history. An entry (slot, index) means:
//   slot null, index >= 0: an object was added at index (applying removes it);
//   slot set,  index >= 0: an object was removed from index (applying puts
//                          the slot's holder back);
//   index < 0:             the object at ~index was changed and the slot
//                          holds its earlier content (applying swaps them).
// Applying an entry turns it into its own inverse, so undo applies a
// step's entries last to first and redo first to last.
#include "host/document/nuvex_doc.h"

#include "host/document/command_engine.h"
#include "objectmodel/entity_record.h"

void CNuvexDoc::CommitUndoStep()
{
    if (m_pendingUndo.empty()) {
        return;
    }
    // Every step that could still be redone goes; its holders with it.
    m_undoSteps.resize(static_cast<size_t>(m_undoPosition));
    m_undoSteps.push_back(std::move(m_pendingUndo));
    m_pendingUndo.clear();
    ++m_undoPosition;
    SetModifiedFlag(TRUE);
    m_output.FireDocumentEvent(kEventUndoHistoryChanged);
}

void CNuvexDoc::ApplyUndoEntry(UndoEntry& entry)
{
    if (entry.index >= 0 && !entry.slot) {
        const auto position = static_cast<size_t>(entry.index);
        if (position >= m_objects.size()) {
            return;
        }
        entry.slot = std::move(m_objects[position].holder);
        m_objects.erase(m_objects.begin() + entry.index);
        return;
    }
    if (entry.index >= 0) {
        const auto position = std::min(static_cast<size_t>(entry.index), m_objects.size());
        m_objects.insert(m_objects.begin() + static_cast<std::ptrdiff_t>(position),
                         ObjectListEntry{0, -1, std::move(entry.slot)});
        entry.slot.Reset();
        return;
    }
    const auto position = static_cast<size_t>(~entry.index);
    if (position >= m_objects.size() || !entry.slot) {
        return;
    }
    IEntityRecord* listed = m_objects[position].holder.Get();
    auto temporary = ComPtr<IEntityRecord>::Share(new CEntityRecord(listed, FALSE, FALSE));
    listed->CopyFrom(entry.slot.Get(), FALSE, FALSE);
    entry.slot->CopyFrom(temporary.Get(), FALSE, FALSE);
}

void CNuvexDoc::OnEditUndo()
{
    if (m_undoPosition < 1) {
        return;
    }
    --m_undoPosition;
    if (m_currentLevel == 0) {
        CancelRootHandlerForUndo();
    }
    m_snapEngine.Reset();
    m_snapEngine.ResetRecentPoints();
    m_snapEngine.Refresh();
    UndoStep& step = m_undoSteps[static_cast<size_t>(m_undoPosition)];
    for (auto it = step.rbegin(); it != step.rend(); ++it) {
        ApplyUndoEntry(*it);
    }
    m_output.FireDocumentEvent(kEventUndoHistoryChanged);
    m_output.UpdateAllViews();
}

void CNuvexDoc::OnEditRedo()
{
    if (static_cast<size_t>(m_undoPosition) >= m_undoSteps.size()) {
        return;
    }
    if (m_currentLevel == 0) {
        CancelRootHandlerForUndo();
    }
    m_snapEngine.Reset();
    m_snapEngine.ResetRecentPoints();
    m_snapEngine.Refresh();
    UndoStep& step = m_undoSteps[static_cast<size_t>(m_undoPosition)];
    for (UndoEntry& entry : step) {
        ApplyUndoEntry(entry);
    }
    ++m_undoPosition;
    m_output.FireDocumentEvent(kEventUndoHistoryChanged);
    m_output.UpdateAllViews();
}

void CNuvexDoc::CancelRootHandlerForUndo()
{
    // The root-level selection handler drops its selection before the
    // object list changes under it.
    if (m_rootHandler == nullptr || !m_output.HasView()) {
        return;
    }
    LONG state = command_result::kNotHandled;
    m_rootHandler->OnEvent(command_event::kCancel, nullptr, 1, 0, &state);
    EndCommandLevel(command_event::kCancel, state, TRUE);
}
