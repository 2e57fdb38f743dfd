// GUID text and byte forms.
#include <gtest/gtest.h>

#include "platform/base/guid.h"

namespace {
constexpr GUID kSample = {0xf3e15fce, 0xd53c, 0x4e7b, {0xb7, 0xe0, 0x2d, 0xf3, 0xaa, 0x76, 0xc0, 0xde}};
}

TEST(Guid, TextInBothCases)
{
    EXPECT_EQ(GuidToText(kSample), "{F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DE}");
    EXPECT_EQ(GuidToText(kSample, GuidCase::Lower), "{f3e15fce-d53c-4e7b-b7e0-2df3aa76c0de}");
}

TEST(Guid, ParsesEitherCaseAndRoundTrips)
{
    for (const char* text : {"{F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DE}", "{f3e15fce-d53c-4e7b-b7e0-2df3aa76c0de}",
                             "{F3e15Fce-d53C-4E7b-b7E0-2dF3aA76C0dE}"}) {
        SCOPED_TRACE(text);
        const std::optional<GUID> parsed = GuidFromText(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, kSample);
    }
}

TEST(Guid, RejectsMalformedText)
{
    const char* kBad[] = {
        "",
        "F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DE",     // no braces
        "{F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0D}",    // one digit short
        "{F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DEE}",  // one digit long
        "{F3E15FCE+D53C-4E7B-B7E0-2DF3AA76C0DE}",   // wrong separator
        "{G3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DE}",   // not a hex digit
        "{F3E15FCE-D53C-4E7B-B7E0-2DF3AA76C0DE}x",  // trailing text
    };
    for (const char* text : kBad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(GuidFromText(text).has_value());
    }
}

TEST(Guid, BytesAreLittleEndianFieldByField)
{
    uint8_t bytes[16];
    GuidToBytes(kSample, bytes);
    const uint8_t kExpected[16] = {0xce, 0x5f, 0xe1, 0xf3, 0x3c, 0xd5, 0x7b, 0x4e,
                                   0xb7, 0xe0, 0x2d, 0xf3, 0xaa, 0x76, 0xc0, 0xde};
    EXPECT_EQ(0, std::memcmp(bytes, kExpected, 16));
    EXPECT_EQ(GuidFromBytes(bytes), kSample);
}

TEST(Guid, ComparesBytewise)
{
    GUID other = kSample;
    EXPECT_TRUE(IsEqualGUID(other, kSample));
    other.Data4[7] ^= 1;
    EXPECT_NE(other, kSample);
}
