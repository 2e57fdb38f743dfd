// Tests of the bounded little-endian reader and writer.
#include "objectmodel/byte_io.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteReader, ReadsLittleEndianFieldsInOrder)
{
    const BYTE block[] = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
    ByteReader reader(block, sizeof block);
    uint32_t u32 = 0;
    int16_t i16 = 0;
    uint8_t u8 = 0;
    double f64 = 0;
    ASSERT_TRUE(reader.ReadU32(u32));
    ASSERT_TRUE(reader.ReadI16(i16));
    ASSERT_TRUE(reader.ReadU8(u8));
    ASSERT_TRUE(reader.ReadF64(f64));
    EXPECT_EQ(u32, 0x04030201u);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u8, 0x10);
    EXPECT_DOUBLE_EQ(f64, 1.0);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteReader, FailureAtTheEndIsStickyAndReadsNothing)
{
    const BYTE block[] = {1, 2, 3, 4, 5};
    ByteReader reader(block, sizeof block);
    uint32_t value = 0;
    ASSERT_TRUE(reader.ReadU32(value));
    EXPECT_FALSE(reader.ReadU32(value));
    EXPECT_EQ(value, 0x04030201u);
    uint8_t last = 0;
    EXPECT_FALSE(reader.ReadU8(last));  // would fit, but the reader has failed
    EXPECT_FALSE(reader.Ok());
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteReader, LengthsLargerThanTheBlockDoNotWrap)
{
    const BYTE block[] = {1, 2, 3};
    ByteReader reader(block, sizeof block);
    uint8_t first = 0;
    ASSERT_TRUE(reader.ReadU8(first));
    std::string text;
    EXPECT_FALSE(reader.ReadString(SIZE_MAX, text));
    EXPECT_EQ(reader.ReadBytes(SIZE_MAX - 1), nullptr);
    EXPECT_TRUE(text.empty());
}

TEST(ByteReader, EmptyAndNullBlocks)
{
    ByteReader empty(nullptr, 0);
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_NE(empty.ReadBytes(0), nullptr);
    EXPECT_TRUE(empty.AtEnd());
    ByteReader claimed(nullptr, 4);
    EXPECT_FALSE(claimed.Ok());
    uint8_t value = 0;
    EXPECT_FALSE(claimed.ReadU8(value));
}

TEST(ByteWriter, WritesLittleEndianAndStopsAtItsCapacity)
{
    BYTE buffer[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    ByteWriter writer(buffer, 6);
    EXPECT_TRUE(writer.WriteI32(-2));
    EXPECT_TRUE(writer.WriteU16(0x1234));
    EXPECT_TRUE(writer.Full());
    EXPECT_FALSE(writer.WriteU8(0x55));
    EXPECT_FALSE(writer.Ok());
    const BYTE expected[8] = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0xAA, 0xAA};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof buffer));
}

TEST(ByteWriter, GuidIsWrittenFieldByField)
{
    const GUID guid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    BYTE buffer[16] = {};
    ByteWriter writer(buffer, sizeof buffer);
    ASSERT_TRUE(writer.WriteGuid(guid));
    const BYTE expected[16] = {4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof buffer));
    ByteReader reader(buffer, sizeof buffer);
    GUID back = GUID_NULL;
    ASSERT_TRUE(reader.ReadGuid(back));
    EXPECT_EQ(back, guid);
}

} // namespace
