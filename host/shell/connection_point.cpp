// Connection points, their container, their enumerators and FireEvent.
#include "host/shell/connection_point.h"

#include <cstring>
#include <new>
#include <string_view>

namespace {

// What an enumerator holds of one item: a counted reference of its own, and
// the item as Next hands it out with one more reference for the caller.
struct HeldPoint {
    ComPtr<IConnectionPoint> point;
    IConnectionPoint* HandOut() const { return ComPtr<IConnectionPoint>(point).Detach(); }
};
struct HeldConnection {
    ComPtr<IUnknown> sink;
    DWORD cookie = 0;
    CONNECTDATA HandOut() const { return CONNECTDATA{ComPtr<IUnknown>(sink).Detach(), cookie}; }
};

// An enumerator over a snapshot of items, each held while the enumerator
// lives; Next hands out one more reference per item.
template <class Interface, class Item, class Held, const IID& kIid>
class CEnumerator final : public Interface {
public:
    explicit CEnumerator(std::vector<Held> items) : m_items(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == kIid) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG count = --m_references;
        if (count == 0) {
            delete this;
        }
        return count;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override
    {
        if (m_items.empty()) {
            return S_FALSE;
        }
        if (out == nullptr || (fetched == nullptr && count != 1)) {
            return E_POINTER;
        }
        if (m_position >= m_items.size()) {
            if (fetched != nullptr) {
                *fetched = 0;
            }
            return S_FALSE;
        }
        ULONG given = 0;
        while (given < count && m_position < m_items.size()) {
            out[given++] = m_items[m_position++].HandOut();
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        if (m_position + count >= m_items.size()) {
            return S_FALSE;
        }
        m_position += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Interface** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        auto* copy = new (std::nothrow) CEnumerator(m_items);
        if (copy == nullptr) {
            *out = nullptr;
            return E_OUTOFMEMORY;
        }
        *out = ComPtr<CEnumerator>::Share(copy).Detach();
        return S_OK;
    }

private:
    ~CEnumerator() = default;

    ULONG m_references = 0;
    std::vector<Held> m_items;
    size_t m_position = 0;
};

using CEnumConnections = CEnumerator<IEnumConnections, CONNECTDATA, HeldConnection, IID_IEnumConnections>;
using CEnumConnectionPoints =
    CEnumerator<IEnumConnectionPoints, IConnectionPoint*, HeldPoint, IID_IEnumConnectionPoints>;

// A VTS code names the VARIANT type, with 0x40 for a pointer to it.
constexpr char kByReferenceCode = 0x40;

bool SameType(char code, const VARIANT& argument)
{
    const auto base = static_cast<VARTYPE>(code & ~kByReferenceCode);
    const VARTYPE wanted = (code & kByReferenceCode) != 0 ? static_cast<VARTYPE>(VT_BYREF | base) : base;
    return argument.vt == wanted;
}

} // namespace

// CConnectionPoint -----------------------------------------------------------------------

CConnectionPoint::CConnectionPoint(CConnectionPointContainer& container, const IID& iid, int32_t eventGroup)
    : m_container(&container), m_iid(iid), m_eventGroup(eventGroup)
{
}

HRESULT CConnectionPoint::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CConnectionPoint::AddRef() { return ++m_references; }

ULONG CConnectionPoint::Release()
{
    const ULONG count = --m_references;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (iid == nullptr) {
        return E_POINTER;
    }
    *iid = m_iid;
    return S_OK;
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (m_container == nullptr) {
        *out = nullptr;
        return E_UNEXPECTED;
    }
    return m_container->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

HRESULT CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (cookie == nullptr) {
        return E_POINTER;
    }
    *cookie = 0;
    ComPtr<IUnknown> wanted;
    if (sink == nullptr || FAILED(sink->QueryInterface(m_iid, wanted.ReceiveVoid())) || !wanted) {
        return CONNECT_E_CANNOTCONNECT;
    }
    ++m_lastCookie;
    m_connections.push_back(Connection{std::move(wanted), m_lastCookie});
    *cookie = m_lastCookie;
    return S_OK;
}

HRESULT CConnectionPoint::Unadvise(DWORD cookie)
{
    if (cookie == 0) {
        return E_INVALIDARG;
    }
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->cookie == cookie) {
            // Out of the list before the sink hears its release.
            ComPtr<IUnknown> sink = std::move(it->sink);
            m_connections.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT CConnectionPoint::EnumConnections(IEnumConnections** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (m_connections.empty()) {
        return OLE_E_NOCONNECTION;
    }
    std::vector<HeldConnection> snapshot;
    for (const Connection& connection : m_connections) {
        snapshot.push_back(HeldConnection{connection.sink, connection.cookie});
    }
    auto* made = new (std::nothrow) CEnumConnections(std::move(snapshot));
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    const ComPtr<CEnumConnections> enumerator = ComPtr<CEnumConnections>::Share(made);
    return enumerator->QueryInterface(IID_IEnumConnections, reinterpret_cast<void**>(out));
}

// EventArgument --------------------------------------------------------------------------

EventArgument::EventArgument(LONG number)
{
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
}

EventArgument::EventArgument(LONG* number)
{
    VariantInit(&value);
    value.vt = VT_BYREF | VT_I4;
    value.byref = number;
}

EventArgument::EventArgument(IUnknown* object)
{
    VariantInit(&value);
    value.vt = VT_UNKNOWN;
    value.punkVal = object;
}

EventArgument::EventArgument(IUnknown** object)
{
    VariantInit(&value);
    value.vt = VT_BYREF | VT_UNKNOWN;
    value.byref = object;
}

// CConnectionPointContainer -------------------------------------------------------------

CConnectionPointContainer::~CConnectionPointContainer()
{
    // Points that add-ins still hold stay usable without their container.
    for (const ComPtr<CConnectionPoint>& point : m_points) {
        point->Detach();
    }
}

HRESULT CConnectionPointContainer::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IConnectionPointContainer) {
        *out = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CConnectionPointContainer::AddRef() { return ++m_references; }

ULONG CConnectionPointContainer::Release()
{
    const ULONG count = --m_references;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT CConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    std::vector<HeldPoint> points;
    for (const ComPtr<CConnectionPoint>& point : m_points) {
        points.push_back(HeldPoint{ComPtr<IConnectionPoint>::Share(point.Get())});
    }
    auto* made = new (std::nothrow) CEnumConnectionPoints(std::move(points));
    if (made == nullptr) {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    *out = ComPtr<CEnumConnectionPoints>::Share(made).Detach();
    return S_OK;
}

HRESULT CConnectionPointContainer::FindConnectionPoint(REFIID iid, IConnectionPoint** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    for (const ComPtr<CConnectionPoint>& point : m_points) {
        if (point->Interface() == iid) {
            return point->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(out));
        }
    }
    return E_NOINTERFACE;
}

CConnectionPoint* CConnectionPointContainer::AddConnectionPoint(const IID& iid, int32_t eventGroup)
{
    if (Find(iid, eventGroup) != nullptr) {
        return nullptr;
    }
    m_points.push_back(ComPtr<CConnectionPoint>::Share(new CConnectionPoint(*this, iid, eventGroup)));
    return m_points.back().Get();
}

CConnectionPoint* CConnectionPointContainer::Find(const IID& iid, int32_t eventGroup) const
{
    for (const ComPtr<CConnectionPoint>& point : m_points) {
        if (point->Interface() == iid && point->EventGroup() == eventGroup) {
            return point.Get();
        }
    }
    return nullptr;
}

CConnectionPoint* CConnectionPointContainer::GetAt(size_t index) const
{
    return index < m_points.size() ? m_points[index].Get() : nullptr;
}

HRESULT CConnectionPointContainer::FireEvent(DISPID dispid, const char* parameterTypes,
                                             std::initializer_list<EventArgument> arguments)
{
    const std::string_view types = parameterTypes != nullptr ? parameterTypes : "";
    if (types.size() != arguments.size()) {
        return E_INVALIDARG;
    }
    // Dispatch arguments travel last first.
    std::vector<VARIANTARG> reversed(arguments.size());
    size_t index = 0;
    for (const EventArgument& argument : arguments) {
        if (!SameType(types[index], argument.value)) {
            return E_INVALIDARG;
        }
        reversed[arguments.size() - 1 - index] = argument.value;
        ++index;
    }
    // The points may change while sinks run: walk a copy, each point held.
    std::vector<ComPtr<CConnectionPoint>> points;
    for (const ComPtr<CConnectionPoint>& point : m_points) {
        if (point->EventGroup() == kMainEventGroup) {
            points.push_back(point);
        }
    }
    for (const ComPtr<CConnectionPoint>& point : points) {
        ComPtr<IEnumConnections> connections;
        if (FAILED(point->EnumConnections(connections.Receive())) || !connections) {
            return E_FAIL;
        }
        CONNECTDATA connection{};
        while (connections->Next(1, &connection, nullptr) == S_OK) {
            // Next handed out a reference of the sink for this call.
            const ComPtr<IUnknown> sink = ComPtr<IUnknown>::Adopt(connection.pUnk);
            ComPtr<IDispatch> dispatch;
            if (SUCCEEDED(sink->QueryInterface(IID_IDispatch, dispatch.ReceiveVoid())) && dispatch) {
                DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                                  static_cast<UINT>(reversed.size()), 0};
                dispatch->Invoke(dispid, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
            }
        }
    }
    return S_OK;
}
