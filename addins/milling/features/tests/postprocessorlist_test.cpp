// Tests of the machine store: golden files written and read byte for byte,
// the current-entry rules, and hostile files that load nothing and say why.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "addins/milling/features/postprocessorlist.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

std::string FixturePath(const std::string& name)
{
    return std::string(NUVEX_TEST_SOURCE_DIR) + "/addins/milling/features/tests/fixtures/" + name;
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

CPostprocessorSettings Machine(const std::string& name, int modal, int separator, int current, int lineNumbers)
{
    CPostprocessorSettings entry;
    entry.name = name;
    entry.modal = modal;
    entry.separator = separator;
    entry.current = current;
    entry.lineNumbers = lineNumbers;
    return entry;
}

void ExpectSame(const CPostprocessorSettings& a, const CPostprocessorSettings& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.modal, b.modal);
    EXPECT_EQ(a.separator, b.separator);
    EXPECT_EQ(a.current, b.current);
    EXPECT_EQ(a.lineNumbers, b.lineNumbers);
}

CPostprocessorList TwoMachines()
{
    CPostprocessorList list;
    list.Entries().push_back(Machine("Power Control CNC", 1, 0, 1, 0));
    list.Entries().push_back(Machine("Siemens 3Axis Milling", 0, 1, 0, 1));
    return list;
}

}  // namespace

TEST(MachineStore, WritesAndReadsTheGoldenFile)
{
    TempFolder folder;
    const std::string path = folder / "poststore.dat";
    ASSERT_EQ(TwoMachines().Save(path.c_str()), 1);
    EXPECT_EQ(ReadText(path), ReadText(FixturePath("poststore_two.dat")));

    CPostprocessorList loaded;
    ASSERT_EQ(loaded.Read(FixturePath("poststore_two.dat").c_str()), MachineStoreStatus::Ok);
    ASSERT_EQ(loaded.GetCount(), 2);
    ExpectSame(loaded[0], TwoMachines()[0]);
    ExpectSame(loaded[1], TwoMachines()[1]);
    EXPECT_EQ(loaded.FindByName("Siemens 3Axis Milling"), 1);
    EXPECT_EQ(loaded.FindByName("siemens 3axis milling"), -1);

    // The same file written on another system, with CR LF line ends and the
    // switches spread over other lines, reads the same.
    folder.Write("crlf.dat", "2\r\nPower Control CNC\r\n1\r\n0 1 0\r\nSiemens 3Axis Milling\r\n0 1\r\n0\r\n1\r\n");
    CPostprocessorList crlf;
    ASSERT_EQ(crlf.Read((folder / "crlf.dat").c_str()), MachineStoreStatus::Ok);
    ASSERT_EQ(crlf.GetCount(), 2);
    ExpectSame(crlf[0], TwoMachines()[0]);
    ExpectSame(crlf[1], TwoMachines()[1]);
}

TEST(MachineStore, NamesRoundTripUpToTheLimit)
{
    const struct {
        const char* name;
        std::string machine;
    } kCases[] = {
        {"blanks_inside_and_around", "  my  mill  "},
        {"empty_name", ""},
        {"longest_name", std::string(kMaxMachineNameLength, 'm')},
        {"carriage_return_inside", "mill\rone"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder / "poststore.dat";
        CPostprocessorList list;
        list.Entries().push_back(Machine(c.machine, 1, 1, 1, 1));
        list.Entries().push_back(Machine("after", 0, 0, 0, 0));
        ASSERT_EQ(list.Save(path.c_str()), 1);
        CPostprocessorList loaded;
        ASSERT_EQ(loaded.Read(path.c_str()), MachineStoreStatus::Ok);
        ASSERT_EQ(loaded.GetCount(), 2);
        ExpectSame(loaded[0], list[0]);
        ExpectSame(loaded[1], list[1]);
        char buffer[kMaxMachineNameLength + 1];
        EXPECT_EQ(loaded[0].GetName(buffer), 1);
        EXPECT_EQ(std::string(buffer), c.machine);
    }
}

// A name line is a C string: a zero byte ends the name; the rest of the
// line is passed over.
TEST(MachineStore, ZeroByteEndsTheName)
{
    TempFolder folder;
    folder.Write("zero.dat", std::string("1\nPower\0 junk\n1 0\n1\n0\n", 22));
    CPostprocessorList list;
    ASSERT_EQ(list.Read((folder / "zero.dat").c_str()), MachineStoreStatus::Ok);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list[0].name, "Power");
    EXPECT_EQ(list[0].current, 1);
    EXPECT_EQ(list.Write((folder / "again.dat").c_str()), MachineStoreStatus::Ok);
}

