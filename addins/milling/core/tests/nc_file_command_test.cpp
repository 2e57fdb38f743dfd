// Open and Save NC File through the real postprocessor plug-in: the saved
// program read back gives the toolpath's moves; files that cannot be
// written or read are reported and end the command as failed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "addins/milling/core/nc_file_command.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/documentmoveentities.h"
#include "ientityrecord.h"
#include "platform/user/commdlg.h"

namespace {

constexpr double kNcReadBackTolerance = 0.001;

bool Near(const CMovePoint& a, const CMovePoint& b)
{
    return std::fabs(a.x - b.x) <= kNcReadBackTolerance && std::fabs(a.y - b.y) <= kNcReadBackTolerance &&
           std::fabs(a.z - b.z) <= kNcReadBackTolerance;
}

class NcFileTest : public StrimoTest {
protected:
    IHostDocument* Host() { return m_document->GetHostDocument(); }

    CMillingJob* JobWithPocket(IPostprocessor* postprocessor)
    {
        CMillingJob* job = FindMillingJob(Host());
        auto operation = std::make_unique<CMillingOperation>(postprocessor, "", CMovePoint{}, false);
        operation->AddFeature(MakeSquarePocket(40, 12, nullptr));
        job->AddOperation(std::move(operation), true);
        return job;
    }

    // Runs command 0 or 1 as the host does: Create, then the start event.
    LONG Run(long command, NcFileResult* outcome = nullptr)
    {
        ComPtr<IAddinCommand> object;
        EXPECT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_NcFileCommand, object.ReceiveVoid()), S_OK);
        EXPECT_EQ(object->Create(Host(), command, 0), S_OK);
        LONG result = 0x10000000;
        EXPECT_EQ(object->OnEvent(1, nullptr, 1, 1, &result), S_OK);
        if (outcome != nullptr)
            *outcome = static_cast<CNcFileCommand*>(object.Get())->LastResult();
        return result;
    }

    // The moves the document now draws, in the order they were added.
    std::vector<CMoveEntityView> DrawnMoves()
    {
        std::vector<CMoveEntityView> moves;
        for (const DrawnEntity& drawn : DrawnEntities(Host()))
            moves.push_back(drawn.view);
        return moves;
    }
};

TEST_F(NcFileTest, ASavedProgramReadsBackAsTheToolpathsMoves)
{
    CMillingJob* job = JobWithPocket(m_addin->Postprocessors().at(0));
    const std::vector<CMove>& moves = job->GetOperation(0)->GetFeature(0)->Moves();
    ASSERT_GT(moves.size(), 10u);
    const std::string path = m_folder.Path() + "/pocket.nc";
    {
        DialogAnswers answers(path);
        EXPECT_EQ(Run(kCommandSaveNcFile), 0x2);
        ASSERT_EQ(answers.requests.size(), 1u);
        EXPECT_EQ(answers.requests[0].kind, DialogRequestKind::SaveFile);
        EXPECT_EQ(answers.requests[0].defaultExtension, "nc");
    }
    const std::string program = ReadText(path);
    EXPECT_EQ(program.find("Phase"), std::string::npos);
    EXPECT_EQ(program.find("\n\n"), std::string::npos) << "no empty lines";

    auto drawing = NewDocument();
    std::swap(m_document, drawing);
    NcFileResult opened;
    {
        DialogAnswers answers(path);
        EXPECT_EQ(Run(kCommandOpenNcFile, &opened), 0x2);
        EXPECT_EQ(answers.requests.front().kind, DialogRequestKind::OpenFile);
    }
    std::vector<CMoveEntityView> drawn = DrawnMoves();
    // The program begins with a move to the toolpath's start and ends with
    // a retract; between them every move of the toolpath that goes
    // somewhere comes back within the NC text's precision.
    size_t at = 0;
    while (at < drawn.size() && !(Near(drawn[at].start, moves[0].start) && Near(drawn[at].end, moves[0].end)))
        ++at;
    ASSERT_LT(at, drawn.size()) << "the first move is not drawn";
    size_t compared = 0;
    for (const CMove& move : moves) {
        if (Near(move.start, move.end) && !IsArcMove(move.flag))
            continue;
        ASSERT_LT(at, drawn.size());
        SCOPED_TRACE(compared);
        EXPECT_TRUE(Near(drawn[at].start, move.start));
        EXPECT_TRUE(Near(drawn[at].end, move.end));
        EXPECT_EQ(drawn[at].arc, IsArcMove(move.flag));
        if (IsArcMove(move.flag)) {
            EXPECT_TRUE(Near(drawn[at].centre, move.centre));
            EXPECT_EQ(drawn[at].normalZ, IsClockwiseArc(move.flag) ? -1 : 1);
        }
        ++at;
        ++compared;
    }
    EXPECT_GT(compared, 10u);
    EXPECT_EQ(opened.movesDrawn, static_cast<int>(drawn.size()));
    std::swap(m_document, drawing);
}

TEST_F(NcFileTest, SavingWithoutAnActiveOperationWritesAnEmptyFile)
{
    FindMillingJob(Host());
    const std::string path = m_folder.Path() + "/empty.nc";
    DialogAnswers answers(path);
    EXPECT_EQ(Run(kCommandSaveNcFile), 0x2);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(ReadText(path), "");
}

