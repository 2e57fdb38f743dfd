// Input scripts against a scripted command: moves, clicks, boxes, the
// wheel, keys, Enter, Esc and space produce exactly the events the command
// expects, with the right final flag, kind and values.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>

#include "host/document/command_engine.h"
#include "host/document/tests/document_test_support.h"
#include "host/view/view_input.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/selection_set_object.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace {

using namespace command_event;
using namespace command_result;

std::string Hex(LONG value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

// The command events by name, so that the expected rows read as words.
std::string EventName(LONG event)
{
    struct Name {
        LONG event;
        const char* name;
    };
    static const Name kNames[] = {
        {kStart, "Start"},           {kSecondStart, "SecondStart"},
        {kCancel, "Cancel"},         {kSettingsChanged, "SettingsChanged"},
        {kAccept, "Accept"},         {kChildStarted, "ChildStarted"},
        {kChildEnded, "ChildEnded"}, {kValue, "Value"},
        {kTwoValues, "TwoValues"},   {kAngle, "Angle"},
        {kTypedPoint, "TypedPoint"}, {kModelPoint, "ModelPoint"},
        {kCursorLine, "CursorLine"}, {kPickA, "PickA"},
        {kPickB, "PickB"},           {kDrawPreview, "DrawPreview"},
    };
    for (const Name& n : kNames) {
        if (n.event == event) {
            return n.name;
        }
    }
    return Hex(event);
}

// Logs every event with its final flag, kind and a short form of its
// value, and answers from its script (unscripted events stay unhandled).
class ScriptedCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    using Action = std::function<void(IHostDocument*)>;
    ScriptedCommand(std::vector<std::string>& log, std::map<LONG, LONG> answers, std::map<LONG, Action> actions = {})
        : m_log(log), m_answers(std::move(answers)), m_actions(std::move(actions))
    {
    }
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG, LONG_PTR) override
    {
        m_document = document;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override
    {
        m_log.push_back(Describe(event, value, final, kind));
        if (auto it = m_actions.find(event); it != m_actions.end()) {
            it->second(m_document);
        }
        if (auto it = m_answers.find(event); it != m_answers.end()) {
            *result = it->second;
        }
        return S_OK;
    }
    static std::string Describe(LONG event, void* value, LONG final, LONG kind)
    {
        std::string line = EventName(event) + " final " + std::to_string(final) + " kind " + std::to_string(kind);
        char text[64];
        if (event == kModelPoint) {
            const auto* r = static_cast<const RealComponent*>(value);
            std::snprintf(text, sizeof text, " (%g, %g, %g)", r[0].value, r[1].value, r[2].value);
            line += text;
        } else if (event == kCursorLine) {
            ILine* line0 = *static_cast<ILine**>(value);
            const CLineObject copy(line0);
            const CVector3& p = copy.GetPointValue();
            std::snprintf(text, sizeof text, " through (%g, %g)", p.x.GetValue(), p.y.GetValue());
            line += text;
        } else if (event == kPickA || event == kPickB) {
            ISelectionSet* set = *static_cast<ISelectionSet**>(value);
            uint32_t count = 0;
            set->GetCount(&count);
            line += " objects " + std::to_string(count);
        }
        return line;
    }

private:
    std::vector<std::string>& m_log;
    std::map<LONG, LONG> m_answers;
    std::map<LONG, Action> m_actions;
    IHostDocument* m_document = nullptr;
};

class RecordingRoot : public IRootEventHandler {
public:
    explicit RecordingRoot(std::vector<std::string>& log) : m_log(log) {}
    HRESULT OnEvent(LONG code, void* value, LONG final, LONG kind, LONG* result) override
    {
        *result = 0;
        if (code == kPickA || code == kPickB || code == kModelPoint) {
            m_log.push_back("root " + ScriptedCommand::Describe(code, value, final, kind));
        }
        return S_OK;
    }
    std::vector<uintptr_t> GetSelection() override { return {}; }
    bool IsDraggingGrip() override { return false; }

private:
    std::vector<std::string>& m_log;
};

