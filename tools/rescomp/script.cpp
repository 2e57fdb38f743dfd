// Reading a resource script into the byte forms of its resources. The script
// is line-oriented: each statement and each entry of a block stands on its
// own line, so that every error can name its line.
#include "tools/rescomp/script.h"

#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include "platform/kernel/resource_records.h"
#include "tools/rescomp/script_words.h"

namespace {

using namespace rescomp;

constexpr uint32_t kDefaultDialogStyle = 0x80C80000; // WS_POPUP | WS_CAPTION | WS_SYSMENU
constexpr uint32_t kDialogSetFont = 0x40;
constexpr uint32_t kChildVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kBorder = 0x00800000;

class Compiler {
public:
    explicit Compiler(ScriptResult& result) : m_result(result) {}

    void Run(const std::string& path)
    {
        ReadLines(path);
        while (m_next < m_lines.size()) {
            const Line& line = m_lines[m_next++];
            m_current = &line;
            m_depth = IsBlock(line) ? 1 : 0;
            try {
                Statement(line);
            } catch (const ScriptError& error) {
                Report(*m_current, error.message);
                SkipRestOfBlock();
            }
        }
    }

private:
    // --- input ---

    void ReadLines(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            m_result.errors.push_back(path + ": cannot open the resource script");
            return;
        }
        m_result.dependencies.push_back(path);
        std::string text;
        int number = 0;
        while (std::getline(file, text)) {
            ++number;
            Line line{path, number, {}};
            try {
                const size_t first = text.find_first_not_of(" \t");
                if (first != std::string::npos && text[first] == '#') {
                    Directive(path, text.substr(first), line);
                    continue;
                }
                line.tokens = Tokenize(text);
            } catch (const ScriptError& error) {
                Report(line, error.message);
                continue;
            }
            if (!line.tokens.empty()) {
                m_lines.push_back(std::move(line));
            }
        }
    }

    void Directive(const std::string& path, const std::string& text, const Line& where)
    {
        std::vector<Token> tokens = Tokenize(text.substr(1));
        if (tokens.empty() || tokens[0].kind != Token::Kind::Word) {
            Fail("unknown directive");
        }
        if (tokens[0].value == "define") {
            if (tokens.size() < 3 || tokens[1].kind != Token::Kind::Word) {
                Fail("#define needs a name and a value");
            }
            size_t pos = 2;
            m_current = &where;
            const int64_t value = Expression(tokens, pos);
            if (pos != tokens.size()) {
                Fail("unexpected text after the value");
            }
            m_symbols[tokens[1].value] = value;
        } else if (tokens[0].value == "include") {
            if (tokens.size() != 2 || tokens[1].kind != Token::Kind::Text) {
                Fail("#include needs one quoted file name");
            }
            IncludeHeader(FolderOf(path) + "/" + tokens[1].value);
        } else {
            Fail("unknown directive #" + tokens[0].value);
        }
    }

