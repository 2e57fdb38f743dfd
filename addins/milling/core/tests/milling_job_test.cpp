// CMillingJob: its record (golden bytes, round trips through a saved and
// reopened drawing, hostile records), copies, operations and their names,
// the active operation, and the NC program frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/pocketfeature.h"
#include "platform/user/commdlg.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string I32Bytes(int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }
std::string F32Bytes(float value) { return std::string(reinterpret_cast<const char*>(&value), 4); }
std::string Name(const std::string& text) { return I32Bytes(static_cast<int32_t>(text.size())) + text; }

// An operation record without features.
std::string OperationBytes(const std::string& name, int32_t inverted, float x, float y, float z,
                           const std::string& machine)
{
    return Name(name) + I32Bytes(inverted) + F32Bytes(x) + F32Bytes(y) + F32Bytes(z) + Name(machine) + I32Bytes(0);
}

// A contour feature with three hand-made moves, independent of the
// toolpath computation, so its record stays fixed.
std::unique_ptr<CMillingFeature> FixedContour(CMoveEntityFactory* factory)
{
    auto feature = std::make_unique<CContourFeature>();
    feature->m_name = "Phase 1";
    feature->m_params.zTop = 1.0;
    feature->m_params.zBottom = -2.0;
    feature->m_params.zSafePlane = 20.0;
    feature->m_params.zEngage = 3.0;
    feature->m_params.tool.diameter = 6.0;
    feature->m_params.tool.feedSpeed = 500.0;
    feature->m_params.tool.toolType = 1;
    feature->m_params.tool.name = "Flat end mill 6 mm";
    CMove rapid;
    rapid.flag = kMoveRapid;
    rapid.start = {0, 0, 20};
    rapid.end = {10, 0, 20};
    CMove plunge;
    plunge.flag = kMoveFeedLine;
    plunge.start = rapid.end;
    plunge.end = {10, 0, -2};
    CMove arc;
    arc.flag = kMoveArcCounterClockwise;
    arc.start = plunge.end;
    arc.end = {0, 10, -2};
    arc.centre = {0, 0, -2};
    arc.radius = 10;
    for (const CMove& move : {rapid, plunge, arc})
        EXPECT_TRUE(feature->AppendMove(move, factory).ok());
    return feature;
}

class MillingJobTest : public StrimoTest {
protected:
    IHostDocument* Host() { return m_document->GetHostDocument(); }

    CMillingJob* Job() { return FindMillingJob(Host()); }

    // A job of two operations: the first with the machine and a contour,
    // the second without a machine, inverted, with a pocket; the first is
    // active.
    CMillingJob* TwoOperationJob()
    {
        CMillingJob* job = Job();
        EXPECT_NE(job, nullptr);
        CDocumentMoveEntityFactory factory(Host());
        auto first = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{1.25, -2.5, 0.1},
                                                         false);
        first->AddFeature(FixedContour(&factory));
        job->AddOperation(std::move(first), true);
        auto second = std::make_unique<CMillingOperation>(CMovePoint{100, 50, 3}, true);
        second->m_name = "Roughing";
        job->AddOperation(std::move(second), false);
        job->GetOperation(1)->AddFeature(MakeSquarePocket(40, 10, &factory));
        return job;
    }

    std::vector<uint8_t> Record(CMillingJob& job)
    {
        uint32_t size = 0;
        EXPECT_EQ(job.GetSize(&size), S_OK);
        std::vector<uint8_t> bytes(size);
        EXPECT_EQ(job.Save(bytes.data()), S_OK);
        return bytes;
    }

    // A job made by the class factory, as the host makes one when it reads
    // a drawing, attached to the document.
    CMillingJob* NewJob()
    {
        IObjectBase* object = nullptr;
        EXPECT_EQ(m_services.strimoFactory->CreateInstance(nullptr, IID_IMillingJob, reinterpret_cast<void**>(&object)),
                  S_OK);
        m_made.push_back(ComPtr<IObjectBase>::Adopt(object));
        object->SetHostDocument(Host());
        return CMillingJob::FromInterface(object);
    }

    std::vector<ComPtr<IObjectBase>> m_made;
};

