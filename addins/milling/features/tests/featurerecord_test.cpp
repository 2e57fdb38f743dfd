// Feature record: the byte layout, round trips and hostile records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "addins/milling/features/contourfeature.h"

namespace {

CMove Line(uint8_t flag, CMovePoint s, CMovePoint e)
{
    CMove m;
    m.flag = flag;
    m.start = s;
    m.end = e;
    return m;
}

CMove Arc(uint8_t flag, CMovePoint s, CMovePoint e, CMovePoint c)
{
    CMove m = Line(flag, s, e);
    m.centre = c;
    m.radius = std::sqrt((e.x - c.x) * (e.x - c.x) + (e.y - c.y) * (e.y - c.y));
    return m;
}

// A small contour feature: one rapid, one feed line and one arc.
void FillSample(CContourFeature& f)
{
    f.m_hidden = 1;
    f.m_state = 2;
    f.m_name = "Contour 1";
    f.m_params.zTop = 0.0;
    f.m_params.zBottom = -4.5;
    f.m_params.zSafePlane = 10.0;
    f.m_params.zEngage = 1.0;
    f.m_params.offset = 0.25;
    f.m_params.tool = {2.0, 40.0, 12000.0, 100.0, 400.0, 0.0, 0.5, 20.0, 50.0, 6.0, 3, "End mill 6"};
    f.m_params.outside = 1;
    ASSERT_TRUE(f.AppendMove(Line(kMoveRapid, {0, 0, 10}, {0, 0, 1}), nullptr).ok());
    ASSERT_TRUE(f.AppendMove(Line(kMoveFeedLine, {0, 0, 1}, {10, 0, -1}), nullptr).ok());
    ASSERT_TRUE(f.AppendMove(Arc(kMoveArcCounterClockwise, {10, 0, -1}, {10, 10, -1}, {10, 5, -1}), nullptr).ok());
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kGoldenPath =
    std::string(NUVEX_TEST_SOURCE_DIR) + "/addins/milling/features/tests/data/contour_record.bin";

TEST(FeatureRecord, SizeFollowsNamesAndMoves)
{
    CContourFeature f;
    f.m_name = "ab";
    f.m_params.tool.name = "xyz";
    EXPECT_EQ(f.GetSize(), 158u + 2 + 3); // no start point without moves
    FillSample(f);
    EXPECT_EQ(f.GetSize(), 158u + 9 + 10 + 12 + 3 + 12 + 12 + 24);
    EXPECT_EQ(f.SaveRecord().size(), f.GetSize());
}

TEST(FeatureRecord, MatchesGoldenBytes)
{
    CContourFeature f;
    FillSample(f);
    const std::vector<uint8_t> golden = ReadFile(kGoldenPath);
    ASSERT_FALSE(golden.empty()) << kGoldenPath;
    EXPECT_EQ(f.SaveRecord(), golden);
}

TEST(FeatureRecord, GoldenLoadsBack)
{
    const std::vector<uint8_t> golden = ReadFile(kGoldenPath);
    CContourFeature f;
    Result<size_t> read = f.Load(golden.data(), golden.size(), nullptr);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), golden.size());
    EXPECT_EQ(f.m_hidden, 1);
    EXPECT_EQ(f.m_state, 2);
    EXPECT_EQ(f.m_name, "Contour 1");
    EXPECT_EQ(f.m_params.tool.name, "End mill 6");
    EXPECT_DOUBLE_EQ(f.m_params.zBottom, -4.5);
    EXPECT_DOUBLE_EQ(f.m_params.tool.diameter, 6.0);
    EXPECT_EQ(f.m_params.tool.toolType, 3);
    EXPECT_EQ(f.m_params.outside, 1);
    ASSERT_EQ(f.Moves().size(), 3u);
    EXPECT_EQ(f.Moves()[2].flag, kMoveArcCounterClockwise);
    EXPECT_DOUBLE_EQ(f.Moves()[2].start.x, 10.0); // each start is the previous end
    EXPECT_DOUBLE_EQ(f.Moves()[2].radius, 5.0);
    EXPECT_EQ(f.SaveRecord(), golden);
}

