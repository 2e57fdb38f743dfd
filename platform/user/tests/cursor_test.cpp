// Loading cursors: the system cursors by their standard ids and a module's
// cursors by resource id, and what a display back-end learns of a handle.
#include "platform/kernel/module.h"
#include "platform/kernel/resource.h"
#include "platform/user/display_backend.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using Cursors = WindowTest;

TEST_F(Cursors, SystemAndModuleCursors)
{
    HMODULE self = GetModuleHandleA(nullptr);
    struct Case {
        const char* name;
        HINSTANCE instance;
        LPCSTR id;
        bool exists;
    };
    const Case cases[] = {
        {"arrow", nullptr, IDC_ARROW, true},
        {"wait", nullptr, IDC_WAIT, true},
        {"hand", nullptr, IDC_HAND, true},
        {"not a system cursor", nullptr, MAKEINTRESOURCEA(146), false},
        {"module cursor", self, MAKEINTRESOURCEA(146), true},
        {"module without that cursor", self, MAKEINTRESOURCEA(147), false},
        {"a name instead of an id", nullptr, "arrow", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HCURSOR cursor = LoadCursorA(c.instance, c.id);
        EXPECT_EQ(cursor != nullptr, c.exists);
        if (cursor == nullptr) {
            continue;
        }
        EXPECT_EQ(LoadCursorA(c.instance, c.id), cursor) << "cursors are shared handles";
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(1);
        WORD id = 0;
        ASSERT_TRUE(GetCursorSource(cursor, &instance, &id));
        EXPECT_EQ(instance, c.instance);
        EXPECT_EQ(id, static_cast<WORD>(reinterpret_cast<uintptr_t>(c.id)));
    }
    EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(LoadCursorA(self, MAKEINTRESOURCEA(146)), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_FALSE(GetCursorSource(reinterpret_cast<HCURSOR>(0x1234), nullptr, nullptr));
}

} // namespace
} // namespace nuvex::user::testing