TEST_F(MillingJobTest, FindMillingJobAttachesOneJobAndFindsItAgain)
{
    CMillingJob* job = Job();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(m_document->GetObjectCount(), 1u);
    EXPECT_EQ(Job(), job);
    EXPECT_EQ(m_document->GetObjectCount(), 1u);
    EXPECT_EQ(job->GetDocument(), Host());
    EXPECT_EQ(job->GetActiveOperation(), -1);
    uint32_t size = 0;
    EXPECT_EQ(job->GetSize(&size), E_FAIL) << "a job without operations is not stored";
    CLSID factory{};
    IID iid{};
    EXPECT_EQ(job->GetClassIds(&factory, &iid), S_OK);
    EXPECT_EQ(factory, CLSID_StrimoAddin);
    EXPECT_EQ(iid, IID_IMillingJob);
}

// The record of a fixed job, byte for byte: a changed layout shows here.
TEST_F(MillingJobTest, RecordMatchesTheGoldenBytes)
{
    CMillingJob* job = Job();
    auto operation = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "Finishing",
                                                         CMovePoint{1.5, 2.25, -0.5}, true);
    operation->CMillingOperationBase::AddFeature(FixedContour(nullptr));
    job->AddOperation(std::move(operation), true);
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), false);
    const std::vector<uint8_t> record = Record(*job);
    const std::string golden = SourcePath("addins/milling/core/tests/data/job_two_operations.bin");
    const std::string expected = ReadText(golden);
    if (std::string(record.begin(), record.end()) != expected) {
        WriteFileBytes(std::string(NUVEX_TEST_BIN_DIR) + "/../job_two_operations.out.bin",
                       std::string(record.begin(), record.end()));
        FAIL() << "the record differs from " << golden << "; the new one is job_two_operations.out.bin in the build";
    }
    // The golden record reads back into the same bytes.
    CMillingJob* read = NewJob();
    ASSERT_EQ(read->Load(static_cast<uint32_t>(expected.size()), reinterpret_cast<const BYTE*>(expected.data())),
              S_OK);
    read->SetHostDocument(nullptr);
    EXPECT_EQ(Record(*read), Bytes(expected));
}

TEST_F(MillingJobTest, ARecordReadsBackWithEverythingItHolds)
{
    CMillingJob* job = TwoOperationJob();
    std::string longName(5000, 'n');
    job->GetOperation(1)->m_name = longName;
    const std::vector<uint8_t> record = Record(*job);
    CMillingJob* read = NewJob();
    ASSERT_EQ(read->Load(static_cast<uint32_t>(record.size()), record.data()), S_OK);
    read->SetHostDocument(nullptr);
    ASSERT_EQ(read->GetOperationCount(), 2);
    EXPECT_EQ(read->GetActiveOperation(), 0);
    const CMillingOperation& first = *read->GetOperation(0);
    const CMillingOperation& second = *read->GetOperation(1);
    EXPECT_EQ(first.m_name, "Operation 1");
    EXPECT_EQ(second.m_name, longName) << "names longer than 1023 bytes read back";
    EXPECT_EQ(first.m_invertedZ, 0);
    EXPECT_EQ(second.m_invertedZ, 1);
    EXPECT_EQ(first.m_origin.x, static_cast<double>(1.25f));
    EXPECT_EQ(first.m_origin.y, static_cast<double>(-2.5f));
    EXPECT_EQ(first.m_origin.z, static_cast<double>(0.1f));
    EXPECT_EQ(first.m_machineName, "Power Control CNC");
    EXPECT_EQ(first.m_postprocessor, m_addin->Postprocessors().at(0)) << "the machine is found again by name";
    EXPECT_EQ(second.m_machineName, "");
    EXPECT_EQ(second.m_postprocessor, nullptr);
    ASSERT_EQ(first.GetFeatureCount(), 1u);
    ASSERT_EQ(second.GetFeatureCount(), 1u);
    EXPECT_EQ(first.GetFeature(0)->GetType(), 1);
    EXPECT_EQ(second.GetFeature(0)->GetType(), 0);
    EXPECT_EQ(second.GetFeature(0)->Moves().size(), job->GetOperation(1)->GetFeature(0)->Moves().size());
    EXPECT_EQ(Record(*read), record);
}

