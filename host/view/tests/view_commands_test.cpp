// The context menu's items and the view's command routing to the engine.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "host/document/command_engine.h"
#include "host/document/tests/document_test_support.h"
#include "host/view/view_commands.h"

namespace {

using namespace command_event;
using namespace command_result;

std::string Hex(LONG value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

// Logs its events (with a LONG value where there is one) and answers from
// its script.
class ScriptedCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    ScriptedCommand(std::vector<std::string>& log, std::map<LONG, LONG> answers)
        : m_log(log), m_answers(std::move(answers))
    {
    }
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG, LONG* result) override
    {
        std::string line = "cmd " + Hex(event) + " final " + std::to_string(final);
        if (event == kEventPanelControl || event == kEventPopupItem) {
            line += " value " + std::to_string(*static_cast<const int32_t*>(value));
        }
        m_log.push_back(line);
        if (auto it = m_answers.find(event); it != m_answers.end()) {
            *result = it->second;
        }
        return S_OK;
    }

private:
    std::vector<std::string>& m_log;
    std::map<LONG, LONG> m_answers;
};

class FakeCommandSite : public IViewCommandSite {
public:
    HWND GetViewWindow() override { return nullptr; }
    RECT GetViewScreenRect() override { return RECT{10, 20, 110, 120}; }
    void ShowPropertiesPane() override { ++propertiesShown; }
    int propertiesShown = 0;
};

class ViewCommandsTest : public ::testing::Test {
protected:
    ViewCommandsTest()
    {
        fixture.services.addinFactory.maker = [this](const IID&) -> IUnknown* {
            return new ScriptedCommand(log, answers);
        };
        fixture.services.commands.push_back(Command(0, 100, GUID{0xc0de, 0, 0, {}}));
        fixture.services.commands.push_back(Command(0, 101, GUID{0xc0df, 0, 0, {}}));
        fixture.services.commands[1].toggle = 1;
        answers[kStart] = 0;
    }
    std::vector<std::string> CommandEvents() const
    {
        std::vector<std::string> events;
        for (const std::string& line : log) {
            if (line.rfind("cmd", 0) == 0) {
                events.push_back(line);
            }
        }
        return events;
    }
    BOOL Route(WPARAM wParam, LPARAM lParam = 0) { return RouteViewCommand(document, site, wParam, lParam); }

    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    std::vector<std::string>& log = fixture.output.log;
    std::map<LONG, LONG> answers;
    FakeCommandSite site;
};

TEST_F(ViewCommandsTest, WithoutAddinsTheMenuHasTenEntriesInOrder)
{
    CNewMenu menu;
    BuildViewContextMenu(document, menu);
    const UINT ids[] = {40000, 32773, 40001, 57643, 57644, 0, 32777, 32778, 0, 40002};
    const char* texts[] = {"Accept", "Renunt/Selectie", "Repeta ultima comanda", "Inapoi", "Inainte", "",
                           "Zoom all", "Zoom window", "", "Proprietati"};
    ASSERT_EQ(menu.GetMenuItemCount(), 10);
    for (size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu.ItemRecords()[i]->commandId, ids[i]);
        EXPECT_EQ(menu.ItemRecords()[i]->text, texts[i]);
        EXPECT_EQ(GetMenuItemID(menu.GetSafeHmenu(), static_cast<int>(i)), ids[i]);
    }
    // Rebuilt on every right click: still ten.
    BuildViewContextMenu(document, menu);
    EXPECT_EQ(menu.GetMenuItemCount(), 10);
}

TEST_F(ViewCommandsTest, AddinCommandIdsStartCommandsAndASecondPressEndsThem)
{
    answers[kCancel] = kEnd;
    EXPECT_TRUE(Route(10000));
    EXPECT_TRUE(document.IsCommandActive());
    EXPECT_EQ(document.Level(document.GetCurrentLevel()).commandIndex, 0);
    // An accelerator (high word 1) of the running command ends it.
    EXPECT_TRUE(Route(10000 | (1u << 16)));
    EXPECT_FALSE(document.IsCommandActive());
    // A toggle command is started with flag 0: its presets act as a switch.
    EXPECT_TRUE(Route(10001));
    // Other high words (control notifications by id) are not commands.
    EXPECT_FALSE(Route(10000 | (2u << 16)));
    EXPECT_FALSE(Route(10000, 0x1234));
}

TEST_F(ViewCommandsTest, AcceptSendsControlThousandAndClosesTheLevelAsAnAccept)
{
    answers[kEventPanelControl] = kEnd;
    Route(10000);
    log.clear();
    EXPECT_TRUE(Route(kCommandAccept));
    const auto events = CommandEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], "cmd 1000000 final 1 value 1000");
    EXPECT_FALSE(document.IsCommandActive());
}

TEST_F(ViewCommandsTest, CancelRepeatAndPropertiesReachTheEngineAndTheApplication)
{
    answers[kCancel] = kEnd;
    Route(10000);
    EXPECT_TRUE(Route(kCommandCancel));
    EXPECT_FALSE(document.IsCommandActive());
    EXPECT_TRUE(Route(kCommandRepeat));
    EXPECT_TRUE(document.IsCommandActive());
    EXPECT_EQ(document.GetLastStartedCommand(), 0);
    EXPECT_TRUE(Route(kCommandProperties));
    EXPECT_EQ(site.propertiesShown, 1);
    // Zoom, undo and redo belong to the class library's routing.
    EXPECT_FALSE(Route(kCommandZoomAll));
    EXPECT_FALSE(Route(kCommandUndo));
}

TEST_F(ViewCommandsTest, PopupItemsGoToTheCommandThatAddedThem)
{
    Route(10000);
    IAddinCommand* running = document.GetActiveCommandObject();
    ASSERT_NE(running, nullptr);
    IHostDocument* host = document.GetHostDocument();
    ASSERT_EQ(host->AddPopupMenuItem(running, 0, 77, "first"), S_OK);
    ASSERT_EQ(host->AddPopupMenuItem(running, 0, 78, "second"), S_OK);
    log.clear();
    EXPECT_TRUE(Route(2));
    EXPECT_EQ(CommandEvents(), (std::vector<std::string>{"cmd 8000000 final 1 value 78"}));
    // Item 0 is never an item; past the list the id rules apply.
    EXPECT_FALSE(Route(0));
    EXPECT_FALSE(Route(3));
}

} // namespace
