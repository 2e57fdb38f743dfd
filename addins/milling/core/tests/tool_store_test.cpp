// CToolList: the tool store file, its round trips, hostile files and
// failed writes; the shipped stores load whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/core/tool_store.h"

namespace {

CToolRecord Tool(const std::string& name, int type, double diameter)
{
    CToolRecord tool;
    tool.name = name;
    tool.toolType = type;
    tool.diameter = diameter;
    tool.length = 50;
    tool.cutLength = 20;
    tool.cornerRadius = 0.5;
    tool.angle = 118;
    tool.spindleSpeed = 12000;
    tool.plungeSpeed = 150;
    tool.feedSpeed = 600;
    tool.radialStep = 45;
    tool.verticalStep = 2;
    return tool;
}

TEST(ToolStore, FileHoldsNameLineThenTypeAndTenNumbersInFileOrder)
{
    CToolList list;
    list.Tools().push_back(Tool("Flat 6", 1, 6));
    std::string text;
    ASSERT_EQ(list.Format(text), ToolStoreStatus::Ok);
    EXPECT_EQ(text, "1\nFlat 6\n1 6.000000 50.000000 20.000000 0.500000 118.000000 12000.000000 150.000000 "
                    "600.000000 45.000000 2.000000\n");
    CToolList empty;
    ASSERT_EQ(empty.Format(text), ToolStoreStatus::Ok);
    EXPECT_EQ(text, "0\n");
}

TEST(ToolStore, ToolsRoundTripThroughTheFile)
{
    TempFolder folder;
    CToolList list;
    list.Tools().push_back(Tool("  leading blanks and  inner ones", 1, 3));
    list.Tools().push_back(Tool("Drill 5", 2, 5));
    list.Tools().push_back(Tool("Odd type", 3, 8));
    list.Tools().push_back(Tool(std::string(1023, 'x'), 1, 1));
    const std::string path = folder.File("toolstore.dat");
    ASSERT_EQ(list.Save(path), ToolStoreStatus::Ok);
    CToolList read;
    ASSERT_EQ(read.ReadToolStore(path.c_str()), 1);
    ASSERT_EQ(read.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        const CToolRecord& a = list[i];
        const CToolRecord& b = read[i];
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.toolType, a.toolType);
        const double CToolRecord::* slots[] = {&CToolRecord::verticalStep, &CToolRecord::radialStep,
                                               &CToolRecord::spindleSpeed, &CToolRecord::plungeSpeed,
                                               &CToolRecord::feedSpeed,    &CToolRecord::angle,
                                               &CToolRecord::cornerRadius, &CToolRecord::cutLength,
                                               &CToolRecord::length,       &CToolRecord::diameter};
        for (auto slot : slots)
            EXPECT_DOUBLE_EQ(b.*slot, a.*slot);
    }
    EXPECT_EQ(read.FindByName("Drill 5"), 1);
    EXPECT_EQ(read.FindByName("drill 5"), -1);
    EXPECT_EQ(read.FindByName("leading blanks and  inner ones"), -1);
}

// A file that does not match the format loads nothing and says why and
// where.
TEST(ToolStore, AHostileFileLoadsNothingAndSaysWhy)
{
    const std::string values = "1 6 50 20 0 0 12000 150 600 45 2\n";
    struct Row {
        const char* name;
        std::string text;
        ToolStoreStatus status;
        int line;
    };
    const Row rows[] = {
        {"empty file", "", ToolStoreStatus::BadCount, 1},
        {"count not a number", "many\n", ToolStoreStatus::BadCount, 1},
        {"negative count", "-1\n", ToolStoreStatus::BadCount, 1},
        {"count too large", "999999999999\n", ToolStoreStatus::BadCount, 1},
        {"count beyond the tools", "3\nA\n" + values, ToolStoreStatus::Truncated, 4},
        {"name without values", "1\nA\n", ToolStoreStatus::Truncated, 3},
        {"empty name", "1\n\n" + values, ToolStoreStatus::EmptyName, 2},
        {"name too long", "1\n" + std::string(1024, 'n') + "\n" + values, ToolStoreStatus::NameTooLong, 2},
        {"too few values", "1\nA\n1 6 50 20\n", ToolStoreStatus::BadValues, 3},
        {"too many values", "1\nA\n1 6 50 20 0 0 12000 150 600 45 2 9\n", ToolStoreStatus::BadValues, 3},
        {"value not a number", "1\nA\n1 6 50 20 0 0 fast 150 600 45 2\n", ToolStoreStatus::BadValues, 3},
        {"value not finite", "1\nA\n1 6 50 20 0 0 nan 150 600 45 2\n", ToolStoreStatus::BadValues, 3},
        {"type not an integer", "1\nA\n1.5 6 50 20 0 0 1 150 600 45 2\n", ToolStoreStatus::BadValues, 3},
        {"good tool before a bad one", "2\nA\n" + values + "B\n1 2\n", ToolStoreStatus::BadValues, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CToolList list;
        list.Tools().push_back(Tool("stale", 1, 1));
        const ToolStoreReadResult result = list.Parse(row.text);
        EXPECT_EQ(result.status, row.status) << ToolStoreStatusText(result.status);
        EXPECT_EQ(result.line, row.line);
        EXPECT_TRUE(list.empty());
    }
}

TEST(ToolStore, LineEndsOfOtherSystemsAndAMissingLastLineEndRead)
{
    CToolList list;
    EXPECT_EQ(list.Parse("1\r\nA\r\n1 6 50 20 0 0 12000 150 600 45 2").status, ToolStoreStatus::Ok);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "A");
}

