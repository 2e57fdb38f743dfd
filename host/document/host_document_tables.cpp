// CHostDocument: the operations on the tables of the document's command
// levels: the snap and pick filters, the option and input-kind words of the
// modifier tables, and the object flags of the flag table and the command's
// temporary objects.
#include "host/document/host_document.h"

#include <algorithm>
#include <array>
#include <vector>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"

namespace {

constexpr LONG kFilterRootLevel = 0x8;
constexpr LONG kFilterSetA = 0x1;
constexpr LONG kFilterSetB = 0x4;

// The tables named by a mask (1 plain, 2 Ctrl, 4 Shift), in that order.
std::vector<int> TablesOfMask(LONG mask)
{
    std::vector<int> tables;
    if ((mask & 1) != 0) {
        tables.push_back(static_cast<int>(ModifierTable::Plain));
    }
    if ((mask & 2) != 0) {
        tables.push_back(static_cast<int>(ModifierTable::Ctrl));
    }
    if ((mask & 4) != 0) {
        tables.push_back(static_cast<int>(ModifierTable::Shift));
    }
    return tables;
}

} // namespace

template <class Action>
static void ForEachFilterTable(CNuvexDoc& document, LONG flags, LONG kind, Action action)
{
    const int table = ModifierTableOfKind(kind);
    if (table < 0) {
        return;
    }
    CommandLevel& level = document.Level((flags & kFilterRootLevel) != 0 ? 0 : document.GetCurrentLevel());
    if ((flags & kFilterSetA) != 0) {
        action(level, kSnapFilterSet + table);
    }
    if ((flags & kFilterSetB) != 0) {
        action(level, kPickFilterSet + table);
    }
}

HRESULT CHostDocument::ClearFilterIds(LONG flags, LONG kind)
{
    ForEachFilterTable(m_document, flags, kind, [](CommandLevel& level, int t) { level.filterIds[t].clear(); });
    return S_OK;
}

HRESULT CHostDocument::RemoveFilterId(LONG flags, LONG kind, uintptr_t id)
{
    ForEachFilterTable(m_document, flags, kind, [id](CommandLevel& level, int t) {
        auto& ids = level.filterIds[t];
        ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
    });
    return S_OK;
}

HRESULT CHostDocument::AddFilterId(LONG flags, LONG kind, uintptr_t id)
{
    ForEachFilterTable(m_document, flags, kind, [id](CommandLevel& level, int t) { level.filterIds[t].push_back(id); });
    return S_OK;
}

HRESULT CHostDocument::ClearFilterGuids(LONG flags, LONG kind)
{
    ForEachFilterTable(m_document, flags, kind, [](CommandLevel& level, int t) { level.filterGuids[t].clear(); });
    return S_OK;
}

HRESULT CHostDocument::RemoveFilterGuid(LONG flags, LONG kind, GUID id)
{
    ForEachFilterTable(m_document, flags, kind, [&id](CommandLevel& level, int t) {
        auto& guids = level.filterGuids[t];
        guids.erase(std::remove_if(guids.begin(), guids.end(), [&id](const FilterGuidRecord& r) { return r.id == id; }),
                    guids.end());
    });
    return S_OK;
}

HRESULT CHostDocument::AddFilterGuid(LONG flags, LONG kind, GUID id)
{
    ForEachFilterTable(m_document, flags, kind,
                       [&id](CommandLevel& level, int t) { level.filterGuids[t].push_back(FilterGuidRecord{id}); });
    return S_OK;
}

HRESULT CHostDocument::ClearFilterFlags(LONG flags, LONG kind, uint32_t bits)
{
    ForEachFilterTable(m_document, flags, kind, [bits](CommandLevel& level, int t) { level.filterFlags[t] &= ~bits; });
    return S_OK;
}

HRESULT CHostDocument::AddFilterFlags(LONG flags, LONG kind, uint32_t bits)
{
    ForEachFilterTable(m_document, flags, kind, [bits](CommandLevel& level, int t) { level.filterFlags[t] |= bits; });
    return S_OK;
}

HRESULT CHostDocument::SetFilterFlags(LONG flags, LONG kind, uint32_t value)
{
    ForEachFilterTable(m_document, flags, kind, [value](CommandLevel& level, int t) { level.filterFlags[t] = value; });
    return S_OK;
}

