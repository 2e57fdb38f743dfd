// CMillingFeature: moves, labels, drawing and recorded NC blocks.
#include "addins/milling/features/millingfeature.h"

#include <algorithm>

namespace {

// Colour of toolpaths in the view: red 0, green 128, blue 200 (0x00BBGGRR).
constexpr uint32_t kToolpathColour = 0xC88000;
constexpr uint32_t kLineStyleSolid = 0;
constexpr uint32_t kLineStyleDotted = 2;

} // namespace

ComPtr<IEntityBase> CreateMoveEntity(const CMove& move, CMoveEntityFactory& factory)
{
    if (IsArcMove(move.flag))
        return factory.CreateArc(move.centre, IsClockwiseArc(move.flag) ? -1 : 1, move.start, move.end,
                                 move.radius);
    return factory.CreateLine(move.start, move.end);
}

Status CMillingFeature::AppendMove(const CMove& move, CMoveEntityFactory* factory)
{
    CMove stored = move;
    if (factory != nullptr) {
        stored.entity = CreateMoveEntity(move, *factory);
        if (!stored.entity)
            return Error{FeatureError::EntityCreationFailed, "move " + std::to_string(m_moves.size())};
    }
    m_moves.push_back(std::move(stored));
    return Ok{};
}

std::string CMillingFeature::GetLabel(const std::string& hiddenText) const
{
    if (m_hidden == 0)
        return m_name;
    return m_name + " <" + hiddenText + ">";
}

void CMillingFeature::Draw(IGraphicsContext* context) const
{
    if (m_hidden != 0 || context == nullptr || m_moves.empty())
        return;
    context->SetColor(kToolpathColour);
    context->SetLineWidth(1);
    for (size_t i = 0; i < m_moves.size(); ++i) {
        const CMove& move = m_moves[i];
        if (i == 0 || move.flag != m_moves[i - 1].flag)
            context->SetLineStyle(IsFeedMove(move.flag) ? kLineStyleSolid : kLineStyleDotted, 1);
        if (move.entity)
            move.entity->Draw(context);
    }
}

void CMillingFeature::RecordNcBlock(int count, const INT* codes, const INT* kinds, const VARIANT* values)
{
    CRecordedBlock block;
    if (count > 0) {
        const size_t n = static_cast<size_t>(count);
        block.codes.assign(codes, codes + n);
        block.kinds.assign(kinds, kinds + n);
        block.values.assign(values, values + n);
        block.texts.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (kinds[i] == 3 && values[i].pcVal != nullptr) {
                const std::string text = values[i].pcVal;
                block.texts[i] = std::make_unique<char[]>(text.size() + 1);
                std::copy(text.c_str(), text.c_str() + text.size() + 1, block.texts[i].get());
                block.values[i].pcVal = block.texts[i].get();
            }
        }
    }
    m_recordedBlocks.push_back(std::move(block));
}