TEST(MachineStore, RefusesToSaveNamesItCouldNotReadBack)
{
    TempFolder folder;
    const std::string path = folder / "poststore.dat";
    folder.Write("poststore.dat", "kept");
    const std::string kNames[] = {std::string(kMaxMachineNameLength + 1, 'x'), "two\nlines",
                                  std::string("zero\0byte", 9), "carriage return at the end\r"};
    for (const std::string& name : kNames) {
        CPostprocessorList list = TwoMachines();
        list[1].name = name;
        EXPECT_EQ(list.Write(path.c_str()), MachineStoreStatus::UnsavableName);
        EXPECT_EQ(ReadText(path), "kept") << "the old file stays";
    }
    CPostprocessorList list = TwoMachines();
    EXPECT_EQ(list.Write((folder / "missing/poststore.dat").c_str()), MachineStoreStatus::CannotWrite);
}

TEST(MachineStore, CurrentEntryOrDefaultMachine)
{
    struct CurrentCase {
        const char* name;
        std::vector<int> currentFlags;
        int current;
        const char* machine;
    };
    const CurrentCase kCases[] = {
        {"empty_store", {}, 0, ""},
        {"none_current", {0, 0}, 2, ""},
        {"second_current", {0, 1}, 1, "m1"},
        {"two_current_first_wins", {0, 1, 1}, 1, "m1"},
    };
    for (const CurrentCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CPostprocessorList list;
        for (size_t i = 0; i < c.currentFlags.size(); ++i) {
            std::string name = "m";
            name += std::to_string(i);
            list.Entries().push_back(Machine(name, 1, 1, c.currentFlags[i], 1));
        }
        EXPECT_EQ(list.GetCurrent(), c.current);
        const CPostprocessorSettings chosen = list.GetCurrentOrDefault();
        EXPECT_EQ(chosen.name, c.machine);
        const int switches = std::string(c.machine).empty() ? 0 : 1;
        EXPECT_EQ(chosen.modal, switches);
        EXPECT_EQ(chosen.separator, switches);
        EXPECT_EQ(chosen.lineNumbers, switches);
    }

    CPostprocessorList fromFile;
    ASSERT_EQ(fromFile.Load(FixturePath("poststore_empty.dat").c_str()), 1);
    EXPECT_EQ(fromFile.GetCount(), 0);
    EXPECT_EQ(fromFile.GetCurrent(), 0);
    CPostprocessorList missing;
    EXPECT_EQ(missing.Load(FixturePath("no_such_store.dat").c_str()), 0);
    EXPECT_EQ(missing.GetCurrentOrDefault().modal, 0);
}

TEST(MachineStore, HostileFilesSayWhy)
{
    const std::string longName(kMaxMachineNameLength + 1, 'n');
    struct HostileCase {
        const char* name;
        std::string text;
        MachineStoreStatus status;
        int entriesKept;
    };
    const HostileCase kCases[] = {
        {"empty_file", "", MachineStoreStatus::BadCount, 0},
        {"count_not_a_number", "two\nmill\n1 0\n1\n0\n", MachineStoreStatus::BadCount, 0},
        {"negative_count", "-1\nmill\n1 0\n1\n0\n", MachineStoreStatus::BadCount, 0},
        {"count_overflows", "99999999999999999999999\n", MachineStoreStatus::BadCount, 0},
        {"name_line_too_long", "1\n" + longName + "\n1 0\n1\n0\n", MachineStoreStatus::NameTooLong, 0},
        {"long_name_after_a_good_entry", "2\nmill\n1 0\n1\n0\n" + longName + "\n1 0\n1\n0\n",
         MachineStoreStatus::NameTooLong, 1},
        {"switch_not_a_number", "1\nmill\n1 x\n1\n0\n", MachineStoreStatus::BadSwitch, 0},
        {"switch_out_of_range", "1\nmill\n1 4294967296\n1\n0\n", MachineStoreStatus::BadSwitch, 0},
        {"huge_count_few_entries", "1000000000000\nmill\n1 0\n1\n0\n", MachineStoreStatus::Truncated, 1},
        {"ends_inside_an_entry", "1\nmill\n1 0\n", MachineStoreStatus::Truncated, 0},
        {"ends_after_the_count", "3\n", MachineStoreStatus::Truncated, 0},
    };
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.Write("poststore.dat", c.text);
        CPostprocessorList list = TwoMachines();
        EXPECT_EQ(list.Read((folder / "poststore.dat").c_str()), c.status)
            << MachineStoreStatusText(list.Read((folder / "poststore.dat").c_str()));
        EXPECT_EQ(list.GetCount(), c.entriesKept);
        EXPECT_EQ(list.Load((folder / "poststore.dat").c_str()), 1) << "the file was opened";
    }
}

TEST(MachineStore, AssignmentCopiesEveryField)
{
    CPostprocessorSettings target = Machine("old", 0, 0, 0, 0);
    const CPostprocessorSettings source = Machine("new machine", 1, 2, 3, 4);
    target = source;
    ExpectSame(target, source);
    const CPostprocessorSettings copy(source);
    ExpectSame(copy, source);
}
