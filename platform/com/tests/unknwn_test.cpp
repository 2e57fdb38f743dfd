// ComPtr reference handling over a counted object.
#include <gtest/gtest.h>

#include "platform/com/unknwn.h"

namespace {

class Counted : public IUnknown {
public:
    explicit Counted(bool* destroyed) : m_destroyed(destroyed) {}
    virtual ~Counted() { *m_destroyed = true; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != IID_IUnknown) {
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_count == 0) {
            delete this;
            return 0;
        }
        return m_count;
    }

private:
    ULONG m_count = 0;
    bool* m_destroyed;
};

} // namespace

TEST(ComPtr, SharedAndCopiedReferencesAreReleasedOnce)
{
    bool destroyed = false;
    {
        ComPtr<IUnknown> first = ComPtr<IUnknown>::Share(new Counted(&destroyed));
        ComPtr<IUnknown> second = first;
        first.Reset();
        EXPECT_FALSE(destroyed);
        ComPtr<IUnknown> third;
        ASSERT_EQ(second->QueryInterface(IID_IUnknown, third.ReceiveVoid()), S_OK);
        EXPECT_EQ(third.Get(), second.Get());
    }
    EXPECT_TRUE(destroyed);
}

TEST(ComPtr, ReceiveReleasesWhatWasHeld)
{
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Share(new Counted(&firstDestroyed));
    IUnknown* second = new Counted(&secondDestroyed);
    second->AddRef();
    *held.Receive() = second;
    EXPECT_TRUE(firstDestroyed);
    held.Reset();
    EXPECT_TRUE(secondDestroyed);
}
