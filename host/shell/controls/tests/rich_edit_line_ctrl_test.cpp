// The rich-edit line control: its line books through the interface (a
// table of operations and the rows each line holds afterwards), the books
// as the user types Enter, Backspace and Delete at line boundaries or
// anywhere else, and the events each change fires.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "platform/controls/richedit.h"
#include "platform/user/inspect.h"
#include "platform/user/keyboard.h"

namespace {

class RecordingLineEvents final : public IRichEditLineEvents {
public:
    bool HasActiveDocument() override { return active; }
    void LineCreated(LONG id) override { log.push_back("10 " + std::to_string(id)); }
    void RowsChanged(const std::vector<LineRowChange>& changes) override
    {
        std::string entry = "11";
        for (const LineRowChange& c : changes) {
            entry += " (" + std::to_string(c.id) + " " + std::to_string(c.firstRow) + " " +
                     std::to_string(c.changedRows) + " " + std::to_string(c.rowDelta) + ")";
        }
        log.push_back(entry);
    }
    void TextChanged() override { log.push_back("7"); }
    bool active = true;
    std::vector<std::string> log;
};

class RichEditLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(window.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300),
                                    nullptr, 0));
        Fresh();
    }
    void TearDown() override
    {
        made.reset();
        window.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    // A new control with no lines, ids from 1, and an empty event log.
    void Fresh()
    {
        made.reset();
        made = std::make_unique<CRichEditLineCtrl>(&events);
        ASSERT_TRUE(made->Create(kRichEditLineStyle, CRect(0, 0, 300, 200), &window, 0));
        made->SetEventMask(kRichEditLineEventMask);
        object = &made->ScriptingObject();
        events.log.clear();
    }
    std::string Text()
    {
        CString text;
        control().GetWindowText(text);
        // Each row break, however the editor hands it out, as "|".
        std::string result;
        for (const char c : std::string(text.GetString())) {
            if (c == '\r') {
                result += '|';
            } else if (c != '\n') {
                result += c;
            }
        }
        return result;
    }
    std::vector<LONG> Rows()
    {
        std::vector<LONG> rows;
        for (const LineEntry& line : control().Lines()) {
            rows.push_back(line.rows);
        }
        return rows;
    }
    // Two lines "aaa" (id 1) and "bbb" (id 2), one row each, with flags.
    void TwoLines(LONG firstFlags, LONG secondFlags)
    {
        LONG id = 0;
        object->AppendLine(firstFlags, &id);
        object->AppendToLine(id, "aaa", FALSE);
        object->AppendLine(secondFlags, &id);
        object->AppendToLine(id, "bbb", FALSE);
        events.log.clear();
    }
    void CaretAt(LONG position) { object->SetSel(position, position); }
    void Key(WPARAM key)
    {
        control().SendMessage(WM_KEYDOWN, key, 0);
        if (key == VK_RETURN) {
            control().SendMessage(WM_CHAR, '\r', 0);
        }
    }

    RecordingLineEvents events;
    CWnd window;
    std::unique_ptr<CRichEditLineCtrl> made;
    IRichEditControl* object = nullptr;
    CRichEditLineCtrl& control() { return *made; }
};