// A view of 200 x 100 pixels with the default orientation: view point =
// scale * (model + pan); the cursor line runs along z through the cursor.
// Picking finds the ids of the objects whose points lie in the corners'
// box; snapping gives what the test scripted.
class FakeSite : public IViewInputSite {
public:
    explicit FakeSite(CNuvexDoc& document, std::vector<std::string>& log) : m_document(document), m_log(log) {}
    void ReadViewOrientation() override {}
    void UpdateCursorTransforms(POINT client) override
    {
        cursorView = POINT{client.x - 100, 50 - client.y};
        line = CLineObject(ViewToModel(cursorView), CVector3(0.0, 0.0, 1.0));
    }
    POINT GetCursorView() override { return cursorView; }
    const CLineObject& GetCursorLine() override { return line; }
    POINT ModelToView(const CVector3& p) override
    {
        return POINT{static_cast<LONG>(std::lround(view.scale * (p.x.GetValue() + view.panX))),
                     static_cast<LONG>(std::lround(view.scale * (p.y.GetValue() + view.panY)))};
    }
    CVector3 ViewToModel(POINT v) override
    {
        return CVector3(v.x / view.scale - view.panX, v.y / view.scale - view.panY, 0.0);
    }
    ViewScalePan GetScalePan() override { return view; }
    void SetScalePan(const ViewScalePan& v) override { view = v; }
    CMatrix4 GetOrientation() override { return orientation; }
    void StoreViewOrientation(const CMatrix4& o) override { orientation = o; }
    SIZE GetClientSize() override { return SIZE{200, 100}; }
    void EvaluateSnap(POINT, int32_t) override
    {
        ++snapEvaluations;
        m_document.SnapEngine().SetResult(snapKind, snapPoint);
    }
    void EvaluatePick(const CPoint2& a, const CPoint2& b, uint32_t mode, int32_t) override
    {
        m_log.push_back("pick " + EventName(static_cast<LONG>(mode)));
        const bool hadObjects = Count() > 0;
        selection.RemoveAll();
        const double xLo = std::min(a.x.GetValue(), b.x.GetValue()) - 3, xHi = std::max(a.x.GetValue(), b.x.GetValue()) + 3;
        const double yLo = std::min(a.y.GetValue(), b.y.GetValue()) - 3, yHi = std::max(a.y.GetValue(), b.y.GetValue()) + 3;
        for (const auto& [id, at] : objects) {
            const POINT v = ModelToView(at);
            if (v.x >= xLo && v.x <= xHi && v.y >= yLo && v.y <= yHi) {
                selection.Add(id);
            }
        }
        changed = force || (hadObjects && Count() == 0);
        force = false;
    }
    ISelectionSet* GetPickSelection() override { return &selection; }
    bool PickChanged() override { return changed; }
    void ForcePickChange() override { force = true; }
    void ResetPick() override
    {
        m_log.push_back("pick reset");
        selection.RemoveAll();
    }
    bool ShowSnapGlyphs(uint32_t kind, POINT) override
    {
        glyphKind = kind;
        return kind != 0;
    }
    void ShowCoordinates(const CVector3& p) override
    {
        coordinates = "(" + std::to_string(std::lround(p.x.GetValue())) + ", " +
                      std::to_string(std::lround(p.y.GetValue())) + ")";
    }
    void SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_log.push_back(std::string("main ") + MessageName(message) + " " + std::to_string(wParam) + " " +
                        Hex(static_cast<LONG>(lParam)));
    }
    void SetMouseCapture(bool capture) override { m_log.push_back(capture ? "capture" : "release"); }
    bool IsKeyDown(int key) override { return (key == VK_SHIFT && shiftDown) || (key == VK_CONTROL && ctrlDown); }
    void SetCursorShape(ViewCursor c) override { cursor = c; }

    uint32_t Count()
    {
        uint32_t count = 0;
        selection.GetCount(&count);
        return count;
    }

    POINT cursorView{0, 0};
    CLineObject line;
    ViewScalePan view;
    CMatrix4 orientation;
    CSelectionSetObject selection;
    bool changed = false;
    bool force = false;
    std::vector<std::pair<uintptr_t, CVector3>> objects;
    uint32_t snapKind = 0;
    CVector3 snapPoint;
    int snapEvaluations = 0;
    uint32_t glyphKind = 0;
    std::string coordinates;
    bool shiftDown = false;
    bool ctrlDown = false;
    ViewCursor cursor = ViewCursor::Default;

