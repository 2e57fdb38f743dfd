// CNuvexDoc: construction, reset, the two object lists, the object flag
// table and the document's copy of the system variables.
#include "host/document/nuvex_doc.h"

#include <algorithm>
#include <unordered_map>

#include "host/document/host_document.h"
#include "host/document/host_entity_set.h"
#include "objectmodel/entity_record.h"
#include "platform/user/menu.h"

int ModifierTableOfKind(long kind)
{
    switch (kind) {
    case 4:
        return static_cast<int>(ModifierTable::Shift);
    case 2:
        return static_cast<int>(ModifierTable::Ctrl);
    case 1:
        return static_cast<int>(ModifierTable::Plain);
    default:
        return -1;
    }
}

std::vector<IEntityRecord*> CNuvexDoc::FindRecordsById(const std::vector<uintptr_t>& ids) const
{
    std::vector<IEntityRecord*> found;
    if (ids.empty()) {
        return found;
    }
    std::unordered_map<uintptr_t, IEntityRecord*> known;
    for (const ObjectListEntry& entry : m_objects) {
        known.emplace(ObjectIdOf(entry.holder.Get()), entry.holder.Get());
    }
    for (const CommandObjectEntry& entry : m_commandObjects) {
        ComPtr<IEntityRecord> record;
        if (entry.object && SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) &&
            record) {
            known.emplace(ObjectIdOf(record.Get()), record.Get());
        }
    }
    for (uintptr_t id : ids) {
        const auto it = known.find(id);
        if (it != known.end()) {
            found.push_back(it->second);
        }
    }
    return found;
}

CNuvexDoc::CNuvexDoc(IDocumentServices& services, IDocumentOutput& output)
    : m_services(services),
      m_output(output),
      m_currentAttributes(ComPtr<CAttributeSet>::Share(new CAttributeSet())),
      m_currentColour(ComPtr<CCollectionB>::Share(new CCollectionB())),
      m_hostDocument(std::make_unique<CHostDocument>(*this)),
      m_selectionHandler(std::make_unique<CHostEntitySet>(*this))
{
    m_rootHandler = m_selectionHandler.get();
    // The working frame is lent to add-ins; their Release must not free it.
    m_userFrame.SetLifetime(Lifetime::OwnerHeld);
    PushRootLevel();
    SyncSystemVariables();
}

CNuvexDoc::~CNuvexDoc()
{
    // Drop the lists while the host document object still exists: objects
    // may call back into it as they go.
    m_selectionHandler->ClearSelection();
    ReleaseObjectLists();
    m_pendingUndo.clear();
    m_undoSteps.clear();
    m_levels.clear();
    if (m_popupMenu != nullptr) {
        ::DestroyMenu(m_popupMenu);
    }
}

IHostDocument* CNuvexDoc::GetHostDocument() { return m_hostDocument.get(); }

void CNuvexDoc::PushRootLevel()
{
    m_levels.clear();
    m_levels.emplace_back();
    m_currentLevel = 0;
    m_lastStartedCommand = -1;
}

void CNuvexDoc::PushLevel(int32_t commandIndex, IAddinCommand* command)
{
    CommandLevel level;
    level.commandIndex = commandIndex;
    level.command = ComPtr<IAddinCommand>::Share(command);
    level.inputKinds = {0, 0, 0};
    m_levels.push_back(std::move(level));
    m_currentLevel = static_cast<int32_t>(m_levels.size()) - 1;
}

void CNuvexDoc::ReleaseObjectLists()
{
    // Candidates point at holders of these lists.
    m_snapEngine.Reset();
    // Move out first so that a holder whose release reaches the document
    // sees consistent (empty) lists.
    std::vector<ObjectListEntry> objects;
    objects.swap(m_objects);
    std::vector<CommandObjectEntry> commandObjects;
    commandObjects.swap(m_commandObjects);
}

void CNuvexDoc::ResetDocument()
{
    m_snapIndex = -1;
    m_userFrame = CCoordSystemObject();
    m_undoPosition = 0;
    m_currentAttributes = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    m_currentColour = ComPtr<CCollectionB>::Share(new CCollectionB());
    m_currentGroup = nullptr;
    ReleaseObjectLists();
    m_objectFlags.clear();
    PushRootLevel();
}

void CNuvexDoc::SyncSystemVariables()
{
    const int32_t count = m_services.GetVariableCount();
    for (int32_t index = GetVariableCount(); index < count; ++index) {
        m_variables.push_back(m_services.GetVariableValue(index));
        m_variableFlags.push_back(1);
    }
}

