// CObject and its run-time class records: the class name, the object size,
// the base class and, for classes with dynamic creation, a function that
// makes a new object. IsKindOf walks the base-class chain, so it answers
// without C++ run-time type information across module boundaries.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

class CObject;
class CArchive;

// One record per class that declares a run-time class. Records are constant
// data, initialised before any code runs; `m_pBaseClass` is null only for
// CObject.
struct NUVEX_PLATFORM_API CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: no stored form
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or null when the class has no dynamic
    // creation or the allocation fails.
    CObject* CreateObject() const;
    // True when this class is `base` or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class NUVEX_PLATFORM_API CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writing and reading an object's stored form; nothing by default.
    virtual void Serialize(CArchive& archive);

    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// In the class body: the class's run-time class record and its virtual
// accessor. The _DYNCREATE form adds the creation function.
#define DECLARE_DYNAMIC(class_name)                                  \
public:                                                              \
    static const CRuntimeClass class##class_name;                    \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

// In one source file: the definitions for the declarations above.
#define NUVEX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                     \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                         schema, create, RUNTIME_CLASS(base_class_name)};  \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    NUVEX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                  \
    CObject* class_name::CreateObject() { return new class_name; }      \
    NUVEX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)
