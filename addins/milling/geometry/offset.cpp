// CCurveList::Offset: the curves at a constant distance beside a chain.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; side 1 puts a positive distance to the right of the
// direction of travel, side 0 to the left; lengths in drawing units; tolerant
// tests compare with g_geometryTolerance.
//
// The driver runs these steps, each a method of COffsetBuilder:
//  1. BuildPieces: offset every segment and settle the joint at every
//     vertex (round corner arcs on the outer side, sharp corners where the
//     chain bends only slightly and the caller asks for them).
//  2. AddCaps: half circles round the ends of an open chain.
//  3. SearchCrossings: trim neighbouring pieces at inner corners, record
//     every other crossing of two pieces, drop pieces that cross nothing and
//     lie too near the chain.
//  4. AssignLabels and the walks: decide, from the crossing records, which
//     portions lie outside every loop, and collect them.
//  5. Chain: join the collected portions into result lists.
// CCurveList::Offset then checks the lists (offsetfilter.h) and, where the
// walk went wrong, replaces them by the filtering offset. By default it runs
// these steps once a stage (offsetstaging.h).
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "addins/milling/geometry/curvelist.h"
#include "addins/milling/geometry/offsetfilter.h"

namespace {

// Labels of crossing records during the walk.
enum RecordLabel : int {
    kLabelNone = 0,
    kLabelCandidate = 1, // a record of an earlier run that a later run may enter by
    kLabelPending = 2,   // a candidate whose twin lies in the run being examined
    kLabelJump = 3,      // the walk moves to the twin here
    kLabelSkipped = 4,   // the walk passes over it
    kLabelTail = 5,      // after the last entry of a run that stayed open
    kLabelLevel = 6,     // changes the loop level of the walk
};

struct Piece {
    std::unique_ptr<CSegment2D> segment;
    int source = 0;      // source segment, or the vertex of a corner arc
    bool corner = false; // a corner arc inserted at vertex `source`
    int joint = 0;       // 1: meets its predecessor cleanly
    bool alive = true;
    bool startCap = false;
    bool endCap = false;
    std::vector<int> records; // ids of its crossing records, by distance
};

struct Record {
    CPoint2D point;
    int piece = 0;
    double distance = 0.0;
    int flag = 0;
    int twin = -1;
    int label = kLabelNone;
    bool removed = false;
};

class COffsetBuilder {
public:
    COffsetBuilder(const CCurveList& chain, double distance, int side, int useCornerLimit, double cornerAngle,
                   PairSearch search)
        : m_chain(chain), m_d(distance), m_side(side), m_search(search)
    {
        m_closed = chain.IsClosed() != 0;
        m_useLimit = (useCornerLimit & 1) != 0 && !ExactlyEqual(cornerAngle, 0.0);
        if (m_useLimit)
            m_limit = CVector2D(cornerAngle * kPi / 180.0);
    }

    int Run(std::vector<std::unique_ptr<CCurveList>>& results, int simplify, double simplifyTolerance)
    {
        BuildPieces();
        if (m_pieces.empty())
            return 0;
        if (m_pieces.size() == 1) {
            auto list = std::make_unique<CCurveList>();
            list->Append(std::move(m_pieces[0].segment));
            results.push_back(std::move(list));
            return 1;
        }
        AddCaps();
        SearchCrossings();
        if (!NumberRuns())
            return 0;
        AssignLabels();
        std::vector<std::unique_ptr<CSegment2D>> output = OutputWalk();
        if (output.empty())
            return 0;
        return Chain(std::move(output), results, simplify, simplifyTolerance);
    }

private:
    const CSegment2D& Source(int i) const { return *m_chain.segments[static_cast<size_t>(i)]; }
    int SourceCount() const { return m_chain.GetCount(); }
    CSegment2D& Seg(int p) { return *m_pieces[static_cast<size_t>(p)].segment; }

    // --- Step 1: pieces and joints -------------------------------------

    void BuildPieces()
    {
        for (int i = 0; i < SourceCount(); ++i) {
            auto clone = Source(i).Clone(0);
            int current = -1;
            if (clone->Offset(m_d, m_side)) {
                Piece piece;
                piece.segment = std::move(clone);
                piece.source = i;
                m_pieces.push_back(std::move(piece));
                current = static_cast<int>(m_pieces.size()) - 1;
            }
            if (i == 0)
                continue;
            int previous = -1;
            const int before = current < 0 ? static_cast<int>(m_pieces.size()) - 1 : current - 1;
            if (before >= 0 && !m_pieces[before].corner && m_pieces[before].source == i - 1)
                previous = before;
            SettleJoint(i, i - 1, i, previous, current, false);
        }
        if (m_closed && !m_pieces.empty()) {
            const int last = static_cast<int>(m_pieces.size()) - 1;
            const int previous = (!m_pieces[last].corner && m_pieces[last].source == SourceCount() - 1) ? last : -1;
            const int current = (!m_pieces[0].corner && m_pieces[0].source == 0) ? 0 : -1;
            if (!(previous >= 0 && previous == current))
                SettleJoint(0, SourceCount() - 1, 0, previous, current, true);
        }
    }

