// CInterfaceHolder: a short-lived helper around one document record that
// finds the record's attachments by interface and copies or replaces them.
// It borrows the record (never AddRef or Release) and must not outlive it.
// With no record every finder gives null and every operation FALSE.
#pragma once

#include "iattributeset.h"
#include "icollection.h"
#include "ientityrecord.h"
#include "imodelobject.h"

class CInterfaceHolder {
public:
    CInterfaceHolder() = default;
    explicit CInterfaceHolder(IEntityRecord* record) : m_record(record) {}
    CInterfaceHolder(const CInterfaceHolder&) = default;
    CInterfaceHolder& operator=(const CInterfaceHolder&) = default;
    virtual ~CInterfaceHolder() = default;

    void Set(IEntityRecord* record) { m_record = record; }
    IEntityRecord* Get() const { return m_record; }

    // The first attachment whose class ids name the wanted interface and
    // that answers it, borrowed (the record keeps its reference), or null.
    ICollectionB* FindCollectionB() const;
    IAttributeSet* FindAttributeSet() const;
    ICollectionC* FindCollectionC() const;
    IIdGroup* FindIdGroup() const;

    // Makes the record's colour attachment equal to the source (colour,
    // then mode), adding a copy when the record has none. FALSE only for a
    // null source or no record; a failing AddChild is not reported.
    BOOL AssignCollectionB(ICollectionB* source);
    // Makes the record's attribute set equal to the source (line width,
    // line style, stipple factor, then the whole flag byte), adding a copy
    // when the record has none. FALSE only for a null source or no record.
    BOOL AssignAttributeSet(IAttributeSet* source);
    // Makes the group the record's group attachment: it takes the place of
    // the first group attachment, or is appended when there is none. FALSE
    // only for a null group or no record.
    BOOL SetIdGroup(IIdGroup* group);

private:
    // The index and interface of the first attachment that names `iid` and
    // answers it; index -1 and null when there is none.
    struct Found {
        int32_t index = -1;
        void* object = nullptr;
    };
    Found Find(REFIID iid) const;

    IEntityRecord* m_record = nullptr;
};
