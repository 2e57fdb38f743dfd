// Tests of the NC file reader: the parsed program store and its lookups,
// reading files in both dialects (empty lines skipped, read to the end), and
// the interpretation of blocks into line and arc entities made by the entity
// component, loaded through a private registry as the host loads it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "addins/milling/features/ncfilereader.h"
#include "addins/milling/features/tests/entitycomponentdocument.h"
#include "ientitycomponent.h"
#include "ientityrecord.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/vector3.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/tests/kernel_test_support.h"
#include "postproc/postprocessor.h"

namespace {

constexpr double kPositionTolerance = 1e-9;
constexpr int kPower = 0;
constexpr int kSiemens = 1;

// One drawn move as the test expects it: 'L' line or 'A' arc, with the
// centre and normal of an arc.
struct Move {
    char kind;
    std::vector<double> start;
    std::vector<double> end;
    std::vector<double> centre = {};
    std::vector<double> normal = {};
    double radius = 0.0;
};

std::vector<double> Components(const CVector3& v) { return {v.x.GetValue(), v.y.GetValue(), v.z.GetValue()}; }

void ExpectPoint(const std::vector<double>& actual, const std::vector<double>& expected, const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], kPositionTolerance) << what << " coordinate " << i;
    }
}

void ExpectMoves(const RecordingDocument& document, const std::vector<Move>& expected)
{
    ASSERT_EQ(document.records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("move " + std::to_string(i));
        IUnknown* object = nullptr;
        ASSERT_EQ(document.records[i]->GetObject(&object), S_OK);
        int32_t children = 0;
        document.records[i]->GetChildCount(&children);
        EXPECT_EQ(children, 2) << "copies of the current collection and attributes";
        ComPtr<IArcEntity> arc;
        const bool isArc = object->QueryInterface(IID_IArcEntity, arc.ReceiveVoid()) == S_OK;
        EXPECT_EQ(isArc ? 'A' : 'L', expected[i].kind);
        ComPtr<ILineEntity> line;
        ASSERT_EQ(object->QueryInterface(IID_ILineEntity, line.ReceiveVoid()), S_OK);
        CVector3 start, end;
        line->GetStartPoint(&start);
        line->GetEndPoint(&end);
        ExpectPoint(Components(start), expected[i].start, "start");
        ExpectPoint(Components(end), expected[i].end, "end");
        if (isArc && expected[i].kind == 'A') {
            CVector3 centre, normal;
            arc->GetCenter(&centre);
            arc->GetNormal(&normal);
            ExpectPoint(Components(centre), expected[i].centre, "centre");
            ExpectPoint(Components(normal), expected[i].normal, "normal");
            CReal radius;
            arc->GetRadius(&radius);
            EXPECT_NEAR(radius.GetValue(), expected[i].radius, kPositionTolerance);
        }
    }
}

// Parses each line with the dialect's postprocessor into the reader.
void Store(CNcFileReader& reader, int dialect, const std::vector<std::string>& lines)
{
    ComPtr<IPostprocessor> post;
    ASSERT_EQ(yelk::CPostprocessor::Create(dialect, post.Receive()), S_OK);
    std::vector<INT> codes(kNcMaxBlockTokens), kinds(kNcMaxBlockTokens), styles(4096);
    std::vector<VARIANT> values(320);
    INT count = 0;
    for (const std::string& line : lines) {
        post->ParseBlock(line.c_str(), &count, codes.data(), kinds.data(), values.data(), styles.data());
        reader.AddLine(count, codes.data(), kinds.data(), values.data());
    }
    post->ParseBlock("", &count, codes.data(), kinds.data(), values.data(), styles.data());
}

// The entity component registered in a registry of the test's own.
class NcReader : public EntityComponentTest {};

}  // namespace