    // f(r) of the doubling-back rule: r lies on the offset side of l.
    bool OnOffsetSide(const CPoint2D& l, const CPoint2D& r) const
    {
        const double c = l.Cross(r);
        return m_side ? c > g_geometryTolerance : c < -g_geometryTolerance;
    }

    // Where the chain doubles back on itself at u, the arcs among the two
    // source segments decide whether the offset side is the outer one.
    bool DoublingBackIsOuter(const CPoint2D& u, const CPoint2D& l, int h, int i) const
    {
        const CPoint2D centreH = Source(h).GetCentre();
        const bool arcH = GetGeometryGlobal() == S_OK;
        const CPoint2D centreI = Source(i).GetCentre();
        const bool arcI = GetGeometryGlobal() == S_OK;
        const CPoint2D rI = u - centreI;
        const CPoint2D rH = u - centreH;
        if (!arcH && !arcI)
            return false;
        if (arcI && !arcH)
            return OnOffsetSide(l, rI);
        if (arcH && !arcI)
            return !OnOffsetSide(l, rH);
        if ((rH - rI).IsZero())
            return false;
        const bool h1 = rI.HasCommonSign(rH) != 0;
        const bool h2 = rI.HasCommonSign(rH - rI) != 0;
        const bool f = OnOffsetSide(l, rI);
        return (f && !(h1 && !h2)) || (!f && h1 && !h2);
    }

    void InsertCorner(int vertex, std::unique_ptr<CSegment2D> arc, int position)
    {
        Piece piece;
        piece.segment = std::move(arc);
        piece.source = vertex;
        piece.corner = true;
        piece.joint = 1;
        m_pieces.insert(m_pieces.begin() + position, std::move(piece));
    }

    // The joint at vertex `vertex` (the start of source segment i, the end
    // of source segment h) between the pieces previous and current (-1:
    // missing). closing: the joint between the last and the first segment of
    // a closed chain.
    void SettleJoint(int vertex, int h, int i, int previous, int current, bool closing)
    {
        const double tol = g_geometryTolerance;
        const CPoint2D u = Source(i).GetStartPoint();
        CPoint2D a, l;
        if (previous >= 0 && current >= 0) {
            a = Seg(previous).GetDirectionAt(u, 1);
            l = Seg(current).GetDirectionAt(u, 1);
        } else {
            a = Source(h).GetDirectionAt(u, 1);
            l = Source(i).GetDirectionAt(u, 1);
        }
        const CVector2D t = m_side == 0 ? CVector2D(-a, l) : CVector2D(l, -a);
        bool outer = t.y > tol;
        if (!outer && IsWithinTolerance(t.y) && t.x > 0.0)
            outer = DoublingBackIsOuter(u, l, h, i);
        if (!outer) {
            if (IsWithinTolerance(t.y) && t.x < 0.0 && current >= 0)
                m_pieces[current].joint = 1;
            return;
        }
        if (current >= 0)
            m_pieces[current].joint = 1;
        if (previous >= 0 && current >= 0) {
            if (m_useLimit && t.IsGreaterOrEqual(m_limit) && t.y > tol && MeetSharp(previous, current))
                return;
            auto arc = std::make_unique<CArcSegment2D>(u, m_d, Seg(previous).GetEndPoint(),
                                                       Seg(current).GetStartPoint(), m_side);
            InsertCorner(vertex, std::move(arc), closing ? static_cast<int>(m_pieces.size()) : current);
            return;
        }
        const CPoint2D from = u + a.Perpendicular(m_side) * m_d;
        const CPoint2D to = u + l.Perpendicular(m_side) * m_d;
        if (from.IsEqual(to))
            return;
        auto arc = std::make_unique<CArcSegment2D>(u, m_d, from, to, m_side);
        const int position = current >= 0 ? current : static_cast<int>(m_pieces.size());
        InsertCorner(vertex, std::move(arc), position);
    }

