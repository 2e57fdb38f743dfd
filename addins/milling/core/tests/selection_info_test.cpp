// CSelectionInfo: the values it shows for a known set of curves as picks
// arrive (plain picks replace the list, Ctrl picks toggle), closed and
// open contours counted apart, the fields following a selection without
// curves, the contours drawn, the point event and cancel.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/selection_info.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/documentmoveentities.h"
#include "ientityrecord.h"
#include "objectmodel/point_object.h"
#include "objectmodel/selection_set_object.h"

namespace {

using Ids = std::vector<uintptr_t>;

struct Fields {
    std::string count, closed, open, length;
    bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fields& f)
{
    return out << "{'" << f.count << "', '" << f.closed << "', '" << f.open << "', '" << f.length << "'}";
}

Ids operator+(Ids a, const Ids& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SelectionInfoTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        m_panelDocument = std::make_unique<PanelDocument>(Host());
        IAddinCommand* handler = nullptr;
        ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_SelectionInfoHandler,
                                                           reinterpret_cast<void**>(&handler)),
                  S_OK);
        m_handler = handler;
        ASSERT_EQ(m_handler->Create(m_panelDocument.get(), 0x20004, 0), S_OK);
    }
    void TearDown() override
    {
        if (m_handler != nullptr)
            m_handler->Release();
        m_panelDocument.reset();
        StrimoTest::TearDown();
    }
    IHostDocument* Host() { return m_document->GetHostDocument(); }
    CSelectionInfo& Info() { return *static_cast<CSelectionInfo*>(m_handler); }

    // A polyline of line entities through the points (closed when the last
    // point is the first); their holders' ids.
    Ids AddPolyline(const std::vector<CMovePoint>& points)
    {
        CDocumentMoveEntityFactory factory(Host());
        Ids ids;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            ComPtr<IEntityBase> line = factory.CreateLine(points[i], points[i + 1]);
            EXPECT_TRUE(line);
            IEntityRecord* holder = MakeHolder(line.Get());
            EXPECT_EQ(Host()->AddObject(holder), S_OK);
            ids.push_back(reinterpret_cast<uintptr_t>(holder));
        }
        return ids;
    }

    LONG Send(LONG event, const Ids& ids, LONG kind = 1)
    {
        CSelectionSetObject set;
        for (uintptr_t id : ids)
            set.Add(id);
        ISelectionSet* pointer = &set;
        LONG result = 0x10000000;
        EXPECT_EQ(m_handler->OnEvent(event, &pointer, 1, kind, &result), S_OK);
        return result;
    }

    Fields Shown()
    {
        FakePanel& panel = m_panelDocument->panel;
        auto text = [&](LONG id) { return panel.Find(id) != nullptr ? panel.Find(id)->text : "<none>"; };
        return {text(kSelectionInfoCount), text(kSelectionInfoClosed), text(kSelectionInfoOpen),
                text(kSelectionInfoLength)};
    }

    uint32_t InputKinds(LONG table)
    {
        uint32_t kinds = 0;
        Host()->GetInputKinds(&kinds, table);
        return kinds;
    }

    std::unique_ptr<PanelDocument> m_panelDocument;
    IAddinCommand* m_handler = nullptr;
};

TEST_F(SelectionInfoTest, ThePanelHoldsTheLabelsAndZeroFields)
{
    FakePanel& panel = m_panelDocument->panel;
    EXPECT_EQ(panel.owner, m_handler);
    EXPECT_TRUE(panel.shown);
    std::vector<std::string> texts;
    for (const auto& control : panel.controls)
        texts.push_back(control->text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Selected objects", "Number: ", "Closed contours: ", "Opened contours: ",
                                               "Length: ", "0", "0", "0", "0"}));
    const RECT frame = panel.controls.front()->rect;
    EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right, frame.bottom}), (std::vector<LONG>{5, 5, 165, 300}));
    const RECT length = panel.Find(kSelectionInfoLength)->rect;
    EXPECT_EQ((std::vector<LONG>{length.left, length.top, length.right, length.bottom}),
              (std::vector<LONG>{120, 85, 160, 100}));
    // The host creates the handler before every pick it passes on: the
    // panel is built once per document.
    EXPECT_EQ(m_handler->Create(m_panelDocument.get(), 0x20004, 0), S_OK);
    EXPECT_EQ(panel.controls.size(), 9u);

    LONG result = 0x10000000;
    EXPECT_EQ(m_handler->OnEvent(kEventStart, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(InputKinds(kTablePlain), kInputPickToggle);
}

// A rectangle 20 x 10 (closed), an open polyline 3 + 4 long and a bow tie
// (closed, but crossing itself: open) picked in turn.
TEST_F(SelectionInfoTest, PicksAreCountedChainedAndMeasured)
{
    const Ids rectangle = AddPolyline({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}, {0, 0, 0}});
    const Ids open = AddPolyline({{50, 0, 0}, {53, 0, 0}, {53, 4, 0}});
    const Ids bowTie = AddPolyline({{30, 0, 0}, {40, 10, 0}, {40, 0, 0}, {30, 10, 0}, {30, 0, 0}});
    char bowTieLength[32];
    std::snprintf(bowTieLength, sizeof bowTieLength, "%.3lf", 20.0 + 20.0 * std::sqrt(2.0));
    struct Step {
        const char* name;
        Ids picks;
        LONG kind;
        Fields shown;
        size_t listed;
    };
    const Step steps[] = {
        {"plain pick of the rectangle", rectangle, 1, {" 4", " 1", " 0", "60.000"}, 4},
        {"ctrl pick of the open polyline", open, 2, {" 6", " 1", " 1", "67.000"}, 6},
        {"ctrl pick of a listed side takes it out", {rectangle[1]}, 2, {" 5", " 0", " 2", "57.000"}, 5},
        {"ctrl pick of it again puts it back", {rectangle[1]}, 2, {" 6", " 1", " 1", "67.000"}, 6},
        {"plain pick replaces the list", bowTie, 1, {" 4", " 0", " 1", bowTieLength}, 4},
        {"shift pick adds like a plain one", open + rectangle, 4, {" 6", " 1", " 1", "67.000"}, 6},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(Send(kEventPick, step.picks, step.kind), 0);
        EXPECT_EQ(Shown(), step.shown);
        EXPECT_EQ(static_cast<size_t>(Info().Selection().GetCount()), step.listed);
        EXPECT_EQ(InputKinds(kTableCtrl), kInputPickToggle);
        EXPECT_EQ(InputKinds(kTableShift), kInputPickAdd);
    }
}