private:
    CNuvexDoc& m_document;
    std::vector<std::string>& m_log;
};

class ViewInputTest : public ::testing::Test {
protected:
    ViewInputTest()
    {
        fixture.services.addinFactory.maker = [this](const IID&) -> IUnknown* {
            return new ScriptedCommand(log, answers, actions);
        };
        fixture.services.commands.push_back(Command(0, 100, GUID{0xc0de, 0, 0, {}}));
        document.SetRootHandler(&root);
    }
    // Starts the scripted command and gives its level these input words.
    void StartCommand(uint32_t plain, uint32_t ctrl = 0, uint32_t shift = 0)
    {
        answers[kStart] = 0;
        document.StartCommand(0, 1);
        CommandLevel& level = document.Level(document.GetCurrentLevel());
        level.inputKinds[static_cast<size_t>(ModifierTable::Plain)] = plain;
        level.inputKinds[static_cast<size_t>(ModifierTable::Ctrl)] = ctrl;
        level.inputKinds[static_cast<size_t>(ModifierTable::Shift)] = shift;
        log.clear();
    }
    // The log without view updates.
    std::vector<std::string> Events() const
    {
        std::vector<std::string> events;
        for (const std::string& line : log) {
            if (line != "update" && line.rfind("states", 0) != 0 && line.rfind("button", 0) != 0 &&
                line != "snap" && line.rfind("line", 0) != 0) {
                events.push_back(line);
            }
        }
        return events;
    }

    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    std::vector<std::string>& log = fixture.output.log;
    std::map<LONG, LONG> answers;
    std::map<LONG, ScriptedCommand::Action> actions;
    RecordingRoot root{log};
    FakeSite site{document, log};
    CViewInput input{document, site};
};

TEST_F(ViewInputTest, MovesAndClicksSendTheCursorLineAndThePointWithFinalFlags)
{
    StartCommand(kInputCursorLine | kInputPoint);
    input.OnMouseMove(0, {130, 20});
    EXPECT_EQ(Events(), (std::vector<std::string>{"CursorLine final 0 kind 0 through (30, 30)",
                                                  "ModelPoint final 0 kind 0 (30, 30, 0)"}));
    log.clear();
    input.OnLButtonDown(0, {0, 0});
    // The click takes the cursor of the last move, then refreshes the
    // feedback with a move.
    EXPECT_EQ(Events(), (std::vector<std::string>{"CursorLine final 1 kind 0 through (30, 30)",
                                                  "ModelPoint final 1 kind 0 (30, 30, 0)",
                                                  "CursorLine final 0 kind 0 through (30, 30)",
                                                  "ModelPoint final 0 kind 0 (30, 30, 0)"}));
    // The command went on: tracking lines through the point on the frame's
    // three axes follow the three permanent ones.
    EXPECT_EQ(document.SnapEngine().TrackingLines().size(), 6u);
}

TEST_F(ViewInputTest, ModifiersChooseTheWordAndCtrlSuppressesPointAndLine)
{
    StartCommand(kInputCursorLine | kInputPoint, kInputCursorLine | kInputPoint, kInputPoint);
    input.OnMouseMove(MK_CONTROL, {100, 50});
    EXPECT_TRUE(Events().empty());
    input.OnMouseMove(MK_SHIFT, {110, 40});
    EXPECT_EQ(Events(), (std::vector<std::string>{"ModelPoint final 0 kind 4 (10, 10, 0)"}));
    log.clear();
    // Ctrl wins over Shift, and with the middle button down it no longer
    // suppresses: the drag orbits and the feedback follows.
    input.OnMButtonDown(MK_CONTROL | MK_SHIFT, {110, 40});
    input.OnMouseMove(MK_CONTROL | MK_SHIFT, {120, 40});
    EXPECT_EQ(Events(), (std::vector<std::string>{"capture", "event 13", "CursorLine final 0 kind 2 through (20, 10)",
                                                  "ModelPoint final 0 kind 2 (20, 10, 0)"}));
    EXPECT_GT(std::fabs(site.orientation(0, 2).GetValue()), 0.1);
    log.clear();
    input.OnMButtonUp(0, {120, 40});
    EXPECT_EQ(Events(), (std::vector<std::string>{"release", "event 14"}));
}