// What the host does with the job: the drawing is saved with it and
// reopened in a new document, which recreates the job through the
// add-in's class factory.
TEST_F(MillingJobTest, TheJobComesBackWithASavedAndReopenedDrawing)
{
    CMillingJob* job = TwoOperationJob();
    const std::vector<uint8_t> record = Record(*job);
    const std::string path = m_folder.Path() + "/part.nvx";
    ASSERT_TRUE(m_document->OnSaveDocument(path.c_str()));

    auto reopened = NewDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(path.c_str()));
    const size_t objects = reopened->GetObjectCount();
    CMillingJob* read = FindMillingJob(reopened->GetHostDocument());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(reopened->GetObjectCount(), objects) << "the job read from the file is found, not a new one";
    ASSERT_EQ(read->GetOperationCount(), 2);
    EXPECT_EQ(read->GetOperation(0)->m_postprocessor, m_addin->Postprocessors().at(0));
    EXPECT_EQ(Record(*read), record);

    std::vector<std::string> before, after;
    EXPECT_TRUE(job->WriteNcCode(before, 0, CMillingJob::Phases::Unnumbered).ok);
    EXPECT_TRUE(read->WriteNcCode(after, 0, CMillingJob::Phases::Unnumbered).ok);
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(after, before);
}

TEST_F(MillingJobTest, AnOperationWithoutAMachineSavesAndLoads)
{
    CMillingJob* job = Job();
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{3, 4, 5}, false), true);
    const std::vector<uint8_t> record = Record(*job);
    const std::string expected =
        I32Bytes(0) + I32Bytes(1) + OperationBytes("Operation 1", 0, 3, 4, 5, "");
    EXPECT_EQ(record, Bytes(expected));
    CMillingJob* read = NewJob();
    EXPECT_EQ(read->Load(static_cast<uint32_t>(record.size()), record.data()), S_OK);
    EXPECT_EQ(read->GetOperationCount(), 1);
}

