// IUnknown and IClassFactory: the root of every COM-style interface. There
// is no COM runtime; interfaces are abstract classes whose pure virtual
// operations stand in the listed order, and no interface has a virtual
// destructor, so its table holds exactly its operations.
#pragma once

#include "platform/base/guid.h"
#include "platform/base/hresult.h"
#include "platform/base/types.h"

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    IUnknown() = default;
    IUnknown(const IUnknown&) = default;
    IUnknown& operator=(const IUnknown&) = default;
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

struct IClassFactory : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

// Releases an interface pointer when it goes out of scope; the one owner of
// a reference held by our code.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    static ComPtr Adopt(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* p)
    {
        if (p != nullptr) {
            p->AddRef();
        }
        return Adopt(p);
    }
    ComPtr(const ComPtr& other) : m_p(other.m_p)
    {
        if (m_p != nullptr) {
            m_p->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComPtr& operator=(ComPtr other) noexcept
    {
        T* old = m_p;
        m_p = other.m_p;
        other.m_p = old;
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset()
    {
        if (m_p != nullptr) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

private:
    T* m_p = nullptr;
};
