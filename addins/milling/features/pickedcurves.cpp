// ChainPicks: from picked document records to curve lists (see pickedcurves.h).
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/millingfeature.h"

#include <cmath>

#include "addins/milling/geometry/curvelist.h"
#include "ientitycomponent.h"
#include "ientityrecord.h"
#include "igeometry.h"
#include "ihost.h"
#include "objectmodel/selection_set_object.h"
#include "objectmodel/vector3.h"

namespace {

// The object a pick holds (lent, no reference), or null.
IUnknown* PickedObject(uintptr_t id)
{
    if (id == 0)
        return nullptr;
    IUnknown* object = nullptr;
    if (FAILED(reinterpret_cast<IEntityRecord*>(id)->GetObject(&object)))
        return nullptr;
    return object;
}

// One chain per member curve of a group.
void AddGroupMembers(IPlane& group, int32_t count, std::vector<std::unique_ptr<CCurveList>>& chains)
{
    std::vector<IPlane*> parts(static_cast<size_t>(count), nullptr);
    const bool read = SUCCEEDED(group.GetParts(parts.data()));
    // Each part the group handed out is ours, whether or not it read them all.
    std::vector<ComPtr<IPlane>> members;
    for (IPlane* part : parts)
        if (part != nullptr)
            members.push_back(ComPtr<IPlane>::Adopt(part));
    if (!read)
        return;
    for (const ComPtr<IPlane>& member : members) {
        auto chain = std::make_unique<CCurveList>();
        chain->AddEntityCurve(member.Get(), nullptr, kChainingTolerance);
        chains.push_back(std::move(chain));
    }
}

// The plain picks sorted by height: one list per level that holds the curves
// lying wholly at it, in pick order, and last a list of the rest (curves whose
// ends lie at different heights, and picks that are no curve). The chainer
// joins curves that touch in space, so a drawing with the moves between its
// outlines drawn (a program read back: down to an outline, round it, up and
// across to the next) would otherwise run every outline and the moves
// between them into one chain through the points where they meet, and the
// outlines would come out as no closed chain of their own.
std::vector<std::vector<uintptr_t>> PicksByLevel(const std::vector<uintptr_t>& ids)
{
    std::vector<double> levels;
    std::vector<std::vector<uintptr_t>> sets;
    std::vector<uintptr_t> rest;
    for (uintptr_t id : ids) {
        ComPtr<ILineEntity> curve;
        IUnknown* object = PickedObject(id);
        CVector3 start;
        CVector3 end;
        if (object == nullptr || FAILED(object->QueryInterface(IID_ILineEntity, curve.ReceiveVoid())) || !curve ||
            FAILED(curve->GetStartPoint(&start)) || FAILED(curve->GetEndPoint(&end)) ||
            !(std::fabs(start.z.GetValue() - end.z.GetValue()) <= kChainingTolerance)) {
            rest.push_back(id);
            continue;
        }
        const double z = start.z.GetValue();
        size_t level = 0;
        while (level < levels.size() && !(std::fabs(levels[level] - z) <= kChainingTolerance))
            ++level;
        if (level == levels.size()) {
            levels.push_back(z);
            sets.emplace_back();
        }
        sets[level].push_back(id);
    }
    if (!rest.empty())
        sets.push_back(std::move(rest));
    return sets;
}

} // namespace

Result<std::vector<std::unique_ptr<CCurveList>>> ChainPicks(ISelectionSet* picks, IHostDocument* document,
                                                            CProgressSteps& progress)
{
    if (document == nullptr)
        return Error{FeatureError::NoDocument, "picked curves"};
    ComPtr<ICurveChainer> chainer;
    if (FAILED(document->CreateObject(CLSID_EntityComponent, IID_ICurveChainer, chainer.ReceiveVoid())) ||
        !chainer)
        return Error{FeatureError::NoChainer, "picked curves"};

    std::vector<std::unique_ptr<CCurveList>> chains;
    std::vector<uintptr_t> plain;
    uint32_t count = 0;
    if (picks != nullptr && FAILED(picks->GetCount(&count)))
        count = 0;
    for (uint32_t i = 0; i < count && i <= INT32_MAX; ++i) {
        uintptr_t id = 0;
        if (FAILED(picks->GetAt(static_cast<int32_t>(i), &id)))
            continue;
        IUnknown* object = PickedObject(id);
        if (object == nullptr)
            continue;
        ComPtr<IPlane> group;
        if (FAILED(object->QueryInterface(IID_IPlane, group.ReceiveVoid())) || !group) {
            plain.push_back(id);
            continue;
        }
        int32_t parts = 0;
        if (SUCCEEDED(group->GetPartCount(&parts)) && parts > 0 && parts <= kMaxGroupParts)
            AddGroupMembers(*group.Get(), parts, chains);
    }

    if (!plain.empty()) {
        bool chained = false;
        for (const std::vector<uintptr_t>& ids : PicksByLevel(plain)) {
            CSelectionSetObject level;
            for (uintptr_t id : ids)
                level.InsertAt(level.GetCount(), id, 1);
            int32_t chainCount = 0;
            if (FAILED(chainer->SetEntities(&level)) || FAILED(chainer->GetChainCount(&chainCount)))
                continue;
            chained = true;
            for (int32_t c = 0; c < chainCount; ++c) {
                ComPtr<ICurveSetEntity> chain;
                if (FAILED(chainer->GetChain(c, chain.Receive())) || !chain)
                    continue;
                auto list = std::make_unique<CCurveList>();
                list->AddEntitySegments(chain.Get(), kChainingTolerance);
                chains.push_back(std::move(list));
            }
        }
        if (chained)
            progress.Advance(8);
    }
    progress.Advance(8);
    return chains;
}

Status ComputeFromPicks(CMillingFeature& feature, ISelectionSet* picks, IHostDocument* document,
                        CToolpathProgressBar* progress, const ContourCompute& compute)
{
    feature.ClearMoves();
    CProgressSteps steps(progress);
    Result<std::vector<std::unique_ptr<CCurveList>>> chains = ChainPicks(picks, document, steps);
    if (!chains.ok())
        return Passed(chains.error(), "ComputeFromPicks: chaining the picks");
    CDocumentMoveEntityFactory factory(document);
    return compute(chains.value(), &factory, &steps);
}
