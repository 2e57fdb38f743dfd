// CMillingFeature::WriteNc and CNcFeatureWriter: the feature's moves as NC
// blocks, built as token blocks and formatted by the operation's
// postprocessor.
//
// Per program: an optional "Phase n" heading; a G0 X Y Z block at the start of
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
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/features/ncfeaturewriter.h"
#include "addins/milling/features/ncprintedarc.h"
#include "ipostprocessor.h"

namespace {

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

// Formats one block through the context's postprocessor and appends its
// line; false when the postprocessor refused it. `keep` blocks are
// recorded in the feature when recording is on.
bool Emit(CMillingFeature& feature, CNcOutputContext& context, const CTokenBlock& block, bool separate, bool keep,
          bool record, std::vector<std::string>& lines)
{
    char text[kNcMaxLineLength] = {};
    const HRESULT hr = context.postprocessor->FormatBlock(block.Count(), block.Codes(), block.Kinds(), block.Values(),
                                                         text, nullptr, separate ? 1 : 0);
    if (FAILED(hr))
        return false;
    lines.emplace_back(text);
    if (record && keep && feature.RecordsNcBlocks())
        feature.RecordNcBlock(block.Count(), block.Codes(), block.Kinds(), block.Values());
    return true;
}

} // namespace

CNcFeatureWriter::CNcFeatureWriter(CMillingFeature& feature, int number, bool record, CNcOutputContext& context)
    : m_feature(feature), m_context(context), m_number(number), m_record(record), m_blockNumber(context.nextBlockNumber)
{
}

CMovePoint CNcFeatureWriter::Map(const CMovePoint& p) const
{
    CMovePoint q{p.x - m_context.origin.x, p.y - m_context.origin.y, p.z - m_context.origin.z};
    if (m_context.invertedZ)
        q.z = -q.z;
    return q;
}

Status CNcFeatureWriter::Refused(const char* what)
{
    m_stage = Stage::Done;
    return Error{FeatureError::FormatFailed, m_feature.m_name + ": " + what};
}

Status CNcFeatureWriter::Write(std::vector<std::string>& lines, size_t count)
{
    const size_t wanted = lines.size() + std::min(count, lines.max_size() - lines.size());
    if (m_stage == Stage::Start) {
        if (m_feature.Moves().empty()) {
            m_stage = Stage::Done;
            return Ok{};
        }
        if (m_context.postprocessor == nullptr) {
            m_stage = Stage::Done;
            return Error{FeatureError::NoPostprocessor, m_feature.m_name};
        }
        if (m_number > 0) {
            char heading[32];
            std::snprintf(heading, sizeof heading, "Phase% d", m_number);
            lines.emplace_back(heading);
        }
        const CMovePoint first = Map(m_feature.Moves().front().start);
        m_first = {NcGridValue(first.x), NcGridValue(first.y), NcGridValue(first.z)};
        CTokenBlock firstBlock;
        if (m_context.machine.lineNumbers)
            firstBlock.AddInteger(kNcBlockNumber, m_blockNumber++);
        firstBlock.Add(kNcRapid);
        firstBlock.AddReal(kNcX, NcGridCoordinate(m_first.x));
        firstBlock.AddReal(kNcY, NcGridCoordinate(m_first.y));
        firstBlock.AddReal(kNcZ, NcGridCoordinate(m_first.z));
        if (!Emit(m_feature, m_context, firstBlock, m_context.machine.separator, true, m_record, lines))
            return Refused("first block");
        m_motion = kNcRapid;
        m_previous = m_first;
        m_stage = Stage::Moves;
    }
    const std::vector<CMove>& moves = m_feature.Moves();
    while (m_stage == Stage::Moves && m_nextMove < moves.size() && lines.size() < wanted) {
        if (!WriteMove(moves[m_nextMove], lines))
            return Refused("move");
        ++m_nextMove;
    }
    if (m_stage == Stage::Moves && m_nextMove == moves.size() && lines.size() < wanted)
        return Finish(lines);
    return Ok{};
}