    // Extends the two pieces to meet at the crossing of their extensions
    // nearest to both; false when the extensions do not meet.
    bool MeetSharp(int previous, int current)
    {
        SegmentPoints points;
        const int count = Seg(current).Intersect(Seg(previous), points, kBeyondStart, kBeyondEnd);
        if (count == 0)
            return false;
        const CPoint2D currentStart = Seg(current).GetStartPoint();
        const CPoint2D previousEnd = Seg(previous).GetEndPoint();
        int best = 0;
        double bestSum = 0.0;
        for (int k = 0; k < count; ++k) {
            const double sum = std::fabs(Seg(current).DistanceBetween(currentStart, points[k], 4, 1, 1)) +
                               std::fabs(Seg(previous).DistanceBetween(previousEnd, points[k], 4, 1, 1));
            if (k == 0 || sum < bestSum) {
                best = k;
                bestSum = sum;
            }
        }
        Seg(current).SetStartPoint(points[best]);
        Seg(previous).SetEndPoint(points[best]);
        return true;
    }

    // --- Step 2: caps ----------------------------------------------------

    // The half circle round the chain end point e on the side away from the
    // chain, from e + q to e - q, q the offset-side normal of travel at e.
    std::unique_ptr<CArcSegment2D> EndCapAt(const CPoint2D& e, const CPoint2D& direction) const
    {
        const CPoint2D q = direction.Perpendicular(m_side);
        return std::make_unique<CArcSegment2D>(e, m_d, e + q, e - q, m_side);
    }

    void AddCaps()
    {
        const CPoint2D c = Source(0).GetStartPoint();
        const CPoint2D p = Source(0).GetDirectionAt(c, 1).Perpendicular(m_side);
        m_startCap = std::make_unique<CArcSegment2D>(c, m_d, c - p, c + p, m_side);
        if (!m_closed) {
            Piece start;
            start.segment = m_startCap->Clone(0);
            start.source = 0;
            start.startCap = true;
            start.joint = start.segment->GetEndPoint().IsEqual(Seg(0).GetStartPoint());
            m_pieces.insert(m_pieces.begin(), std::move(start));

            const int lastSource = SourceCount() - 1;
            const CPoint2D e = Source(lastSource).GetEndPoint();
            Piece end;
            end.segment = EndCapAt(e, Source(lastSource).GetDirectionAt(e, 1));
            end.source = lastSource;
            end.endCap = true;
            end.joint = m_pieces.back().segment->GetEndPoint().IsEqual(end.segment->GetStartPoint());
            m_pieces.push_back(std::move(end));
        }
        if (m_pieces.back().segment->GetEndPoint().IsEqual(m_pieces.front().segment->GetStartPoint()))
            m_pieces.front().joint = 1;
    }

    // --- Step 3: crossing search -----------------------------------------

    // Pieces only ever die, so the first live one never moves back: the
    // search resumes where the last one ended.
    int FirstAlive() const
    {
        while (m_firstAliveFrom < static_cast<int>(m_pieces.size()) && !m_pieces[m_firstAliveFrom].alive)
            ++m_firstAliveFrom;
        return m_firstAliveFrom < static_cast<int>(m_pieces.size()) ? m_firstAliveFrom : -1;
    }
    int NextAlive(int p) const
    {
        for (++p; p < static_cast<int>(m_pieces.size()); ++p)
            if (m_pieces[p].alive)
                return p;
        return -1;
    }
    int PreviousAlive(int p) const
    {
        for (--p; p >= 0; --p)
            if (m_pieces[p].alive)
                return p;
        return -1;
    }

    // Side test of a junction point: the pieces cross the right way round.
    bool PassesSideTest(int i, int j, const CPoint2D& x)
    {
        const CPoint2D di = Seg(i).GetDirectionAt(x, 1);
        const CPoint2D dj = Seg(j).GetDirectionAt(x, 1);
        const double c = di.Cross(dj);
        if (std::fabs(c) < g_geometryTolerance)
            return false;
        return m_side ? c > 0.0 : c < 0.0;
    }