    // Takes the "#define NAME number" lines of a header; every other line,
    // and definitions whose value is not a plain number, are left alone.
    void IncludeHeader(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            Fail("cannot open included file " + path);
        }
        m_result.dependencies.push_back(path);
        std::string text;
        while (std::getline(file, text)) {
            std::istringstream words(text);
            std::string hash, name, value, rest;
            words >> hash >> name >> value;
            if (hash != "#define" || name.empty() || (words >> rest && rest.rfind("//", 0) != 0)) {
                continue;
            }
            if (std::optional<int64_t> number = ParseNumber(value)) {
                m_symbols[name] = *number;
            }
        }
    }

    void Report(const Line& line, const std::string& message)
    {
        m_result.errors.push_back(line.file + ":" + std::to_string(line.number) + ": " + message);
    }

    static bool IsBlock(const Line& line)
    {
        static const std::set<std::string> kBlocks = {"STRINGTABLE", "MENU", "ACCELERATORS", "DIALOG", "TOOLBAR"};
        return line.tokens[0].kind == Token::Kind::Word && kBlocks.count(line.tokens[0].value) != 0;
    }

    // After an error inside a block, skips to the block's END so that the
    // rest of the script is still checked.
    void SkipRestOfBlock()
    {
        while (m_depth > 0 && m_next < m_lines.size()) {
            const Line& inner = m_lines[m_next++];
            if (inner.tokens[0].value == "END") {
                --m_depth;
            } else if (inner.tokens[0].value == "POPUP") {
                ++m_depth;
            }
        }
    }

    // The next line of a block; fails at the end of the file.
    const Line& BlockLine(const std::string& block)
    {
        if (m_next >= m_lines.size()) {
            Fail(block + " without END");
        }
        m_current = &m_lines[m_next++];
        return *m_current;
    }

    // --- values ---

    int64_t Term(const std::vector<Token>& tokens, size_t& pos)
    {
        if (pos >= tokens.size() || tokens[pos].kind != Token::Kind::Word) {
            Fail("a number or a name is missing");
        }
        const std::string& word = tokens[pos++].value;
        if (std::optional<int64_t> number = ParseNumber(word)) {
            return *number;
        }
        if (auto it = m_symbols.find(word); it != m_symbols.end()) {
            return it->second;
        }
        if (auto it = BuiltinNames().find(word); it != BuiltinNames().end()) {
            return it->second;
        }
        Fail("unknown name " + word);
    }

    // Terms joined by "|".
    int64_t Expression(const std::vector<Token>& tokens, size_t& pos)
    {
        int64_t value = Term(tokens, pos);
        while (pos < tokens.size() && tokens[pos].kind == Token::Kind::Bar) {
            ++pos;
            value = static_cast<int64_t>(static_cast<uint32_t>(value) | static_cast<uint32_t>(Term(tokens, pos)));
        }
        return value;
    }

    int64_t Ranged(const std::vector<Token>& tokens, size_t& pos, int64_t low, int64_t high, const char* what)
    {
        const int64_t value = Expression(tokens, pos);
        if (value < low || value > high) {
            Fail(std::string(what) + " " + std::to_string(value) + " is out of range " + std::to_string(low) +
                 ".." + std::to_string(high));
        }
        return value;
    }

    uint16_t Id(const std::vector<Token>& tokens, size_t& pos, int64_t low = 1)
    {
        return static_cast<uint16_t>(Ranged(tokens, pos, low, 0xFFFF, "id"));
    }
    int16_t Coordinate(const std::vector<Token>& tokens, size_t& pos)
    {
        return static_cast<int16_t>(Ranged(tokens, pos, -32768, 32767, "coordinate"));
    }
    uint32_t Style(const std::vector<Token>& tokens, size_t& pos)
    {
        return static_cast<uint32_t>(Ranged(tokens, pos, -0x80000000ll, 0xFFFFFFFFll, "style"));
    }

    std::string Text(const std::vector<Token>& tokens, size_t& pos, const char* what)
    {
        if (pos >= tokens.size() || tokens[pos].kind != Token::Kind::Text) {
            Fail(std::string("a quoted ") + what + " is missing");
        }
        std::string text = tokens[pos++].value;
        if (text.size() > std::numeric_limits<uint16_t>::max()) {
            Fail(std::string(what) + " is too long");
        }
        return text;
    }

    bool IsWord(const std::vector<Token>& tokens, size_t pos, const char* word) const
    {
        return pos < tokens.size() && tokens[pos].kind == Token::Kind::Word && tokens[pos].value == word;
    }

    void End(const std::vector<Token>& tokens, size_t pos)
    {
        if (pos != tokens.size()) {
            Fail("unexpected text: " + tokens[pos].value);
        }
    }

    void Add(uint16_t type, uint16_t id, std::vector<uint8_t> bytes, const Line& line)
    {
        const auto key = std::make_pair(type, id);
        if (auto it = m_defined.find(key); it != m_defined.end()) {
            Fail("resource " + std::to_string(id) + " of type " + std::to_string(type) +
                 " is defined twice (first at line " + std::to_string(it->second) + ")");
        }
        m_defined[key] = line.number;
        m_result.resources.push_back({type, id, std::move(bytes), line.number});
    }

    // --- statements ---

    void Statement(const Line& line)
    {
        const std::vector<Token>& t = line.tokens;
        if (t[0].kind != Token::Kind::Word) {
            Fail("a statement starts with a keyword");
        }
        const std::string& keyword = t[0].value;
        size_t pos = 1;
        if (keyword == "STRINGTABLE") {
            End(t, pos);
            StringTable();
        } else if (keyword == "MENU") {
            const uint16_t id = Id(t, pos);
            End(t, pos);
            MenuTemplate menu;
            MenuItems(menu.items, 0);
            Add(kResourceMenu, id, EncodeMenuTemplate(menu), line);
        } else if (keyword == "ACCELERATORS") {
            const uint16_t id = Id(t, pos);
            End(t, pos);
            Add(kResourceAccelerator, id, EncodeAccelerators(Accelerators()), line);
        } else if (keyword == "DIALOG") {
            const uint16_t id = Id(t, pos);
            DialogTemplate dialog;
            dialog.x = Coordinate(t, pos);
            dialog.y = Coordinate(t, pos);
            dialog.cx = Coordinate(t, pos);
            dialog.cy = Coordinate(t, pos);
            End(t, pos);
            Dialog(dialog);
            Add(kResourceDialog, id, EncodeDialogTemplate(dialog), line);
        } else if (keyword == "TOOLBAR") {
            const uint16_t id = Id(t, pos);
            ToolbarTemplate toolbar;
            toolbar.width = static_cast<uint16_t>(Ranged(t, pos, 1, 0xFFFF, "button width"));
            toolbar.height = static_cast<uint16_t>(Ranged(t, pos, 1, 0xFFFF, "button height"));
            End(t, pos);
            Toolbar(toolbar);
            Add(kResourceToolbar, id, EncodeToolbarTemplate(toolbar), line);
        } else if (keyword == "BITMAP" || keyword == "ICON") {
            const uint16_t id = Id(t, pos);
            const std::string file = Text(t, pos, "image file");
            End(t, pos);
            const LoadedImage image = Image(line, file);
            Add(keyword == "BITMAP" ? kResourceBitmap : kResourceIcon, id,
                EncodeBitmap(ImagePixels{image.width, image.height, image.bgra}), line);
        } else if (keyword == "CURSOR") {
            const uint16_t id = Id(t, pos);
            const std::string file = Text(t, pos, "image file");
            CursorImage cursor;
            cursor.hotSpotX = static_cast<uint16_t>(Ranged(t, pos, 0, 0xFFFF, "hot spot"));
            cursor.hotSpotY = static_cast<uint16_t>(Ranged(t, pos, 0, 0xFFFF, "hot spot"));
            End(t, pos);
            const LoadedImage image = Image(line, file);
            if (cursor.hotSpotX >= image.width || cursor.hotSpotY >= image.height) {
                Fail("the hot spot lies outside the image");
            }
            cursor.image = ImagePixels{image.width, image.height, image.bgra};
            Add(kResourceCursor, id, EncodeCursor(cursor), line);
        } else if (keyword == "RCDATA") {
            const uint16_t id = Id(t, pos);
            const std::string file = Text(t, pos, "data file");
            End(t, pos);
            const std::string path = FolderOf(line.file) + "/" + file;
            std::ifstream in(path, std::ios::binary);
            if (!in) {
                Fail("cannot open data file " + path);
            }
            m_result.dependencies.push_back(path);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            Add(kResourceData, id, std::move(bytes), line);
        } else {
            Fail("unknown statement " + keyword);
        }
    }

    LoadedImage Image(const Line& line, const std::string& file)
    {
        const std::string path = FolderOf(line.file) + "/" + file;
        std::string error;
        std::optional<LoadedImage> image = LoadPngImage(path, error);
        if (!image) {
            Fail(path + ": " + error);
        }
        m_result.dependencies.push_back(path);
        return *image;
    }

    void StringTable()
    {
        for (;;) {
            const Line& line = BlockLine("STRINGTABLE");
            const std::vector<Token>& t = line.tokens;
            if (IsWord(t, 0, "END")) {
                --m_depth;
                End(t, 1);
                return;
            }
            try {
                size_t pos = 0;
                const uint16_t id = Id(t, pos, 0);
                std::string text = Text(t, pos, "string");
                End(t, pos);
                text.push_back('\0');
                Add(kResourceString, id, std::vector<uint8_t>(text.begin(), text.end()), line);
            } catch (const ScriptError& error) {
                Report(line, error.message);
            }
        }
    }

    WORD MenuFlag(const std::string& word)
    {
        static const std::map<std::string, WORD> kFlags = {
            {"GRAYED", kMenuGrayed}, {"INACTIVE", kMenuDisabled}, {"CHECKED", kMenuChecked},
            {"MENUBARBREAK", kMenuBarBreak}, {"MENUBREAK", kMenuBreak}, {"RADIOCHECK", kMenuRadioCheck},
            {"DEFAULT", kMenuDefault}, {"HELP", kMenuHelp},
        };
        auto it = kFlags.find(word);
        if (it == kFlags.end()) {
            Fail("unknown menu item option " + word);
        }
        return it->second;
    }

    WORD MenuFlags(const std::vector<Token>& t, size_t pos)
    {
        WORD flags = 0;
        for (; pos < t.size(); ++pos) {
            if (t[pos].kind != Token::Kind::Word) {
                Fail("unexpected text after the menu item");
            }
            flags |= MenuFlag(t[pos].value);
        }
        return flags;
    }

    void MenuItems(std::vector<MenuTemplateItem>& items, int depth)
    {
        constexpr int kMaxDepth = 8;
        if (depth > kMaxDepth) {
            Fail("popups nest too deep");
        }
        for (;;) {
            const Line& line = BlockLine("MENU");
            const std::vector<Token>& t = line.tokens;
            if (IsWord(t, 0, "END")) {
                --m_depth;
                End(t, 1);
                return;
            }
            MenuTemplateItem item;
            size_t pos = 1;
            if (IsWord(t, 0, "MENUITEM") && IsWord(t, 1, "SEPARATOR")) {
                End(t, 2);
                item.flags = kMenuSeparator;
            } else if (IsWord(t, 0, "MENUITEM")) {
                item.text = Text(t, pos, "item text");
                item.id = Id(t, pos, 0);
                item.flags = MenuFlags(t, pos);
            } else if (IsWord(t, 0, "POPUP")) {
                ++m_depth;
                item.text = Text(t, pos, "popup text");
                item.flags = static_cast<WORD>(kMenuPopup | MenuFlags(t, pos));
                MenuItems(item.children, depth + 1);
            } else {
                Fail("a menu holds MENUITEM and POPUP lines");
            }
            items.push_back(std::move(item));
        }
    }

    std::vector<AcceleratorEntry> Accelerators()
    {
        static const std::map<std::string, BYTE> kFlags = {
            {"VIRTKEY", kAccelVirtualKey}, {"ASCII", 0}, {"NOINVERT", kAccelNoInvert},
            {"SHIFT", kAccelShift}, {"CONTROL", kAccelControl}, {"ALT", kAccelAlt},
        };
        std::vector<AcceleratorEntry> entries;
        for (;;) {
            const Line& line = BlockLine("ACCELERATORS");
            const std::vector<Token>& t = line.tokens;
            if (IsWord(t, 0, "END")) {
                --m_depth;
                End(t, 1);
                return entries;
            }
            AcceleratorEntry entry;
            size_t pos = 0;
            bool namedKey = false;
            std::string keyText;
            if (t[0].kind == Token::Kind::Text) {
                keyText = t[0].value;
                pos = 1;
            } else {
                namedKey = t[0].value.rfind("VK_", 0) == 0;
                entry.key = static_cast<WORD>(Ranged(t, pos, 0, 0xFFFF, "key"));
            }
            entry.command = Id(t, pos, 0);
            for (; pos < t.size(); ++pos) {
                auto it = t[pos].kind == Token::Kind::Word ? kFlags.find(t[pos].value) : kFlags.end();
                if (it == kFlags.end()) {
                    Fail("unknown accelerator option " + t[pos].value);
                }
                entry.flags |= it->second;
            }
            if (namedKey) {
                entry.flags |= kAccelVirtualKey;
            }
            const bool virtualKey = (entry.flags & kAccelVirtualKey) != 0;
            if (!keyText.empty() || t[0].kind == Token::Kind::Text) {
                if (keyText.size() == 2 && keyText[0] == '^' && keyText[1] >= 'A' && keyText[1] <= 'Z' &&
                    !virtualKey) {
                    entry.key = static_cast<WORD>(keyText[1] - 'A' + 1);
                } else if (keyText.size() == 1) {
                    char c = keyText[0];
                    if (virtualKey && c >= 'a' && c <= 'z') {
                        c = static_cast<char>(c - 'a' + 'A');
                    }
                    entry.key = static_cast<unsigned char>(c);
                } else {
                    Fail("a quoted key is one character, or ^ and a capital letter");
                }
            }
            entries.push_back(entry);
        }
    }

    struct ControlKind {
        const char* className;
        uint32_t style;
        bool hasText;
    };

    void Dialog(DialogTemplate& dialog)
    {
        static const std::map<std::string, ControlKind> kShorthands = {
            {"LTEXT", {"STATIC", kChildVisible | kGroup | 0x0, true}},
            {"CTEXT", {"STATIC", kChildVisible | kGroup | 0x1, true}},
            {"RTEXT", {"STATIC", kChildVisible | kGroup | 0x2, true}},
            {"PUSHBUTTON", {"BUTTON", kChildVisible | kTabStop | 0x0, true}},
            {"DEFPUSHBUTTON", {"BUTTON", kChildVisible | kTabStop | 0x1, true}},
            {"AUTOCHECKBOX", {"BUTTON", kChildVisible | kTabStop | 0x3, true}},
            {"GROUPBOX", {"BUTTON", kChildVisible | 0x7, true}},
            {"AUTORADIOBUTTON", {"BUTTON", kChildVisible | 0x9, true}},
            {"EDITTEXT", {"EDIT", kChildVisible | kTabStop | kBorder, false}},
            {"COMBOBOX", {"COMBOBOX", kChildVisible | kTabStop, false}},
            {"LISTBOX", {"LISTBOX", kChildVisible | kTabStop | kBorder | 0x1, false}},
        };
        bool styled = false;
        for (;;) {
            const Line& line = BlockLine("DIALOG");
            const std::vector<Token>& t = line.tokens;
            const std::string& keyword = t[0].value;
            size_t pos = 1;
            if (IsWord(t, 0, "END")) {
                --m_depth;
                End(t, 1);
                break;
            }
            if (keyword == "STYLE") {
                dialog.style = Style(t, pos);
                styled = true;
            } else if (keyword == "EXSTYLE") {
                dialog.exStyle = Style(t, pos);
            } else if (keyword == "CAPTION") {
                dialog.caption = Text(t, pos, "caption");
            } else if (keyword == "FONT") {
                dialog.fontPointSize = static_cast<WORD>(Ranged(t, pos, 1, 0xFFFF, "font size"));
                dialog.fontFace = Text(t, pos, "font face");
            } else if (keyword == "MENU") {
                dialog.menuId = Id(t, pos);
            } else if (keyword == "CLASS") {
                dialog.className = Text(t, pos, "class name");
            } else if (keyword == "CONTROL") {
                DialogItemTemplate item;
                item.text = Text(t, pos, "control text");
                item.id = static_cast<INT>(Ranged(t, pos, -1, 0xFFFF, "control id"));
                item.className = Text(t, pos, "class name");
                item.style = Style(t, pos);
                Place(item, t, pos);
                if (pos < t.size()) {
                    item.exStyle = Style(t, pos);
                }
                dialog.items.push_back(std::move(item));
            } else if (auto it = kShorthands.find(keyword); it != kShorthands.end()) {
                DialogItemTemplate item;
                item.className = it->second.className;
                item.style = it->second.style;
                if (it->second.hasText) {
                    item.text = Text(t, pos, "control text");
                }
                item.id = static_cast<INT>(Ranged(t, pos, -1, 0xFFFF, "control id"));
                Place(item, t, pos);
                if (pos < t.size()) {
                    item.style |= Style(t, pos);
                }
                if (pos < t.size()) {
                    item.exStyle = Style(t, pos);
                }
                dialog.items.push_back(std::move(item));
            } else {
                Fail("unknown dialog line " + keyword);
            }
            End(t, pos);
        }
        if (!styled) {
            dialog.style = kDefaultDialogStyle;
        }
        if (dialog.fontPointSize != 0) {
            dialog.style |= kDialogSetFont;
        }
    }

    void Place(DialogItemTemplate& item, const std::vector<Token>& t, size_t& pos)
    {
        item.x = Coordinate(t, pos);
        item.y = Coordinate(t, pos);
        item.cx = Coordinate(t, pos);
        item.cy = Coordinate(t, pos);
    }

    void Toolbar(ToolbarTemplate& toolbar)
    {
        for (;;) {
            const Line& line = BlockLine("TOOLBAR");
            const std::vector<Token>& t = line.tokens;
            size_t pos = 1;
            if (IsWord(t, 0, "END")) {
                --m_depth;
                End(t, 1);
                return;
            }
            if (IsWord(t, 0, "SEPARATOR")) {
                toolbar.items.push_back(0);
            } else if (IsWord(t, 0, "BUTTON")) {
                toolbar.items.push_back(Id(t, pos));
            } else {
                Fail("a toolbar holds BUTTON and SEPARATOR lines");
            }
            End(t, pos);
        }
    }

    ScriptResult& m_result;
    std::vector<Line> m_lines;
    size_t m_next = 0;
    int m_depth = 0; // blocks open at the current line
    const Line* m_current = nullptr;
    std::map<std::string, int64_t> m_symbols;
    std::map<std::pair<uint16_t, uint16_t>, int> m_defined;
};

} // namespace

ScriptResult CompileResourceScript(const std::string& path)
{
    ScriptResult result;
    Compiler compiler(result);
    compiler.Run(path);
    return result;
}
