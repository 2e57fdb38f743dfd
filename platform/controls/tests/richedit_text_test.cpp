// The rich edit text model: its row index kept up to date edit by edit,
// checked against a recount over random edits, and undo taking every edit
// back.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/controls/richedit_text.h"

namespace nuvex::controls {
namespace {

std::vector<LONG> CountRowStarts(const std::string& text)
{
    std::vector<LONG> starts{0};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kBreak) {
            starts.push_back(static_cast<LONG>(i + 1));
        }
    }
    return starts;
}

void ExpectRowsMatch(const RichText& text)
{
    const std::vector<LONG> expected = CountRowStarts(text.Text());
    ASSERT_EQ(text.RowCount(), static_cast<LONG>(expected.size()));
    for (LONG row = 0; row < text.RowCount(); ++row) {
        ASSERT_EQ(text.RowStart(row), expected[static_cast<size_t>(row)]) << "row " << row;
    }
    for (LONG at = 0; at <= text.Length(); ++at) {
        const LONG row = text.RowOf(at);
        ASSERT_LE(text.RowStart(row), at);
        ASSERT_LE(at, text.RowStart(row) + text.RowLength(row));
    }
}

TEST(RichTextModel, RowIndexFollowsRandomEditsAndUndoRestoresAll)
{
    const unsigned seed = 20261210;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    RichText text;
    text.SetUndoLimit(1000);
    std::vector<std::string> history{text.Text()};
    const char pieces[] = {'a', 'b', kBreak, ' ', kBreak};
    RichCharFormat format;
    for (int step = 0; step < 300; ++step) {
        const LONG length = text.Length();
        const LONG a = static_cast<LONG>(random() % static_cast<unsigned>(length + 1));
        const LONG b = a + static_cast<LONG>(random() % static_cast<unsigned>(std::min<LONG>(length - a, 6) + 1));
        std::string inserted;
        const unsigned count = random() % 5;
        for (unsigned i = 0; i < count; ++i) {
            inserted.push_back(pieces[random() % sizeof(pieces)]);
        }
        format.color = static_cast<COLORREF>(step);
        text.Replace({a, b}, inserted, format, RichText::Record::Step);
        SCOPED_TRACE("step " + std::to_string(step));
        ExpectRowsMatch(text);
        if (text.Text() != history.back()) {
            history.push_back(text.Text());
        }
    }
    // Every step is taken back, in order, to the empty text.
    while (text.CanUndo()) {
        ASSERT_TRUE(text.Undo().has_value());
        ExpectRowsMatch(text);
    }
    EXPECT_EQ(text.Text(), "");
    EXPECT_EQ(text.RowCount(), 1);
    while (text.CanRedo()) {
        ASSERT_TRUE(text.Redo().has_value());
    }
    EXPECT_EQ(text.Text(), history.back());
    ExpectRowsMatch(text);
}

} // namespace
} // namespace nuvex::controls
