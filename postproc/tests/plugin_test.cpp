// The built plug-in, loaded the way the milling add-in loads it: dlopen of
// PostProc/yelk.so, both exports looked up by name, the announced
// postprocessors created, then blocks formatted and parsed through the
// interface. Also the object's own rules (reference count, interfaces,
// names) and allocation failure in the factory.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ipostprocessor.h"
#include "postproc/postprocessor.h"
#include "postproc/tests/blocktestsupport.h"

// Lets the factory test make the non-throwing allocation fail.
namespace {
bool g_failNothrowNew = false;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_failNothrowNew) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }

namespace yelk {
namespace {

// The loaded library, closed when the test ends.
class LoadedPlugin {
public:
    LoadedPlugin()
    {
        m_path = std::string(NUVEX_TEST_BIN_DIR) + "/PostProc/yelk.so";
        m_handle = dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ~LoadedPlugin()
    {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    void* Handle() const { return m_handle; }
    const std::string& Path() const { return m_path; }
    template <class Function>
    Function Export(const char* name) const
    {
        return reinterpret_cast<Function>(dlsym(m_handle, name));
    }

private:
    std::string m_path;
    void* m_handle = nullptr;
};

TEST(Plugin, LoadsAndServesTheAnnouncedPostprocessors)
{
    LoadedPlugin plugin;
    ASSERT_NE(plugin.Handle(), nullptr) << "cannot load " << plugin.Path() << ": " << dlerror();
    const auto getCount = plugin.Export<GetPostprocessorCountFunction>(kGetPostprocessorCountExport);
    const auto create = plugin.Export<CreatePostprocessorFunction>(kCreatePostprocessorExport);
    ASSERT_NE(getCount, nullptr);
    ASSERT_NE(create, nullptr);

    EXPECT_EQ(getCount(nullptr), E_POINTER);
    INT count = -1;
    ASSERT_EQ(getCount(&count), S_OK);
    ASSERT_EQ(count, 1);
    for (INT i = 0; i < count; ++i) {
        IPostprocessor* raw = nullptr;
        ASSERT_EQ(create(i, &raw), S_OK);
        ASSERT_NE(raw, nullptr);
        // The factory hands over the only reference.
        ComPtr<IPostprocessor> postprocessor = ComPtr<IPostprocessor>::Adopt(raw);

        char name[1024];
        ASSERT_EQ(postprocessor->GetName(name), S_OK);
        EXPECT_STREQ(name, "Power Control CNC");

        const test::TokenBlock block = test::MakeBlock({{kNcBlockNumber, 3}, {kNcArcCounterClockwise}, {kNcX, 12.5},
                                                        {kNcY, -3.0}, {kNcCentreI, 0.25}, {kNcCentreJ, 1.0}});
        char line[kNcMaxLineLength];
        std::vector<INT> styles(kNcMaxLineLength, test::kUntouched);
        ASSERT_EQ(postprocessor->FormatBlock(6, block.codes.data(), block.kinds.data(), block.values.data(), line,
                                             styles.data(), FALSE),
                  S_OK);
        EXPECT_STREQ(line, "N3G03X12.5Y-3I0.25J1");
        EXPECT_EQ(test::StyleLetters(styles.data(), std::strlen(line)), "GnGGGAnnnnAnnAnnnnAn");

        test::ParseBuffers b([&](const char* text, INT* n, INT* codes, INT* kinds, VARIANT* values, INT* s) {
            return postprocessor->ParseBlock(text, n, codes, kinds, values, s);
        });
        ASSERT_EQ(b.Parse(line), S_OK);
        ASSERT_EQ(b.count, 6);
        EXPECT_EQ(std::vector<INT>(b.codes.begin(), b.codes.begin() + 6), block.codes);
        EXPECT_EQ(b.values[2].dblVal, 12.5);
        ASSERT_EQ(b.Parse("M30 ; end of program"), S_OK);
        ASSERT_EQ(b.count, 2);
        EXPECT_EQ(b.codes[0], kNcProgramEnd);
        EXPECT_STREQ(b.values[1].pcVal, " end of program");
    }
}

TEST(Plugin, CreatesByIndexAndRejectsOthers)
{
    LoadedPlugin plugin;
    ASSERT_NE(plugin.Handle(), nullptr) << "cannot load " << plugin.Path() << ": " << dlerror();
    const auto create = plugin.Export<CreatePostprocessorFunction>(kCreatePostprocessorExport);
    ASSERT_NE(create, nullptr);

    struct Case {
        const char* name;
        INT index;
        HRESULT result;
        const char* displayName;
    };
    const Case kCases[] = {
        {"announced", 0, S_OK, "Power Control CNC"},
        {"unannounced_second", 1, S_OK, "Siemens 3Axis Milling"},
        {"past_the_end", 2, E_FAIL, nullptr},
        {"negative", -1, E_FAIL, nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto* const marker = reinterpret_cast<IPostprocessor*>(static_cast<uintptr_t>(0x1234));
        IPostprocessor* raw = marker;
        ASSERT_EQ(create(c.index, &raw), c.result);
        if (c.displayName == nullptr) {
            EXPECT_EQ(raw, marker);  // left untouched
            continue;
        }
        ComPtr<IPostprocessor> postprocessor = ComPtr<IPostprocessor>::Adopt(raw);
        char name[32];
        ASSERT_EQ(postprocessor->GetName(name), S_OK);
        EXPECT_STREQ(name, c.displayName);
    }
}

TEST(Postprocessor, CountsReferencesAndAnswersItsInterfaces)
{
    // The factory's object holds the one reference it hands over.
    IPostprocessor* raw = nullptr;
    ASSERT_EQ(CPostprocessor::Create(0, &raw), S_OK);
    EXPECT_EQ(raw->AddRef(), 2u);
    EXPECT_EQ(raw->AddRef(), 3u);

    void* out = nullptr;
    ASSERT_EQ(raw->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(raw));
    ASSERT_EQ(raw->QueryInterface(IID_IPostprocessor, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(raw));
    EXPECT_EQ(raw->Release(), 4u);
    EXPECT_EQ(raw->Release(), 3u);

    out = raw;
    EXPECT_EQ(raw->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(raw->Release(), 2u);
    EXPECT_EQ(raw->Release(), 1u);
    EXPECT_EQ(raw->Release(), 0u);  // deleted; the sanitizer reports a leak otherwise
}

TEST(Postprocessor, LivesWhileAnyoneHoldsIt)
{
    // A borrower's AddRef/Release or QueryInterface/Release pair must leave
    // the object the loader keeps alive; only the loader's own Release, the
    // last one, deletes it. The sanitizer reports a use after free otherwise.
    for (INT index : {0, 1}) {
        SCOPED_TRACE(index);
        IPostprocessor* kept = nullptr;
        ASSERT_EQ(CPostprocessor::Create(index, &kept), S_OK);
        EXPECT_EQ(kept->AddRef(), 2u);
        EXPECT_EQ(kept->Release(), 1u);
        void* borrowed = nullptr;
        ASSERT_EQ(kept->QueryInterface(IID_IPostprocessor, &borrowed), S_OK);
        EXPECT_EQ(static_cast<IPostprocessor*>(borrowed)->Release(), 1u);
        char name[64] = {};
        EXPECT_EQ(kept->GetName(name), S_OK);
        EXPECT_EQ(kept->Release(), 0u);
    }
}

TEST(Postprocessor, ReleasingAFreshObjectDeletesIt)
{
    // A caller that releases the reference it was given must not leak it.
    IPostprocessor* raw = nullptr;
    ASSERT_EQ(CPostprocessor::Create(1, &raw), S_OK);
    EXPECT_EQ(raw->Release(), 0u);
}

TEST(Postprocessor, FactoryReportsAllocationFailure)
{
    auto* const marker = reinterpret_cast<IPostprocessor*>(static_cast<uintptr_t>(0x1234));
    IPostprocessor* raw = marker;
    g_failNothrowNew = true;
    const HRESULT result = CPostprocessor::Create(0, &raw);
    g_failNothrowNew = false;
    EXPECT_EQ(result, E_OUTOFMEMORY);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(CPostprocessor::Create(0, nullptr), E_POINTER);
}

} // namespace
} // namespace yelk