    // Flags of pieces i and j at a crossing point x; false when the pieces
    // only touch there without crossing.
    bool ClassifyPieceCrossing(int i, int j, const CPoint2D& x, int& flagI, int& flagJ)
    {
        const double tol = g_geometryTolerance;
        const CPoint2D di = Seg(i).GetDirectionAt(x, 1);
        const CPoint2D dj = Seg(j).GetDirectionAt(x, 1);
        const double c = di.Cross(dj);
        if (std::fabs(c) >= tol) {
            flagI = (m_side ? c > 0.0 : c < 0.0) ? 1 : 0;
            flagJ = 1 - flagI;
            return true;
        }
        const CPoint2D centreI = Seg(i).GetCentre();
        const bool arcI = GetGeometryGlobal() == S_OK;
        const CPoint2D centreJ = Seg(j).GetCentre();
        const bool arcJ = GetGeometryGlobal() == S_OK;
        const CPoint2D rI = x - centreI, rJ = x - centreJ;
        const int common = di.HasCommonSign(dj);
        auto onSide = [&](const CPoint2D& d, const CPoint2D& r) {
            const double cross = d.Cross(r);
            return m_side ? cross > tol : cross < -tol;
        };
        if (!arcI && !arcJ)
            return false;
        if (arcI && !arcJ) {
            if (onSide(dj, rI)) {
                flagI = 1;
                flagJ = 1 - common;
            } else {
                flagI = 0;
                flagJ = common;
            }
            return true;
        }
        if (arcJ && !arcI) {
            if (onSide(di, rJ)) {
                flagI = 1 - common;
                flagJ = 1;
            } else {
                flagI = common;
                flagJ = 0;
            }
            return true;
        }
        if ((rJ - rI).IsZero())
            return false;
        const bool h1 = rI.HasCommonSign(rJ) != 0;
        const bool h2 = rI.HasCommonSign(rJ - rI) != 0;
        flagI = onSide(dj, rI) ? 1 : 0;
        if (h1 && !h2)
            flagI = 1 - flagI;
        flagJ = flagI ? 1 - common : common;
        return true;
    }

    void RemoveRecord(int id)
    {
        for (int r : {id, m_records[id].twin}) {
            if (r < 0 || m_records[r].removed)
                continue;
            m_records[r].removed = true;
            auto& list = m_pieces[m_records[r].piece].records;
            list.erase(std::remove(list.begin(), list.end(), r), list.end());
        }
    }

    void AddCrossing(int i, int j, const CPoint2D& x, int flagI, int flagJ)
    {
        const int idJ = static_cast<int>(m_records.size());
        const int idI = idJ + 1;
        Record rj{x, j, Seg(j).DistanceAlong(x, 1), flagJ, idI, kLabelNone, false};
        Record ri{x, i, Seg(i).DistanceAlong(x, 1), flagI, idJ, kLabelNone, false};
        m_records.push_back(rj);
        m_records.push_back(ri);
        // Piece j: before the first record not nearer to the start.
        auto& listJ = m_pieces[j].records;
        auto at = std::find_if(listJ.begin(), listJ.end(),
                               [&](int r) { return m_records[r].distance >= rj.distance; });
        listJ.insert(at, idJ);
        // Piece i: after the last record not farther from the start.
        auto& listI = m_pieces[i].records;
        auto after = std::find_if(listI.rbegin(), listI.rend(),
                                  [&](int r) { return m_records[r].distance <= ri.distance; });
        listI.insert(after.base(), idI);
    }

    // Cuts the junction of neighbouring pieces j = i - 1 and i back to one of
    // their meeting points; returns the flag word of piece j without its end.
    SegmentFlags TrimNeighbours(int i, int j, SegmentPoints& points, int& count, SegmentFlags flagsJ)
    {
        int chosen = 0;
        bool chosenPasses = PassesSideTest(i, j, points[0]);
        double chosenDistance = Seg(j).DistanceAlong(points[0], 1);
        for (int k = 1; k < count; ++k) {
            const double distance = Seg(j).DistanceAlong(points[k], 1);
            if (distance < chosenDistance) {
                chosen = k;
                chosenDistance = distance;
            } else if (!chosenPasses && PassesSideTest(i, j, points[k])) {
                chosen = k;
                chosenDistance = distance;
                chosenPasses = true;
            }
        }
        const CPoint2D x = points[chosen];
        Seg(i).SetStartPoint(x);
        Seg(j).SetEndPoint(x);
        m_pieces[i].joint = 1;
        flagsJ &= ~kAtEnd;
        int kept = 0;
        for (int k = 0; k < count; ++k) {
            if (k == chosen)
                continue;
            if (Seg(i).IsPointOn(points[k], kClosedSegment) && Seg(j).IsPointOn(points[k], flagsJ))
                points[kept++] = points[k];
        }
        count = kept;
        // Records of piece j that the cut took away go with their twins.
        auto& list = m_pieces[j].records;
        for (int n = static_cast<int>(list.size()) - 1; n >= 0 && n < static_cast<int>(list.size()); --n) {
            const int r = list[n];
            if (!Seg(j).IsPointOn(m_records[r].point, kClosedSegment))
                RemoveRecord(r);
            else
                m_records[r].distance = Seg(j).DistanceAlong(m_records[r].point, 1);
        }
        return flagsJ;
    }

