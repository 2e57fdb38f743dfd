// Machining checks of NC programs (see toolpath_check.h): printed blocks
// read back through the postprocessor, their arcs measured, the program
// drawn as entities and its moves compared with the toolpath's.
#include "addins/milling/features/tests/toolpath_check.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "addins/milling/features/ncfilereader.h"
#include "addins/milling/features/tests/entitycomponentdocument.h"
#include "ientitycomponent.h"
#include "nctokens.h"
#include "objectmodel/vector3.h"
#include "postproc/postprocessor.h"

namespace toolpathcheck {

PostprocessorHolder::PostprocessorHolder(int dialect)
{
    EXPECT_EQ(yelk::CPostprocessor::Create(dialect, &p), S_OK);
}

PostprocessorHolder::~PostprocessorHolder()
{
    if (p)
        p->Release();
}

bool IsArcMotion(int motion) { return motion == kNcArcClockwise || motion == kNcArcCounterClockwise; }

std::vector<ReadBlock> ReadProgram(IPostprocessor* postprocessor, const std::vector<std::string>& lines)
{
    std::vector<ReadBlock> blocks;
    INT count = 0;
    INT codes[kNcMaxBlockTokens], kinds[kNcMaxBlockTokens];
    VARIANT values[kNcMaxBlockTokens] = {};
    int motion = kNcRapid;
    CMovePoint at;
    for (const std::string& l : lines) {
        EXPECT_EQ(postprocessor->ParseBlock(l.c_str(), &count, codes, kinds, values, nullptr), S_OK);
        ReadBlock b;
        b.start = at;
        b.end = at;
        double i = 0, j = 0;
        bool word = false;
        for (INT t = 0; t < count; ++t) {
            switch (codes[t]) {
            case kNcRapid: case kNcLinear: case kNcArcClockwise: case kNcArcCounterClockwise:
                motion = codes[t];
                break;
            case kNcX: b.end.x = values[t].dblVal; word = true; break;
            case kNcY: b.end.y = values[t].dblVal; word = true; break;
            case kNcZ: b.end.z = values[t].dblVal; word = true; break;
            case kNcCentreI: i = values[t].dblVal; word = true; break;
            case kNcCentreJ: j = values[t].dblVal; word = true; break;
            default: break;
            }
        }
        if (!word)
            continue;
        b.motion = motion;
        b.centre = {at.x + i, at.y + j, at.z};
        blocks.push_back(b);
        at = b.end;
    }
    count = 0;
    postprocessor->ParseBlock("", &count, codes, kinds, values, nullptr);
    return blocks;
}

double WorstArcRadiusDifference(const std::vector<ReadBlock>& blocks)
{
    double worst = 0.0;
    for (const ReadBlock& b : blocks) {
        if (!IsArcMotion(b.motion))
            continue;
        const double r1 = std::hypot(b.start.x - b.centre.x, b.start.y - b.centre.y);
        const double r2 = std::hypot(b.end.x - b.centre.x, b.end.y - b.centre.y);
        worst = std::max(worst, std::fabs(r1 - r2));
    }
    return worst;
}

namespace {
CMovePoint Components(const CVector3& v) { return {v.x.GetValue(), v.y.GetValue(), v.z.GetValue()}; }
} // namespace

std::vector<DrawnMove> DrawProgram(IPostprocessor* postprocessor, const std::vector<std::string>& lines)
{
    RecordingDocument document;
    CNcFileReader reader(&document);
    std::vector<INT> codes(kNcMaxBlockTokens), kinds(kNcMaxBlockTokens), styles(kNcMaxLineLength);
    std::vector<VARIANT> values(kNcMaxBlockTokens);
    INT count = 0;
    for (const std::string& line : lines) {
        postprocessor->ParseBlock(line.c_str(), &count, codes.data(), kinds.data(), values.data(), styles.data());
        reader.AddLine(count, codes.data(), kinds.data(), values.data());
    }
    postprocessor->ParseBlock("", &count, codes.data(), kinds.data(), values.data(), styles.data());
    reader.Interpret();
    std::vector<DrawnMove> drawn;
    for (const auto& record : document.records) {
        IUnknown* object = nullptr;
        if (record->GetObject(&object) != S_OK || object == nullptr)
            continue;
        DrawnMove m;
        ComPtr<ILineEntity> line;
        if (object->QueryInterface(IID_ILineEntity, line.ReceiveVoid()) != S_OK)
            continue;
        CVector3 start, end;
        line->GetStartPoint(&start);
        line->GetEndPoint(&end);
        m.start = Components(start);
        m.end = Components(end);
        ComPtr<IArcEntity> arc;
        if (object->QueryInterface(IID_IArcEntity, arc.ReceiveVoid()) == S_OK) {
            CVector3 centre, normal;
            arc->GetCenter(&centre);
            arc->GetNormal(&normal);
            m.arc = true;
            m.centre = Components(centre);
            m.ccw = normal.z.GetValue() > 0;
        }
        drawn.push_back(m);
    }
    return drawn;
}

namespace {
double Distance3(const CMovePoint& a, const CMovePoint& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
CMovePoint Minus(const CMovePoint& a, const CMovePoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
std::string Text(const CMovePoint& p)
{
    std::ostringstream s;
    s << "(" << p.x << ", " << p.y << ", " << p.z << ")";
    return s.str();
}

// How far a drawn point lies from the move (both in program coordinates).
double OffMove(const CMovePoint& p, const CMove& m)
{
    const double dz = std::fabs(p.z - m.end.z);
    const PlaneCurve c = PlaneCurve::FromMove(m);
    if (!c.arc && std::fabs(m.start.z - m.end.z) > 1e-12) {
        // A vertical or slanted line: its distance in space.
        const CMovePoint d = Minus(m.end, m.start), f = Minus(p, m.start);
        const double dd = d.x * d.x + d.y * d.y + d.z * d.z;
        const double t = std::clamp((f.x * d.x + f.y * d.y + f.z * d.z) / dd, 0.0, 1.0);
        return Distance3(p, {m.start.x + d.x * t, m.start.y + d.y * t, m.start.z + d.z * t});
    }
    return std::hypot(Distance({p.x, p.y}, c), dz);
}
} // namespace

std::string CompareDrawn(const std::vector<CMove>& moves, const std::vector<DrawnMove>& drawn, CMovePoint origin,
                         double tolerance)
{
    if (moves.empty())
        return drawn.empty() ? "" : "moves drawn for an empty toolpath";
    size_t next = 0;
    CMovePoint at = Minus(moves.front().start, origin);
    for (size_t i = 0; i < moves.size(); ++i) {
        CMove m = moves[i];
        m.start = Minus(m.start, origin);
        m.end = Minus(m.end, origin);
        m.centre = Minus(m.centre, origin);
        std::ostringstream where;
        where << "move " << i << " to " << Text(m.end) << ": ";
        const bool fullTurn = IsArcMove(m.flag) && Distance3(m.start, m.end) < 1e-9;
        const auto check = [&](const DrawnMove& d) -> std::string {
            if (Distance3(d.start, at) > tolerance)
                return "drawn from " + Text(d.start) + " where the tool stands at " + Text(at);
            if (IsArcMove(m.flag) && d.arc) {
                if (d.ccw == IsClockwiseArc(m.flag))
                    return "drawn in the other sense";
                // The printed centre is a grid point near the true one.
                if (std::fabs(d.centre.x - m.centre.x) > tolerance || std::fabs(d.centre.y - m.centre.y) > tolerance)
                    return "drawn about " + Text(d.centre) + " for the centre " + Text(m.centre);
            } else if (d.arc) {
                return "a straight move drawn as an arc";
            } else if (OffMove({0.5 * (d.start.x + d.end.x), 0.5 * (d.start.y + d.end.y), 0.5 * (d.start.z + d.end.z)},
                               m) > tolerance) {
                return "drawn straight off the move's curve";
            }
            if (OffMove(d.end, m) > tolerance)
                return "drawn to " + Text(d.end) + " off the move";
            return "";
        };
        if (fullTurn) {
            if (next >= drawn.size())
                return where.str() + "a full circle not drawn";
            const DrawnMove& d = drawn[next++];
            if (!d.arc || Distance3(d.start, d.end) > tolerance)
                return where.str() + "a full circle drawn as something else, to " + Text(d.end);
            const std::string problem = check(d);
            if (!problem.empty())
                return where.str() + problem;
            at = d.end;
            continue;
        }
        int pieces = 0;
        while (Distance3(at, m.end) > tolerance) {
            if (next >= drawn.size())
                return where.str() + "not drawn (nothing left)";
            if (++pieces > 64)
                return where.str() + "drawn in too many pieces";
            const DrawnMove& d = drawn[next++];
            const std::string problem = check(d);
            if (!problem.empty())
                return where.str() + problem;
            at = d.end;
        }
    }
    // The closing retract to the starting height.
    if (next < drawn.size()) {
        const DrawnMove& d = drawn[next];
        const double startZ = moves.front().start.z - origin.z;
        if (!d.arc && std::hypot(d.end.x - at.x, d.end.y - at.y) <= tolerance && std::fabs(d.end.z - startZ) <= tolerance)
            ++next;
    }
    if (next != drawn.size())
        return "drawn moves beyond the toolpath, from " + Text(drawn[next].start);
    return "";
}

} // namespace toolpathcheck