HRESULT CNuvexDoc::GetVariable(int32_t index, VARIANT* value) const
{
    if (value == nullptr || index < 0 || index >= GetVariableCount()) {
        return E_FAIL;
    }
    *value = m_variables[static_cast<size_t>(index)];
    return S_OK;
}

HRESULT CNuvexDoc::SetVariable(int32_t index, const VARIANT& value)
{
    if (index < 0 || index >= GetVariableCount()) {
        return E_FAIL;
    }
    VARIANT& stored = m_variables[static_cast<size_t>(index)];
    if (stored.vt != value.vt) {
        return E_FAIL;
    }
    stored = value;
    m_variableFlags[static_cast<size_t>(index)] |= 1;
    return S_OK;
}

int32_t CNuvexDoc::FindObjectFlagEntry(uint32_t key, BOOL create)
{
    // The owner is the add-in of the current level's command. Index 0 is a
    // real command of the table, so every index of 0 or more names one.
    int32_t owner = -1;
    const int32_t commandIndex = Level(m_currentLevel).commandIndex;
    if (commandIndex >= 0) {
        if (const CommandTableEntry* entry = m_services.GetCommandEntry(commandIndex)) {
            owner = entry->addinIndex;
        }
    }
    for (size_t i = 0; i < m_objectFlags.size(); ++i) {
        if (m_objectFlags[i].key == key && m_objectFlags[i].owner == owner) {
            return static_cast<int32_t>(i);
        }
    }
    if (!create) {
        return -1;
    }
    m_objectFlags.push_back(ObjectFlagEntry{0, owner, key});
    return static_cast<int32_t>(m_objectFlags.size()) - 1;
}

void CNuvexDoc::RecordPendingUndo(IEntityRecord* slot, int32_t index)
{
    m_pendingUndo.push_back(UndoEntry{ComPtr<IEntityRecord>::Share(slot), index});
}

namespace {

uint32_t HolderFlags(IEntityRecord* holder)
{
    uint32_t flags = 0;
    if (FAILED(holder->GetFlags(&flags))) {
        flags = 0;
    }
    return flags;
}

} // namespace

void CNuvexDoc::AddObject(IEntityRecord* holder)
{
    if (holder == nullptr) {
        return;
    }
    const uint32_t holderFlags = HolderFlags(holder);
    m_objects.push_back(ObjectListEntry{0, -1, ComPtr<IEntityRecord>::Share(holder)});
    if ((holderFlags & kHolderNoUndo) == 0) {
        RecordPendingUndo(nullptr, static_cast<int32_t>(m_objects.size()) - 1);
    }
}

BOOL CNuvexDoc::RemoveObjectAt(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_objects.size()) {
        return FALSE;
    }
    ComPtr<IEntityRecord> holder = std::move(m_objects[static_cast<size_t>(index)].holder);
    m_objects.erase(m_objects.begin() + index);
    if ((HolderFlags(holder.Get()) & kHolderNoUndo) == 0) {
        RecordPendingUndo(holder.Get(), index);
    }
    return TRUE;
}

BOOL CNuvexDoc::ModifyObjectAt(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_objects.size()) {
        return FALSE;
    }
    IEntityRecord* holder = m_objects[static_cast<size_t>(index)].holder.Get();
    if ((HolderFlags(holder) & kHolderNoUndo) != 0) {
        return TRUE;
    }
    // The copy keeps a clone of the object, so that a caller who changes
    // the object in place can still be undone.
    auto copy = ComPtr<IEntityRecord>::Share(new CEntityRecord(holder, TRUE, FALSE));
    RecordPendingUndo(copy.Get(), -1 - index);
    return TRUE;
}

void CNuvexDoc::AddCommandObject(IUnknown* object, int32_t owner, int32_t flagEntry)
{
    if (object == nullptr) {
        return;
    }
    m_commandObjects.push_back(CommandObjectEntry{owner, flagEntry, 0, ComPtr<IUnknown>::Share(object)});
}

void CNuvexDoc::SetCurrentGroup(IIdGroup* group)
{
    if (group != nullptr) {
        m_currentGroup = group;
        group->SetCurrent(TRUE);
    } else {
        if (m_currentGroup != nullptr) {
            m_currentGroup->SetCurrent(FALSE);
        }
        m_currentGroup = nullptr;
    }
}

int32_t CNuvexDoc::FileIndexOfEntry(int32_t listIndex) const
{
    if (!m_saving || listIndex < 0 || static_cast<size_t>(listIndex) >= m_fileIndexTable.size()) {
        return -1;
    }
    return m_fileIndexTable[static_cast<size_t>(listIndex)];
}

