// Help requests: the page a request names, and the recorder that takes the
// place of the browser in tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "platform/kernel/help.h"
#include "platform/kernel/process.h"
#include "platform/kernel/tests/kernel_test_support.h"

TEST(Help, RequestsNameThePageInTheLanguageFolder)
{
    TempFolder program;
    program.Write("help/EN/khtml/operation.htm", "<html/>");
    program.Write("help/EN/html/home.htm", "<html/>");
    program.Write("help/html/spline.htm", "<html/>");
    char old[4096];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(::chdir(program.Path().c_str()), 0);

    std::vector<HelpRequest> recorded;
    {
        ScopedHelpRecorder recorder([&](const HelpRequest& request) { recorded.push_back(request); });
        for (const char* request : {"help\\EN\\nuvex.chm::/khtml/operation.htm", "help\\en\\nuvex.chm::/html/home.htm",
                                    "help\\nuvex.chm::/html/spline.htm", "help\\DE\\nuvex.chm::/khtml/operation.htm"}) {
            EXPECT_EQ(HtmlHelpA(nullptr, request, HH_DISPLAY_TOPIC, 0), nullptr);
        }
        EXPECT_EQ(HtmlHelpA(nullptr, "help\\EN\\nuvex.chm::/html/home.htm", 0x000F, 0), nullptr);
        EXPECT_EQ(HtmlHelpA(nullptr, nullptr, HH_DISPLAY_TOPIC, 0), nullptr);
    }
    ASSERT_EQ(::chdir(old), 0);

    struct Expected {
        std::string page;
        bool exists;
    };
    const std::string root = std::filesystem::canonical(program.Path()).string();
    const Expected kExpected[] = {
        {root + "/help/EN/khtml/operation.htm", true},
        {root + "/help/EN/html/home.htm", true},
        {root + "/help/html/spline.htm", true},
        {root + "/help/DE/khtml/operation.htm", false},
    };
    ASSERT_EQ(recorded.size(), std::size(kExpected)) << "only display requests with a name are recorded";
    for (size_t i = 0; i < recorded.size(); ++i) {
        SCOPED_TRACE(recorded[i].requested);
        EXPECT_EQ(recorded[i].page, kExpected[i].page);
        EXPECT_EQ(recorded[i].pageExists, kExpected[i].exists);
        EXPECT_EQ(recorded[i].command, HH_DISPLAY_TOPIC);
    }
}

TEST(Help, OpensExistingPagesWithTheDesktopBrowser)
{
    TempFolder program;
    program.Write("help/EN/khtml/toolstore.htm", "<html/>");
    std::vector<std::vector<std::string>> started;
    ScopedProgramStarter starter([&](const std::string& program, const std::vector<std::string>& arguments) {
        std::vector<std::string> call{program};
        call.insert(call.end(), arguments.begin(), arguments.end());
        started.push_back(call);
        return true;
    });
    const std::string root = std::filesystem::canonical(program.Path()).string();
    HtmlHelpA(nullptr, (root + "\\help\\EN\\nuvex.chm::/khtml/toolstore.htm").c_str(), HH_DISPLAY_TOPIC, 0);
    HtmlHelpA(nullptr, (root + "\\help\\EN\\nuvex.chm::/khtml/missing.htm").c_str(), HH_DISPLAY_TOPIC, 0);
    ASSERT_EQ(started.size(), 1u) << "a missing page is not opened";
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", root + "/help/EN/khtml/toolstore.htm"}));
}
