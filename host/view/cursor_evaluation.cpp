// CCursorEvaluator: object snaps and tracking under the cursor.
#include "host/view/cursor_evaluation.h"

#include <optional>

#include "host/document/nuvex_doc.h"
#include "host/view/picking.h"
#include "host/view/spatial_index.h"
#include "host/view/view_transform.h"
#include "igeometry.h"
#include "iids.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/point_list.h"
#include "objectmodel/tolerance.h"

namespace {

enum Side { kTop = 0, kBottom = 1, kRight = 2, kLeft = 3 };

// Kind bits always allowed for recent points (origin and the like).
constexpr uint32_t kRecentAlways = 0x10030000;

ComPtr<ILine> LineOf(IUnknown* object)
{
    ComPtr<ILine> line;
    if (object != nullptr) {
        object->QueryInterface(IID_ILine, line.ReceiveVoid());
    }
    return line;
}

bool InsideAperture(const CVector3& p, const std::array<CPlaneObject, 4>& planes)
{
    for (const CPlaneObject& plane : planes) {
        if (!IsInFrontOfOrOnPlane(p, plane)) {
            return false;
        }
    }
    return true;
}

}  // namespace

ModifierTable TableOfModifier(uint32_t modifierKind)
{
    if (modifierKind == 2) {
        return ModifierTable::Ctrl;
    }
    if (modifierKind == 4) {
        return ModifierTable::Shift;
    }
    return ModifierTable::Plain;
}

uint32_t LevelOptions(const CNuvexDoc& document, uint32_t modifierKind)
{
    return document.Level(document.GetCurrentLevel()).options[static_cast<size_t>(TableOfModifier(modifierKind))];
}

uint32_t LevelInputKinds(const CNuvexDoc& document, uint32_t modifierKind)
{
    return document.Level(document.GetCurrentLevel())
        .inputKinds[static_cast<size_t>(TableOfModifier(modifierKind))];
}

bool IsSwitchOn(const CNuvexDoc& document, int32_t index)
{
    VARIANT value{};
    return SUCCEEDED(document.GetVariable(index, &value)) && value.bVal != 0;
}

uint32_t SnapKindsSwitchedOn(const CNuvexDoc& document)
{
    uint32_t kinds = 0;
    kinds |= IsSwitchOn(document, kOsnapEndPointVariable) ? kSnapEndPoint : 0;
    kinds |= IsSwitchOn(document, kOsnapNearestVariable) ? kSnapNearest : 0;
    kinds |= IsSwitchOn(document, kOsnapMidPointVariable) ? kSnapMidPoint : 0;
    kinds |= IsSwitchOn(document, kOsnapCenterPointVariable) ? kSnapCentre : 0;
    kinds |= IsSwitchOn(document, kOsnapIntersectionVariable) ? kSnapIntersection : 0;
    return kinds;
}

// The running best point: distance to the cursor line, kind and point.
struct CCursorEvaluator::Offer {
    const CLineObject& cursorLine;
    CSnapEngine& engine;
    std::optional<double> best;
    uint32_t kind = 0;
    CVector3 point;

    enum class Outcome { None, Equal, Better };
    Outcome Compare(const CVector3& p, double* distance) const
    {
        *distance = cursorLine.DistanceToPoint(p).GetValue();
        if (!best || *distance < *best - kRealTolerance) {
            return Outcome::Better;
        }
        return std::abs(*distance - *best) < kRealTolerance ? Outcome::Equal : Outcome::None;
    }
    void Take(const CVector3& p, uint32_t k, double distance)
    {
        best = distance;
        kind = k;
        point = p;
    }
    // The ordinary rule; hit words of the given candidates (may be none).
    void Ordinary(const CVector3& p, uint32_t k, std::initializer_list<size_t> candidates)
    {
        double distance = 0.0;
        switch (Compare(p, &distance)) {
        case Outcome::Better:
            Take(p, k, distance);
            engine.ClearCandidateHits();
            for (size_t i : candidates) {
                engine.Candidates()[i].hit = k;
            }
            break;
        case Outcome::Equal:
            kind |= k;
            for (size_t i : candidates) {
                engine.Candidates()[i].hit |= k;
            }
            break;
        case Outcome::None:
            break;
        }
    }
    // Only a first or a smaller distance counts.
    bool Improves(const CVector3& p, uint32_t k)
    {
        double distance = 0.0;
        if (Compare(p, &distance) != Outcome::Better) {
            return false;
        }
        Take(p, k, distance);
        return true;
    }
    // The list point nearest to the cursor line, if any.
    std::optional<CVector3> Nearest(const CPointList& list) const
    {
        std::optional<CVector3> nearest;
        double distance = 0.0;
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            const double d = cursorLine.DistanceToPoint(list.GetAt(i)).GetValue();
            if (!nearest || d < distance) {
                nearest = list.GetAt(i);
                distance = d;
            }
        }
        return nearest;
    }
};

