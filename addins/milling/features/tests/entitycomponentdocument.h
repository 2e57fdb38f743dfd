// A host document that makes objects through the registered class
// factories, and a fixture that registers the built entity component in an
// isolated registry, so the features tests use the real line and arc
// entities and curve chainer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "addins/milling/features/tests/recording_document_stub.h"
#include "ientitycomponent.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/tests/kernel_test_support.h"

// Creates objects through the registered class factories; refuse makes
// every creation fail, refuseChainer only the chainer's.
template <class Base>
class FactoryDocumentOf : public Base {
public:
    bool refuse = false;
    bool refuseChainer = false;
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID classId, IID iid, void** object) override
    {
        if (refuse || (refuseChainer && iid == IID_ICurveChainer))
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

using FactoryDocument = FactoryDocumentOf<CHostDocumentStub>;
// The same, keeping the entity records it is given (see
// recording_document_stub.h).
using RecordingDocument = FactoryDocumentOf<CRecordingDocumentStub>;

class EntityComponentTest : public IsolatedRegistry {
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