    void TakeOut(int p)
    {
        for (int r : std::vector<int>(m_pieces[p].records))
            RemoveRecord(r);
        m_pieces[p].alive = false;
        m_pieces[p].segment.reset();
    }

    // Does any alive piece before i meet the arc?
    bool EarlierPieceMeets(int i, const CSegment2D& arc)
    {
        std::vector<int> candidates;
        Candidates(IntersectionBox(arc, kClosedSegment), i, candidates);
        SegmentPoints points;
        for (int j : candidates)
            if (Seg(j).Intersect(arc, points, kClosedSegment, kWithoutEnd) > 0)
                return true;
        return false;
    }

    // Alive pieces before `before` whose boxes overlap box, nearest first.
    void Candidates(const SegmentBox& box, int before, std::vector<int>& out)
    {
        out.clear();
        if (m_search == PairSearch::AllPairs) {
            for (int j = before - 1; j >= 0; --j)
                if (m_pieces[j].alive)
                    out.push_back(j);
            return;
        }
        std::vector<int>& found = m_found;
        m_grid->Query(box, found);
        for (auto it = found.rbegin(); it != found.rend(); ++it)
            if (*it < before && m_pieces[*it].alive)
                out.push_back(*it);
    }

    // A closed chain's piece that crosses nothing: it is kept only when it
    // runs out of the start cap and no earlier piece meets the cap at the
    // end of its source segment; then it is the first piece of the result
    // and everything before it goes.
    bool KeepUncrossedClosedPiece(int i)
    {
        SegmentPoints points;
        const int count = Seg(i).Intersect(*m_startCap, points, kClosedSegment, kWithoutEnd);
        bool leaves = false;
        for (int k = 0; k < count; ++k)
            if (Seg(i).GetDirectionAt(points[k], 0).Dot(points[k] - m_startCap->centre) > 0.0)
                leaves = true;
        if (!leaves)
            return false;
        int source = m_pieces[i].source;
        if (m_pieces[i].corner)
            source = source == 0 ? SourceCount() - 1 : source - 1;
        const CPoint2D e = Source(source).GetEndPoint();
        const auto cap = EndCapAt(e, Source(source).GetDirectionAt(e, 1));
        return !EarlierPieceMeets(i, *cap);
    }

    void SearchCrossings()
    {
        if (m_search == PairSearch::Indexed) {
            std::vector<SegmentBox> boxes;
            boxes.reserve(m_pieces.size());
            for (Piece& piece : m_pieces)
                boxes.push_back(IntersectionBox(*piece.segment, kClosedSegment));
            m_grid = std::make_unique<CSegmentGrid>(std::move(boxes));
        }
        std::vector<int> candidates;
        SegmentPoints points;
        int i = NextAlive(FirstAlive());
        while (i >= 0) {
            m_removedLast = false;
            const int first = FirstAlive();
            const bool iLast = NextAlive(i) < 0;
            const bool wrapJoined = iLast && m_pieces[first].joint == 1;
            const int neighbour = PreviousAlive(i);
            bool crossed = false;
            Candidates(m_search == PairSearch::Indexed ? IntersectionBox(Seg(i), kClosedSegment) : SegmentBox{}, i,
                       candidates);
            for (int j : candidates) {
                const bool jLater = j != first || wrapJoined;
                const SegmentFlags flagsI = m_pieces[i].joint ? kWithoutStart : kClosedSegment;
                SegmentFlags flagsJ;
                if (j == neighbour && m_pieces[i].joint)
                    flagsJ = jLater ? kInside : kWithoutEnd;
                else
                    flagsJ = jLater ? kWithoutStart : kClosedSegment;
                int count = Seg(i).Intersect(Seg(j), points, flagsI, flagsJ);
                if (count == 0)
                    continue;
                if (j == neighbour && !m_pieces[i].joint) {
                    flagsJ = TrimNeighbours(i, j, points, count, flagsJ);
                    crossed = true;
                }
                for (int k = 0; k < count; ++k) {
                    int flagI = 0, flagJ = 0;
                    if (!ClassifyPieceCrossing(i, j, points[k], flagI, flagJ))
                        continue;
                    AddCrossing(i, j, points[k], flagI, flagJ);
                    crossed = true;
                }
            }
            if (crossed || m_pieces[i].joint || wrapJoined) {
                i = NextAlive(i);
                continue;
            }
            if (m_closed && KeepUncrossedClosedPiece(i)) {
                for (int p = 0; p < i; ++p)
                    if (m_pieces[p].alive)
                        TakeOut(p);
                for (Piece& piece : m_pieces)
                    piece.records.clear();
                m_records.clear();
                i = NextAlive(i);
                continue;
            }
            const int next = NextAlive(i);
            if (next >= 0)
                m_pieces[next].joint = 0;
            m_removedLast = next < 0;
            TakeOut(i);
            i = next;
        }
    }