// Failures are told to the person and end the command without an undo
// step; a cancelled dialog ends it quietly.
TEST_F(NcFileTest, FailuresAreReportedAndEndTheCommand)
{
    struct Row {
        const char* name;
        bool withMachine;
        long command;
        std::string path;
        NcFileStatus status;
        LONG result;
        const char* message; // part of the one message shown; empty for none
    };
    const std::string folder = m_folder.Path();
    const Row rows[] = {
        {"save cancelled", true, kCommandSaveNcFile, "", NcFileStatus::Cancelled, 0x2, ""},
        {"save into a missing folder", true, kCommandSaveNcFile, folder + "/none/x.nc", NcFileStatus::CannotWrite,
         0x4, "cannot be written"},
        {"save without a machine", false, kCommandSaveNcFile, folder + "/x.nc", NcFileStatus::ProgramFailed, 0x4,
         "cannot be made"},
        {"open cancelled", true, kCommandOpenNcFile, "", NcFileStatus::Cancelled, 0x2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_document = NewDocument();
        JobWithPocket(row.withMachine ? m_addin->Postprocessors().at(0) : nullptr);
        DialogAnswers answers(row.path);
        NcFileResult outcome;
        EXPECT_EQ(Run(row.command, &outcome), row.result);
        EXPECT_EQ(outcome.status, row.status);
        const std::vector<std::string> messages = answers.Messages();
        if (row.message[0] == '\0') {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find(row.message), std::string::npos) << messages[0];
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/x.nc")) << "a failed program writes no file";
}

// Reading skips empty lines and lines too long for a block and goes on to
// the end; without an operation the first loaded dialect reads, and the
// person is told.
TEST_F(NcFileTest, OpeningReadsToTheEndWithTheFirstDialectWithoutAnOperation)
{
    const std::string path = m_folder.Path() + "/gaps.nc";
    WriteFileBytes(path, "G0 X0 Y0 Z0\n\nG1 X10\n" + std::string(2000, '7') + "\n\nG1 Y10\nM30\n");
    DialogAnswers answers(path);
    NcFileResult outcome;
    EXPECT_EQ(Run(kCommandOpenNcFile, &outcome), 0x2);
    EXPECT_EQ(outcome.status, NcFileStatus::Ok);
    EXPECT_EQ(outcome.linesRead, 4);
    EXPECT_EQ(outcome.movesDrawn, 2);
    const std::vector<std::string> messages = answers.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("read as Power Control CNC"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("1 lines too long"), std::string::npos) << messages[0];
}

TEST_F(NcFileTest, AFileThatCannotBeOpenedIsReported)
{
    CMillingJob* job = JobWithPocket(m_addin->Postprocessors().at(0));
    const NcFileResult result = OpenNcProgram(Host(), *job, m_addin, m_folder.Path() + "/missing.nc");
    EXPECT_EQ(result.status, NcFileStatus::CannotOpen);
    EXPECT_NE(result.message.find("cannot be opened"), std::string::npos);
}

TEST_F(NcFileTest, WithoutAnyPostprocessorNcFilesCannotBeRead)
{
    CMillingJob* job = FindMillingJob(Host());
    const ComPtr<CMillingAddin> bare = ComPtr<CMillingAddin>::Share(new CMillingAddin());
    const NcFileResult result =
        OpenNcProgram(Host(), *job, bare.Get(), SourcePath("resources/samples/sample_part.nc"));
    EXPECT_EQ(result.status, NcFileStatus::NoPostprocessor);
    EXPECT_NE(result.message.find("No postprocessor"), std::string::npos);
}

// The sample part reads as a plate outline, a pocket with rounded corners
// and two islands.
TEST_F(NcFileTest, TheSamplePartReadsAsItsOutlines)
{
    CMillingJob* job = FindMillingJob(Host());
    const NcFileResult result =
        OpenNcProgram(Host(), *job, m_addin, SourcePath("resources/samples/sample_part.nc"));
    ASSERT_EQ(result.status, NcFileStatus::Ok);
    const std::vector<CMoveEntityView> drawn = DrawnMoves();
    size_t arcs = 0, flatLines = 0;
    for (const CMoveEntityView& move : drawn) {
        arcs += move.arc ? 1 : 0;
        flatLines += !move.arc && std::fabs(move.start.z) < 1e-9 && std::fabs(move.end.z) < 1e-9 ? 1 : 0;
    }
    EXPECT_EQ(arcs, 6u) << "four pocket corners and the round island's two halves";
    EXPECT_EQ(flatLines, 12u) << "plate 4, pocket 4, square island 4";
}

} // namespace

namespace {

class SampleDrawingTest : public NcFileTest {};

// The sample drawing that ships beside the sample NC program is that
// program drawn: the same lines and arcs, ready to be picked.
TEST_F(SampleDrawingTest, TheShippedDrawingIsTheSampleProgramDrawn)
{
    auto drawing = NewDocument();
    IHostDocument* host = drawing->GetHostDocument();
    CMillingJob* job = FindMillingJob(host);
    ASSERT_EQ(OpenNcProgram(host, *job, m_addin, SourcePath("resources/samples/sample_part.nc")).status,
              NcFileStatus::Ok);
    const std::string out = std::string(NUVEX_TEST_BIN_DIR) + "/../sample_part.out.nvx";
    ASSERT_TRUE(drawing->OnSaveDocument(out.c_str()));
    const std::string shipped = SourcePath("resources/samples/sample_part.nvx");
    EXPECT_TRUE(ReadText(out) == ReadText(shipped))
        << "the drawing differs from " << shipped << "; the new one is " << out;

    auto reopened = NewDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(shipped.c_str()));
    std::swap(m_document, reopened);
    size_t arcs = 0;
    for (const CMoveEntityView& move : DrawnMoves())
        arcs += move.arc ? 1 : 0;
    std::swap(m_document, reopened);
    EXPECT_EQ(arcs, 6u);
}

} // namespace