// A selection without curves shows no contours: the fields follow it
// instead of keeping those of the curves picked before.
TEST_F(SelectionInfoTest, TheFieldsFollowASelectionWithoutCurves)
{
    const Ids rectangle = AddPolyline({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}, {0, 0, 0}});
    auto point = ComPtr<CPointObject>::Share(new CPointObject(CVector3(1.0, 2.0, 3.0)));
    IEntityRecord* holder = MakeHolder(static_cast<IPoint3*>(point.Get()));
    ASSERT_EQ(Host()->AddObject(holder), S_OK);
    const auto pointId = reinterpret_cast<uintptr_t>(holder);

    Send(kEventPick, rectangle);
    EXPECT_EQ(Shown(), (Fields{" 4", " 1", " 0", "60.000"}));
    EXPECT_GT(Info().PreviewCount(), 0u);
    Send(kEventPick, {pointId});
    EXPECT_EQ(Shown(), (Fields{" 1", " 0", " 0", "0.000"}));
    EXPECT_EQ(Info().PreviewCount(), 0u);
    // Toggling the last object off empties the list: all tables pick again.
    Send(kEventPick, {pointId}, 2);
    EXPECT_EQ(Shown(), (Fields{" 0", " 0", " 0", "0.000"}));
    EXPECT_EQ(InputKinds(kTableShift), kInputPickToggle);
}

TEST_F(SelectionInfoTest, TheContoursAreDrawnInTheirColour)
{
    const Ids rectangle = AddPolyline({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}, {0, 0, 0}});
    RecordingContext context;
    IGraphicsContext* pointer = &context;
    LONG result = 0x10000000;
    EXPECT_EQ(m_handler->OnEvent(kEventDraw, &pointer, 1, 0, &result), S_OK);
    EXPECT_TRUE(context.calls.empty()) << "nothing to draw before a pick";
    Send(kEventPick, rectangle);
    EXPECT_EQ(m_handler->OnEvent(kEventDraw, &pointer, 1, 0, &result), S_OK);
    ASSERT_GE(context.calls.size(), 2u);
    EXPECT_EQ(context.calls[0], "colour " + std::to_string(0xFF8000));
    EXPECT_EQ(context.calls[1], "width 1");
    ASSERT_FALSE(context.lines.empty());
    double drawn = 0.0;
    for (const RecordingContext::Line& line : context.lines)
        drawn += std::hypot(line.to[0] - line.from[0], line.to[1] - line.from[1]);
    EXPECT_NEAR(drawn, 60.0, 1e-9);
}

TEST_F(SelectionInfoTest, APointEventTakesTheHostsSelectionAndCancelClearsTheFields)
{
    const Ids rectangle = AddPolyline({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}, {0, 0, 0}});
    const Ids open = AddPolyline({{50, 0, 0}, {53, 0, 0}, {53, 4, 0}});
    Send(kEventPick, rectangle);
    EXPECT_EQ(Send(kEventPoint, open), 0);
    EXPECT_EQ(Shown(), (Fields{" 2", " 0", " 1", "7.000"}));
    EXPECT_EQ(Send(kEventCancel, {}), 4);
    EXPECT_EQ(Shown(), (Fields{"0", "0", "0", "0"}));
    EXPECT_EQ(Info().PreviewCount(), 0u);
    // The host's selection is gone with the cancel, and so is the list: a
    // Ctrl pick starts afresh.
    Send(kEventPick, {open[0]}, 2);
    EXPECT_EQ(Shown(), (Fields{" 1", " 0", " 1", "3.000"}));
    EXPECT_EQ(Send(kEventAccept, {}), 2);
    EXPECT_EQ(Info().PreviewCount(), 0u);
}

} // namespace
