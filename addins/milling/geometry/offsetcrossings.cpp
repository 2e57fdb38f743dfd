// The walk offset's crossing search: neighbouring pieces trimmed at inner
// corners, every other crossing of two pieces recorded with the way the
// pieces pass each other, pieces that cross nothing dropped. Conventions:
// see offsetbuilder.h.
#include "addins/milling/geometry/offsetbuilder.h"

#include <algorithm>
#include <cmath>

namespace offsetwalk {

// Pieces only ever die, so the first live one never moves back: the
// search resumes where the last one ended.
int COffsetBuilder::FirstAlive() const
{
    while (m_firstAliveFrom < static_cast<int>(m_pieces.size()) && !m_pieces[m_firstAliveFrom].alive)
        ++m_firstAliveFrom;
    return m_firstAliveFrom < static_cast<int>(m_pieces.size()) ? m_firstAliveFrom : -1;
}

int COffsetBuilder::NextAlive(int p) const
{
    for (++p; p < static_cast<int>(m_pieces.size()); ++p)
        if (m_pieces[p].alive)
            return p;
    return -1;
}

int COffsetBuilder::PreviousAlive(int p) const
{
    for (--p; p >= 0; --p)
        if (m_pieces[p].alive)
            return p;
    return -1;
}

// Side test of a junction point: the pieces cross the right way round.
bool COffsetBuilder::PassesSideTest(int i, int j, const CPoint2D& x)
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
bool COffsetBuilder::ClassifyPieceCrossing(int i, int j, const CPoint2D& x, int& flagI, int& flagJ)
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

void COffsetBuilder::RemoveRecord(int id)
{
    for (int r : {id, m_records[id].twin}) {
        if (r < 0 || m_records[r].removed)
            continue;
        m_records[r].removed = true;
        auto& list = m_pieces[m_records[r].piece].records;
        list.erase(std::remove(list.begin(), list.end(), r), list.end());
    }
}

void COffsetBuilder::AddCrossing(int i, int j, const CPoint2D& x, int flagI, int flagJ)
{
    const int idJ = static_cast<int>(m_records.size());
    const int idI = idJ + 1;
    Record rj{x, j, Seg(j).DistanceAlong(x, 1), flagJ, idI, kLabelNone, false};
    Record ri{x, i, Seg(i).DistanceAlong(x, 1), flagI, idJ, kLabelNone, false};
    m_records.push_back(rj);
    m_records.push_back(ri);
    // A piece's records stay ordered by distance (a trim moves only the end
    // of a piece that has records), so both places are found by bisection:
    // a long corner arc can collect thousands of crossings.
    // Piece j: before the first record not nearer to the start.
    auto& listJ = m_pieces[j].records;
    auto at = std::lower_bound(listJ.begin(), listJ.end(), rj.distance,
                               [&](int r, double distance) { return m_records[r].distance < distance; });
    listJ.insert(at, idJ);
    // Piece i: after the last record not farther from the start.
    auto& listI = m_pieces[i].records;
    auto after = std::upper_bound(listI.begin(), listI.end(), ri.distance,
                                  [&](double distance, int r) { return distance < m_records[r].distance; });
    listI.insert(after, idI);
}

// Cuts the junction of neighbouring pieces j = i - 1 and i back to one of
// their meeting points; returns the flag word of piece j without its end.
SegmentFlags COffsetBuilder::TrimNeighbours(int i, int j, SegmentPoints& points, int& count, SegmentFlags flagsJ)
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

void COffsetBuilder::TakeOut(int p)
{
    for (int r : std::vector<int>(m_pieces[p].records))
        RemoveRecord(r);
    m_pieces[p].alive = false;
    m_pieces[p].segment.reset();
}

// Does any alive piece before i meet the arc?
bool COffsetBuilder::EarlierPieceMeets(int i, const CSegment2D& arc)
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
void COffsetBuilder::Candidates(const SegmentBox& box, int before, std::vector<int>& out)
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
bool COffsetBuilder::KeepUncrossedClosedPiece(int i)
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

void COffsetBuilder::SearchCrossings()
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

} // namespace offsetwalk