// A record that does not read whole loads nothing and tells why; the
// person is told once the drawing has been read.
TEST_F(MillingJobTest, AHostileRecordLoadsNothingAndSaysWhy)
{
    const std::string good = OperationBytes("A", 0, 0, 0, 0, "");
    const std::string feature2 = Name("A") + I32Bytes(0) + F32Bytes(0) + F32Bytes(0) + F32Bytes(0) + Name("") +
                                 I32Bytes(1) + I32Bytes(2) + std::string(40, '\0');
    const std::string huge = Name("A") + I32Bytes(0) + F32Bytes(0) + F32Bytes(0) + F32Bytes(0) + Name("") +
                             I32Bytes(0x7fffffff);
    const std::string badPocket = Name("A") + I32Bytes(0) + F32Bytes(0) + F32Bytes(0) + F32Bytes(0) + Name("") +
                                  I32Bytes(1) + I32Bytes(0) + std::string(7, '\x7f');
    struct Row {
        const char* name;
        std::string bytes;
        JobRecordError error;
    };
    const Row rows[] = {
        {"empty", "", JobRecordError::Truncated},
        {"no count", I32Bytes(-1), JobRecordError::Truncated},
        {"no operations", I32Bytes(-1) + I32Bytes(0), JobRecordError::NoOperations},
        {"active past the end", I32Bytes(1) + I32Bytes(1) + good, JobRecordError::BadActiveOperation},
        {"active below -1", I32Bytes(-2) + I32Bytes(1) + good, JobRecordError::BadActiveOperation},
        {"count past the record", I32Bytes(0) + I32Bytes(1000000) + good, JobRecordError::Truncated},
        {"name past the end", I32Bytes(0) + I32Bytes(1) + I32Bytes(100) + "A", JobRecordError::Truncated},
        {"negative name length", I32Bytes(0) + I32Bytes(1) + I32Bytes(-5) + good, JobRecordError::NegativeLength},
        {"unknown feature type", I32Bytes(0) + I32Bytes(1) + feature2, JobRecordError::BadFeatureType},
        {"feature count past the record", I32Bytes(0) + I32Bytes(1) + huge, JobRecordError::Truncated},
        {"feature record broken", I32Bytes(0) + I32Bytes(1) + badPocket, JobRecordError::BadFeatureRecord},
        {"origin not a number", I32Bytes(0) + I32Bytes(1) + Name("A") + I32Bytes(0) + F32Bytes(NAN) + F32Bytes(0) +
                                    F32Bytes(0) + Name("") + I32Bytes(0),
         JobRecordError::NonFiniteOrigin},
        {"bytes after the operations", I32Bytes(0) + I32Bytes(1) + good + "x", JobRecordError::TrailingBytes},
        {"second operation cut", I32Bytes(0) + I32Bytes(2) + good + good.substr(0, 20), JobRecordError::Truncated},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CMillingJob* job = NewJob();
        EXPECT_EQ(job->Load(static_cast<uint32_t>(row.bytes.size()),
                            reinterpret_cast<const BYTE*>(row.bytes.data())),
                  E_FAIL);
        EXPECT_EQ(job->LoadError().code, row.error) << job->LoadError().Message();
        EXPECT_EQ(job->GetOperationCount(), 0);
        EXPECT_EQ(job->GetActiveOperation(), -1);
        std::vector<DialogRequest> told;
        SetDialogAnswerHook([&](const DialogRequest& request) -> std::optional<DialogAnswer> {
            told.push_back(request);
            return DialogAnswer{};
        });
        job->SetHostDocument(nullptr);
        job->SetHostDocument(nullptr);
        SetDialogAnswerHook(nullptr);
        ASSERT_EQ(told.size(), 1u) << "told once";
        EXPECT_NE(told[0].text.find(JobRecordErrorText(row.error)), std::string::npos) << told[0].text;
    }
}

// A drawing whose job record is damaged opens with everything else and
// without the job.
TEST_F(MillingJobTest, ADrawingWithADamagedJobOpensWithoutIt)
{
    TwoOperationJob();
    const std::string path = m_folder.Path() + "/part.nvx";
    ASSERT_TRUE(m_document->OnSaveDocument(path.c_str()));
    std::string file = ReadText(path);
    // The job's feature type word of its first feature: after the job's
    // 8 bytes and the first operation's name, flags, origin, machine name
    // and feature count.
    const std::string marker = Name("Operation 1");
    const size_t at = file.find(marker);
    ASSERT_NE(at, std::string::npos);
    const size_t typeAt = at + marker.size() + 16 + 4 + std::strlen("Power Control CNC") + 4;
    const int32_t bad = 7;
    std::memcpy(&file[typeAt], &bad, 4);
    WriteFileBytes(path, file);

    std::vector<DialogRequest> told;
    SetDialogAnswerHook([&](const DialogRequest& request) -> std::optional<DialogAnswer> {
        told.push_back(request);
        return DialogAnswer{};
    });
    auto reopened = NewDocument();
    const BOOL opened = reopened->OnOpenDocument(path.c_str());
    SetDialogAnswerHook(nullptr);
    ASSERT_TRUE(opened);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].text.find("unknown type"), std::string::npos) << told[0].text;
    CMillingJob* read = FindMillingJob(reopened->GetHostDocument());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetOperationCount(), 0);
}

