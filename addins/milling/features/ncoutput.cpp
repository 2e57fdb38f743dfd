// CMillingFeature::WriteNc: the feature's moves as NC blocks, built as token
// blocks and formatted by the operation's postprocessor.
//
// Per call: an optional "Phase n" heading; a G0 X Y Z block at the start of
// the first move; one block per move that changes something (no empty
// lines); a G0 Z retract to the height the feature started at; and, on the
// program's last feature only, the program end. I and J are offsets of the
// arc centre from the arc's printed start point. Points are written relative
// to the operation origin, Z negated with Inverted-Z.
//
// Every number is printed on the grid of 0.001, so the blocks track the
// position as printed (what a controller reads) rather than the true one: a
// coordinate is written when its printed value changes, and an arc's printed
// centre is chosen on the grid so that the printed start and end lie at the
// same radius within 0.0005 (ncprintedarc.h); an arc may print as two or
// more blocks.
#include <cmath>
#include <cstdio>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/features/ncprintedarc.h"
#include "ipostprocessor.h"

namespace {

// A position as printed: each coordinate a point of the print grid.
struct CPrintedPoint {
    int64_t x = 0;
    int64_t y = 0;
    int64_t z = 0;
};

CPrintedPoint ToGrid(const CMovePoint& p) { return {NcGridValue(p.x), NcGridValue(p.y), NcGridValue(p.z)}; }

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

Status CMillingFeature::WriteNc(std::vector<std::string>& lines, int number, NcBlocks blocks,
                                CNcOutputContext& context)
{
    const bool record = blocks == NcBlocks::Keep;
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
    const CPrintedPoint firstPrinted = ToGrid(first);
    CTokenBlock firstBlock;
    if (machine.lineNumbers)
        firstBlock.AddInteger(kNcBlockNumber, blockNumber++);
    firstBlock.Add(kNcRapid);
    firstBlock.AddReal(kNcX, NcGridCoordinate(firstPrinted.x));
    firstBlock.AddReal(kNcY, NcGridCoordinate(firstPrinted.y));
    firstBlock.AddReal(kNcZ, NcGridCoordinate(firstPrinted.z));
    if (!emit(firstBlock, machine.separator, true))
        return refused("first block");

    INT motion = kNcRapid;
    CPrintedPoint previous = firstPrinted;
    // One block: the motion code as the modal switch asks, then X and Y when
    // they change, then either I and J (arcs) or Z when it changes.
    auto block = [&](INT code, const CPrintedPoint& end, const NcGridPoint* centre) -> bool {
        CTokenBlock b;
        if (machine.lineNumbers)
            b.AddInteger(kNcBlockNumber, blockNumber++);
        if (code != motion || !machine.modal)
            b.Add(code);
        motion = code;
        if (end.x != previous.x)
            b.AddReal(kNcX, NcGridCoordinate(end.x));
        if (end.y != previous.y)
            b.AddReal(kNcY, NcGridCoordinate(end.y));
        if (centre != nullptr) {
            b.AddReal(kNcCentreI, NcGridCoordinate(centre->x - previous.x));
            b.AddReal(kNcCentreJ, NcGridCoordinate(centre->y - previous.y));
        } else if (end.z != previous.z) {
            b.AddReal(kNcZ, NcGridCoordinate(end.z));
        }
        previous = end;
        return emit(b, machine.separator, true);
    };
    for (const CMove& move : m_moves) {
        const INT code = !IsFeedMove(move.flag) ? kNcRapid
                         : IsLineMove(move.flag) ? kNcLinear
                         : IsClockwiseArc(move.flag) ? kNcArcClockwise
                                                     : kNcArcCounterClockwise;
        const CMovePoint end = map(move.end);
        if (code == kNcArcClockwise || code == kNcArcCounterClockwise) {
            // Arcs are planar: Z stays where it is printed.
            const CMovePoint start = map(move.start);
            const CMovePoint centre = map(move.centre);
            const std::vector<NcPrintedArcPiece> pieces =
                PrintArc({previous.x, previous.y}, start.x, start.y, end.x, end.y, centre.x, centre.y,
                         code == kNcArcClockwise);
            for (const NcPrintedArcPiece& piece : pieces) {
                const CPrintedPoint pieceEnd{piece.end.x, piece.end.y, previous.z};
                if (!(piece.straight ? block(kNcLinear, pieceEnd, nullptr) : block(code, pieceEnd, &piece.centre)))
                    return refused("move");
            }
            continue;
        }
        // A straight move that changes no printed coordinate writes no block
        // at all (no lone motion code or line number, no empty line); the
        // motion state stays that of the last block written.
        const CPrintedPoint printed = ToGrid(end);
        if (printed.x == previous.x && printed.y == previous.y && printed.z == previous.z)
            continue;
        if (!block(code, printed, nullptr))
            return refused("move");
    }

    CTokenBlock retract;
    retract.Add(kNcRapid);
    retract.AddReal(kNcZ, NcGridCoordinate(firstPrinted.z));
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