TEST_F(ViewInputTest, ABoxStartsOnEmptySpaceFollowsTheMouseAndEndsWithTheSecondClick)
{
    // The root level takes box picks; one object at model (20, 10).
    auto* record = new CEntityRecord();
    document.AddObject(record);
    site.objects.push_back({reinterpret_cast<uintptr_t>(static_cast<IEntityRecord*>(record)), CVector3(20.0, 10.0, 0.0)});
    input.OnMouseMove(0, {50, 80});
    log.clear();
    input.OnLButtonDown(0, {50, 80});
    EXPECT_TRUE(input.IsBoxStarted());
    // Nothing under the click: no pick event; the feedback move after the
    // click already evaluates the box.
    EXPECT_EQ(Events(), (std::vector<std::string>{"pick PickA", "pick PickB"}));
    log.clear();
    // Inside the box now: hover picks with final 0 in box mode.
    input.OnMouseMove(0, {140, 30});
    EXPECT_EQ(Events(), (std::vector<std::string>{"pick PickB", "root PickB final 0 kind 0 objects 1"}));
    log.clear();
    input.OnLButtonDown(0, {140, 30});
    EXPECT_FALSE(input.IsBoxStarted());
    ASSERT_GE(Events().size(), 2u);
    EXPECT_EQ(Events()[0], "pick PickB");
    EXPECT_EQ(Events()[1], "root PickB final 1 kind 0 objects 1");
}

TEST_F(ViewInputTest, ASnappedPointIsSentInsteadOfThePlanePointAndItsGlyphMoveIsSkipped)
{
    StartCommand(kInputPoint);
    site.snapKind = kSnapEndPoint;
    site.snapPoint = CVector3(7.0, 8.0, 9.0);
    input.OnMouseMove(0, {100, 50});
    EXPECT_EQ(Events(), (std::vector<std::string>{"ModelPoint final 0 kind 0 (7, 8, 9)"}));
    EXPECT_EQ(site.glyphKind, kSnapEndPoint);
    log.clear();
    // The glyph strip moved under the cursor: its move is ignored.
    input.OnMouseMove(0, {101, 50});
    EXPECT_TRUE(Events().empty());
    input.OnMouseMove(0, {102, 50});
    EXPECT_EQ(Events().size(), 1u);
}

TEST_F(ViewInputTest, TheStatusShowsThePointACommandSetDuringTheMoveElseTheCursorPoint)
{
    // The command sets a reference point on every point it is offered
    // while the cursor is right of the centre.
    actions[kModelPoint] = [this](IHostDocument* host) {
        if (site.cursorView.x > 35) {
            CVector3 reference(7.0, -4.0, 0.0);
            host->SetReferencePoint(&reference);
        }
    };
    StartCommand(kInputPoint);
    input.OnMouseMove(0, {130, 20});
    EXPECT_EQ(site.coordinates, "(30, 30)");
    input.OnMouseMove(0, {140, 20});
    EXPECT_EQ(site.coordinates, "(7, -4)");
    // The next move starts without it.
    input.OnMouseMove(0, {120, 20});
    EXPECT_EQ(site.coordinates, "(20, 30)");
}