    // --- Step 4: runs, labels and walks ------------------------------------

    // Numbers the runs of cleanly joined pieces and orders the records;
    // false when the offset falls apart without any crossing.
    bool NumberRuns()
    {
        int run = -1;
        for (int p = FirstAlive(); p >= 0; p = NextAlive(p)) {
            if (run < 0 || m_pieces[p].joint == 0)
                ++run;
            m_run.push_back(run);
            m_alive.push_back(p);
            for (int r : m_pieces[p].records)
                m_order.push_back(r);
        }
        m_runCount = run + 1;
        m_position.assign(m_records.size(), -1);
        for (int n = 0; n < static_cast<int>(m_order.size()); ++n)
            m_position[m_order[n]] = n;
        m_runOfPiece.assign(m_pieces.size(), -1);
        for (size_t k = 0; k < m_alive.size(); ++k)
            m_runOfPiece[m_alive[k]] = m_run[k];
        return !(m_order.empty() && m_runCount > 1);
    }

    int RecordCount() const { return static_cast<int>(m_order.size()); }
    Record& At(int n) { return m_records[m_order[n]]; }
    int TwinPosition(int n) { return m_position[At(n).twin]; }
    int RunAt(int n) { return m_runOfPiece[At(n).piece]; }
    void LabelPair(int n, int label)
    {
        At(n).label = label;
        m_records[At(n).twin].label = label;
    }

    // Labels the records between two positions (exclusive, forwards),
    // moving past jump pairs by their twins; touch(n) decides each one.
    template <typename Touch>
    void ScanBetween(int from, int to, Touch&& touch)
    {
        std::vector<char> seen(static_cast<size_t>(RecordCount()), 0);
        for (int n = from + 1; n >= 0 && n < to && n < RecordCount(); ++n) {
            if (seen[n])
                break;
            seen[n] = 1;
            if (At(n).label == kLabelJump) {
                const int twin = TwinPosition(n);
                if (twin <= n)
                    continue;
                touch(n);
                n = twin;
                continue;
            }
            touch(n);
        }
    }

    void AssignLabels()
    {
        const int firstRun = m_run.front();
        const int lastRun = m_run.back();
        if (firstRun != lastRun) {
            for (int n = 0; n < RecordCount() && RunAt(n) == 0; ++n)
                LabelPair(n, kLabelCandidate);
            for (int r = 1; r < m_runCount; ++r)
                LabelRun(r);
        }
        // Every record the walk meets that it neither jumps at nor skips
        // changes the level.
        Walk([&](int n, int&) {
            if (At(n).label != kLabelJump && At(n).label != kLabelSkipped)
                At(n).label = kLabelLevel;
        });
        for (int n = 0; n < RecordCount(); ++n)
            if (At(n).label == kLabelLevel && m_records[At(n).twin].label != kLabelLevel)
                LabelPair(n, kLabelSkipped);
    }

    void LabelRun(int r)
    {
        // Records are ordered by run: the run starts at the first record
        // whose run is not below r.
        int lo = 0, hi = RecordCount();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (RunAt(mid) < r)
                lo = mid + 1;
            else
                hi = mid;
        }
        int begin = lo;
        int end = begin;
        while (end < RecordCount() && RunAt(end) == r)
            ++end;
        int entry = -1;
        for (int n = begin; n < end; ++n) {
            if (At(n).label == kLabelCandidate && At(n).flag == 1) {
                entry = n;
                break;
            }
        }
        if (entry < 0)
            return;
        LabelPair(entry, kLabelJump);
        for (int n = TwinPosition(entry) + 1; n < RecordCount() && RunAt(n) < r; ++n)
            if (At(n).label == kLabelCandidate && RunAt(TwinPosition(n)) == r)
                LabelPair(n, kLabelPending);
        int s = entry;
        bool open = true;
        int exitTwin = -1;
        for (int n = entry + 1; n < end; ++n) {
            Record& rec = At(n);
            if (open) {
                if (rec.label == kLabelPending && rec.flag == 0) {
                    LabelPair(n, kLabelJump);
                    ScanBetween(TwinPosition(s), TwinPosition(n), [&](int q) { LabelPair(q, kLabelSkipped); });
                    open = false;
                    exitTwin = TwinPosition(n);
                } else {
                    LabelPair(n, kLabelCandidate);
                }
            } else {
                if (rec.label == kLabelPending && rec.flag == 1) {
                    LabelPair(n, kLabelJump);
                    ScanBetween(exitTwin, TwinPosition(n), [&](int q) {
                        if (At(q).label == kLabelPending)
                            LabelPair(q, kLabelCandidate);
                    });
                    s = n;
                    open = true;
                } else {
                    LabelPair(n, kLabelSkipped);
                }
            }
        }
        if (open) {
            for (int n = TwinPosition(s) + 1; n >= 0 && n < RecordCount() && RunAt(n) < r; ++n) {
                if (At(n).label == kLabelJump) {
                    const int twin = TwinPosition(n);
                    if (twin <= n)
                        continue;
                    n = twin;
                    continue;
                }
                if (At(n).label == kLabelCandidate || At(n).label == kLabelPending)
                    At(n).label = kLabelTail;
            }
            for (int n = s + 1; n < end; ++n)
                LabelPair(n, kLabelCandidate);
        }
    }

