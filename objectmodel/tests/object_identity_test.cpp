// The counted-object rules for every class of the attachment, record and
// group family: the identifiers each answers, the reference count, and the
// class identifiers under which a document stores it.
#include <gtest/gtest.h>

#include <functional>

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/collection_c.h"
#include "objectmodel/collection_d.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"

namespace {

struct IdentityCase {
    const char* name;
    std::function<IUnknown*()> make;
    std::vector<const IID*> chain;
    // The stored interface identifier; null for a class that is not stored.
    const IID* storedIid;
};

const IdentityCase kCases[] = {
    {"attribute_set",
     [] { return static_cast<IAttributeSet*>(new CAttributeSet()); },
     {&IID_ICollectionBase, &IID_IAttributeSet},
     &IID_IAttributeSet},
    {"colour",
     [] { return static_cast<ICollectionB*>(new CCollectionB()); },
     {&IID_ICollectionBase, &IID_ICollectionB},
     &IID_ICollectionB},
    {"text",
     [] { return static_cast<ICollectionC*>(new CCollectionC()); },
     {&IID_ICollectionBase, &IID_ICollectionC},
     &IID_ICollectionC},
    {"marker",
     [] { return static_cast<ICollectionD*>(new CCollectionD()); },
     {&IID_ICollectionBase, &IID_ICollectionD},
     &IID_ICollectionD},
    {"group",
     [] { return static_cast<IIdGroup*>(new CIdGroupObject()); },
     {&IID_ICollectionBase, &IID_IIdGroup},
     &IID_IIdGroup},
    {"model_object",
     [] { return static_cast<IModelObject*>(new CModelObject()); },
     {&IID_IObjectBase, &IID_IModelObject},
     &IID_IModelObject},
    {"entity_record", [] { return static_cast<IEntityRecord*>(new CEntityRecord()); }, {&IID_IEntityRecord}, nullptr},
};

bool InChain(const IdentityCase& c, const IID& iid)
{
    if (iid == IID_IUnknown) {
        return true;
    }
    for (const IID* member : c.chain) {
        if (*member == iid) {
            return true;
        }
    }
    return false;
}

TEST(ObjectIdentity, AnswersExactlyItsChainFromTheWholeTable)
{
    for (const IdentityCase& c : kCases) {
        SCOPED_TRACE(c.name);
        IUnknown* object = c.make();
        EXPECT_EQ(object->AddRef(), 1u);  // created with count 0
        for (const InterfaceIdEntry& entry : kInterfaceIdTable) {
            SCOPED_TRACE(entry.name);
            void* out = reinterpret_cast<void*>(1);
            const HRESULT result = object->QueryInterface(*entry.id, &out);
            if (InChain(c, *entry.id)) {
                EXPECT_EQ(result, S_OK);
                EXPECT_EQ(out, static_cast<void*>(object));
                EXPECT_EQ(object->Release(), 1u);  // the query added one
            } else {
                EXPECT_EQ(result, E_NOINTERFACE);
                EXPECT_EQ(out, nullptr);
            }
        }
        void* out = nullptr;
        EXPECT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
        object->Release();
        EXPECT_EQ(object->Release(), 0u);  // destroyed here
    }
}

TEST(ObjectIdentity, StoredClassesReportTheHostFactoryAndTheirInterface)
{
    for (const IdentityCase& c : kCases) {
        if (c.storedIid == nullptr) {
            continue;
        }
        SCOPED_TRACE(c.name);
        ComPtr<IUnknown> object = ComPtr<IUnknown>::Share(c.make());
        CLSID factory = GUID_NULL;
        IID iid = GUID_NULL;
        if (*c.storedIid == IID_IModelObject) {
            static_cast<IModelObject*>(object.Get())->GetClassIds(&factory, &iid);
        } else {
            static_cast<ICollectionBase*>(object.Get())->GetClassIds(&factory, &iid);
        }
        EXPECT_EQ(factory, CLSID_HostObjectFactory);
        EXPECT_EQ(iid, *c.storedIid);
    }
}

TEST(ObjectIdentity, NullOutPointersAreRefused)
{
    CAttributeSet set;
    CCollectionB colour;
    CCollectionC text;
    CIdGroupObject group;
    CModelObject model;
    CEntityRecord record;
    EXPECT_EQ(set.GetLineWidth(nullptr), E_POINTER);
    EXPECT_EQ(colour.GetRGB(nullptr, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(text.GetText(nullptr), E_POINTER);
    EXPECT_EQ(group.GetName(nullptr), E_POINTER);
    EXPECT_EQ(model.GetChild(0, nullptr), E_POINTER);
    EXPECT_EQ(record.GetObject(nullptr), E_POINTER);
    EXPECT_EQ(set.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

} // namespace
