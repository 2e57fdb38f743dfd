// Fakes for the document tests: the application's services with the host
// factory and one fake add-in, a recording output, and the fake add-in's
// objects (a document object and a child that carry plain bytes).
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/document/document_services.h"
#include "host/document/host_class_factory.h"
#include "host/document/nuvex_doc.h"
#include "icollection.h"
#include "ientity.h"
#include "objectmodel/com_object.h"

inline constexpr CLSID kTestAddinClsid = {0x11223344, 0x5566, 0x7788, {0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff, 0x01}};
inline constexpr IID kTestObjectIid = {0xa0a1a2a3, 0xb0b1, 0xc0c1, {0xd0, 0xd1, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7}};
inline constexpr IID kTestChildIid = {0xe0e1e2e3, 0xf0f1, 0x0102, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a}};
inline constexpr CLSID kUnknownClsid = {0xdeadbeef, 0x0001, 0x0002, {0, 1, 2, 3, 4, 5, 6, 7}};

// A document object of the fake add-in: its data is its byte string. A
// size override lets a test make it report 0 or fail its save.
class TestObject : public CCountedObject<IObjectBase, IID_IObjectBase> {
public:
    explicit TestObject(std::string bytes = {}, bool* destroyed = nullptr)
        : m_bytes(std::move(bytes)), m_destroyed(destroyed)
    {
    }
    ~TestObject() override
    {
        if (m_destroyed != nullptr) {
            *m_destroyed = true;
        }
    }
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override
    {
        *copy = new TestObject(m_bytes);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override
    {
        m_bytes.assign(reinterpret_cast<const char*>(data), size);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override
    {
        *size = static_cast<uint32_t>(m_bytes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override
    {
        if (failSave) {
            return E_FAIL;
        }
        std::memcpy(buffer, m_bytes.data(), m_bytes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument* document) override
    {
        hostCalls.push_back(document != nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = kTestAddinClsid;
        *iid = kTestObjectIid;
        return S_OK;
    }

    const std::string& Bytes() const { return m_bytes; }
    void SetBytes(std::string bytes) { m_bytes = std::move(bytes); }
    bool failSave = false;
    std::vector<bool> hostCalls;

private:
    std::string m_bytes;
    bool* m_destroyed;
};

// A child of the fake add-in carrying bytes.
class TestChild : public CCountedObject<ICollectionBase, IID_ICollectionBase> {
public:
    explicit TestChild(std::string bytes = {}) : m_bytes(std::move(bytes)) {}
    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext*, IUnknown*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override
    {
        *out = static_cast<ICollectionBase*>(new TestChild(m_bytes));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(IHostDocument*, uint32_t size, const BYTE* data) override
    {
        m_bytes.assign(reinterpret_cast<const char*>(data), size);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument*, uint32_t* size) override
    {
        *size = static_cast<uint32_t>(m_bytes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(IHostDocument*, BYTE* buffer) override
    {
        std::memcpy(buffer, m_bytes.data(), m_bytes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument*, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = kTestAddinClsid;
        *iid = kTestChildIid;
        return S_OK;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The fake add-in's class factory: test objects and children by IID, and
// any IID it has been given a command maker for.
class TestAddinFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Embedded in the services; the count only balances callers.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    virtual ~TestAddinFactory() = default;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        created.push_back(iid);
        IUnknown* object = nullptr;
        if (iid == kTestObjectIid) {
            object = static_cast<IObjectBase*>(new TestObject());
        } else if (iid == kTestChildIid) {
            object = static_cast<ICollectionBase*>(new TestChild());
        } else if (maker) {
            object = maker(iid);
        }
        if (object == nullptr) {
            return E_NOINTERFACE;
        }
        object->AddRef();
        *out = object;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    std::vector<IID> created;
    // Makes add-in objects for other class ids (commands, file handlers).
    std::function<IUnknown*(const IID&)> maker;
};

// A command-table entry without presets.
inline CommandTableEntry Command(int32_t addinIndex, uint32_t addinCommandId, const GUID& handler = {})
{
    CommandTableEntry entry;
    entry.addinIndex = addinIndex;
    entry.addinCommandId = addinCommandId;
    entry.handlerClass = handler;
    return entry;
}

// The application side: the host factory, one add-in (index 0, with the
// fake factory), a table of variables, commands and file-type handlers.
class TestServices : public IDocumentServices {
public:
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override
    {
        if (clsid == CLSID_HostObjectFactory) {
            return &hostFactory;
        }
        if (clsid == kTestAddinClsid && addinLoaded) {
            return &addinFactory;
        }
        return nullptr;
    }
    IClassFactory* GetClassFactoryForAddin(IAddin* addin) override
    {
        if (addin == nullptr) {
            return &hostFactory;
        }
        return addin == fakeAddin ? &addinFactory : nullptr;
    }
    const std::vector<FileTypeHandler>& GetFileTypeHandlers() override { return fileTypes; }
    int32_t GetVariableCount() override { return static_cast<int32_t>(variables.size()); }
    VARIANT GetVariableValue(int32_t index) override { return variables[static_cast<size_t>(index)].second; }
    int32_t FindVariable(const char* name) override
    {
        for (size_t i = 0; i < variables.size(); ++i) {
            if (variables[i].first == name) {
                return static_cast<int32_t>(i);
            }
        }
        return -1;
    }
    const CommandTableEntry* GetCommandEntry(int32_t index) override
    {
        if (index < 0 || static_cast<size_t>(index) >= commands.size()) {
            return nullptr;
        }
        return &commands[static_cast<size_t>(index)];
    }
    IAddin* GetAddin(int32_t addinIndex) override { return addinIndex == 0 ? fakeAddin : nullptr; }
    IClassFactory* GetAddinClassFactory(int32_t addinIndex) override
    {
        return addinIndex == 0 ? &addinFactory : nullptr;
    }
    const std::vector<RootHandlerClass>& GetRootHandlerClasses() override { return rootHandlers; }
    IHostApplication* GetHostApplication() override { return nullptr; }
    int32_t GetHostCommand(IAddin* addin, uint32_t addinCommandId) override
    {
        if (addin != fakeAddin) {
            return -1;
        }
        for (size_t i = 0; i < commands.size(); ++i) {
            if (commands[i].addinIndex == 0 && commands[i].addinCommandId == addinCommandId) {
                return static_cast<int32_t>(i);
            }
        }
        commands.push_back(Command(0, addinCommandId));
        return static_cast<int32_t>(commands.size()) - 1;
    }
    std::string GetStaticText(int32_t, const char* fallback) override { return fallback; }

    CHostClassFactory hostFactory;
    TestAddinFactory addinFactory;
    bool addinLoaded = true;
    // Only compared, never called.
    IAddin* fakeAddin = reinterpret_cast<IAddin*>(0x1000);
    std::vector<FileTypeHandler> fileTypes;
    std::vector<std::pair<std::string, VARIANT>> variables;
    std::vector<CommandTableEntry> commands;
    std::vector<RootHandlerClass> rootHandlers;
};

class TestOutput : public IDocumentOutput {
public:
    void UpdateAllViews() override { log.push_back("update"); }
    void FireDocumentEvent(int32_t eventId) override { log.push_back("event " + std::to_string(eventId)); }
    void SetPrompt(const std::string& text, size_t markFirst, size_t markCount) override
    {
        prompt = text;
        mark = text.substr(markFirst, markCount);
    }
    int32_t GetModifierKind() override { return modifierKind; }
    void SetCommandLineText(const std::string& text) override
    {
        commandLine = text;
        log.push_back("line " + text);
    }
    bool HasView() override { return hasView; }
    void UpdateCommandButtons(int32_t index, int32_t state) override
    {
        log.push_back("button " + std::to_string(index) + " " + std::to_string(state));
    }
    void RefreshCommandStates(BOOL full) override { log.push_back("states " + std::to_string(full)); }
    void RefreshSnap() override { log.push_back("snap"); }
    bool hasView = true;
    std::vector<std::string> log;
    std::string prompt;
    // The marked characters of the prompt.
    std::string mark;
    std::string commandLine;
    int32_t modifierKind = 1;
};

// A document with its fakes.
struct DocumentFixture {
    TestServices services;
    TestOutput output;
    CNuvexDoc document{services, output};
};

// A holder for an object, with optional children; the caller gets it with
// count 0, ready for AddObject.
IEntityRecord* MakeHolder(IUnknown* object, std::initializer_list<ICollectionBase*> children = {});

// Little-endian byte strings for expected files.
std::string I32(int32_t value);
std::string Guid(const GUID& id);
// One record's framing around data and already framed children.
std::string Record(const CLSID& factory, const IID& iid, const std::string& data);

// A temporary folder removed with its files when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    std::string Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
