// The tick counter's seam and starting programs without waiting.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/kernel/process.h"
#include "platform/kernel/tickcount.h"
#include "platform/kernel/tests/kernel_test_support.h"

TEST(TickCount, ScriptedSourcesNestAndUnwind)
{
    DWORD script = 0xFFFFFFF0u;
    {
        ScopedTickSource outer([&] { return script; });
        EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
        script += 0x20; // the counter wraps like the 32-bit one
        EXPECT_EQ(GetTickCount(), 0x10u);
        {
            ScopedTickSource inner([] { return DWORD{7}; });
            EXPECT_EQ(GetTickCount(), 7u);
        }
        EXPECT_EQ(GetTickCount(), 0x10u);
    }
    // Back on the clock: it does not run backwards.
    const DWORD first = GetTickCount();
    const DWORD second = GetTickCount();
    EXPECT_LE(static_cast<DWORD>(second - first), 1000u);
}

TEST(StartProgram, RecorderTakesTheRequest)
{
    std::vector<std::string> seen;
    ScopedProgramStarter starter([&](const std::string& program, const std::vector<std::string>& arguments) {
        seen.push_back(program);
        seen.insert(seen.end(), arguments.begin(), arguments.end());
        return true;
    });
    EXPECT_TRUE(StartProgram("C:\\Vornak\\KVL.exe", {"WORK"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\Vornak\\KVL.exe", "WORK"}));
}

TEST(StartProgram, StartsWithoutWaiting)
{
    TempFolder folder;
    const std::string script = folder / "driver.sh";
    folder.Write("driver.sh", "#!/bin/sh\nsleep 1\ncd \"$(dirname \"$0\")\"\necho \"$1\" > part\nmv part done\n");
    // The shell runs the script, so that a temporary folder mounted without
    // execution rights does not matter; its path is given in the system's form.
    ASSERT_TRUE(StartProgram("\\bin\\sh", {script, "WORK"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "done")) << "the caller must not wait for the program";
    // The program's own work takes a moment; wait for it, bounded.
    for (int i = 0; i < 200 && !std::filesystem::exists(folder / "done"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::ifstream done(folder / "done");
    std::string word;
    done >> word;
    EXPECT_EQ(word, "WORK");

    EXPECT_FALSE(StartProgram(folder / "missing", {}));
    EXPECT_FALSE(StartProgram("", {}));
}
