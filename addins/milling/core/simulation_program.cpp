// BuildSimulationProgram: the feature's NC text and its blocks' tokens,
// recorded on their way to the postprocessor.
#include "addins/milling/core/simulation_program.h"

#include "addins/milling/core/milling_operation.h"
#include "addins/milling/features/featureresult.h"
#include "addins/milling/features/millingfeature.h"
#include "ipostprocessor.h"

namespace {

// Passes every block on to the operation's postprocessor and keeps its
// tokens; without one it formats nothing and still keeps them.
class CRecordingPostprocessor final : public IPostprocessor {
public:
    explicit CRecordingPostprocessor(IPostprocessor* inner) : m_inner(inner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of one build: the counts do nothing.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetName(char* buffer) override
    {
        return m_inner != nullptr ? m_inner->GetName(buffer) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ParseBlock(const char*, INT*, INT*, INT*, VARIANT*, INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FormatBlock(INT count, const INT* codes, const INT* kinds, const VARIANT* values,
                                          char* line, INT* styles, BOOL separate) override
    {
        if (line == nullptr || (count > 0 && (codes == nullptr || values == nullptr)))
            return E_POINTER;
        if (count < 0 || count > kNcMaxBlockTokens)
            return E_INVALIDARG;
        HRESULT answer = S_OK;
        if (m_inner != nullptr)
            answer = m_inner->FormatBlock(count, codes, kinds, values, line, styles, separate);
        else
            line[0] = '\0';
        if (FAILED(answer))
            return answer;
        std::vector<SimulationToken> tokens;
        tokens.reserve(static_cast<size_t>(count));
        for (INT i = 0; i < count; ++i) {
            SimulationToken token;
            token.code = codes[i];
            if (values[i].vt == VT_I4)
                token.integer = values[i].lVal;
            else if (values[i].vt == VT_R8)
                token.real = values[i].dblVal;
            tokens.push_back(token);
        }
        blocks.push_back(std::move(tokens));
        return S_OK;
    }

    std::vector<std::vector<SimulationToken>> blocks;

private:
    IPostprocessor* m_inner;
};

} // namespace

SimulationProgram BuildSimulationProgram(CMillingFeature& feature, const CMillingOperation* operation,
                                         const CNcMachineSettings& machine)
{
    SimulationProgram program;
    IPostprocessor* postprocessor = operation != nullptr ? operation->m_postprocessor : nullptr;
    CRecordingPostprocessor recorder(postprocessor);
    CNcOutputContext context;
    context.postprocessor = &recorder;
    context.machine = machine;
    if (operation != nullptr) {
        context.origin = operation->m_origin;
        context.invertedZ = operation->m_invertedZ != 0;
    }
    context.lastFeature = true;
    std::vector<std::string> text;
    const Status written = feature.WriteNc(text, 1, CMillingFeature::NcBlocks::Discard, context);
    if (!written.ok())
        program.message = feature.m_name + ": " + FeatureErrorText(written.error());
    if (postprocessor != nullptr)
        program.text = std::move(text);
    else
        program.message = "The operation has no machine, so its NC program cannot be shown.";
    program.lines = MatchSimulationLines(feature.Moves(), recorder.blocks);
    return program;
}
