// The walk offset's raw pieces: every segment's offset, the joints at the
// vertices (round corner arcs on the outer side, sharp corners where the
// chain bends only slightly) and the caps round an open chain's ends.
// Conventions: see offsetbuilder.h.
#include "addins/milling/geometry/offsetbuilder.h"

#include <cmath>

namespace offsetwalk {

void COffsetBuilder::BuildPieces()
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
bool COffsetBuilder::OnOffsetSide(const CPoint2D& l, const CPoint2D& r) const
{
    const double c = l.Cross(r);
    return m_side ? c > g_geometryTolerance : c < -g_geometryTolerance;
}

// Where the chain doubles back on itself at u, the arcs among the two
// source segments decide whether the offset side is the outer one.
bool COffsetBuilder::DoublingBackIsOuter(const CPoint2D& u, const CPoint2D& l, int h, int i) const
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

void COffsetBuilder::InsertCorner(int vertex, std::unique_ptr<CSegment2D> arc, int position)
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
void COffsetBuilder::SettleJoint(int vertex, int h, int i, int previous, int current, bool closing)
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
bool COffsetBuilder::MeetSharp(int previous, int current)
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

// The half circle round the chain end point e on the side away from the
// chain, from e + q to e - q, q the offset-side normal of travel at e.
std::unique_ptr<CArcSegment2D> COffsetBuilder::EndCapAt(const CPoint2D& e, const CPoint2D& direction) const
{
    const CPoint2D q = direction.Perpendicular(m_side);
    return std::make_unique<CArcSegment2D>(e, m_d, e + q, e - q, m_side);
}

void COffsetBuilder::AddCaps()
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

} // namespace offsetwalk
