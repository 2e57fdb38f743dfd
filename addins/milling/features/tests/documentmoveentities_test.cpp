// Move entities made through a document from the entity component: a
// computed toolpath gets one entity per move, and a document that refuses
// creation makes the computation fail without moves.
#include <gtest/gtest.h>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/tests/host_document_stub.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "ientitycomponent.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

// Creates objects through the registered class factories.
class FactoryDocument : public CHostDocumentStub {
public:
    bool refuse = false;
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID classId, IID iid, void** object) override
    {
        if (refuse)
            return E_FAIL;
        IClassFactory* factory = nullptr;
        const HRESULT found = CoGetClassObject(classId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                               reinterpret_cast<void**>(&factory));
        if (FAILED(found))
            return found;
        const HRESULT made = factory->CreateInstance(nullptr, iid, object);
        factory->Release();
        return made;
    }
};

class DocumentMoveEntities : public IsolatedRegistry {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA((std::string(NUVEX_TEST_BIN_DIR) + "/AddIns/entities.so").c_str());
        ASSERT_NE(m_module, nullptr);
        auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddress(m_module, "DllRegisterServer"));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
    }
    void TearDown() override
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

private:
    HMODULE m_module = nullptr;
};

TEST_F(DocumentMoveEntities, EveryMoveGetsItsEntity)
{
    FactoryDocument document;
    CContourFeature f;
    {
        CDocumentMoveEntityFactory factory(&document);
        ASSERT_TRUE(f.ComputeFromContours(Make(RoundedRect(0, 0, 60, 40, 8)), Params(0, -1, 1, 6, 0), &factory).ok());
    }
    ASSERT_FALSE(f.Moves().empty());
    int arcs = 0;
    for (const CMove& m : f.Moves()) {
        CMoveEntityView view;
        ASSERT_TRUE(ReadMoveEntity(m.entity.Get(), view));
        EXPECT_EQ(view.arc, IsArcMove(m.flag));
        EXPECT_NEAR(view.start.x, m.start.x, 1e-9);
        EXPECT_NEAR(view.end.y, m.end.y, 1e-9);
        EXPECT_NEAR(view.end.z, m.end.z, 1e-9);
        if (view.arc) {
            ++arcs;
            EXPECT_EQ(view.normalZ, IsClockwiseArc(m.flag) ? -1 : 1);
            EXPECT_NEAR(view.centre.x, m.centre.x, 1e-9);
        }
    }
    EXPECT_GT(arcs, 0);
}

TEST_F(DocumentMoveEntities, RefusedCreationFailsWithoutMoves)
{
    FactoryDocument document;
    document.refuse = true;
    CDocumentMoveEntityFactory factory(&document);
    CContourFeature f;
    Status status = f.ComputeFromContours(Make(Rect(0, 0, 60, 40)), Params(0, -1, 1, 6, 0), &factory);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, FeatureError::EntityCreationFailed);
    EXPECT_TRUE(f.Moves().empty());
}

} // namespace