TEST_F(MillingJobTest, CloneMakesARealCopy)
{
    CMillingJob* job = TwoOperationJob();
    IObjectBase* made = nullptr;
    ASSERT_EQ(job->Clone(&made), S_OK);
    ASSERT_NE(made, nullptr);
    // A clone comes with count 0; held here, it goes with the test.
    const ComPtr<IObjectBase> copy = ComPtr<IObjectBase>::Share(made);
    CMillingJob* clone = CMillingJob::FromInterface(copy.Get());
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, job);
    EXPECT_EQ(Record(*clone), Record(*job));
    EXPECT_EQ(clone->GetOperation(0)->m_postprocessor, job->GetOperation(0)->m_postprocessor);
    // The copy is its own: changing it leaves the original as it was.
    clone->DeleteOperation(0);
    EXPECT_EQ(job->GetOperationCount(), 2);

    IObjectBase* emptyMade = nullptr;
    CMillingJob* empty = NewJob();
    ASSERT_EQ(empty->Clone(&emptyMade), S_OK);
    const ComPtr<IObjectBase> emptyCopy = ComPtr<IObjectBase>::Share(emptyMade);
    EXPECT_EQ(CMillingJob::FromInterface(emptyCopy.Get())->GetOperationCount(), 0);
}

TEST_F(MillingJobTest, OperationsAreNamedWithTheLeastFreeNumber)
{
    CMillingJob* job = Job();
    for (int i = 0; i < 3; ++i)
        job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    EXPECT_EQ(job->GetOperation(0)->m_name, "Operation 1");
    EXPECT_EQ(job->GetOperation(1)->m_name, "Operation 2");
    EXPECT_EQ(job->GetOperation(2)->m_name, "Operation 3");
    job->DeleteOperation(1);
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    EXPECT_EQ(job->GetOperation(2)->m_name, "Operation 2");
}

TEST_F(MillingJobTest, FeaturesAreNamedPhaseByTheLeastFreeNumber)
{
    CMillingJob* job = Job();
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    CMillingOperation& operation = *job->GetOperation(0);
    operation.AddFeature(std::make_unique<CContourFeature>());
    operation.AddFeature(std::make_unique<CPocketFeature>());
    operation.RemoveFeature(0);
    operation.AddFeature(std::make_unique<CContourFeature>());
    ASSERT_EQ(operation.GetFeatureCount(), 2u);
    EXPECT_EQ(operation.GetFeature(0)->m_name, "Phase 2");
    EXPECT_EQ(operation.GetFeature(1)->m_name, "Phase 1");
    EXPECT_EQ(operation.GetHostDocument(), Host());
}

// Which operation is active after each step, by name.
TEST_F(MillingJobTest, TheActiveOperationStaysTheSameOperation)
{
    struct Step {
        const char* name;
        enum { Delete, Activate } action;
        long index;
        bool answer; // of Activate
        const char* active; // "" for none
    };
    const Step steps[] = {
        {"activate past the end", Step::Activate, 5, false, "Operation 3"},
        {"activate the second", Step::Activate, 1, true, "Operation 2"},
        {"delete one before it", Step::Delete, 0, false, "Operation 2"},
        {"delete one after it", Step::Delete, 1, false, "Operation 2"},
        {"add two, activate the last", Step::Activate, 2, true, "Operation 3"},
        {"delete the active last", Step::Delete, 2, false, "Operation 1"},
        {"delete outside", Step::Delete, 7, false, "Operation 1"},
        {"clear", Step::Activate, -1, true, ""},
    };
    CMillingJob* job = Job();
    for (int i = 0; i < 3; ++i)
        job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (std::string(step.name) == "add two, activate the last") {
            job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), false);
            job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), false);
        }
        if (step.action == Step::Activate)
            EXPECT_EQ(job->SetActiveOperation(step.index), step.answer);
        else
            job->DeleteOperation(step.index);
        const CMillingOperation* active = job->GetOperation(job->GetActiveOperation());
        EXPECT_EQ(active != nullptr ? active->m_name : std::string(), step.active);
    }
}

