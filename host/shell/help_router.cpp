// Help routing: to the owner of a command-table entry, or to the program's
// help page.
#include "host/shell/help_router.h"

#include "host/document/nuvex_doc.h"
#include "host/shell/addin_host.h"
#include "host/shell/main_frame.h"
#include "iaddin.h"
#include "platform/kernel/help.h"

namespace {

// The command's owner is asked for its help; FALSE when the entry has no
// loaded add-in.
bool AskOwner(CAddinHost& host, int32_t commandIndex)
{
    const CAddinCommandEntry* entry = host.CommandEntry(commandIndex);
    IAddin* owner = entry != nullptr ? host.GetAddin(entry->addinIndex) : nullptr;
    if (owner == nullptr) {
        return false;
    }
    owner->Help(static_cast<LONG>(entry->addinCommandId), kAddinHelpContext);
    return true;
}

} // namespace

std::string HostHelpPage(const std::string& language) { return "help\\" + language + "\\nuvex.chm::/html/home.htm"; }

HelpRoute RouteHelp(CAddinHost& host, CNuvexDoc* activeDocument, BOOL& contextHelpMode, DWORD_PTR data,
                    UINT command)
{
    // 1. Help on a clicked item: only add-in commands have any.
    if (command == kHelpContext && contextHelpMode) {
        contextHelpMode = FALSE;
        const UINT id = static_cast<UINT>(data & 0xFFFF);
        if (id >= kFirstHostCommandId && id < kEndHostCommandIds &&
            AskOwner(host, static_cast<int32_t>(id - kFirstHostCommandId))) {
            return HelpRoute::Addin;
        }
        return HelpRoute::None;
    }
    if (command != kHelpContext && command != kHelpFinder) {
        return HelpRoute::None;
    }
    // 2. The running add-in command's help, else the program's.
    if (activeDocument != nullptr && activeDocument->GetLevelCount() > 0) {
        const int32_t index = activeDocument->Level(activeDocument->GetCurrentLevel()).commandIndex;
        if (index >= 0 && AskOwner(host, index)) {
            return HelpRoute::Addin;
        }
    }
    const std::string page = HostHelpPage(host.LanguageTable().ChosenLanguage());
    ::HtmlHelpA(nullptr, page.c_str(), HH_DISPLAY_TOPIC, 0);
    return HelpRoute::HostPage;
}