    // The walk: records in order while they lie in the current run; at a
    // jump record it moves to the twin, whose run becomes the current one.
    // visit(n, level) sees every record met; a record met twice ends it.
    template <typename Visit>
    void Walk(Visit&& visit)
    {
        if (RecordCount() == 0)
            return;
        std::vector<char> seen(static_cast<size_t>(RecordCount()), 0);
        int run = m_run.front();
        int level = 0;
        for (int n = 0; n < RecordCount() && RunAt(n) == run;) {
            if (seen[n])
                break;
            seen[n] = 1;
            visit(n, level);
            if (At(n).label == kLabelJump) {
                n = TwinPosition(n);
                if (seen[n])
                    break;
                seen[n] = 1;
                run = RunAt(n);
            }
            ++n;
        }
    }

    void EmitPortion(int& k, CPoint2D& p, int n, const CPoint2D& q, std::vector<std::unique_ptr<CSegment2D>>& out)
    {
        auto emit = [&](int piece, const CPoint2D* from, const CPoint2D* to) {
            if (m_pieces[piece].startCap || m_pieces[piece].endCap || !m_pieces[piece].alive)
                return;
            auto clone = Seg(piece).Clone(0);
            if (from)
                clone->SetStartPoint(*from);
            if (to)
                clone->SetEndPoint(*to);
            out.push_back(std::move(clone));
        };
        if (n == k) {
            if (p.IsNotEqual(q))
                emit(k, &p, &q);
        } else if (n > k) {
            const CPoint2D end = Seg(k).GetEndPoint();
            if (p.IsNotEqual(end))
                emit(k, p.IsEqual(Seg(k).GetStartPoint()) ? nullptr : &p, nullptr);
            for (int m = NextAlive(k); m >= 0 && m < n; m = NextAlive(m))
                emit(m, nullptr, nullptr);
            if (Seg(n).GetStartPoint().IsNotEqual(q))
                emit(n, nullptr, &q);
        }
        k = n;
        p = q;
    }

    std::vector<std::unique_ptr<CSegment2D>> OutputWalk()
    {
        int lowest = 0;
        Walk([&](int n, int& level) {
            if (At(n).label != kLabelLevel)
                return;
            level += At(n).flag ? -1 : 1;
            lowest = std::min(lowest, level);
        });
        int level = -lowest;
        if (lowest == 0 && m_removedLast)
            level = -1;

        std::vector<std::unique_ptr<CSegment2D>> out;
        int k = m_alive.front();
        CPoint2D p = Seg(k).GetStartPoint();
        Walk([&](int n, int&) {
            Record& rec = At(n);
            if (rec.label == kLabelJump) {
                Record& twin = m_records[rec.twin];
                if (level == 0)
                    EmitPortion(k, p, rec.piece, rec.point, out);
                k = twin.piece;
                p = twin.point;
            } else if (rec.label == kLabelLevel && rec.flag == 1) {
                --level;
                k = rec.piece;
                p = rec.point;
            } else if (rec.label == kLabelLevel) {
                if (level == 0)
                    EmitPortion(k, p, rec.piece, rec.point, out);
                k = rec.piece;
                p = rec.point;
                ++level;
            }
        });
        if (level == 0) {
            const int run = m_runOfPiece[k];
            const CPoint2D end = Seg(k).GetEndPoint();
            if (p.IsNotEqual(end) && !m_pieces[k].startCap && !m_pieces[k].endCap) {
                auto clone = Seg(k).Clone(0);
                if (p.IsNotEqual(Seg(k).GetStartPoint()))
                    clone->SetStartPoint(p);
                out.push_back(std::move(clone));
            }
            for (int m = NextAlive(k); m >= 0 && m_runOfPiece[m] == run; m = NextAlive(m))
                if (!m_pieces[m].startCap && !m_pieces[m].endCap)
                    out.push_back(Seg(m).Clone(0));
        }
        return out;
    }

