// QueryInterface, AddRef and Release of the value objects and the counted
// polyline set, over the whole identifier table.
#include <gtest/gtest.h>

#include <functional>

#include "iids.h"
#include "objectmodel/matrix4.h"
#include "objectmodel/point2.h"
#include "objectmodel/polylineset.h"
#include "objectmodel/real.h"
#include "objectmodel/vector2.h"
#include "objectmodel/vector3.h"

namespace {

struct ObjectCase {
    const char* name;
    std::function<IUnknown*()> make;
    const IID* chain; // the one interface of the class's chain
    bool counted;
};

const ObjectCase kObjects[] = {
    {"real", [] { return static_cast<IUnknown*>(new CReal(1.5, 2)); }, &IID_IReal, false},
    {"vector3", [] { return static_cast<IUnknown*>(new CVector3(1.0, 2.0, 3.0)); }, &IID_IVector3, false},
    {"vector2", [] { return static_cast<IUnknown*>(new CVector2(0.0, 1.0)); }, &IID_IVector2, false},
    {"matrix4", [] { return static_cast<IUnknown*>(new CMatrix4()); }, &IID_IMatrix4, false},
    {"point2", [] { return static_cast<IUnknown*>(new CPoint2(3.0, -4.0)); }, &IID_IPoint2, false},
    {"polyline_set", [] { return static_cast<IUnknown*>(new CPolylineSet()); }, &IID_IPolylineSet, true},
};

TEST(ComObject, QueryInterfaceAnswersUnknownAndTheChainOnly)
{
    for (const ObjectCase& c : kObjects) {
        SCOPED_TRACE(c.name);
        IUnknown* object = c.make();
        object->AddRef();

        void* out = nullptr;
        ASSERT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
        EXPECT_EQ(out, object);
        int answered = 0;
        for (const InterfaceIdEntry& entry : kInterfaceIdTable) {
            SCOPED_TRACE(entry.name);
            out = reinterpret_cast<void*>(0x1);
            HRESULT hr = object->QueryInterface(*entry.id, &out);
            if (*entry.id == *c.chain) {
                EXPECT_EQ(hr, S_OK);
                EXPECT_EQ(out, object);
                ++answered;
            } else {
                EXPECT_EQ(hr, E_NOINTERFACE);
                EXPECT_EQ(out, nullptr);
            }
        }
        EXPECT_EQ(answered, 1);
        out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

        if (c.counted) {
            // One reference from above and two from the successful queries.
            EXPECT_EQ(object->Release(), 2u);
            EXPECT_EQ(object->Release(), 1u);
            EXPECT_EQ(object->Release(), 0u);
        } else {
            EXPECT_EQ(object->Release(), 0u);
        }
    }
}

TEST(ComObject, EveryReservedIdentifierIsRefusedByEveryClass)
{
    for (const ObjectCase& c : kObjects) {
        SCOPED_TRACE(c.name);
        const auto object = ComPtr<IUnknown>::Share(c.make());
        int reserved = 0;
        for (const InterfaceIdEntry& entry : kInterfaceIdTable) {
            if (std::string_view(entry.name).starts_with("IReserved")) {
                SCOPED_TRACE(entry.name);
                void* out = reinterpret_cast<void*>(0x1);
                EXPECT_EQ(object->QueryInterface(*entry.id, &out), E_NOINTERFACE);
                EXPECT_EQ(out, nullptr);
                ++reserved;
            }
        }
        EXPECT_EQ(reserved, 19); // the loop really saw the reserved entries
    }
}

// A value object that reports its destruction.
class TrackedVector : public CVector3 {
public:
    explicit TrackedVector(bool* destroyed) : m_destroyed(destroyed) {}
    ~TrackedVector() override { *m_destroyed = true; }

private:
    bool* m_destroyed;
};

TEST(ComObject, ValueObjectIgnoresAddRefAndReleaseDestroysAtOnce)
{
    bool destroyed = false;
    IVector3* vector = new TrackedVector(&destroyed);
    EXPECT_EQ(vector->AddRef(), 0u);
    EXPECT_EQ(vector->AddRef(), 0u);
    void* out = nullptr;
    EXPECT_EQ(vector->QueryInterface(IID_IVector3, &out), S_OK);
    EXPECT_EQ(vector->AddRef(), 0u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(vector->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(ComObject, ValueObjectsCopyWithoutSharing)
{
    CReal source(2.5, 7);
    CReal copy(source);
    copy += 1.0;
    EXPECT_DOUBLE_EQ(source.GetValue(), 2.5);
    EXPECT_DOUBLE_EQ(copy.GetValue(), 3.5);
    EXPECT_EQ(copy.GetFlag(), 7);
}

// A counted object that reports its destruction.
class TrackedPolylineSet : public CPolylineSet {
public:
    explicit TrackedPolylineSet(bool* destroyed) : m_destroyed(destroyed) {}

protected:
    ~TrackedPolylineSet() override { *m_destroyed = true; }

private:
    bool* m_destroyed;
};

TEST(ComObject, CountedObjectLivesUntilTheLastRelease)
{
    bool destroyed = false;
    IPolylineSet* set = new TrackedPolylineSet(&destroyed);
    EXPECT_EQ(set->AddRef(), 1u);
    EXPECT_EQ(set->AddRef(), 2u);
    IPolylineSet* queried = nullptr;
    ASSERT_EQ(set->QueryInterface(IID_IPolylineSet, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried, set);
    EXPECT_EQ(set->Release(), 2u);
    EXPECT_EQ(set->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(set->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(ComObject, CountedObjectWithOneReferenceIsDestroyedByItsRelease)
{
    bool destroyed = false;
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new TrackedPolylineSet(&destroyed));
    set.Reset();
    EXPECT_TRUE(destroyed);
}

TEST(ComObject, ReleaseAtCountZeroDestroysNothing)
{
    bool destroyed = false;
    IPolylineSet* set = new TrackedPolylineSet(&destroyed);
    EXPECT_EQ(set->Release(), 0u);
    EXPECT_FALSE(destroyed);
    // The count did not wrap: one reference still destroys it.
    EXPECT_EQ(set->AddRef(), 1u);
    EXPECT_EQ(set->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

} // namespace
