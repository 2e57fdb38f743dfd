// The walk offset's output: the pieces numbered by runs, the crossing
// records labelled, the walk over them that collects the portions outside
// every loop, and the chaining of those portions into lists. Conventions:
// see offsetbuilder.h.
#include "addins/milling/geometry/offsetbuilder.h"

#include <algorithm>
#include <vector>

namespace offsetwalk {

// Numbers the runs of cleanly joined pieces and orders the records;
// false when the offset falls apart without any crossing.
bool COffsetBuilder::NumberRuns()
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

void COffsetBuilder::LabelPair(int n, int label)
{
    At(n).label = label;
    m_records[At(n).twin].label = label;
}

// Labels the records between two positions (exclusive, forwards),
// moving past jump pairs by their twins; touch(n) decides each one.
template <typename Touch>
void COffsetBuilder::ScanBetween(int from, int to, Touch&& touch)
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

void COffsetBuilder::AssignLabels()
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

void COffsetBuilder::LabelRun(int r)
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
void COffsetBuilder::Walk(Visit&& visit)
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

void COffsetBuilder::EmitPortion(int& k, CPoint2D& p, int n, const CPoint2D& q, std::vector<std::unique_ptr<CSegment2D>>& out)
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

std::vector<std::unique_ptr<CSegment2D>> COffsetBuilder::OutputWalk()
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

int COffsetBuilder::Chain(std::vector<std::unique_ptr<CSegment2D>> output, std::vector<std::unique_ptr<CCurveList>>& results,
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

} // namespace offsetwalk