TEST_F(RichEditLineTest, InterfaceOperationsKeepTheBooks)
{
    struct Step {
        const char* name;
        std::function<HRESULT(IRichEditControl&)> run;
        HRESULT result;
        std::string text;
        std::vector<LONG> rows;
    };
    const std::vector<Step> steps = {
        {"a line", [](IRichEditControl& o) { LONG id; return o.AppendLine(0, &id); }, S_OK, "", {0}},
        {"its first row", [](IRichEditControl& o) { return o.AppendToLine(1, "G0 X0", FALSE); }, S_OK, "G0 X0|", {1}},
        {"a second row", [](IRichEditControl& o) { return o.AppendToLine(1, "G1 X5", FALSE); }, S_OK,
         "G0 X0|G1 X5|", {2}},
        {"a second line", [](IRichEditControl& o) { LONG id; return o.AppendLine(0, &id); }, S_OK, "G0 X0|G1 X5|",
         {2, 0}},
        {"its row", [](IRichEditControl& o) { return o.AppendToLine(2, "M30", FALSE); }, S_OK, "G0 X0|G1 X5|M30|",
         {2, 1}},
        {"rows inserted at the line's start", [](IRichEditControl& o) { return o.InsertRows(2, 0, "M5\nM9", FALSE); },
         S_OK, "G0 X0|G1 X5|M5|M9|M30|", {2, 3}},
        {"a row past the line's rows goes after its last", [](IRichEditControl& o) { return o.InsertRows(1, 9, "G2", FALSE); },
         S_OK, "G0 X0|G1 X5|G2|M5|M9|M30|", {3, 3}},
        {"a line row replaced", [](IRichEditControl& o) { return o.ReplaceLineRow(2, 1, "M8", FALSE); }, S_OK,
         "G0 X0|G1 X5|G2|M5|M8|M30|", {3, 3}},
        {"more rows deleted than are left", [](IRichEditControl& o) { return o.DeleteRows(1, 1, 50, FALSE); }, S_OK,
         "G0 X0|M5|M8|M30|", {1, 3}},
        {"no rows to delete", [](IRichEditControl& o) { return o.DeleteRows(1, 0, 0, FALSE); }, E_FAIL,
         "G0 X0|M5|M8|M30|", {1, 3}},
        {"a first row outside the line", [](IRichEditControl& o) { return o.DeleteRows(2, 3, 1, FALSE); }, E_FAIL,
         "G0 X0|M5|M8|M30|", {1, 3}},
        {"a split", [](IRichEditControl& o) { LONG id; return o.SplitLine(2, 1, &id); }, S_OK, "G0 X0|M5|M8|M30|",
         {1, 1, 2}},
        {"a split outside the line", [](IRichEditControl& o) { LONG id; return o.SplitLine(2, 1, &id); }, E_FAIL,
         "G0 X0|M5|M8|M30|", {1, 1, 2}},
        {"a line deleted with its rows", [](IRichEditControl& o) { return o.DeleteLine(2); }, S_OK, "G0 X0|M8|M30|",
         {1, 2}},
        {"an unknown line", [](IRichEditControl& o) { return o.AppendToLine(2, "x", FALSE); }, E_FAIL,
         "G0 X0|M8|M30|", {1, 2}},
        {"a line after the first", [](IRichEditControl& o) { LONG id; return o.InsertLine(1, 0x4, &id); }, S_OK,
         "G0 X0|M8|M30|", {1, 0, 2}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.run(*object), step.result);
        EXPECT_EQ(Text(), step.text);
        EXPECT_EQ(Rows(), step.rows);
    }
    // Ids stay with their lines and are never reused.
    std::vector<LONG> ids;
    for (const LineEntry& line : control().Lines()) {
        ids.push_back(line.id);
    }
    EXPECT_EQ(ids, (std::vector<LONG>{1, 4, 3}));
    // Interface edits fire nothing.
    EXPECT_TRUE(events.log.empty());
}