TEST_F(NcReader, InterpretsBlocksIntoMoves)
{
    struct InterpretCase {
        const char* name;
        int dialect;
        std::vector<std::string> program;
        std::vector<Move> moves;
    };
    const InterpretCase kCases[] = {
        {"plunge_then_feed_then_end",
         kPower,
         {"G00 X0 Y0 Z5", "G01 Z-1", "G01 X10", "M30", "G01 X20"},
         {{'L', {0, 0, 5}, {0, 0, -1}}, {'L', {0, 0, -1}, {10, 0, -1}}}},
        {"siemens_dialect",
         kSiemens,
         {"N1 G0 X0 Y0 Z5", "N2 G1 Z-1", "N3 X10", "N4 M2", "N5 X20"},
         {{'L', {0, 0, 5}, {0, 0, -1}}, {'L', {0, 0, -1}, {10, 0, -1}}}},
        {"first_block_gives_only_z_start_from_last_xy",
         kPower,
         {"G01 Z3", "G01 Z-2", "X7 Y8"},
         {{'L', {7, 8, 3}, {7, 8, -2}}}},
        {"clockwise_xy_arc_offsets_from_start",
         kPower,
         {"G01 X2 Y1 Z0", "G01 X3", "G02 X13 Y1 I5 J0"},
         {{'L', {2, 1, 0}, {3, 1, 0}}, {'A', {3, 1, 0}, {13, 1, 0}, {8, 1, 0}, {0, 0, -1}, 5}}},
        {"counter_clockwise_xy_arc",
         kSiemens,
         {"G1 X0 Y0 Z0", "G1 X1", "G3 X11 Y0 I5 J0"},
         {{'L', {0, 0, 0}, {1, 0, 0}}, {'A', {1, 0, 0}, {11, 0, 0}, {6, 0, 0}, {0, 0, 1}, 5}}},
        {"xz_arc",
         kPower,
         {"G01 X0 Y0 Z0", "G01 X1", "G02 X11 Z0 I5 K0"},
         {{'L', {0, 0, 0}, {1, 0, 0}}, {'A', {1, 0, 0}, {11, 0, 0}, {6, 0, 0}, {0, -1, 0}, 5}}},
        {"arc_without_j_draws_nothing_next_move_bridges",
         kPower,
         {"G01 X0 Y0 Z0", "G01 X1", "G02 X11 Y0 I5", "G01 X12"},
         {{'L', {0, 0, 0}, {1, 0, 0}}, {'L', {1, 0, 0}, {12, 0, 0}}}},
        {"compensation_words_change_nothing",
         kPower,
         {"G00 X0 Y0 Z0", "G41 D3", "G450", "G01 X20", "G40 G451"},
         {{'L', {0, 0, 0}, {20, 0, 0}}}},
        {"motion_word_after_its_coordinate_matches_no_move",
         kPower,
         {"G00 X0 Y0 Z0", "G00 X5", "X10 G01"},
         {{'L', {0, 0, 0}, {5, 0, 0}}}},
        {"no_motion_word_draws_nothing", kPower, {"X0 Y0 Z0", "X10", "Y10"}, {}},
        {"repeated_position_ends_first_position_state",
         kPower,
         {"G01 X5 Y0 Z0", "G01 X0", "G01 X5"},
         {{'L', {5, 0, 0}, {0, 0, 0}}, {'L', {0, 0, 0}, {5, 0, 0}}}},
        {"two_program_ends_stop_at_the_first", kSiemens, {"G1 X0 Y0 Z0", "M2", "G1 X5", "M2"}, {}},
        // A full turn ends where it starts: written without X and Y, or with
        // them repeated, it is a full circle all the same.
        {"full_circle_without_end_words",
         kPower,
         {"G01 X0 Y0 Z-1", "G01 X2", "G03 I-2 J0", "G01 X3"},
         {{'L', {0, 0, -1}, {2, 0, -1}},
          {'A', {2, 0, -1}, {2, 0, -1}, {0, 0, -1}, {0, 0, 1}, 2},
          {'L', {2, 0, -1}, {3, 0, -1}}}},
        {"full_circle_with_repeated_end_words",
         kSiemens,
         {"G1 X0 Y0 Z0", "G1 X1", "G2 X1 Y0 I0.5 J0"},
         {{'L', {0, 0, 0}, {1, 0, 0}}, {'A', {1, 0, 0}, {1, 0, 0}, {1.5, 0, 0}, {0, 0, -1}, 0.5}}},
        {"arc_with_zero_offsets_and_no_move_draws_nothing",
         kPower,
         {"G01 X0 Y0 Z0", "G01 X1", "G02 I0 J0"},
         {{'L', {0, 0, 0}, {1, 0, 0}}}},
        {"first_block_full_turn_only_places_the_tool", kPower, {"G02 X1 Y0 Z0 I1 J0"}, {}},
    };
    for (const InterpretCase& c : kCases) {
        SCOPED_TRACE(c.name);
        RecordingDocument document;
        CNcFileReader reader(&document);
        Store(reader, c.dialect, c.program);
        const NcInterpretResult result = reader.Interpret();
        EXPECT_EQ(result.entitiesFailed, 0);
        EXPECT_EQ(result.movesDrawn, static_cast<int>(c.moves.size()));
        ExpectMoves(document, c.moves);
    }
}

TEST_F(NcReader, FailedEntityCreationDrawsNothingAndSaysSo)
{
    RecordingDocument document;
    document.refuse = true;
    CNcFileReader reader(&document);
    Store(reader, kPower, {"G00 X0 Y0 Z0", "G01 X10", "G02 X20 Y0 I5 J0", "G01 Y5"});
    const NcInterpretResult result = reader.Interpret();
    EXPECT_EQ(result.movesDrawn, 0);
    EXPECT_EQ(result.entitiesFailed, 3);
    EXPECT_TRUE(document.records.empty());

    // With the component registered again the same program draws its moves,
    // each starting where the one before it ends.
    document.refuse = false;
    const NcInterpretResult drawn = reader.Interpret();
    EXPECT_EQ(drawn.movesDrawn, 3);
    ExpectMoves(document, {{'L', {0, 0, 0}, {10, 0, 0}},
                           {'A', {10, 0, 0}, {20, 0, 0}, {15, 0, 0}, {0, 0, -1}, 5},
                           {'L', {20, 0, 0}, {20, 5, 0}}});
}

