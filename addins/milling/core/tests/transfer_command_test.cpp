// CTransferCommand: the panel lists every phase of the job in order, OK
// with the first phase preselected transfers that phase (its NC blocks in
// the file the settings name, the driver started with "WORK"), the
// settings file's second line, the failures, cancel and help.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/core/transfer_command.h"
#include "platform/kernel/help.h"
#include "platform/user/commdlg.h"

namespace {

using Lines = std::vector<std::string>;

Lines ReadLines(const std::string& path)
{
    Lines lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class TransferCommandTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        m_panelDocument = std::make_unique<PanelDocument>(Host());
    }
    void TearDown() override
    {
        if (m_command != nullptr)
            m_command->Release();
        m_panelDocument.reset();
        StrimoTest::TearDown();
    }
    IHostDocument* Host() { return m_document->GetHostDocument(); }
    CTransferCommand& Command() { return *static_cast<CTransferCommand*>(m_command); }

    // Two operations of two phases each.
    CMillingJob* FourPhases()
    {
        CMillingJob* job = FindMillingJob(Host());
        for (const char* name : {"Roughing", "Finishing"}) {
            auto operation =
                std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), name, CMovePoint{}, false);
            operation->AddFeature(MakeSquareContour(20, nullptr));
            operation->AddFeature(MakeSquarePocket(30, 8, nullptr));
            job->AddOperation(std::move(operation), true);
        }
        job->GetOperation(1)->GetFeature(0)->m_name = "Outline";
        return job;
    }

    void Make()
    {
        IAddinCommand* command = nullptr;
        ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_TransferCommand,
                                                           reinterpret_cast<void**>(&command)),
                  S_OK);
        m_command = command;
        ASSERT_EQ(m_command->Create(m_panelDocument.get(), 0, 0), S_OK);
        LONG result = 0x10000000;
        ASSERT_EQ(m_command->OnEvent(kEventStart, nullptr, 1, 0, &result), S_OK);
        EXPECT_EQ(result, 1);
    }
    HRESULT Control(LONG id, unsigned code, LONG* result)
    {
        uint32_t value = static_cast<uint32_t>(id) | (code << 16);
        *result = 0x10000000;
        return m_command->OnEvent(kEventControl, &value, 1, 0, result);
    }
    FakeControl& Find(LONG id)
    {
        FakeControl* control = m_panelDocument->panel.Find(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    // A driver that writes its arguments into "ran.txt" beside itself.
    std::string WriteDriver()
    {
        const std::string driver = ProgramFile("kvl_driver.sh");
        WriteProgramFile("kvl_driver.sh", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/ran.txt\"\n");
        chmod(driver.c_str(), 0755);
        return driver;
    }
    // The driver's record, once it has run (it runs without being waited for).
    Lines DriverRun()
    {
        const std::string record = ProgramFile("ran.txt");
        for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return ReadLines(record);
    }

    std::unique_ptr<PanelDocument> m_panelDocument;
    IAddinCommand* m_command = nullptr;
};

TEST_F(TransferCommandTest, ThePanelListsEveryPhaseInJobOrder)
{
    FourPhases();
    Make();
    FakePanel& panel = m_panelDocument->panel;
    EXPECT_EQ(panel.owner, m_command);
    EXPECT_TRUE(panel.shown);
    EXPECT_EQ(Find(kTransferTitle).text, "Start KVL driver");
    EXPECT_EQ(Find(kTransferGroup).text, "Choose phase for Vornak");
    EXPECT_EQ(Find(kTransferOk).text, "OK");
    EXPECT_EQ(Find(kTransferCancel).text, "Cancel");
    EXPECT_EQ(Find(kTransferHelp).text, "Help");
    EXPECT_EQ(Find(kTransferPhases).items, (Lines{"Phase 1", "Phase 2", "Outline", "Phase 2"}));
    EXPECT_EQ(Find(kTransferPhases).selection, 0);
    EXPECT_EQ(Find(kTransferFolder).text, m_folder.Path());
    ASSERT_EQ(Command().Phases().size(), 4u);
    EXPECT_EQ(Command().ChosenPhase(), Command().Phases()[0]);
}

// OK without touching the list transfers the preselected first phase;
// choosing another phase transfers that one.
TEST_F(TransferCommandTest, OkTransfersTheChosenPhaseAndStartsTheDriver)
{
    CMillingJob* job = FourPhases();
    const std::string driver = WriteDriver();
    WriteProgramFile("KVL.ini", driver + "\n");
    Make();
    LONG result = 0;
    ASSERT_EQ(Control(kTransferOk, kNotifyClick, &result), S_OK);
    EXPECT_EQ(result, 2);
    Lines expected;
    ASSERT_TRUE(job->WriteFeatureNcCode(expected, 0, 0).ok);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadLines(ProgramFile("Transfer.nc")), expected) << "a settings file of one line names Transfer.nc";
    EXPECT_EQ(DriverRun(), Lines{"WORK"});

    std::filesystem::remove(ProgramFile("ran.txt"));
    WriteProgramFile("KVL.ini", driver + "\r\nphase.nc\r\n");
    Find(kTransferPhases).selection = 2;
    ASSERT_EQ(Control(kTransferPhases, kNotifySelectionChange, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Command().ChosenPhase(), job->GetOperation(1)->GetFeature(0));
    ASSERT_EQ(Control(kTransferOk, kNotifyClick, &result), S_OK);
    EXPECT_EQ(result, 2);
    ASSERT_TRUE(job->WriteFeatureNcCode(expected, 1, 0).ok);
    EXPECT_EQ(ReadLines(ProgramFile("phase.nc")), expected);
    EXPECT_EQ(DriverRun(), Lines{"WORK"});
}

TEST_F(TransferCommandTest, FailuresAnswerEFailOrWarn)
{
    MessageAnswers answers;
    FourPhases();
    Make();
    LONG result = 0;
    // No settings file in the folder.
    EXPECT_EQ(Control(kTransferOk, kNotifyClick, &result), E_FAIL);
    // An NC file that cannot be written (its folder is missing).
    WriteProgramFile("KVL.ini", WriteDriver() + "\nmissing/deeper/out.nc\n");
    EXPECT_EQ(Control(kTransferOk, kNotifyClick, &result), E_FAIL);
    EXPECT_FALSE(std::filesystem::exists(ProgramFile("ran.txt")));
    // A driver that cannot be started: the file is written and the person
    // told.
    WriteProgramFile("KVL.ini", ProgramFile("no_such_driver") + "\nout.nc\n");
    EXPECT_EQ(Control(kTransferOk, kNotifyClick, &result), S_OK);
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(std::filesystem::exists(ProgramFile("out.nc")));
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_NE(answers.messages[0].find("could not be started"), std::string::npos);
    // Another folder typed into the panel is where the settings are read.
    Find(kTransferFolder).text = ProgramFile("Toolstore");
    EXPECT_EQ(Control(kTransferOk, kNotifyClick, &result), E_FAIL);
}

TEST_F(TransferCommandTest, AJobWithoutPhasesWarns)
{
    MessageAnswers answers;
    WriteProgramFile("KVL.ini", WriteDriver() + "\n");
    Make();
    EXPECT_TRUE(Find(kTransferPhases).items.empty());
    EXPECT_EQ(Command().ChosenPhase(), nullptr);
    LONG result = 0;
    // A selection change with an empty list chooses nothing.
    EXPECT_EQ(Control(kTransferPhases, kNotifySelectionChange, &result), S_OK);
    EXPECT_EQ(Control(kTransferOk, kNotifyClick, &result), S_OK);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(answers.messages, Lines{"WARNING!! no current toolpath for Vornak!"});
    EXPECT_FALSE(std::filesystem::exists(ProgramFile("Transfer.nc")));
}

TEST_F(TransferCommandTest, CancelEndsAndHelpOpensTheTopicInTheLanguageFolder)
{
    Make();
    LONG result = 0;
    EXPECT_EQ(Control(kTransferCancel, kNotifyClick, &result), S_OK);
    EXPECT_EQ(result, 4);
    result = 0x10000000;
    EXPECT_EQ(m_command->OnEvent(kEventCancel, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 4);
    Lines requests;
    {
        ScopedHelpRecorder recorder([&](const HelpRequest& request) { requests.push_back(request.requested); });
        EXPECT_EQ(Control(kTransferHelp, kNotifyClick, &result), S_OK);
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(requests, Lines{"help\\EN\\nuvex.chm::/html/spline.htm"});
}

} // namespace