    // --- Step 5: chaining --------------------------------------------------

    int Chain(std::vector<std::unique_ptr<CSegment2D>> output, std::vector<std::unique_ptr<CCurveList>>& results,
              int simplify, double simplifyTolerance)
    {
        CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
        const int count = static_cast<int>(output.size());
        std::vector<CPoint2D> startPoints(static_cast<size_t>(count));
        for (int m = 0; m < count; ++m)
            startPoints[m] = output[m]->GetStartPoint();
        const CPointCells starts(startPoints, g_geometryTolerance);
        std::vector<char> taken(static_cast<size_t>(count), 0);
        std::vector<int> near;
        int lists = 0;
        for (int k = 0; k < count; ++k) {
            if (taken[k])
                continue;
            auto list = std::make_unique<CCurveList>();
            CPoint2D end = output[k]->GetEndPoint();
            list->Append(std::move(output[k]));
            taken[k] = 1;
            // One pass in index order: the next successor is the first free
            // piece after the position of the pass (every piece before k is
            // taken) whose start meets the current end.
            int position = k;
            while (true) {
                int best = -1;
                const int following = position + 1;
                if (following < count && !taken[following] && startPoints[following].IsEqual(end)) {
                    best = following; // the walk's output mostly runs on in order
                } else {
                    starts.Near(end, near);
                    for (int m : near)
                        if (m > position && !taken[m] && (best < 0 || m < best) && startPoints[m].IsEqual(end))
                            best = m;
                }
                if (best < 0)
                    break;
                end = output[best]->GetEndPoint();
                list->Append(std::move(output[best]));
                taken[best] = 1;
                position = best;
            }
            if (simplify)
                list->Simplify(simplifyTolerance);
            results.push_back(std::move(list));
            ++lists;
        }
        return lists;
    }

    const CCurveList& m_chain;
    double m_d;
    int m_side;
    PairSearch m_search;
    bool m_closed = false;
    bool m_useLimit = false;
    CVector2D m_limit;
    std::vector<Piece> m_pieces;
    std::vector<Record> m_records;
    std::unique_ptr<CArcSegment2D> m_startCap;
    std::unique_ptr<CSegmentGrid> m_grid;
    std::vector<int> m_found;
    bool m_removedLast = false;
    mutable int m_firstAliveFrom = 0;
    // Filled by NumberRuns: alive pieces in order with their runs, the
    // records in order and the position of each record id in that order.
    std::vector<int> m_alive;
    std::vector<int> m_run;
    std::vector<int> m_runOfPiece;
    std::vector<int> m_order;
    std::vector<int> m_position;
    int m_runCount = 0;
};

} // namespace

int CCurveList::Offset(double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                       int useCornerLimit, double cornerAngleDegrees, int simplify, double simplifyTolerance,
                       PairSearch search, OffsetStaging staging) const
{
    if (segments.empty())
        return 0;
    if (staging == OffsetStaging::Staged)
        return StagedOffset(*this, distance, side, results, useCornerLimit, cornerAngleDegrees, simplify,
                            simplifyTolerance, search);
    if (IsWithinTolerance(distance)) {
        results.push_back(Copy());
        results.back()->clockwise = 0;
        return 1;
    }
    if (distance < 0.0) {
        distance = -distance;
        side = side ? 0 : 1;
    }
    std::vector<std::unique_ptr<CCurveList>> lists;
    COffsetBuilder builder(*this, distance, side, useCornerLimit, cornerAngleDegrees, search);
    int count = builder.Run(lists, 0, 0.0);
    // The walk over the crossing records can lose its way where the chain
    // collapses, touches itself or doubles back; its result must never hand
    // out a path nearer to the chain than the distance (the tool would cut
    // into the part) or break a closed chain's offset open. Such a result,
    // and an empty one, is replaced by the filtering offset.
    if (count == 0 || !OffsetResultIsSound(*this, distance, lists)) {
        lists.clear();
        count = FilteredOffset(*this, distance, side, lists, 0, 0.0, search);
    }
    if (simplify) {
        CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
        for (auto& list : lists)
            list->Simplify(simplifyTolerance);
    }
    for (auto& list : lists)
        results.push_back(std::move(list));
    return count;
}
