// The words of a resource script: the tokenizer, numbers and built-in names.
#include "tools/rescomp/script_words.h"

#include "platform/base/hex.h"

namespace rescomp {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::vector<Token> Tokenize(const std::string& text)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            ++i;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            break;
        } else if (c == '|') {
            tokens.push_back({Token::Kind::Bar, "|"});
            ++i;
        } else if (c == '"') {
            std::string value;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char d = text[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    value += d;
                    continue;
                }
                if (i >= text.size()) {
                    break;
                }
                const char e = text[i++];
                switch (e) {
                case 'n': value += '\n'; break;
                case 't': value += '\t'; break;
                case 'r': value += '\r'; break;
                case '\\': value += '\\'; break;
                case '"': value += '"'; break;
                case 'x': {
                    const int byte = i + 1 < text.size() ? HexByteValue(text[i], text[i + 1]) : -1;
                    if (byte < 0) {
                        Fail("\\x needs two hex digits");
                    }
                    value += static_cast<char>(byte);
                    i += 2;
                    break;
                }
                default:
                    Fail(std::string("unknown escape \\") + e);
                }
            }
            if (!closed) {
                Fail("text without closing quote");
            }
            tokens.push_back({Token::Kind::Text, value});
        } else {
            std::string word;
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != ',' && text[i] != '|' &&
                   text[i] != '"' && text[i] != '\r') {
                word += text[i++];
            }
            tokens.push_back({Token::Kind::Word, word});
        }
    }
    return tokens;
}