TEST_F(ViewInputTest, KeysReachTheCommandLineAndTheEngine)
{
    answers[kCancel] = kEnd;
    StartCommand(kInputPoint);
    input.OnChar('1', 1, 2);
    input.OnChar('2', 1, 3);
    input.OnChar(27, 1, 0);
    input.OnChar(13, 1, 0);
    input.OnRButtonDblClk(0, {0, 0});
    EXPECT_EQ(Events(), (std::vector<std::string>{"main WM_CHAR 49 20001", "main WM_CHAR 50 30001",
                                                  "main WM_CHAR 32 390001"}));
    log.clear();
    // Enter submits the command line, then cancels the running command.
    EXPECT_TRUE(input.OnKeyDown(VK_RETURN, 1, 0));
    const auto events = Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "main WM_COMMAND 1 0");
    EXPECT_EQ(events[1].substr(0, 7), "Cancel ");
    EXPECT_FALSE(document.IsCommandActive());
    // Enter at the root repeats the last command.
    log.clear();
    input.OnKeyDown(VK_RETURN, 1, 0);
    EXPECT_TRUE(document.IsCommandActive());
    // Esc cancels it again.
    log.clear();
    EXPECT_FALSE(input.OnKeyDown(VK_ESCAPE, 1, 0));
    EXPECT_FALSE(document.IsCommandActive());
}

TEST_F(ViewInputTest, HoldingShiftRefreshesTheFeedbackOnceAndAgainOnRelease)
{
    StartCommand(kInputPoint, 0, kInputPoint);
    site.shiftDown = true;
    input.OnKeyDown(VK_SHIFT, 1, 0);
    input.OnKeyDown(VK_SHIFT, 1, 0);
    input.OnKeyDown(VK_SHIFT, 1, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"ModelPoint final 0 kind 4 (-100, 50, 0)"}));
    log.clear();
    site.shiftDown = false;
    input.OnKeyUp(VK_SHIFT, 1, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"ModelPoint final 0 kind 0 (-100, 50, 0)"}));
}

TEST_F(ViewInputTest, TheWheelZoomsAboutTheCursorOfTheLastMove)
{
    input.OnMouseMove(0, {200, 50});
    input.OnMouseWheel(0, 120, {0, 0});
    EXPECT_NEAR(site.view.scale, 1.2, 1e-12);
    EXPECT_NEAR(site.view.panX, 100.0 * (1.0 / 1.2 - 1.0), 1e-12);
    EXPECT_NEAR(site.view.panY, 0.0, 1e-12);
}

TEST_F(ViewInputTest, AZoomWindowFitsTheBoxOfItsTwoClicksAndIgnoresCoincidingCorners)
{
    input.OnZoomWindow();
    EXPECT_TRUE(input.IsZoomWindow());
    EXPECT_TRUE(input.OnSetCursor());
    EXPECT_EQ(site.cursor, ViewCursor::Zoom);
    input.OnMouseMove(0, {60, 70});
    input.OnLButtonDown(0, {60, 70});
    EXPECT_TRUE(input.IsBoxStarted());
    input.OnMouseMove(0, {140, 30});
    input.OnLButtonDown(0, {140, 30});
    // Model box (-40, -20) to (40, 20) in a 200 x 100 view.
    EXPECT_FALSE(input.IsZoomWindow());
    EXPECT_NEAR(site.view.scale, 2.5, 1e-12);
    EXPECT_NEAR(site.view.panX, 0.0, 1e-12);
    EXPECT_NEAR(site.view.panY, 0.0, 1e-12);

    const ViewScalePan before = site.view;
    input.OnZoomWindow();
    input.OnMouseMove(0, {60, 70});
    input.OnLButtonDown(0, {60, 70});
    input.OnMouseMove(0, {60, 30});
    input.OnLButtonDown(0, {60, 30});
    EXPECT_FALSE(input.IsZoomWindow());
    EXPECT_TRUE(Exactly(site.view.scale, before.scale));
    EXPECT_TRUE(Exactly(site.view.panX, before.panX));
}

TEST_F(ViewInputTest, ZoomAllLeavesTheViewWhenNoObjectReportsExtents)
{
    document.AddObject(new CEntityRecord());
    site.view = ViewScalePan{3.0, 4.0, 5.0};
    input.OnZoomAll();
    EXPECT_TRUE(Exactly(site.view.scale, 3.0));
    EXPECT_TRUE(Exactly(site.view.panX, 4.0));
    EXPECT_TRUE(Exactly(site.view.panY, 5.0));
}

} // namespace
