// VARIANT layout and ownership of what it holds.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/variant.h"
#include "platform/com/unknwn.h"

namespace {

// Counts its references so the test sees what the variant functions do.
class CountedProbe : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override { return --count; }
    ULONG count = 1;
};

} // namespace

TEST(Variant, LayoutIsSixteenBytesWithTheValueAtEight)
{
    EXPECT_EQ(sizeof(VARIANT), 16u);
    EXPECT_EQ(offsetof(VARIANT, vt), 0u);
    EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
    EXPECT_EQ(offsetof(VARIANT, pcVal), 8u);
}

TEST(Variant, CopyDuplicatesTextAndClearFreesIt)
{
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString("G01");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_STREQ(copy.bstrVal, "G01");
    EXPECT_EQ(SysStringLen(copy.bstrVal), 3u);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    VariantClear(&source);
}

TEST(Variant, InterfaceValuesAreCounted)
{
    CountedProbe probe;
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = &probe;
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_EQ(probe.count, 2u);
    VariantClear(&copy);
    EXPECT_EQ(probe.count, 1u);
}

TEST(Variant, ByReferenceTextOwnsNothing)
{
    char text[] = "abc";
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BYREF | VT_I1;
    value.pcVal = text;
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_STREQ(text, "abc");
}
