// Fuzz target for the document file reader: any bytes either load or are
// refused with an error, without reading past the input and without
// leaving a half-loaded document.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/document/document_file.h"
#include "host/document/document_services.h"
#include "host/document/host_class_factory.h"
#include "host/document/nuvex_doc.h"

namespace {

// Only the host's own classes can be recreated.
class FuzzServices : public IDocumentServices {
public:
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override
    {
        return clsid == CLSID_HostObjectFactory ? &m_factory : nullptr;
    }
    IClassFactory* GetClassFactoryForAddin(IAddin* addin) override { return addin == nullptr ? &m_factory : nullptr; }
    const std::vector<FileTypeHandler>& GetFileTypeHandlers() override { return m_fileTypes; }
    int32_t GetVariableCount() override { return 0; }
    VARIANT GetVariableValue(int32_t) override { return VARIANT{}; }
    int32_t FindVariable(const char*) override { return -1; }
    const CommandTableEntry* GetCommandEntry(int32_t) override { return nullptr; }
    IAddin* GetAddin(int32_t) override { return nullptr; }
    IClassFactory* GetAddinClassFactory(int32_t) override { return nullptr; }
    const std::vector<RootHandlerClass>& GetRootHandlerClasses() override { return m_handlers; }
    IHostApplication* GetHostApplication() override { return nullptr; }
    int32_t GetHostCommand(IAddin*, uint32_t) override { return -1; }
    std::string GetStaticText(int32_t, const char* fallback) override { return fallback; }

private:
    CHostClassFactory m_factory;
    std::vector<FileTypeHandler> m_fileTypes;
    std::vector<RootHandlerClass> m_handlers;
};

class QuietOutput : public IDocumentOutput {
public:
    void UpdateAllViews() override {}
    void FireDocumentEvent(int32_t) override {}
    void SetPrompt(const std::string&, size_t, size_t) override {}
    int32_t GetModifierKind() override { return 1; }
    void SetCommandLineText(const std::string&) override {}
    bool HasView() override { return false; }
    void UpdateCommandButtons(int32_t, int32_t) override {}
    void RefreshCommandStates(BOOL) override {}
    void RefreshSnap() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzServices services;
    QuietOutput output;
    CNuvexDoc document(services, output);
    // Copy, so that a read past the input is caught by the sanitizer.
    std::vector<BYTE> bytes(data, data + size);
    const BOOL loaded = document.LoadDocumentBytes(bytes.data(), bytes.size());
    if (!loaded && document.GetObjectCount() != 0) {
        __builtin_trap();
    }
    // The same bytes read from a file in small blocks, so that records
    // cross block boundaries: the same answer and the same objects.
    const int fd = ::memfd_create("document", MFD_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    if (::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        constexpr size_t kSmallBlock = 7;
        DocumentByteReader reader(fd, bytes.size(), kSmallBlock);
        CNuvexDoc fromFile(services, output);
        if (fromFile.ReadDocument(reader) != loaded || fromFile.LastFileError() != document.LastFileError() ||
            fromFile.GetObjectCount() != document.GetObjectCount()) {
            __builtin_trap();
        }
    }
    ::close(fd);
    return 0;
}