TEST_F(RichEditLineTest, RowsAreFoundInTheirLines)
{
    TwoLines(0, 0x3);
    LONG id = 0;
    LONG offset = -1;
    EXPECT_EQ(object->LineFromRow(1, &id, &offset), S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(object->LineFromRow(-4, &id, &offset), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(object->LineFromRow(2, &id, &offset), E_FAIL);
    LONG row = -1;
    EXPECT_EQ(object->GetLineStartRow(2, &row), S_OK);
    EXPECT_EQ(row, 1);
    LONG index = 0;
    EXPECT_EQ(object->GetLineIndex(9, &index), E_FAIL);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(object->GetLineId(-1, &id), E_FAIL);
    EXPECT_EQ(object->GetLineId(5, &id), E_FAIL);
    LONG flags = 0;
    EXPECT_EQ(object->GetLineFlags(2, &flags), S_OK);
    EXPECT_EQ(flags, 0x3);
}

TEST_F(RichEditLineTest, TheFirstTypedChangeMakesOneLineOfAllRows)
{
    // Without a document the control is a plain rich edit.
    events.active = false;
    control().SendMessage(WM_CHAR, 'a', 0);
    Key(VK_RETURN);
    control().SendMessage(WM_CHAR, 'b', 0);
    EXPECT_TRUE(control().Lines().empty());
    EXPECT_TRUE(events.log.empty());

    events.active = true;
    Key(VK_RETURN);
    ASSERT_EQ(control().Lines().size(), 1u);
    EXPECT_EQ(control().Lines()[0].id, 1);
    EXPECT_EQ(control().Lines()[0].rows, 3);
    EXPECT_EQ(events.log, (std::vector<std::string>{"10 1", "11 (1 0 0 3)"}));
}

TEST_F(RichEditLineTest, TypingInsideALineReportsItsRow)
{
    TwoLines(0, 0);
    CaretAt(5);
    control().SendMessage(WM_CHAR, 'x', 0);
    EXPECT_EQ(Text(), "aaa|bxbb|");
    EXPECT_EQ(events.log, (std::vector<std::string>{"11 (2 0 1 0)", "7"}));
    events.log.clear();
    // Enter inside a row stays inside the line.
    Key(VK_RETURN);
    EXPECT_EQ(Rows(), (std::vector<LONG>{1, 2}));
    EXPECT_EQ(events.log, (std::vector<std::string>{"11 (2 0 1 1)", "7"}));
}

TEST_F(RichEditLineTest, EnterAtALineBoundaryFollowsTheFlags)
{
    struct Case {
        const char* name;
        LONG firstFlags;
        LONG secondFlags;
        LONG caret;
        std::string text;
        std::vector<LONG> rows;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"start of a line that refuses it", 0, kLineRefusesEnterAtStart, 4, "aaa|bbb|", {1, 1}, {}},
        {"start of a line that opens outside: the line before grows", 0, kLineEnterAtStartOpensOutside, 4,
         "aaa||bbb|", {2, 1}, {"11 (1 1 0 1)"}},
        {"the line before refuses rows from after", kLineEnterAtEndOpensOutside, kLineEnterAtStartOpensOutside, 4,
         "aaa||bbb|", {1, 1, 1}, {"10 3", "11 (3 0 0 1)"}},
        {"start of the first line that opens outside: a new line", kLineEnterAtStartOpensOutside, 0, 0,
         "|aaa|bbb|", {1, 1, 1}, {"10 3", "11 (3 0 0 1)"}},
        {"end of a line that refuses it", kLineRefusesEnterAtEnd, 0, 3, "aaa|bbb|", {1, 1}, {}},
        {"end of a line that opens outside: the line after grows", kLineEnterAtEndOpensOutside, 0, 3, "aaa||bbb|",
         {1, 2}, {"11 (2 0 0 1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        TwoLines(c.firstFlags, c.secondFlags);
        CaretAt(c.caret);
        Key(VK_RETURN);
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(events.log, c.log);
    }
}

TEST_F(RichEditLineTest, BackspaceAndDeleteAtLineBoundaries)
{
    // An empty row at a line's start goes with its line's books.
    TwoLines(0, 0);
    object->InsertRows(2, 0, "", FALSE);
    ASSERT_EQ(Text(), "aaa||bbb|");
    ASSERT_EQ(Rows(), (std::vector<LONG>{1, 2}));
    CaretAt(4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "aaa|bbb|");
    EXPECT_EQ(Rows(), (std::vector<LONG>{1, 1}));
    EXPECT_EQ(events.log, (std::vector<std::string>{"11 (2 0 0 -1)"}));

    // Joining two non-empty rows is refused on protected text, else the
    // editor joins them and the change handler follows.
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    format.dwEffects = CFE_PROTECTED;
    object->SetRangeFormat(4, 5, &format);
    events.log.clear();
    CaretAt(4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "aaa|bbb|");
    EXPECT_TRUE(events.log.empty());
    format.dwEffects = 0;
    object->SetRangeFormat(4, 5, &format);
    CaretAt(4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "aaabbb|");
    EXPECT_EQ(Rows(), (std::vector<LONG>{1, 0}));

    // Delete at the end of a line before an empty row takes that row.
    Fresh();
    TwoLines(0, 0);
    object->InsertRows(2, 0, "", FALSE);
    events.log.clear();
    CaretAt(3);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "aaa|bbb|");
    EXPECT_EQ(Rows(), (std::vector<LONG>{1, 1}));
    EXPECT_EQ(events.log, (std::vector<std::string>{"11 (2 0 0 -1)"}));
}

TEST_F(RichEditLineTest, TheObjectAnswersOnlyItsOwnInterfaceAndKeepsNotifications)
{
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(IID_IControlBase, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IRichEditControl, &out), S_OK);
    object->Release();
    EXPECT_EQ(object->GetCommandObject(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(object->Reserved10(0), E_NOTIMPL);

    COLORREF previous = 0;
    EXPECT_EQ(object->SetBackgroundColor(FALSE, RGB(10, 20, 30), &previous), S_OK);
    EXPECT_EQ(control().GetEventMask(), kRichEditLineEventMask);

    object->AppendText("first", FALSE);
    object->AppendText("second", FALSE);
    LONG rows = 0;
    object->GetRowCount(&rows);
    EXPECT_EQ(rows, 2);
    char row[4] = {};
    LONG length = 0;
    EXPECT_EQ(object->GetRow(1, row, sizeof row, &length), S_OK);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(std::string(row, 4), "seco");

    // The selected text, however long, stays within the caller's buffer.
    const std::string pasted(10000, 'n');
    object->ReplaceRange(0, 0, pasted.c_str(), FALSE);
    object->SetSel(0, 10000);
    auto buffer = std::make_unique<char[]>(kControlTextBufferSize);
    EXPECT_EQ(object->GetSelText(buffer.get()), S_OK);
    EXPECT_EQ(std::strlen(buffer.get()), static_cast<size_t>(kControlTextBufferSize - 1));
}

} // namespace
