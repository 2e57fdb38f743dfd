// The walk offset of CCurveList::Offset: its raw pieces, its crossing
// records and the builder that runs its steps. Internal to the offset.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; side 1 puts a positive distance to the right of the
// direction of travel, side 0 to the left; lengths in drawing units; tolerant
// tests compare with g_geometryTolerance.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/geometry/curvelist.h"

namespace offsetwalk {

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

    int Run(std::vector<std::unique_ptr<CCurveList>>& results, int simplify, double simplifyTolerance);

private:
    const CSegment2D& Source(int i) const { return *m_chain.segments[static_cast<size_t>(i)]; }
    int SourceCount() const { return m_chain.GetCount(); }
    CSegment2D& Seg(int p) { return *m_pieces[static_cast<size_t>(p)].segment; }

    // Steps 1 and 2, pieces, joints and caps: offsetpieces.cpp.

    void BuildPieces();
    bool OnOffsetSide(const CPoint2D& l, const CPoint2D& r) const;
    bool DoublingBackIsOuter(const CPoint2D& u, const CPoint2D& l, int h, int i) const;
    void InsertCorner(int vertex, std::unique_ptr<CSegment2D> arc, int position);
    void SettleJoint(int vertex, int h, int i, int previous, int current, bool closing);
    bool MeetSharp(int previous, int current);

    std::unique_ptr<CArcSegment2D> EndCapAt(const CPoint2D& e, const CPoint2D& direction) const;
    void AddCaps();

    // Step 3, the crossing search: offsetcrossings.cpp.

    int FirstAlive() const;
    int NextAlive(int p) const;
    int PreviousAlive(int p) const;
    bool PassesSideTest(int i, int j, const CPoint2D& x);
    bool ClassifyPieceCrossing(int i, int j, const CPoint2D& x, int& flagI, int& flagJ);
    void RemoveRecord(int id);
    void AddCrossing(int i, int j, const CPoint2D& x, int flagI, int flagJ);
    SegmentFlags TrimNeighbours(int i, int j, SegmentPoints& points, int& count, SegmentFlags flagsJ);
    void TakeOut(int p);
    bool EarlierPieceMeets(int i, const CSegment2D& arc);
    void Candidates(const SegmentBox& box, int before, std::vector<int>& out);
    bool KeepUncrossedClosedPiece(int i);
    void SearchCrossings();

    // Steps 4 and 5, runs, labels, walks and chaining: offsetwalk.cpp.

    bool NumberRuns();
    int RecordCount() const { return static_cast<int>(m_order.size()); }
    Record& At(int n) { return m_records[m_order[n]]; }
    int TwinPosition(int n) { return m_position[At(n).twin]; }
    int RunAt(int n) { return m_runOfPiece[At(n).piece]; }
    void LabelPair(int n, int label);
    template <typename Touch>
    void ScanBetween(int from, int to, Touch&& touch);
    void AssignLabels();
    void LabelRun(int r);
    template <typename Visit>
    void Walk(Visit&& visit);
    void EmitPortion(int& k, CPoint2D& p, int n, const CPoint2D& q, std::vector<std::unique_ptr<CSegment2D>>& out);
    std::vector<std::unique_ptr<CSegment2D>> OutputWalk();

    int Chain(std::vector<std::unique_ptr<CSegment2D>> output, std::vector<std::unique_ptr<CCurveList>>& results,
              int simplify, double simplifyTolerance);

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

} // namespace offsetwalk
