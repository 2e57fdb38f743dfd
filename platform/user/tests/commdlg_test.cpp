// Message boxes and file dialogs: answers through the hook and its record,
// the checks a chosen file goes through, and the message box a person sees.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/controls/controls.h"
#include "platform/display/headless/headless_display.h"
#include "platform/user/commdlg.h"
#include "platform/user/input.h"
#include "platform/user/tests/dialog_support.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

namespace fs = std::filesystem;

class CommonDialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        owner = MakeTopLevel("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 800, 600});
        folder = fs::path(::testing::TempDir()) /
                 ("commdlg_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        std::ofstream(folder / "part.nvx") << "x";
        std::ofstream(folder / "notes.txt") << "x";
    }
    void TearDown() override
    {
        SetDialogAnswerHook(nullptr);
        SetIdleScript(nullptr);
        fs::remove_all(folder);
        WindowTest::TearDown();
    }

    // Answers file dialogs with `paths` in turn and message boxes with
    // `buttons` in turn.
    void Script(std::vector<std::string> paths, std::vector<int> buttons = {})
    {
        SetDialogAnswerHook([paths, buttons, p = size_t{0}, b = size_t{0}](
                                const DialogRequest& r) mutable -> std::optional<DialogAnswer> {
            DialogAnswer answer;
            if (r.kind == DialogRequestKind::MessageBox) {
                answer.button = b < buttons.size() ? buttons[b++] : IDOK;
                return answer;
            }
            if (p >= paths.size()) {
                answer.button = IDCANCEL;
                return answer;
            }
            answer.path = paths[p++];
            return answer;
        });
    }

    OPENFILENAMEA Request(DWORD flags, const char* defaultExtension = nullptr)
    {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = "Drawings (*.nvx)\0*.nvx\0Text (*.txt;*.log)\0*.txt;*.log\0All files\0*.*\0";
        ofn.nFilterIndex = 2;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof(file);
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof(title);
        ofn.lpstrInitialDir = initialDir.c_str();
        ofn.Flags = flags;
        ofn.lpstrDefExt = defaultExtension;
        return ofn;
    }

    static std::vector<DialogRequestKind> Kinds()
    {
        std::vector<DialogRequestKind> kinds;
        for (const DialogRequest& r : RecordedDialogRequests()) {
            kinds.push_back(r.kind);
        }
        return kinds;
    }

    HWND owner = nullptr;
    fs::path folder;
    std::string initialDir;
    char file[512]{};
    char title[64]{};
};

using K = DialogRequestKind;

TEST_F(CommonDialogTest, MessageBoxAnswersThroughTheHook)
{
    struct Case {
        const char* name;
        UINT type;
        int answer;
        int expected;
    };
    const Case cases[] = {
        {"ok", MB_OK, IDOK, IDOK},
        {"escape in a box with only OK is OK", MB_OK | MB_ICONINFORMATION, IDCANCEL, IDOK},
        {"ok-cancel cancelled", MB_OKCANCEL, IDCANCEL, IDCANCEL},
        {"yes-no answered no", MB_YESNO | MB_ICONQUESTION, IDNO, IDNO},
        {"yes-no cannot be cancelled", MB_YESNO, IDCANCEL, 0},
        {"yes-no-cancel cancelled", MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDCANCEL, IDCANCEL},
        {"a button the box does not have", MB_OKCANCEL, IDYES, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int answer = c.answer;
        SetDialogAnswerHook([answer](const DialogRequest&) { return DialogAnswer{answer, {}, 0}; });
        EXPECT_EQ(MessageBoxA(owner, "Save changes to Part1?", "Nuvex", c.type), c.expected);
        const auto seen = RecordedDialogRequests();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].kind, K::MessageBox);
        EXPECT_EQ(seen[0].owner, owner);
        EXPECT_EQ(seen[0].text, "Save changes to Part1?");
        EXPECT_EQ(seen[0].caption, "Nuvex");
        EXPECT_EQ(seen[0].type, c.type);
    }
    SetDialogAnswerHook([](const DialogRequest&) { return DialogAnswer{}; });
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
    EXPECT_EQ(RecordedDialogRequests().at(0).caption, "Error");
    EXPECT_EQ(RecordedDialogRequests().at(0).text, "");
}