std::optional<int64_t> ParseNumber(const std::string& word)
{
    if (word.empty()) {
        return std::nullopt;
    }
    size_t pos = 0;
    bool negative = false;
    if (word[0] == '-') {
        negative = true;
        pos = 1;
    }
    int base = 10;
    if (word.size() > pos + 2 && word[pos] == '0' && (word[pos + 1] == 'x' || word[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= word.size()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; pos < word.size(); ++pos) {
        const int digit = HexDigitValue(word[pos]);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFll) {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

// Names a script may use without defining them: window, dialog and control
// styles, virtual keys and the standard dialog ids.
const std::map<std::string, int64_t>& BuiltinNames()
{
    static const std::map<std::string, int64_t> kNames = {
        // window styles
        {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
        {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000}, {"WS_CLIPSIBLINGS", 0x04000000},
        {"WS_CLIPCHILDREN", 0x02000000}, {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000},
        {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000},
        {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},
        {"WS_TABSTOP", 0x00010000}, {"WS_MINIMIZEBOX", 0x00020000}, {"WS_MAXIMIZEBOX", 0x00010000},
        // extended window styles
        {"WS_EX_DLGMODALFRAME", 0x1}, {"WS_EX_TOPMOST", 0x8}, {"WS_EX_TRANSPARENT", 0x20},
        {"WS_EX_TOOLWINDOW", 0x80}, {"WS_EX_WINDOWEDGE", 0x100}, {"WS_EX_CLIENTEDGE", 0x200},
        {"WS_EX_CONTROLPARENT", 0x10000}, {"WS_EX_STATICEDGE", 0x20000},
        // dialog styles
        {"DS_3DLOOK", 0x4}, {"DS_FIXEDSYS", 0x8}, {"DS_SETFONT", 0x40}, {"DS_MODALFRAME", 0x80},
        {"DS_CONTROL", 0x400}, {"DS_CENTER", 0x800}, {"DS_SHELLFONT", 0x48},
        // buttons
        {"BS_PUSHBUTTON", 0x0}, {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2}, {"BS_AUTOCHECKBOX", 0x3},
        {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5}, {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7},
        {"BS_AUTORADIOBUTTON", 0x9}, {"BS_OWNERDRAW", 0xB}, {"BS_LEFTTEXT", 0x20}, {"BS_ICON", 0x40},
        {"BS_BITMAP", 0x80}, {"BS_MULTILINE", 0x2000}, {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},
        // edits
        {"ES_LEFT", 0x0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_MULTILINE", 0x4}, {"ES_UPPERCASE", 0x8},
        {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20}, {"ES_AUTOVSCROLL", 0x40}, {"ES_AUTOHSCROLL", 0x80},
        {"ES_NOHIDESEL", 0x100}, {"ES_READONLY", 0x800}, {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
        // statics
        {"SS_LEFT", 0x0}, {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3}, {"SS_BLACKRECT", 0x4},
        {"SS_GRAYRECT", 0x5}, {"SS_WHITERECT", 0x6}, {"SS_BLACKFRAME", 0x7}, {"SS_LEFTNOWORDWRAP", 0xC},
        {"SS_BITMAP", 0xE}, {"SS_ETCHEDHORZ", 0x10}, {"SS_ETCHEDFRAME", 0x12}, {"SS_NOPREFIX", 0x80},
        {"SS_NOTIFY", 0x100}, {"SS_CENTERIMAGE", 0x200}, {"SS_SUNKEN", 0x1000},
        // combo boxes and list boxes
        {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3}, {"CBS_OWNERDRAWFIXED", 0x10},
        {"CBS_AUTOHSCROLL", 0x40}, {"CBS_SORT", 0x100}, {"CBS_HASSTRINGS", 0x200},
        {"CBS_NOINTEGRALHEIGHT", 0x400}, {"CBS_DISABLENOSCROLL", 0x800},
        {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_NOREDRAW", 0x4}, {"LBS_MULTIPLESEL", 0x8},
        {"LBS_OWNERDRAWFIXED", 0x10}, {"LBS_HASSTRINGS", 0x40}, {"LBS_USETABSTOPS", 0x80},
        {"LBS_NOINTEGRALHEIGHT", 0x100}, {"LBS_EXTENDEDSEL", 0x800}, {"LBS_DISABLENOSCROLL", 0x1000},
        // common controls
        {"UDS_SETBUDDYINT", 0x2}, {"UDS_ALIGNRIGHT", 0x4}, {"UDS_AUTOBUDDY", 0x10}, {"UDS_ARROWKEYS", 0x20},
        {"TBS_AUTOTICKS", 0x1}, {"TBS_NOTICKS", 0x10}, {"PBS_SMOOTH", 0x1}, {"SBS_HORZ", 0x0}, {"SBS_VERT", 0x1},
        // dialog ids
        {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5}, {"IDYES", 6},
        {"IDNO", 7}, {"IDC_STATIC", -1},
        // virtual keys
        {"VK_BACK", 0x08}, {"VK_TAB", 0x09}, {"VK_RETURN", 0x0D}, {"VK_SHIFT", 0x10}, {"VK_CONTROL", 0x11},
        {"VK_MENU", 0x12}, {"VK_PAUSE", 0x13}, {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21},
        {"VK_NEXT", 0x22}, {"VK_END", 0x23}, {"VK_HOME", 0x24}, {"VK_LEFT", 0x25}, {"VK_UP", 0x26},
        {"VK_RIGHT", 0x27}, {"VK_DOWN", 0x28}, {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E},
        {"VK_NUMPAD0", 0x60}, {"VK_NUMPAD1", 0x61}, {"VK_NUMPAD2", 0x62}, {"VK_NUMPAD3", 0x63},
        {"VK_NUMPAD4", 0x64}, {"VK_NUMPAD5", 0x65}, {"VK_NUMPAD6", 0x66}, {"VK_NUMPAD7", 0x67},
        {"VK_NUMPAD8", 0x68}, {"VK_NUMPAD9", 0x69}, {"VK_MULTIPLY", 0x6A}, {"VK_ADD", 0x6B},
        {"VK_SUBTRACT", 0x6D}, {"VK_DECIMAL", 0x6E}, {"VK_DIVIDE", 0x6F},
        {"VK_F1", 0x70}, {"VK_F2", 0x71}, {"VK_F3", 0x72}, {"VK_F4", 0x73}, {"VK_F5", 0x74}, {"VK_F6", 0x75},
        {"VK_F7", 0x76}, {"VK_F8", 0x77}, {"VK_F9", 0x78}, {"VK_F10", 0x79}, {"VK_F11", 0x7A},
        {"VK_F12", 0x7B},
    };
    return kNames;
}

} // namespace rescomp