// Unnumbered programs (what Save NC File writes) hold NC blocks only; the
// pane's numbered program heads each feature with "Phase n".
TEST_F(MillingJobTest, AnUnnumberedProgramHoldsOnlyNcBlocks)
{
    CMillingJob* job = TwoOperationJob();
    job->GetOperation(0)->AddFeature(MakeSquareContour(30, nullptr));
    std::vector<std::string> lines;
    ASSERT_TRUE(job->WriteNcCode(lines, -1, CMillingJob::Phases::Unnumbered).ok);
    ASSERT_FALSE(lines.empty());
    IPostprocessor* postprocessor = m_addin->Postprocessors().at(0);
    INT codes[kNcMaxBlockTokens], kinds[kNcMaxBlockTokens], styles[kNcMaxLineLength];
    VARIANT values[kNcMaxBlockTokens] = {};
    INT count = 0;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_EQ(line.find("Phase"), std::string::npos);
        ASSERT_EQ(postprocessor->ParseBlock(line.c_str(), &count, codes, kinds, values, styles), S_OK);
        for (INT t = 0; t < count; ++t)
            EXPECT_NE(kinds[t], kNcKindText) << "token " << t;
    }
    postprocessor->ParseBlock("", &count, codes, kinds, values, styles);

    ASSERT_TRUE(job->WriteNcCode(lines, 0, CMillingJob::Phases::Numbered).ok);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Phase 1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Phase 2"), 1);
    EXPECT_EQ(lines.front(), "Phase 1");
}

TEST_F(MillingJobTest, WriteNcCodeOfNoOperationIsEmptyAndWithoutAMachineFails)
{
    CMillingJob* job = TwoOperationJob();
    std::vector<std::string> lines = {"stale"};
    EXPECT_TRUE(job->WriteNcCode(lines, 5, CMillingJob::Phases::Unnumbered).ok);
    EXPECT_TRUE(lines.empty());
    const NcProgramResult noMachine = job->WriteNcCode(lines, 1, CMillingJob::Phases::Unnumbered);
    EXPECT_FALSE(noMachine.ok);
    EXPECT_NE(noMachine.message.find("Phase 1"), std::string::npos) << noMachine.message;
}

// A machine store in which no machine is current writes with the default
// machine's switches instead of reading past the list.
TEST_F(MillingJobTest, AMachineStoreWithoutACurrentMachineWritesWithTheDefault)
{
    CMillingJob* job = TwoOperationJob();
    WriteProgramFile("Toolstore/poststore.dat", "1\nPower Control CNC\n1 1\n0\n1\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(job->WriteNcCode(lines, 0, CMillingJob::Phases::Unnumbered).ok);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0][0], 'N') << "the default machine writes no line numbers: " << lines[0];
    WriteProgramFile("Toolstore/poststore.dat", "1\nPower Control CNC\n1 1\n1\n1\n");
    ASSERT_TRUE(job->WriteNcCode(lines, 0, CMillingJob::Phases::Unnumbered).ok);
    EXPECT_EQ(lines[0][0], 'N') << lines[0];
}

TEST_F(MillingJobTest, TheNcCodePaneShowsAtMostItsLimit)
{
    CMillingJob* job = Job();
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    EXPECT_EQ(job->NcCodePaneLines(), std::vector<std::string>{"Operation 1"});
    // One feature of many short moves: more blocks than the pane shows.
    auto feature = std::make_unique<CContourFeature>();
    CMovePoint at{0, 0, 0};
    for (int i = 0; i < 11000; ++i) {
        CMove move;
        move.flag = kMoveFeedLine;
        move.start = at;
        at.x = (i % 2 == 0) ? 10.0 : 0.0;
        at.y += 0.5;
        move.end = at;
        ASSERT_TRUE(feature->AppendMove(move, nullptr).ok());
    }
    job->GetOperation(0)->AddFeature(std::move(feature));
    const std::vector<std::string> pane = job->NcCodePaneLines();
    ASSERT_EQ(pane.size(), 1 + kMaxNcPaneLines + 1);
    EXPECT_EQ(pane.front(), "Operation 1");
    EXPECT_EQ(pane[1], "Phase 1");
    EXPECT_EQ(pane.back(), "Not Enough Memory...");
}

TEST_F(MillingJobTest, TheJobDrawsTheActiveOperationsOriginMarker)
{
    CMillingJob* job = Job();
    EXPECT_EQ(job->Draw(nullptr), S_OK);
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    EXPECT_EQ(job->Draw(nullptr), S_OK);
}

} // namespace

