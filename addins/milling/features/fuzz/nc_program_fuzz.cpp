// Fuzz target: an NC file read through the postprocessor of either dialect
// (the first byte chooses it) into the NC reader and interpreted into line
// and arc entities, as "Open NC File" does. Any text must be stored line by
// line and drawn without reading or writing past a buffer; every drawn move
// is an entity record the document holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "addins/entities/arc_entity.h"
#include "addins/entities/line_entity.h"
#include "addins/milling/features/ncfilereader.h"
#include "addins/milling/features/tests/recording_document_stub.h"
#include "postproc/postprocessor.h"

namespace {

// Makes the move entities of the entity component directly.
class Document : public CRecordingDocumentStub {
public:
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID, IID iid, void** object) override
    {
        IUnknown* made = nullptr;
        if (iid == IID_IArcEntity)
            made = static_cast<IArcEntity*>(new (std::nothrow) CArcEntity);
        else if (iid == IID_ILineEntity)
            made = static_cast<ILineEntity*>(new (std::nothrow) CLineEntity);
        if (made == nullptr)
            return E_FAIL;
        return made->QueryInterface(iid, object);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    IPostprocessor* post = nullptr;
    if (yelk::CPostprocessor::Create(data[0] & 1, &post) != S_OK || post == nullptr)
        std::abort();
    std::vector<INT> codes(kNcMaxBlockTokens), kinds(kNcMaxBlockTokens), styles(kNcMaxLineLength);
    std::vector<VARIANT> values(kNcMaxBlockTokens);
    Document document;
    size_t stored = 0;
    // The parser frees the texts of the previous block of these buffers, so
    // the count runs on from block to block.
    INT count = 0;
    {
        CNcFileReader reader(&document);
        const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
        size_t begin = 0;
        while (begin <= text.size()) {
            size_t end = text.find('\n', begin);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(begin, end - begin);
            begin = end + 1;
            // The file reader stores only lines a block can hold.
            if (line.size() >= static_cast<size_t>(kNcMaxLineLength) || line.find('\0') != std::string::npos)
                continue;
            post->ParseBlock(line.c_str(), &count, codes.data(), kinds.data(), values.data(), styles.data());
            if (count < 0 || count > kNcMaxBlockTokens)
                std::abort();
            reader.AddLine(count, codes.data(), kinds.data(), values.data());
            ++stored;
        }
        if (reader.GetLineCount() != stored)
            std::abort();
        const NcInterpretResult result = reader.Interpret();
        if (result.movesDrawn != static_cast<int>(document.records.size()) || result.entitiesFailed != 0)
            std::abort();
    }
    post->ParseBlock("", &count, codes.data(), kinds.data(), values.data(), styles.data());
    post->Release();
    return 0;
}
