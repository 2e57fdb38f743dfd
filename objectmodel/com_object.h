// The two object patterns of the object model as base classes: value objects
// (no reference count, Release destroys at once) and counted objects (a
// reference count that starts at 0 and destroys the object when it drops back
// to 0). Each base answers QueryInterface for IID_IUnknown and the interface
// chain it is given, and nothing else.
//
// A class that implements one interface chain derives from one of them:
//
//     class CPointList : public CCountedObject<IPointList, IID_IPointList> {...};
//     class CLineObject : public CCountedObject<ILineEx, IID_IObjectBase, IID_IEntityBase,
//                                               IID_IGeometryEntity, IID_ILine, IID_ILineEx> {...};
//
// Interface is the last level of the chain; the identifiers list every level
// of it (IID_IUnknown is always answered and need not be listed). Because the
// chain is single, the object pointer serves as the pointer to every level.
// The base adds one virtual operation after the interface's own: the
// destructor, which Release uses to destroy the object.
#pragma once

#include <initializer_list>

#include "iids.h"
#include "platform/com/unknwn.h"

// True when iid is IID_IUnknown or one of the identifiers of chain.
inline bool IsInterfaceOfChain(REFIID iid, std::initializer_list<const IID*> chain)
{
    if (iid == IID_IUnknown) {
        return true;
    }
    for (const IID* id : chain) {
        if (iid == *id) {
            return true;
        }
    }
    return false;
}

// The QueryInterface rule for both kinds of object: *out becomes self when
// iid belongs to the chain (a counted object then adds one reference), and
// null with E_NOINTERFACE otherwise. A null out-pointer gives E_POINTER.
inline HRESULT AnswerQueryInterface(IUnknown* self, bool counted, REFIID iid, void** out,
                                    std::initializer_list<const IID*> chain)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!IsInterfaceOfChain(iid, chain)) {
        return E_NOINTERFACE;
    }
    *out = self;
    if (counted) {
        self->AddRef();
    }
    return S_OK;
}

// Value object base: CReal, CVector3, CVector2, CMatrix4, CPoint2. Such
// objects have one owner and are mostly members and locals. AddRef does
// nothing and returns 0; Release destroys the object at once, so only a heap
// object handed over to a new owner may ever be released through its
// interface, exactly once.
template <class Interface, const IID&... Chain>
class CValueObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return AnswerQueryInterface(this, false, iid, out, {&Chain...});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        delete this;
        return 0;
    }
    virtual ~CValueObject() = default;

protected:
    CValueObject() = default;
    CValueObject(const CValueObject&) = default;
    CValueObject& operator=(const CValueObject&) = default;
};

// Counted object base: entities, lists, collections and service objects.
// The count is 0 after construction; the creator takes the first reference
// (ComPtr<I>::Share(new C), or the AddRef of QueryInterface). A Release at
// count 0 is ignored (returns 0, destroys nothing) instead of wrapping.
// Copying an object never copies its count: a copy starts at 0.
template <class Interface, const IID&... Chain>
class CCountedObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return AnswerQueryInterface(this, true, iid, out, {&Chain...});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_referenceCount; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (m_referenceCount == 0) {
            return 0;
        }
        if (--m_referenceCount == 0) {
            delete this;
            return 0;
        }
        return m_referenceCount;
    }

    // Public, because counted classes also serve as plain members and locals
    // (a line inside a pick region); such an object is never released
    // through its interface. A heap object is destroyed only by Release.
    virtual ~CCountedObject() = default;

protected:
    CCountedObject() = default;
    CCountedObject(const CCountedObject&) : Interface() {}
    CCountedObject& operator=(const CCountedObject&) { return *this; }

    ULONG ReferenceCount() const { return m_referenceCount; }

private:
    ULONG m_referenceCount = 0;
};
