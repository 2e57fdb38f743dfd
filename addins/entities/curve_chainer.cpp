// CCurveChainer, CCurveChain and CCurveView: joining picked curves into chains.
#include "addins/entities/curve_chainer.h"

#include <deque>
#include <new>

#include "ientityrecord.h"

namespace {

struct PickedCurve {
    ComPtr<ILineEntity> curve;
    CVector3 start;
    CVector3 end;
    bool used = false;
};

bool Touches(const CVector3& a, const CVector3& b) { return (a - b).Length().GetValue() <= kTouchDistance; }

// The line or arc entity held by the document record with this id, or null.
ComPtr<ILineEntity> CurveOfPick(uintptr_t id)
{
    if (id == 0) {
        return {};
    }
    auto* record = reinterpret_cast<IEntityRecord*>(id);
    IUnknown* object = nullptr;
    if (FAILED(record->GetObject(&object)) || object == nullptr) {
        return {};
    }
    ComPtr<ILineEntity> curve;
    if (FAILED(object->QueryInterface(IID_ILineEntity, curve.ReceiveVoid()))) {
        return {};
    }
    return curve;
}

// The first unused curve with an end point touching `point`; `reversed`
// tells whether it is the curve's end point (for a chain growing at its
// end) that touches. Null index when none does.
int FindTouching(const std::vector<PickedCurve>& curves, const CVector3& point, bool growAtEnd, bool& reversed)
{
    for (size_t i = 0; i < curves.size(); ++i) {
        if (curves[i].used) {
            continue;
        }
        const CVector3& leading = growAtEnd ? curves[i].start : curves[i].end;
        const CVector3& trailing = growAtEnd ? curves[i].end : curves[i].start;
        if (Touches(leading, point)) {
            reversed = false;
            return static_cast<int>(i);
        }
        if (Touches(trailing, point)) {
            reversed = true;
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

HRESULT CCurveChain::GetCurveCount(int32_t* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = static_cast<int32_t>(m_curves.size());
    return S_OK;
}

HRESULT CCurveChain::GetCurve(int32_t index, IPlane** curve, void** companion)
{
    if (curve == nullptr || companion == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_curves.size()) {
        return E_FAIL;
    }
    const ChainedCurve& entry = m_curves[static_cast<size_t>(index)];
    auto* view = new (std::nothrow) CCurveView(entry.curve);
    if (view == nullptr) {
        return E_OUTOFMEMORY;
    }
    view->AddRef();
    *curve = view;
    *companion = entry.reversed ? static_cast<void*>(this) : nullptr;
    return S_OK;
}

HRESULT CCurveChainer::GetChain(int32_t index, ICurveSetEntity** chain)
{
    if (chain == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_chains.size()) {
        return E_FAIL;
    }
    *chain = ComPtr<ICurveSetEntity>(m_chains[static_cast<size_t>(index)]).Detach();
    return S_OK;
}

HRESULT CCurveChainer::GetChainCount(int32_t* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = static_cast<int32_t>(m_chains.size());
    return S_OK;
}

HRESULT CCurveChainer::SetEntities(ISelectionSet* picks)
{
    if (picks == nullptr) {
        return E_POINTER;
    }
    m_chains.clear();
    uint32_t count = 0;
    if (FAILED(picks->GetCount(&count))) {
        return E_FAIL;
    }
    std::vector<PickedCurve> curves;
    for (uint32_t i = 0; i < count && i <= INT32_MAX; ++i) {
        uintptr_t id = 0;
        if (FAILED(picks->GetAt(static_cast<int32_t>(i), &id))) {
            continue;
        }
        ComPtr<ILineEntity> curve = CurveOfPick(id);
        if (!curve) {
            continue;
        }
        PickedCurve picked;
        picked.curve = curve;
        curve->GetStartPoint(&picked.start);
        curve->GetEndPoint(&picked.end);
        curves.push_back(std::move(picked));
    }

    for (size_t first = 0; first < curves.size(); ++first) {
        if (curves[first].used) {
            continue;
        }
        curves[first].used = true;
        std::deque<ChainedCurve> chain{{curves[first].curve, false}};
        CVector3 head = curves[first].start;
        CVector3 tail = curves[first].end;
        bool closed = Touches(head, tail);
        while (!closed) {
            bool reversed = false;
            const int next = FindTouching(curves, tail, true, reversed);
            if (next < 0) {
                break;
            }
            PickedCurve& picked = curves[static_cast<size_t>(next)];
            picked.used = true;
            chain.push_back({picked.curve, reversed});
            tail = reversed ? picked.start : picked.end;
            closed = Touches(head, tail);
        }
        while (!closed) {
            bool reversed = false;
            const int previous = FindTouching(curves, head, false, reversed);
            if (previous < 0) {
                break;
            }
            PickedCurve& picked = curves[static_cast<size_t>(previous)];
            picked.used = true;
            chain.push_front({picked.curve, reversed});
            head = reversed ? picked.end : picked.start;
            closed = Touches(head, tail);
        }
        auto* made = new (std::nothrow) CCurveChain({chain.begin(), chain.end()});
        if (made == nullptr) {
            m_chains.clear();
            return E_OUTOFMEMORY;
        }
        m_chains.push_back(ComPtr<ICurveSetEntity>::Share(made));
    }
    return S_OK;
}