TEST(ToolStore, AMissingFileGivesAnEmptyList)
{
    TempFolder folder;
    CToolList list;
    list.Tools().push_back(Tool("stale", 1, 1));
    EXPECT_EQ(list.ReadToolStore(folder.File("none.dat").c_str()), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.Read(folder.File("none.dat")).status, ToolStoreStatus::CannotOpen);
}

// A name the format cannot hold is refused before anything is written, and
// a write that cannot finish leaves the old file as it was.
TEST(ToolStore, AFailedWriteKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.File("toolstore.dat");
    WriteFileBytes(path, "0\n");
    struct Row {
        const char* name;
        std::string toolName;
        ToolStoreStatus status;
    };
    const Row rows[] = {
        {"line break in a name", "two\nlines", ToolStoreStatus::UnsavableName},
        {"carriage return in a name", "two\rlines", ToolStoreStatus::UnsavableName},
        {"empty name", "", ToolStoreStatus::UnsavableName},
        {"name too long", std::string(1024, 'n'), ToolStoreStatus::UnsavableName},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CToolList list;
        list.Tools().push_back(Tool(row.toolName, 1, 1));
        EXPECT_EQ(list.Save(path), row.status);
        EXPECT_EQ(list.Write(path.c_str()), 0);
        EXPECT_EQ(ReadFileBytes(path), "0\n");
    }
    CToolList good;
    good.Tools().push_back(Tool("A", 1, 1));
    EXPECT_EQ(good.Save(folder.File("no such folder/toolstore.dat")), ToolStoreStatus::CannotWrite);
    // The target is a folder: the rename fails and the temporary goes.
    std::filesystem::create_directory(folder.File("taken"));
    EXPECT_EQ(good.Save(folder.File("taken")), ToolStoreStatus::CannotWrite);
    EXPECT_FALSE(std::filesystem::exists(folder.File("taken.new")));
}

TEST(ToolStore, TheShippedStoresLoadWhole)
{
    CToolList tools;
    ASSERT_EQ(tools.Read(SourcePath("resources/Toolstore/toolstore.dat")).status, ToolStoreStatus::Ok);
    EXPECT_GE(tools.size(), 3u);
    size_t mills = 0;
    for (const CToolRecord& tool : tools.Tools()) {
        SCOPED_TRACE(tool.name);
        mills += tool.toolType == kToolTypeMill ? 1 : 0;
        EXPECT_GT(tool.diameter, 0.0);
        EXPECT_LE(2 * tool.cornerRadius - 1e-9, tool.diameter);
        EXPECT_LT(tool.cornerRadius, tool.cutLength);
        EXPECT_LE(tool.cutLength, tool.length);
        EXPECT_GT(tool.spindleSpeed, 0.0);
        EXPECT_GT(tool.feedSpeed, 0.0);
        EXPECT_GT(tool.plungeSpeed, 0.0);
        EXPECT_GT(tool.verticalStep, 0.0);
        EXPECT_GT(tool.radialStep, 0.0);
    }
    EXPECT_GE(mills, 3u);
    std::string text;
    ASSERT_EQ(tools.Format(text), ToolStoreStatus::Ok);
    EXPECT_EQ(text, ReadFileBytes(SourcePath("resources/Toolstore/toolstore.dat"))) << "written as it is shipped";

    CPostprocessorList machines;
    ASSERT_EQ(machines.Read(SourcePath("resources/Toolstore/poststore.dat").c_str()), MachineStoreStatus::Ok);
    ASSERT_EQ(machines.GetCount(), 2);
    EXPECT_EQ(machines[0].name, "Power Control CNC");
    EXPECT_EQ(machines[1].name, "Siemens 3Axis Milling");
    EXPECT_EQ(machines.GetCurrent(), 0);
    TempFolder folder;
    ASSERT_EQ(machines.Write(folder.File("poststore.dat").c_str()), MachineStoreStatus::Ok);
    EXPECT_EQ(ReadFileBytes(folder.File("poststore.dat")),
              ReadFileBytes(SourcePath("resources/Toolstore/poststore.dat")));
}

} // namespace
