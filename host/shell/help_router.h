// Help requests of the program: context help on a clicked item goes to the
// add-in that owns the item's command; F1 goes to the add-in whose command
// runs in the active drawing, else to the program's own help page in the
// chosen language ("help\<language>\nuvex.chm::/html/home.htm", which the
// platform opens in the desktop's browser).
#pragma once

#include <string>

#include "platform/base/types.h"

class CAddinHost;
class CNuvexDoc;

// Help commands of the help requests.
inline constexpr UINT kHelpContext = 0x0001;
inline constexpr UINT kHelpFinder = 0x000B;
// The second argument of IAddin::Help for a command's help.
inline constexpr LONG kAddinHelpContext = 0x10000000;

enum class HelpRoute {
    // Nothing was asked of anyone.
    None,
    // An add-in's Help was called for one of its commands.
    Addin,
    // The program's help page was opened.
    HostPage,
};

// The program's home help page for a language.
std::string HostHelpPage(const std::string& language);

// Routes one request. contextHelpMode: the main frame's context-help flag
// (set by Shift+F1), read and cleared here; data: for context help, the
// clicked item's command id in its low 16 bits. activeDocument may be null.
HelpRoute RouteHelp(CAddinHost& host, CNuvexDoc* activeDocument, BOOL& contextHelpMode, DWORD_PTR data,
                    UINT command);
