// The reference count of a counted object, and who ends the object's life.
//
// Most counted objects are made on the heap and destroy themselves when the
// Release that takes their count to 0 arrives. Some are members or locals of
// their owner and are only lent to callees (the picker's region, the regions
// the host builds to hand a list to a command, the planes and the line inside
// a region): a borrower's QueryInterface + Release pair, or a stray Release,
// must never destroy those, so their count does not govern their life.
#pragma once

#include <cstdint>

#include "platform/base/types.h"

enum class Lifetime {
    // Destroyed by the Release that takes the count from 1 to 0. A Release
    // at count 0 (one too many) is ignored rather than destroying an object
    // that nobody counted.
    Counted,
    // A member or local of its owner; Release never destroys it and the
    // count never falls below 0.
    OwnerHeld,
};

class CReferenceCount {
public:
    explicit CReferenceCount(Lifetime lifetime = Lifetime::Counted) : m_lifetime(lifetime) {}
    // A copied object starts a life of its own: count 0, counted.
    CReferenceCount(const CReferenceCount&) : m_lifetime(Lifetime::Counted) {}
    // Assigning an object's content leaves its count and lifetime alone.
    CReferenceCount& operator=(const CReferenceCount&) { return *this; }

    ULONG Increment()
    {
        ++m_count;
        return m_count;
    }

    // Subtracts one reference; the count never falls below 0. True when
    // the caller must destroy the object now (a counted object whose count
    // has just dropped to 0); `remaining` is the count for Release to return.
    [[nodiscard]] bool Decrement(ULONG* remaining)
    {
        if (m_count == 0) {
            *remaining = 0;
            return false;
        }
        --m_count;
        *remaining = m_count;
        return m_count == 0 && m_lifetime == Lifetime::Counted;
    }

    ULONG Value() const { return m_count; }
    Lifetime GetLifetime() const { return m_lifetime; }
    // For members that their owner lends out; set once, by the owner.
    void SetLifetime(Lifetime lifetime) { m_lifetime = lifetime; }

private:
    ULONG m_count = 0;
    Lifetime m_lifetime;
};