namespace {

class JobPaneTest : public StrimoTest {};

// With the Features tree known, operations and features get their items:
// "name <machine>" under the root, the active operation bold, features
// under their operation; deleting takes the items away.
TEST_F(JobPaneTest, TheTreeFollowsTheOperationsAndFeatures)
{
    FakeTree tree;
    HTREEITEM root = nullptr;
    tree.InsertItem("Milling 2.5D", nullptr, nullptr, &root);
    CMillingJob* job = FindMillingJob(m_document->GetHostDocument());
    job->SetFeaturesTree(&tree, root);
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    job->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), false);
    EXPECT_EQ(tree.Children(root),
              (std::vector<std::string>{"Operation 1 <Power Control CNC>", "Operation 2 <NO MACHINE>"}));
    EXPECT_TRUE(tree.At(root).expanded);
    HTREEITEM first = job->GetOperation(0)->m_treeItem;
    HTREEITEM second = job->GetOperation(1)->m_treeItem;
    EXPECT_TRUE(tree.At(first).bold);
    EXPECT_FALSE(tree.At(second).bold);

    job->GetOperation(0)->AddFeature(std::make_unique<CContourFeature>());
    job->GetOperation(0)->AddFeature(std::make_unique<CPocketFeature>());
    EXPECT_EQ(tree.Children(first), (std::vector<std::string>{"Phase 1", "Phase 2"}));
    EXPECT_TRUE(tree.At(first).expanded);
    struct Lookup {
        HTREEITEM item;
        bool found;
        long operation, feature;
    };
    const Lookup lookups[] = {
        {root, true, -1, -1},
        {first, true, 0, -1},
        {second, true, 1, -1},
        {job->GetOperation(0)->FeatureTreeItem(job->GetOperation(0)->GetFeature(1)), true, 0, 1},
        {reinterpret_cast<HTREEITEM>(999), false, -1, -1},
    };
    for (const Lookup& lookup : lookups) {
        long operation = 7, feature = 7;
        EXPECT_EQ(job->FindTreeItem(lookup.item, &operation, &feature), lookup.found);
        EXPECT_EQ(operation, lookup.operation);
        EXPECT_EQ(feature, lookup.feature);
    }
    job->GetOperation(0)->RemoveFeature(0);
    EXPECT_EQ(tree.Children(first), std::vector<std::string>{"Phase 2"});

    EXPECT_TRUE(job->SetActiveOperation(1));
    EXPECT_FALSE(tree.At(first).bold);
    EXPECT_TRUE(tree.At(second).bold);
    job->DeleteOperation(0);
    EXPECT_EQ(tree.Children(root), std::vector<std::string>{"Operation 2 <NO MACHINE>"});
    EXPECT_TRUE(tree.At(second).bold) << "the same operation stays active and bold";
}

// The NC code pane is refilled when the active operation changes: red,
// protected text, "Operation n" and the numbered program.
TEST_F(JobPaneTest, TheNcCodePaneShowsTheActiveOperationsProgram)
{
    FakeRichEdit pane;
    pane.rows = {"stale"};
    CMillingJob* job = FindMillingJob(m_document->GetHostDocument());
    job->SetNcCodeControl(&pane);
    auto operation = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false);
    operation->AddFeature(MakeSquareContour(20, nullptr));
    job->AddOperation(std::move(operation), true);
    ASSERT_GE(pane.rows.size(), 3u);
    EXPECT_EQ(pane.rows[0], "Operation 1");
    EXPECT_EQ(pane.rows[1], "Phase 1");
    EXPECT_EQ(pane.format.crTextColor, 0x0000FFu);
    EXPECT_EQ(pane.format.dwMask, 0x40000011u);
    EXPECT_EQ(pane.format.dwEffects, 0x10u);
    job->SetActiveOperation(-1);
    EXPECT_EQ(pane.rows, std::vector<std::string>{"Operation 0"});
}

} // namespace