TEST(FeatureRecord, PointsRoundToSinglePrecision)
{
    CContourFeature f;
    ASSERT_TRUE(f.AppendMove(Line(kMoveFeedLine, {0.1, 0.2, 0.3}, {1.0 / 3.0, 2.0, 3.0}), nullptr).ok());
    const std::vector<uint8_t> bytes = f.SaveRecord();
    CContourFeature g;
    ASSERT_TRUE(g.Load(bytes.data(), bytes.size(), nullptr).ok());
    EXPECT_DOUBLE_EQ(g.Moves()[0].start.x, static_cast<double>(0.1f));
    EXPECT_DOUBLE_EQ(g.Moves()[0].end.x, static_cast<double>(1.0f / 3.0f));
}

void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) { std::memcpy(b.data() + at, &v, 4); }

TEST(FeatureRecord, LongNamesRoundTrip)
{
    // A name is as long as the record says: whatever a feature saves, it
    // loads again, 1023 bytes or many more.
    for (size_t length : {size_t{1023}, size_t{1024}, size_t{70000}}) {
        SCOPED_TRACE(length);
        CContourFeature saved;
        FillSample(saved);
        saved.m_name.assign(length, 'n');
        saved.m_params.tool.name.assign(length + 1, 't');
        const std::vector<uint8_t> bytes = saved.SaveRecord();
        ASSERT_EQ(bytes.size(), saved.GetSize());
        CContourFeature loaded;
        Result<size_t> read = loaded.Load(bytes.data(), bytes.size(), nullptr);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(read.value(), bytes.size());
        EXPECT_EQ(loaded.m_name, saved.m_name);
        EXPECT_EQ(loaded.m_params.tool.name, saved.m_params.tool.name);
        EXPECT_EQ(loaded.Moves().size(), saved.Moves().size());
    }
}

TEST(FeatureRecord, HostileRecordsLoadNothing)
{
    CContourFeature sample;
    FillSample(sample);
    const std::vector<uint8_t> good = sample.SaveRecord();
    const size_t nameAt = 2;
    const size_t toolNameAt = 6 + 9 + 144;
    const size_t countAt = toolNameAt + 4 + 10;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        FeatureError code;
        // What the error's context holds: where the record went wrong, and
        // for a name, the loader it passed through.
        const char* where = " at offset ";
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, FeatureError::RecordTruncated});
    cases.push_back({"cut_in_parameters", {good.begin(), good.begin() + 40}, FeatureError::RecordTruncated});
    cases.push_back({"cut_in_last_arc", {good.begin(), good.end() - 1}, FeatureError::RecordTruncated});
    {
        std::vector<uint8_t> b = good;
        PutI32(b, nameAt, 1 << 30);
        cases.push_back({"name_length_huge", b, FeatureError::RecordTruncated,
                         "CMillingFeature::Load: feature name at offset 6"});
        PutI32(b, nameAt, -5);
        cases.push_back({"name_length_negative", b, FeatureError::RecordNegativeCount,
                         "CMillingFeature::Load: feature name at offset 6"});
    }
    {
        std::vector<uint8_t> b = good;
        PutI32(b, toolNameAt, 500); // past the data
        cases.push_back({"tool_name_past_end", b, FeatureError::RecordTruncated,
                         "CMillingFeature::Load: tool name at offset 163"});
    }
    {
        std::vector<uint8_t> b = good;
        PutI32(b, countAt, 0x7fffffff);
        cases.push_back({"move_count_huge", b, FeatureError::RecordTruncated});
        PutI32(b, countAt, -1);
        cases.push_back({"move_count_negative", b, FeatureError::RecordNegativeCount});
        PutI32(b, countAt, 4);
        cases.push_back({"one_move_too_many", b, FeatureError::RecordTruncated});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CContourFeature f;
        f.m_name = "kept";
        Result<size_t> read = f.Load(c.bytes.data(), c.bytes.size(), nullptr);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().code, c.code);
        EXPECT_NE(read.error().context.find(c.where), std::string::npos) << read.error().context;
        EXPECT_EQ(f.m_name, "kept");
        EXPECT_TRUE(f.Moves().empty());
    }
    CContourFeature limit;
    limit.m_name.assign(1023, 'n');
    const std::vector<uint8_t> bytes = limit.SaveRecord();
    CContourFeature f;
    ASSERT_TRUE(f.Load(bytes.data(), bytes.size(), nullptr).ok());
    EXPECT_EQ(f.m_name.size(), 1023u);
}

} // namespace