bool CNcFeatureWriter::WriteMove(const CMove& move, std::vector<std::string>& lines)
{
    const CNcMachineSettings& machine = m_context.machine;
    // One block: the motion code as the modal switch asks, then X and Y when
    // they change, then either I and J (arcs) or Z when it changes.
    auto block = [&](INT code, const PrintedPoint& end, const NcGridPoint* centre) -> bool {
        CTokenBlock b;
        if (machine.lineNumbers)
            b.AddInteger(kNcBlockNumber, m_blockNumber++);
        if (code != m_motion || !machine.modal)
            b.Add(code);
        m_motion = code;
        if (end.x != m_previous.x)
            b.AddReal(kNcX, NcGridCoordinate(end.x));
        if (end.y != m_previous.y)
            b.AddReal(kNcY, NcGridCoordinate(end.y));
        if (centre != nullptr) {
            b.AddReal(kNcCentreI, NcGridCoordinate(centre->x - m_previous.x));
            b.AddReal(kNcCentreJ, NcGridCoordinate(centre->y - m_previous.y));
        } else if (end.z != m_previous.z) {
            b.AddReal(kNcZ, NcGridCoordinate(end.z));
        }
        m_previous = end;
        return Emit(m_feature, m_context, b, machine.separator, true, m_record, lines);
    };
    const INT code = !IsFeedMove(move.flag) ? kNcRapid
                     : IsLineMove(move.flag) ? kNcLinear
                     : IsClockwiseArc(move.flag) ? kNcArcClockwise
                                                 : kNcArcCounterClockwise;
    const CMovePoint end = Map(move.end);
    if (code == kNcArcClockwise || code == kNcArcCounterClockwise) {
        // Arcs are planar: Z stays where it is printed.
        const CMovePoint start = Map(move.start);
        const CMovePoint centre = Map(move.centre);
        const std::vector<NcPrintedArcPiece> pieces =
            PrintArc({m_previous.x, m_previous.y}, start.x, start.y, end.x, end.y, centre.x, centre.y,
                     code == kNcArcClockwise);
        for (const NcPrintedArcPiece& piece : pieces) {
            const PrintedPoint pieceEnd{piece.end.x, piece.end.y, m_previous.z};
            if (!(piece.straight ? block(kNcLinear, pieceEnd, nullptr) : block(code, pieceEnd, &piece.centre)))
                return false;
        }
        return true;
    }
    // A straight move that changes no printed coordinate writes no block at
    // all (no lone motion code or line number, no empty line); the motion
    // state stays that of the last block written.
    const PrintedPoint printed{NcGridValue(end.x), NcGridValue(end.y), NcGridValue(end.z)};
    if (printed.x == m_previous.x && printed.y == m_previous.y && printed.z == m_previous.z)
        return true;
    return block(code, printed, nullptr);
}

Status CNcFeatureWriter::Finish(std::vector<std::string>& lines)
{
    CTokenBlock retract;
    retract.Add(kNcRapid);
    retract.AddReal(kNcZ, NcGridCoordinate(m_first.z));
    if (!Emit(m_feature, m_context, retract, false, true, m_record, lines))
        return Refused("retract");
    if (m_context.lastFeature) {
        CTokenBlock end;
        end.Add(kNcProgramEnd);
        if (!Emit(m_feature, m_context, end, false, false, m_record, lines))
            return Refused("program end");
    }
    m_context.nextBlockNumber = m_blockNumber;
    m_stage = Stage::Done;
    return Ok{};
}

Status CMillingFeature::WriteNc(std::vector<std::string>& lines, int number, NcBlocks blocks,
                                CNcOutputContext& context)
{
    const bool record = blocks == NcBlocks::Keep;
    // Formats into locals and appends only when every block formatted, so a
    // refused block leaves the lines as they were.
    std::vector<std::string> out;
    CNcFeatureWriter writer(*this, number, record, context);
    const Status written = writer.Write(out, out.max_size());
    if (!written.ok())
        return written;
    lines.insert(lines.end(), std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()));
    return Ok{};
}