HRESULT CHostDocument::GetFilterFlags(LONG flags, LONG kind, uint32_t* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = 0;
    ForEachFilterTable(m_document, flags, kind, [value](CommandLevel& level, int t) { *value = level.filterFlags[t]; });
    return S_OK;
}

template <class Action>
static HRESULT ForEachWordOfMask(std::array<uint32_t, 3>& words, LONG mask, Action action)
{
    for (int table : TablesOfMask(mask)) {
        action(words[static_cast<size_t>(table)]);
    }
    return S_OK;
}

HRESULT CHostDocument::ClearOptions(uint32_t bits, LONG tableMask)
{
    return ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).options, tableMask,
                             [bits](uint32_t& word) { word &= ~bits; });
}

HRESULT CHostDocument::AddOptions(uint32_t bits, LONG tableMask)
{
    return ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).options, tableMask,
                             [bits](uint32_t& word) { word |= bits; });
}

HRESULT CHostDocument::SetOptions(uint32_t value, LONG tableMask)
{
    return ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).options, tableMask,
                             [value](uint32_t& word) { word = value; });
}

HRESULT CHostDocument::GetOptions(uint32_t* value, LONG tableMask)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    return ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).options, tableMask,
                             [value](uint32_t& word) { *value = word; });
}

HRESULT CHostDocument::ClearInputKinds(uint32_t bits, LONG tableMask)
{
    ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).inputKinds, tableMask,
                      [bits](uint32_t& word) { word &= ~bits; });
    m_document.InputKindsChanged();
    return S_OK;
}

HRESULT CHostDocument::AddInputKinds(uint32_t bits, LONG tableMask)
{
    ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).inputKinds, tableMask,
                      [bits](uint32_t& word) { word |= bits; });
    m_document.InputKindsChanged();
    return S_OK;
}

HRESULT CHostDocument::SetInputKinds(uint32_t kinds, LONG tableMask)
{
    ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).inputKinds, tableMask,
                      [kinds](uint32_t& word) { word = kinds; });
    m_document.InputKindsChanged();
    return S_OK;
}

HRESULT CHostDocument::GetInputKinds(uint32_t* kinds, LONG tableMask)
{
    if (kinds == nullptr) {
        return E_POINTER;
    }
    return ForEachWordOfMask(m_document.Level(m_document.GetCurrentLevel()).inputKinds, tableMask,
                             [kinds](uint32_t& word) { *kinds = word; });
}

template <class Change>
static void ChangeObjectFlags(CNuvexDoc& document, uint32_t key, LONG inTable, LONG inTemporaries, Change change)
{
    const int32_t entry = document.FindObjectFlagEntry(key, TRUE);
    if (inTable) {
        change.Word(document.ObjectFlagTable()[static_cast<size_t>(entry)].value);
    }
    if (inTemporaries) {
        for (CommandObjectEntry& temporary : document.CommandObjects()) {
            if (temporary.flagEntry != entry) {
                continue;
            }
            ComPtr<IEntityRecord> record;
            if (SUCCEEDED(temporary.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) && record) {
                change.Record(record.Get());
            }
        }
    }
}

HRESULT CHostDocument::ClearObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries)
{
    struct {
        uint32_t bits;
        void Word(uint32_t& word) const { word &= ~bits; }
        void Record(IEntityRecord* record) const { record->ClearFlags(bits); }
    } change{bits};
    ChangeObjectFlags(m_document, key, inTable, inTemporaries, change);
    return S_OK;
}

HRESULT CHostDocument::AddObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries)
{
    struct {
        uint32_t bits;
        void Word(uint32_t& word) const { word |= bits; }
        void Record(IEntityRecord* record) const { record->AddFlags(bits); }
    } change{bits};
    ChangeObjectFlags(m_document, key, inTable, inTemporaries, change);
    return S_OK;
}

HRESULT CHostDocument::SetObjectFlags(uint32_t key, uint16_t value, LONG inTable, LONG inTemporaries)
{
    struct {
        uint32_t value;
        void Word(uint32_t& word) const { word = value; }
        void Record(IEntityRecord* record) const { record->SetFlags(value); }
    } change{value};
    ChangeObjectFlags(m_document, key, inTable, inTemporaries, change);
    return S_OK;
}

HRESULT CHostDocument::GetObjectFlags(uint32_t key, uint32_t* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    const int32_t entry = m_document.FindObjectFlagEntry(key, TRUE);
    *value = m_document.ObjectFlagTable()[static_cast<size_t>(entry)].value;
    return S_OK;
}