TEST_F(CommonDialogTest, MessageBoxOnScreenAnswersTheKeyboard)
{
    RegisterStandardControlStandIns();
    struct Case {
        const char* name;
        UINT type;
        std::vector<int> keys;
        int expected;
    };
    const Case cases[] = {
        {"enter takes the default button", MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {"escape in a box with only OK", MB_OK, {VK_ESCAPE}, IDOK},
        {"escape cancels", MB_YESNOCANCEL, {VK_ESCAPE}, IDCANCEL},
        {"escape does nothing without cancel", MB_YESNO, {VK_ESCAPE, VK_RETURN}, IDYES},
        {"tab then enter takes the focused button", MB_OKCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t next = 0;
        std::vector<int> keys = c.keys;
        SetIdleScript([&]() {
            if (next >= keys.size()) {
                return false;
            }
            InjectKey(keys[next], KeyAction::Down);
            InjectKey(keys[next], KeyAction::Up);
            ++next;
            return true;
        });
        EXPECT_EQ(MessageBoxA(owner, "Replace the tool?", "Tools", c.type), c.expected);
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(CommonDialogTest, MessageBoxShowsItsTextAndIcon)
{
    RegisterStandardControlStandIns();
    HWND box = nullptr;
    std::string text;
    uint32_t iconPixel = 0;
    RECT frame{};
    SetIdleScript([&]() {
        if (box != nullptr) {
            return false;
        }
        box = GetActiveWindow();
        char buffer[64]{};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer));
        text = buffer;
        GetWindowRect(box, &frame);
        POINT origin{0, 0};
        ClientToScreen(box, &origin);
        // The icon sits at the top-left margin of the client area; its
        // glyph is in the middle, so look left of it.
        const GdiSurface surface = GetWindowSurface(box);
        RECT margin{7, 7, 7, 7};
        MapDialogRect(box, &margin);
        const int x = origin.x - frame.left + margin.left + 6;
        const int y = origin.y - frame.top + margin.top + 16;
        if (surface.pixels != nullptr && x < surface.width && y < surface.height) {
            iconPixel = surface.pixels[static_cast<size_t>(y) * surface.stride + x];
        }
        InjectKey(VK_RETURN, KeyAction::Down);
        InjectKey(VK_RETURN, KeyAction::Up);
        return true;
    });
    EXPECT_EQ(MessageBoxA(owner, "Cannot open the file.", "Nuvex", MB_OK | MB_ICONERROR), IDOK);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(text, "Cannot open the file.");
    // Centred on its owner.
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    EXPECT_NEAR((frame.left + frame.right) / 2, (ownerRect.left + ownerRect.right) / 2, 1);
    // The error icon is red.
    EXPECT_EQ(iconPixel & 0x00FFFFFFu, 0x00C80000u) << std::hex << iconPixel;
}

TEST_F(CommonDialogTest, FileDialogChecksTheAnswer)
{
    const std::string part = (folder / "part.nvx").string();
    struct Case {
        const char* name;
        bool save;
        DWORD flags;
        const char* defaultExtension;
        std::vector<std::string> paths;
        std::vector<int> buttons;
        BOOL result;
        std::string path;                       // expected result, relative to the folder
        std::vector<DialogRequestKind> requests; // what the hook saw
    };
    const Case cases[] = {
        {"open an existing file", false, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, nullptr, {"part.nvx"}, {}, TRUE,
         "part.nvx", {K::OpenFile}},
        {"open a missing file is refused and asked again", false, OFN_FILEMUSTEXIST, nullptr,
         {"missing.nvx", "notes.txt"}, {}, TRUE, "notes.txt", {K::OpenFile, K::MessageBox, K::OpenFile}},
        {"open without the check takes a missing file", false, 0, nullptr, {"missing.nvx"}, {}, TRUE,
         "missing.nvx", {K::OpenFile}},
        {"open adds the default extension when the plain name is missing", false, OFN_FILEMUSTEXIST, "nvx",
         {"part"}, {}, TRUE, "part.nvx", {K::OpenFile}},
        {"a folder that does not exist", false, OFN_PATHMUSTEXIST, nullptr, {"nowhere/a.nvx", "sub/b.nvx"}, {},
         TRUE, "sub/b.nvx", {K::OpenFile, K::MessageBox, K::OpenFile}},
        {"save adds the default extension", true, OFN_OVERWRITEPROMPT, "nvx", {"drawing"}, {}, TRUE,
         "drawing.nvx", {K::SaveFile}},
        {"save over a file answered no asks again", true, OFN_OVERWRITEPROMPT, "nvx", {"part", "other"}, {IDNO},
         TRUE, "other.nvx", {K::SaveFile, K::MessageBox, K::SaveFile}},
        {"save over a file answered yes", true, OFN_OVERWRITEPROMPT, "nvx", {"part.nvx"}, {IDYES}, TRUE,
         "part.nvx", {K::SaveFile, K::MessageBox}},
        {"save over a file without the prompt", true, 0, "nvx", {"part"}, {}, TRUE, "part.nvx", {K::SaveFile}},
        {"cancelled", false, 0, nullptr, {}, {}, FALSE, "", {K::OpenFile}},
        {"a folder is not a file", false, 0, nullptr, {"sub"}, {}, FALSE, "", {K::OpenFile, K::OpenFile}},
    };
    initialDir = folder.string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(c.paths, c.buttons);
        std::memset(file, 0, sizeof(file));
        OPENFILENAMEA ofn = Request(c.flags, c.defaultExtension);
        const BOOL result = c.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(Kinds(), c.requests);
        if (c.result == FALSE) {
            EXPECT_EQ(CommDlgExtendedError(), 0u);
            continue;
        }
        const std::string expected = (folder / c.path).lexically_normal().string();
        EXPECT_EQ(std::string(file), expected);
        const std::string name = fs::path(expected).filename().string();
        EXPECT_EQ(std::string(file + ofn.nFileOffset), name);
        EXPECT_EQ(std::string(title), name);
        EXPECT_EQ(std::string(file + ofn.nFileExtension), fs::path(expected).extension().string().substr(1));
    }
}

TEST_F(CommonDialogTest, FileDialogRequestDescribesTheDialog)
{
    initialDir = folder.string();
    Script({"notes.txt"});
    std::strcpy(file, "start.txt");
    OPENFILENAMEA ofn = Request(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_READONLY, "txt");
    ofn.lpstrTitle = "Import points";
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    const auto seen = RecordedDialogRequests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Import points");
    EXPECT_EQ(seen[0].text, "start.txt");
    EXPECT_EQ(seen[0].folder, folder.string());
    EXPECT_EQ(seen[0].filterIndex, 2);
    EXPECT_EQ(seen[0].defaultExtension, "txt");
    const std::vector<std::pair<std::string, std::string>> filters{
        {"Drawings (*.nvx)", "*.nvx"}, {"Text (*.txt;*.log)", "*.txt;*.log"}, {"All files", "*.*"}};
    EXPECT_EQ(seen[0].filters, filters);
    EXPECT_EQ(ofn.Flags & OFN_READONLY, 0u) << "a hidden read-only box is never ticked";

    // Without an initial folder, a proposed path names the folder.
    initialDir.clear();
    Script({"part.nvx"});
    std::snprintf(file, sizeof(file), "%s", (folder / "sub" / "x.nvx").c_str());
    ofn = Request(0);
    ofn.lpstrInitialDir = nullptr;
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(RecordedDialogRequests().at(0).folder, (folder / "sub").string());
    EXPECT_EQ(RecordedDialogRequests().at(0).text, "x.nvx");
    EXPECT_EQ(std::string(file), (folder / "sub" / "part.nvx").string());
}

TEST_F(CommonDialogTest, FileDialogErrors)
{
    initialDir = folder.string();
    // A path longer than the buffer: the size needed in the first bytes.
    Script({"part.nvx"});
    OPENFILENAMEA ofn = Request(0);
    ofn.nMaxFile = 8;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    WORD needed = 0;
    std::memcpy(&needed, file, sizeof(needed));
    EXPECT_EQ(needed, (folder / "part.nvx").string().size() + 1);

    // A proposed name without a terminator is read within its buffer.
    Script({"part.nvx"});
    std::memset(file, 'a', sizeof(file));
    ofn = Request(0);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(RecordedDialogRequests().at(0).text.size(), sizeof(file));

    ofn.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);

    // A hook that is never satisfied ends in a cancel instead of a hang.
    int asked = 0;
    SetDialogAnswerHook([&](const DialogRequest& r) -> std::optional<DialogAnswer> {
        if (r.kind == K::OpenFile) {
            ++asked;
        }
        return DialogAnswer{IDOK, "missing.nvx", 0};
    });
    ofn = Request(OFN_FILEMUSTEXIST);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(asked, 100);
}

