// Widths and layouts of the platform's base types.
#include <gtest/gtest.h>

#include "platform/base/hresult.h"
#include "platform/base/types.h"

TEST(BaseTypes, ScalarWidthsFollowThe32BitPlatform)
{
    EXPECT_EQ(sizeof(LONG), 4u);
    EXPECT_TRUE(static_cast<LONG>(-1) < 0);
    EXPECT_EQ(sizeof(LPARAM), sizeof(void*));
    EXPECT_EQ(sizeof(HMENU), sizeof(void*));
}

TEST(BaseTypes, WordAndColourHelpers)
{
    EXPECT_EQ(LOWORD(0x12345678u), 0x5678);
    EXPECT_EQ(HIWORD(0x12345678u), 0x1234);
    EXPECT_EQ(MAKELONG(0x5678, 0x1234), 0x12345678u);
    EXPECT_EQ(RGB(0x11, 0x22, 0x33), 0x00332211u);
    EXPECT_EQ(GetBValue(RGB(0x11, 0x22, 0x33)), 0x33);
}

TEST(BaseTypes, ResultCodesKeepTheirNumbers)
{
    struct Case {
        HRESULT code;
        uint32_t bits;
        bool failed;
    };
    const Case kCases[] = {
        {S_OK, 0u, false},
        {S_FALSE, 1u, false},
        {E_NOTIMPL, 0x80004001u, true},
        {E_NOINTERFACE, 0x80004002u, true},
        {E_FAIL, 0x80004005u, true},
        {E_OUTOFMEMORY, 0x8007000Eu, true},
        {CLASS_E_NOAGGREGATION, 0x80040110u, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.bits);
        EXPECT_EQ(static_cast<uint32_t>(c.code), c.bits);
        EXPECT_EQ(FAILED(c.code), c.failed);
        EXPECT_EQ(SUCCEEDED(c.code), !c.failed);
    }
}
