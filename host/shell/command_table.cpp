// The command table: host command id 10000 + index names the entry of an
// (add-in, command number) pair; entries are only appended.
#include "host/shell/addin_host.h"

int CAddinHost::FindHostCommand(IAddin* addin, LONG commandNumber) const
{
    for (size_t i = 0; i < m_commands.size(); ++i) {
        const CAddinCommandEntry& entry = m_commands[i];
        const bool sameAddin = entry.addinIndex >= 0 && static_cast<size_t>(entry.addinIndex) < m_addins.size() &&
                               m_addins[static_cast<size_t>(entry.addinIndex)].addin == addin;
        if (sameAddin && entry.addinCommandId == static_cast<uint32_t>(commandNumber)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int32_t CAddinHost::GetHostCommand(IAddin* addin, uint32_t commandNumber)
{
    const int found = FindHostCommand(addin, static_cast<LONG>(commandNumber));
    if (found >= 0) {
        return found;
    }
    const int addinIndex = FindAddinByInterface(addin);
    if (addinIndex < 0) {
        return -1;
    }
    CAddinCommandEntry entry;
    entry.addinIndex = addinIndex;
    entry.addinCommandId = commandNumber;
    m_commands.push_back(std::move(entry));
    return static_cast<int32_t>(m_commands.size()) - 1;
}

CAddinCommandEntry* CAddinHost::CommandEntry(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_commands.size()) {
        return nullptr;
    }
    return &m_commands[static_cast<size_t>(index)];
}