TEST_F(CommonDialogTest, FileDialogOnScreenListsTheFolderAndTakesATypedName)
{
    RegisterStandardControlStandIns();
    initialDir = folder.string();
    std::vector<std::string> listed;
    int step = 0;
    SetIdleScript([&]() {
        HWND dialog = GetActiveWindow();
        switch (step++) {
        case 0: {
            HWND list = GetDlgItem(dialog, 1120);
            const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                char text[64]{};
                SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                listed.emplace_back(text);
            }
            // Into the sub-folder by name, then a file there.
            HeadlessTypeText("sub\n");
            return true;
        }
        case 1:
            HeadlessTypeText("new\n");
            return true;
        default:
            return false;
        }
    });
    OPENFILENAMEA ofn = Request(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, "nvx");
    ofn.nFilterIndex = 1;
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    // Folders first, then the files of the chosen filter.
    EXPECT_EQ(listed, (std::vector<std::string>{"[..]", "[sub]", "part.nvx"}));
    EXPECT_EQ(std::string(file), (folder / "sub" / "new.nvx").string());
    EXPECT_TRUE(IsWindowEnabled(owner));

    // Escape cancels.
    step = 0;
    SetIdleScript([&]() {
        if (step++ > 0) {
            return false;
        }
        HeadlessPressKeys({VK_ESCAPE});
        return true;
    });
    ofn = Request(0);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

} // namespace
} // namespace nuvex::user::testing