CCursorEvaluator::CCursorEvaluator(CNuvexDoc& document) : m_document(document)
{
    for (CPlaneObject& plane : m_aperture) {
        plane.SetLifetime(Lifetime::OwnerHeld);
    }
}

CSnapEngine& CCursorEvaluator::Engine() { return m_document.SnapEngine(); }

void CCursorEvaluator::SelectLevelFilter(uint32_t modifierKind)
{
    const CommandLevel& level = m_document.Level(m_document.GetCurrentLevel());
    struct Choice {
        uint32_t bit;
        ModifierTable table;
    };
    static constexpr Choice kChoices[] = {
        {0x1, ModifierTable::Plain}, {0x2, ModifierTable::Ctrl}, {0x4, ModifierTable::Shift}};
    for (const Choice& choice : kChoices) {
        if ((modifierKind & choice.bit) == 0) {
            continue;
        }
        const auto table = static_cast<size_t>(choice.table);
        std::vector<GUID> ids;
        for (const FilterGuidRecord& record : level.filterGuids[table]) {
            ids.push_back(record.id);
        }
        std::vector<IEntityRecord*> objects = ResolveFilterObjects(m_document, level.filterIds[table]);
        m_filterHasObjects = !objects.empty();
        Engine().SetActiveFilter(std::move(ids), level.filterFlags[table], std::move(objects));
    }
}

void CCursorEvaluator::CollectCandidates()
{
    CSnapEngine& engine = Engine();
    // Without an index, or with an object filter (a short walk), the
    // engine collects by itself.
    if (m_index == nullptr || m_filterHasObjects) {
        engine.CollectCandidates(m_document);
        return;
    }
    for (uint32_t i : m_index->Query(m_aperture)) {
        if ((m_document.GetObjectFlagsAt(i) & kListSkipSnap) == 0) {
            engine.TestCandidate(m_document.GetObjectAt(i));
        }
    }
    const int32_t command = m_document.Level(m_document.GetCurrentLevel()).commandIndex;
    for (const CommandObjectEntry& entry : m_document.GetCommandObjects()) {
        if ((entry.owner != kNoOwner && entry.owner != command) || (entry.flags & kListSkipSnap) != 0 ||
            !entry.object) {
            continue;
        }
        ComPtr<IEntityRecord> holder;
        if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, holder.ReceiveVoid())) && holder) {
            engine.TestCandidate(holder.Get());
        }
    }
}

