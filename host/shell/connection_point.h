// Event sources of the host: a container of connection points, each point
// keeping the IDispatch sinks that add-ins advise on it, their enumerators,
// and FireEvent, which calls every sink of the container's main points.
//
// The application, each document and each view own one container: the
// owner takes one reference, adds its main point (IDispatch, event group
// -1) and keeps it. Points for one add-in (event group = the add-in's
// index) are added on request and live with the container.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/com/connpoint.h"
#include "platform/com/dispatch.h"

class CConnectionPointContainer;

// The event group of an owner's main point.
inline constexpr int32_t kMainEventGroup = -1;
// Cookies start after this value, so the first is 101.
inline constexpr DWORD kFirstCookieBase = 100;

class CConnectionPoint final : public IConnectionPoint {
public:
    CConnectionPoint(CConnectionPointContainer& container, const IID& iid, int32_t eventGroup);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    // E_UNEXPECTED once the container is gone.
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    // The sink is asked for the point's interface; that pointer is kept.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    // A snapshot of the (sink, cookie) pairs; OLE_E_NOCONNECTION without sinks.
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    const IID& Interface() const { return m_iid; }
    int32_t EventGroup() const { return m_eventGroup; }
    size_t SinkCount() const { return m_connections.size(); }
    // The container going away: the point stays usable for those who hold it.
    void Detach() { m_container = nullptr; }

private:
    // The sinks still advised are released with the point.
    ~CConnectionPoint() = default;

    struct Connection {
        ComPtr<IUnknown> sink;
        DWORD cookie = 0;
    };

    ULONG m_references = 0;
    CConnectionPointContainer* m_container;
    IID m_iid;
    int32_t m_eventGroup;
    std::vector<Connection> m_connections;
    DWORD m_lastCookie = kFirstCookieBase;
};

// One argument of an event, with the dispatch type it travels as.
struct EventArgument {
    EventArgument(LONG value);
    EventArgument(LONG* value);
    EventArgument(IUnknown* value);
    EventArgument(IUnknown** value);
    VARIANT value;
};

class CConnectionPointContainer final : public IConnectionPointContainer {
public:
    CConnectionPointContainer() = default;
    CConnectionPointContainer(const CConnectionPointContainer&) = delete;
    CConnectionPointContainer& operator=(const CConnectionPointContainer&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    // Deletes the container when the count becomes exactly 0.
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    // The first point with that interface (the owner's main point), through
    // its QueryInterface; E_NOINTERFACE when none.
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // A new point for (iid, eventGroup), held by the container; null when
    // one exists already.
    CConnectionPoint* AddConnectionPoint(const IID& iid, int32_t eventGroup);
    // The point for (iid, eventGroup), or null; no reference added.
    CConnectionPoint* Find(const IID& iid, int32_t eventGroup) const;
    // The point at `index` in creation order, or null.
    CConnectionPoint* GetAt(size_t index) const;
    size_t GetCount() const { return m_points.size(); }

    // Calls method `dispid` on every sink of the main points (group -1), in
    // creation and advise order. `parameterTypes` names each argument in
    // VTS codes: 0x03 a long, 0x43 a pointer to a long, 0x0D an IUnknown,
    // 0x4D a pointer to an IUnknown. E_FAIL when a point has no sinks (its
    // enumeration fails); E_INVALIDARG, calling nobody, when the arguments
    // do not match the codes. Sinks' answers are ignored.
    HRESULT FireEvent(DISPID dispid, const char* parameterTypes, std::initializer_list<EventArgument> arguments = {});

private:
    // Deletes nothing that others still hold: each point loses the
    // container's reference and its back pointer.
    ~CConnectionPointContainer();

    ULONG m_references = 0;
    std::vector<ComPtr<CConnectionPoint>> m_points;
};