int32_t CNuvexDoc::FileIndexOfObject(IUnknown* object)
{
    if (!m_saving || object == nullptr) {
        return -1;
    }
    if (m_fileIndexByObject.empty()) {
        for (size_t i = 0; i < m_objects.size() && i < m_fileIndexTable.size(); ++i) {
            if (m_fileIndexTable[i] < 0) {
                continue;
            }
            IUnknown* held = nullptr;
            if (SUCCEEDED(m_objects[i].holder->GetObject(&held)) && held != nullptr) {
                m_fileIndexByObject.emplace_back(held, m_fileIndexTable[i]);
            }
        }
        std::stable_sort(m_fileIndexByObject.begin(), m_fileIndexByObject.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    auto it = std::lower_bound(m_fileIndexByObject.begin(), m_fileIndexByObject.end(), object,
                               [](const auto& entry, IUnknown* key) { return entry.first < key; });
    if (it == m_fileIndexByObject.end() || it->first != object) {
        return -1;
    }
    return it->second;
}

IUnknown* CNuvexDoc::ObjectOfFileIndex(int32_t fileIndex) const
{
    if (!m_reading || fileIndex < 0 || static_cast<size_t>(fileIndex) >= m_recordsRead) {
        return nullptr;
    }
    const auto skipped = std::lower_bound(m_skippedFileIndexes.begin(), m_skippedFileIndexes.end(), fileIndex);
    if (skipped != m_skippedFileIndexes.end() && *skipped == fileIndex) {
        return nullptr;
    }
    // The records read so far are the list's entries in file order, less
    // the records left out before this one.
    const auto position =
        static_cast<size_t>(fileIndex) - static_cast<size_t>(skipped - m_skippedFileIndexes.begin());
    const ObjectListEntry* entry = nullptr;
    if (position < m_objects.size() && m_objects[position].fileIndex == fileIndex) {
        entry = &m_objects[position];
    } else {
        // An object changed the list while the file was read (file data
        // alone cannot): search it.
        for (const ObjectListEntry& candidate : m_objects) {
            if (candidate.fileIndex == fileIndex) {
                entry = &candidate;
                break;
            }
        }
    }
    IUnknown* object = nullptr;
    if (entry == nullptr || FAILED(entry->holder->GetObject(&object))) {
        return nullptr;
    }
    return object;
}

void CNuvexDoc::Redraw()
{
    if (m_deferRedraw) {
        m_redrawPending = TRUE;
        return;
    }
    m_output.UpdateAllViews();
}

void CNuvexDoc::RemoveCommandObjects(OfCommand ofCommand, OfOwner ofOwner, uint32_t ownerKey)
{
    const bool byLevel = ofCommand == OfCommand::Current;
    const bool byOwner = ofOwner == OfOwner::Key;
    const int32_t commandIndex = Level(m_currentLevel).commandIndex;
    int32_t flagEntry = -1;
    if (byOwner) {
        flagEntry = FindObjectFlagEntry(ownerKey, FALSE);
    }
    for (size_t i = m_commandObjects.size(); i > 0; --i) {
        const CommandObjectEntry& entry = m_commandObjects[i - 1];
        bool matches = false;
        if (!byLevel && !byOwner) {
            matches = entry.owner == kNoOwner && entry.flagEntry == kNoOwner;
        } else {
            matches = (!byLevel || entry.owner == commandIndex) && (!byOwner || entry.flagEntry == flagEntry);
        }
        if (matches) {
            m_commandObjects.erase(m_commandObjects.begin() + static_cast<std::ptrdiff_t>(i - 1));
        }
    }
}

void CNuvexDoc::BroadcastChangeEvent()
{
    constexpr LONG kEventSettingsChanged = 0x20;
    if (m_rootHandler != nullptr && m_output.HasView()) {
        LONG state = 0x10000000;
        m_rootHandler->OnEvent(kEventSettingsChanged, nullptr, 1, 0, &state);
    }
    for (size_t level = 1; level < m_levels.size(); ++level) {
        // Hold the command while it runs: it may end its own level.
        ComPtr<IAddinCommand> command = m_levels[level].command;
        if (command) {
            LONG state = 0x10000000;
            command->OnEvent(kEventSettingsChanged, nullptr, 1, 0, &state);
        }
    }
    m_output.UpdateAllViews();
}

void CNuvexDoc::InputKindsChanged() { BuildPrompt(); }

void CNuvexDoc::RefreshSnap()
{
    m_snapEngine.Refresh();
    m_snapEngine.ResetRecentPoints();
    m_output.RefreshSnap();
}