void CCursorEvaluator::Evaluate(const CViewTransform& view, const CPoint2& cursor, uint32_t modifierKind)
{
    CSnapEngine& engine = Engine();
    engine.Reset();
    SelectLevelFilter(modifierKind);

    // The aperture: one-pixel normals pointing inward.
    const double h = kDefaultAperture / 2.0;
    const double x = cursor.x.GetValue();
    const double y = cursor.y.GetValue();
    auto side = [&view](CPlaneObject& plane, double a, double b, double stepA, double stepB) {
        const CVector3 origin = view.ModelPointAt(a, b);
        plane.SetOriginValue(origin);
        plane.SetNormalValue(view.ModelPointAt(a + stepA, b + stepB) - origin);
    };
    side(m_aperture[kLeft], x - h, 0.0, 1.0, 0.0);
    side(m_aperture[kRight], x + h, 0.0, -1.0, 0.0);
    side(m_aperture[kBottom], 0.0, y - h, 0.0, 1.0);
    side(m_aperture[kTop], 0.0, y + h, 0.0, -1.0);
    engine.SetAperturePlanes(m_aperture[kTop], m_aperture[kBottom], m_aperture[kRight], m_aperture[kLeft]);
    CollectCandidates();

    const uint32_t options = LevelOptions(m_document, modifierKind);
    if ((options & kOptionSnaps) == 0 || !IsSwitchOn(m_document, kOsnapVariable)) {
        return;
    }
    const uint32_t modes = kRecentAlways | SnapKindsSwitchedOn(m_document);
    const bool tracking = (options & kOptionTracking) != 0 && IsSwitchOn(m_document, kTrackingVariable);
    CLineObject cursorLine = view.CursorLine();
    cursorLine.SetLifetime(Lifetime::OwnerHeld);
    Offer offer{cursorLine, engine, std::nullopt, 0, CVector3()};
    CPointList list(Lifetime::OwnerHeld);

    // Tracking lines start hidden and unhit; note those under the aperture.
    std::vector<TrackingLine>& lines = engine.TrackingLines();
    std::vector<bool> underAperture(lines.size(), false);
    for (size_t t = 0; t < lines.size(); ++t) {
        lines[t].hit = 0;
        lines[t].holder->AddFlags(kRecordHidden);
        BOOL hit = FALSE;
        underAperture[t] = SUCCEEDED(lines[t].line->HitTest(&m_aperture[kLeft], &m_aperture[kBottom],
                                                            &m_aperture[kRight], &m_aperture[kTop], 1, &hit)) &&
                           hit != FALSE;
    }

    std::vector<SnapCandidate>& candidates = engine.Candidates();
    std::vector<ComPtr<ILine>> curves(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i) {
        if ((candidates[i].mask & kCandidateLine) != 0) {
            curves[i] = LineOf(candidates[i].geometry.Get());
        }
    }
    auto isOpen = [](ILine* curve) {
        BOOL closed = TRUE;
        return SUCCEEDED(curve->IsClosed(&closed)) && closed == FALSE;
    };
    // i's intersection with other, else other's with i; false when neither
    // can intersect.
    auto intersect = [&list](ILine* a, ILine* b) {
        if (SUCCEEDED(a->IntersectLine(b, &list, 0x13, 0x13))) {
            return true;
        }
        return SUCCEEDED(b->IntersectLine(a, &list, 0x13, 0x13));
    };

    for (size_t i = 0; i < candidates.size(); ++i) {
        ILine* curve = curves[i].Get();
        if (curve == nullptr) {
            continue;
        }
        CVector3 point;
        if ((modes & kSnapEndPoint) != 0 && isOpen(curve)) {
            if (SUCCEEDED(curve->GetStartPoint(&point))) {
                offer.Ordinary(point, kSnapEndPoint, {i});
            }
            if (SUCCEEDED(curve->GetEndPoint(&point))) {
                offer.Ordinary(point, kSnapEndPoint, {i});
            }
        }
        if ((modes & kSnapMidPoint) != 0 && isOpen(curve) && SUCCEEDED(curve->GetMidPoint(&point))) {
            offer.Ordinary(point, kSnapMidPoint, {i});
        }
        if ((modes & kSnapCentre) != 0 && SUCCEEDED(curve->GetCenter(&point))) {
            engine.AddRecentPoint(point, kSnapCentre, reinterpret_cast<uintptr_t>(candidates[i].holder));
            offer.Ordinary(point, kSnapCentre, {i});
        }
        if ((modes & kSnapIntersection) != 0) {
            for (size_t j = 0; j < candidates.size(); ++j) {
                if (j == i || !curves[j]) {
                    continue;
                }
                if (!intersect(curve, curves[j].Get())) {
                    continue;
                }
                if (const std::optional<CVector3> nearest = offer.Nearest(list)) {
                    offer.Ordinary(*nearest, kSnapIntersection, {i, j});
                }
            }
        }
    }

    for (const RecentPoint& recent : engine.RecentPoints()) {
        if ((recent.kind & ~modes) == 0 && InsideAperture(recent.point, m_aperture)) {
            offer.Ordinary(recent.point, recent.kind, {});
        }
    }

    auto takeCrossing = [&](size_t* candidate, size_t* lineA, size_t* lineB) {
        if (const std::optional<CVector3> nearest = offer.Nearest(list)) {
            if (offer.Improves(*nearest, kSnapIntersection)) {
                engine.ClearCandidateHits();
                engine.ClearTrackingHits();
                if (candidate != nullptr) {
                    candidates[*candidate].hit = kSnapIntersection;
                }
                for (size_t* t : {lineA, lineB}) {
                    if (t != nullptr) {
                        lines[*t].hit = kSnapIntersection;
                    }
                }
            }
        }
    };
    if (tracking) {
        if ((modes & kSnapIntersection) != 0) {
            for (size_t i = 0; i < candidates.size(); ++i) {
                for (size_t t = 0; t < lines.size() && curves[i]; ++t) {
                    if (underAperture[t] && SUCCEEDED(curves[i]->IntersectLine(lines[t].line, &list, 0x13, 0x13))) {
                        takeCrossing(&i, &t, nullptr);
                    }
                }
            }
        }
        for (size_t s = 0; s < lines.size(); ++s) {
            for (size_t t = 0; t < lines.size(); ++t) {
                if (s != t && underAperture[s] && underAperture[t] &&
                    SUCCEEDED(lines[s].line->IntersectLine(lines[t].line, &list, 0x13, 0x13))) {
                    takeCrossing(nullptr, &s, &t);
                }
            }
        }
    }

    bool trackingTaken = false;
    if (!(offer.best && InsideAperture(offer.point, m_aperture))) {
        if ((modes & kSnapNearest) != 0) {
            for (size_t i = 0; i < candidates.size(); ++i) {
                CVector3 point;
                if (curves[i] && SUCCEEDED(candidates[i].geometry->NearestPointToLine(&cursorLine, &point, 1)) &&
                    offer.Improves(point, kSnapNearest)) {
                    engine.ClearCandidateHits();
                    candidates[i].hit = kSnapNearest;
                }
            }
        }
        if (tracking) {
            for (size_t t = 0; t < lines.size(); ++t) {
                CVector3 point;
                if (underAperture[t] && SUCCEEDED(lines[t].line->NearestPointToLine(&cursorLine, &point, 1)) &&
                    offer.Improves(point, kSnapNearest)) {
                    engine.ClearCandidateHits();
                    engine.ClearTrackingHits();
                    lines[t].hit = kSnapNearest;
                    trackingTaken = true;
                }
            }
        }
    }

    for (TrackingLine& line : lines) {
        if (line.hit != 0) {
            line.holder->ClearFlags(kRecordHidden);
        }
    }
    engine.SetResult(offer.best ? offer.kind : 0, offer.point);

    if (!tracking || trackingTaken || !offer.best) {
        return;
    }
    const CCoordSystemObject& frame = m_document.UserFrame();
    const CVector3 result = offer.point;
    for (uint32_t kind : {kSnapEndPoint, kSnapMidPoint, kSnapCentre, kSnapIntersection}) {
        if ((offer.kind & kind) != 0) {
            engine.AddTrackingLine(result, frame.GetXAxisValue(), 0);
            engine.AddTrackingLine(result, frame.GetYAxisValue(), kind);
            engine.AddTrackingLine(result, frame.GetZAxisValue(), 0);
            break;
        }
    }
    for (size_t i = 0; i < candidates.size(); ++i) {
        if ((candidates[i].hit & (kSnapEndPoint | kSnapMidPoint)) == 0 || !curves[i]) {
            continue;
        }
        CVector3 at = result;
        CVector3 direction;
        if (FAILED(curves[i]->GetDirectionAt(&at, &direction))) {
            continue;
        }
        engine.AddTrackingLine(result, direction, 0);
        const CVector3 across = direction.Cross(frame.GetZAxisValue());
        if (!across.IsZero()) {
            engine.AddTrackingLine(result, across.Normalized(), candidates[i].hit);
        }
    }
}