TEST_F(NcReader, ReadsFilesToTheEndSkippingEmptyLines)
{
    struct FileCase {
        const char* name;
        int dialect;
        std::string text;
        int stored;
        int empty;
        int tooLong;
        size_t moves;
    };
    const std::string longLine = "; " + std::string(kNcMaxLineLength, 'c');
    const FileCase kCases[] = {
        {"empty_lines_inside", kPower, "G00 X0 Y0 Z5\n\nG01 Z-1\n\n\nG01 X10\nM30\n", 4, 3, 0, 2},
        {"crlf_and_no_final_line_end", kSiemens, "G0 X0 Y0 Z5\r\n\r\nG1 Z-1\r\nG1 X10", 3, 1, 0, 2},
        {"line_too_long_is_skipped", kPower, "G00 X0 Y0 Z5\n" + longLine + "\nG01 Z-1\n", 2, 0, 1, 1},
        {"empty_file", kPower, "", 0, 0, 0, 0},
    };
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.Write("part.nc", c.text);
        ComPtr<IPostprocessor> post;
        ASSERT_EQ(yelk::CPostprocessor::Create(c.dialect, post.Receive()), S_OK);
        RecordingDocument document;
        CNcFileReader reader(&document);
        const NcReadResult read = ReadNcProgram((folder / "part.nc").c_str(), post.Get(), reader);
        EXPECT_EQ(read.status, NcReadStatus::Ok);
        EXPECT_EQ(read.linesStored, c.stored);
        EXPECT_EQ(read.emptyLinesSkipped, c.empty);
        EXPECT_EQ(read.longLinesSkipped, c.tooLong);
        EXPECT_EQ(reader.GetLineCount(), static_cast<size_t>(c.stored));
        reader.Interpret();
        EXPECT_EQ(document.records.size(), c.moves);
    }

    RecordingDocument document;
    CNcFileReader reader(&document);
    ComPtr<IPostprocessor> post;
    ASSERT_EQ(yelk::CPostprocessor::Create(kPower, post.Receive()), S_OK);
    EXPECT_EQ(ReadNcProgram("/no/such/folder/part.nc", post.Get(), reader).status, NcReadStatus::CannotOpen);
    EXPECT_EQ(ReadNcProgram("/no/such/folder/part.nc", nullptr, reader).status, NcReadStatus::NoPostprocessor);
}

TEST(NcProgramStore, StoresCopiesAndLooksBackwards)
{
    CNcFileReader reader(nullptr);
    // Z only in the first line, X last in the last line, no Y.
    char comment[] = "first";
    const int codes1[] = {kNcZ, kNcComment};
    const int kinds1[] = {kNcKindReal, kNcKindText};
    VARIANT values1[2] = {};
    values1[0].vt = VT_R8;
    values1[0].dblVal = -4.5;
    values1[1].vt = kNcTextVariantType;
    values1[1].pcVal = comment;
    reader.AddLine(2, codes1, kinds1, values1);
    std::strcpy(comment, "later");
    EXPECT_STREQ(reader.GetValue(0, 1).pcVal, "first") << "the reader keeps its own copy";

    reader.AddLine(0, nullptr, nullptr, nullptr);
    reader.AddLine(kNcMaxBlockTokens + 1, codes1, kinds1, values1);
    EXPECT_EQ(reader.GetTokenCount(1), 0);
    EXPECT_EQ(reader.GetTokenCount(2), 0) << "a count past the block capacity stores no tokens";

    const int codes2[] = {kNcX, kNcX};
    const int kinds2[] = {kNcKindReal, kNcKindReal};
    VARIANT values2[2] = {};
    values2[0].vt = values2[1].vt = VT_R8;
    values2[0].dblVal = 1.0;
    values2[1].dblVal = 2.0;
    reader.AddLine(2, codes2, kinds2, values2);
    EXPECT_EQ(reader.GetLineCount(), 4u);
    EXPECT_EQ(reader.FindLastMotionCode(), -1);

    double x = 0, y = 99, z = 0;
    int xFound = 0, yFound = 0, zFound = 0;
    reader.FindLastPosition(&x, &y, &z, &xFound, &yFound, &zFound);
    EXPECT_EQ(xFound, 1);
    EXPECT_EQ(yFound, 0);
    EXPECT_EQ(zFound, 1);
    EXPECT_NEAR(x, 2.0, kPositionTolerance);
    EXPECT_NEAR(y, 99.0, kPositionTolerance);
    EXPECT_NEAR(z, -4.5, kPositionTolerance);

    // Axes the caller does not ask for (null flags) are left alone.
    double onlyX = 0;
    int onlyXFound = 0;
    reader.FindLastPosition(&onlyX, nullptr, nullptr, &onlyXFound, nullptr, nullptr);
    EXPECT_EQ(onlyXFound, 1);
    EXPECT_NEAR(onlyX, 2.0, kPositionTolerance);
}
