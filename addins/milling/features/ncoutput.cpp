// CMillingFeature::WriteNc: the feature's moves as NC blocks, built as token
// blocks and formatted by the operation's postprocessor.
//
// Per call: an optional "Phase n" heading; a G0 X Y Z block at the start of
// the first move; one block per move that changes something (no empty
// lines); a G0 Z retract to the height the feature started at; and, on the
// program's last feature only, the program end. I and J are offsets of the
// arc centre from the arc's start point. Points are written relative to the
// operation origin, Z negated with Inverted-Z.
#include <cmath>
#include <cstdio>

#include "addins/milling/features/millingfeature.h"
#include "ipostprocessor.h"

namespace {

// Coordinates closer than this to the previous block's are not written again
// (drawing units).
constexpr double kNcCoordinateTolerance = 1e-6;

bool Differs(double a, double b) { return std::fabs(a - b) >= kNcCoordinateTolerance; }

class CTokenBlock {
public:
    void Add(INT code) { Push(code, kNcKindNone, VARIANT{}); }
    void AddInteger(INT code, int value)
    {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = value;
        Push(code, kNcKindInteger, v);
    }
    void AddReal(INT code, double value)
    {
        VARIANT v{};
        v.vt = VT_R8;
        v.dblVal = value;
        Push(code, kNcKindReal, v);
    }
    int Count() const { return m_count; }
    const INT* Codes() const { return m_codes; }
    const INT* Kinds() const { return m_kinds; }
    const VARIANT* Values() const { return m_values; }

private:
    void Push(INT code, INT kind, const VARIANT& value)
    {
        if (m_count >= kMaxTokens)
            return; // the blocks built here hold at most six tokens
        m_codes[m_count] = code;
        m_kinds[m_count] = kind;
        m_values[m_count] = value;
        ++m_count;
    }
    static constexpr int kMaxTokens = 8;
    int m_count = 0;
    INT m_codes[kMaxTokens] = {};
    INT m_kinds[kMaxTokens] = {};
    VARIANT m_values[kMaxTokens] = {};
};

} // namespace

Status CMillingFeature::WriteNc(std::vector<std::string>& lines, int number, bool record,
                                CNcOutputContext& context)
{
    if (m_moves.empty())
        return Ok{};
    if (context.postprocessor == nullptr)
        return Error{FeatureError::NoPostprocessor, m_name};

    const CNcMachineSettings& machine = context.machine;
    auto map = [&](const CMovePoint& p) {
        CMovePoint q{p.x - context.origin.x, p.y - context.origin.y, p.z - context.origin.z};
        if (context.invertedZ)
            q.z = -q.z;
        return q;
    };
    // Formats into locals and appends only when every block formatted, so a
    // refused block leaves the lines as they were.
    std::vector<std::string> out;
    int blockNumber = context.nextBlockNumber;
    auto emit = [&](const CTokenBlock& block, bool separate, bool keep) -> bool {
        char text[kNcMaxLineLength] = {};
        const HRESULT hr = context.postprocessor->FormatBlock(block.Count(), block.Codes(), block.Kinds(),
                                                             block.Values(), text, nullptr,
                                                             separate ? 1 : 0);
        if (FAILED(hr))
            return false;
        out.emplace_back(text);
        if (record && keep && RecordsNcBlocks())
            RecordNcBlock(block.Count(), block.Codes(), block.Kinds(), block.Values());
        return true;
    };
    auto refused = [&](const char* what) { return Error{FeatureError::FormatFailed, m_name + ": " + what}; };

    if (number > 0) {
        char heading[32];
        std::snprintf(heading, sizeof heading, "Phase% d", number);
        out.emplace_back(heading);
    }

    const CMovePoint first = map(m_moves.front().start);
    CTokenBlock firstBlock;
    if (machine.lineNumbers)
        firstBlock.AddInteger(kNcBlockNumber, blockNumber++);
    firstBlock.Add(kNcRapid);
    firstBlock.AddReal(kNcX, first.x);
    firstBlock.AddReal(kNcY, first.y);
    firstBlock.AddReal(kNcZ, first.z);
    if (!emit(firstBlock, machine.separator, true))
        return refused("first block");

    INT motion = kNcRapid;
    CMovePoint previous = first;
    for (const CMove& move : m_moves) {
        CTokenBlock block;
        const INT code = !IsFeedMove(move.flag) ? kNcRapid
                         : IsLineMove(move.flag) ? kNcLinear
                         : IsClockwiseArc(move.flag) ? kNcArcClockwise
                                                     : kNcArcCounterClockwise;
        const CMovePoint end = map(move.end);
        const bool arc = code == kNcArcClockwise || code == kNcArcCounterClockwise;
        // A straight move that changes no coordinate writes no block at all
        // (no lone motion code or line number, no empty line); the motion
        // state stays that of the last block written. Arcs always carry I, J.
        if (!arc && !Differs(end.x, previous.x) && !Differs(end.y, previous.y) && !Differs(end.z, previous.z)) {
            previous = end;
            continue;
        }
        if (machine.lineNumbers)
            block.AddInteger(kNcBlockNumber, blockNumber++);
        if (code != motion || !machine.modal)
            block.Add(code);
        motion = code;
        if (Differs(end.x, previous.x))
            block.AddReal(kNcX, end.x);
        if (Differs(end.y, previous.y))
            block.AddReal(kNcY, end.y);
        if (arc) {
            const CMovePoint centre = map(move.centre);
            block.AddReal(kNcCentreI, centre.x - previous.x);
            block.AddReal(kNcCentreJ, centre.y - previous.y);
        } else if (Differs(end.z, previous.z)) {
            block.AddReal(kNcZ, end.z);
        }
        previous = end;
        if (!emit(block, machine.separator, true))
            return refused("move");
    }

    CTokenBlock retract;
    retract.Add(kNcRapid);
    retract.AddReal(kNcZ, first.z);
    if (!emit(retract, false, true))
        return refused("retract");
    if (context.lastFeature) {
        CTokenBlock end;
        end.Add(kNcProgramEnd);
        if (!emit(end, false, false))
            return refused("program end");
    }
    context.nextBlockNumber = blockNumber;
    lines.insert(lines.end(), out.begin(), out.end());
    return Ok{};
}
