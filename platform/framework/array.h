// CArray and the class library's named arrays: a growable array of values
// with int indexes.
//
// Every index is checked: GetAt, SetAt, ElementAt, operator[], RemoveAt and
// InsertAt with an index outside the array (InsertAt: a negative index) and
// SetSize with a negative size throw CInvalidArgException and leave the
// array unchanged, so a bad index never reads or writes outside it. InsertAt
// and SetAtGrow at or past the end grow the array; new elements are
// value-initialised (0 and null for numbers and pointers).
#pragma once

#include <utility>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/framework/object.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_items.empty() ? TRUE : FALSE; }
    int GetUpperBound() const { return GetSize() - 1; }

    // `growBy` is a growth hint, kept for the class library's signature.
    void SetSize(int newSize, int growBy = -1)
    {
        (void)growBy;
        if (newSize < 0) {
            AfxThrowInvalidArgException();
        }
        m_items.resize(static_cast<size_t>(newSize));
    }
    void FreeExtra() { m_items.shrink_to_fit(); }
    void RemoveAll() { m_items.clear(); }

    const TYPE& GetAt(int index) const { return m_items[Checked(index)]; }
    TYPE& GetAt(int index) { return m_items[Checked(index)]; }
    void SetAt(int index, ARG_TYPE element) { m_items[Checked(index)] = element; }
    TYPE& ElementAt(int index) { return m_items[Checked(index)]; }
    const TYPE& ElementAt(int index) const { return m_items[Checked(index)]; }
    TYPE& operator[](int index) { return ElementAt(index); }
    const TYPE& operator[](int index) const { return GetAt(index); }

    // The elements in order; null for an empty array. Valid until the size
    // next changes.
    TYPE* GetData() { return m_items.empty() ? nullptr : m_items.data(); }
    const TYPE* GetData() const { return m_items.empty() ? nullptr : m_items.data(); }

    // Sets the element, first growing the array to index + 1 elements.
    void SetAtGrow(int index, ARG_TYPE element)
    {
        if (index < 0) {
            AfxThrowInvalidArgException();
        }
        TYPE copy(element);
        if (index >= GetSize()) {
            m_items.resize(static_cast<size_t>(index) + 1);
        }
        m_items[static_cast<size_t>(index)] = std::move(copy);
    }

    // Appends; returns the new element's index.
    int Add(ARG_TYPE element)
    {
        m_items.push_back(TYPE(element));
        return GetSize() - 1;
    }
    // Appends the other array's elements; returns the index of the first.
    int Append(const CArray& other)
    {
        const int first = GetSize();
        if (&other == this) {
            const std::vector<TYPE> copy(m_items);
            m_items.insert(m_items.end(), copy.begin(), copy.end());
        } else {
            m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        }
        return first;
    }
    void Copy(const CArray& other)
    {
        if (&other != this) {
            m_items = other.m_items;
        }
    }

    // Inserts `count` copies before `index`; an index at or past the end
    // first grows the array to `index` elements.
    void InsertAt(int index, ARG_TYPE element, int count = 1)
    {
        if (index < 0 || count < 0) {
            AfxThrowInvalidArgException();
        }
        TYPE copy(element);
        if (index > GetSize()) {
            m_items.resize(static_cast<size_t>(index));
        }
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy);
    }
    void InsertAt(int startIndex, const CArray* other)
    {
        if (other == nullptr || startIndex < 0) {
            AfxThrowInvalidArgException();
        }
        const std::vector<TYPE> copy(other->m_items);
        if (startIndex > GetSize()) {
            m_items.resize(static_cast<size_t>(startIndex));
        }
        m_items.insert(m_items.begin() + startIndex, copy.begin(), copy.end());
    }

    // Removes `count` elements from `index`; the range must lie in the array.
    void RemoveAt(int index, int count = 1)
    {
        if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index) {
            AfxThrowInvalidArgException();
        }
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

private:
    size_t Checked(int index) const
    {
        if (index < 0 || index >= GetSize()) {
            AfxThrowInvalidArgException();
        }
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> m_items;
};

// The named arrays, each with its run-time class.
#define NUVEX_NAMED_ARRAY(class_name, type, arg_type)          \
    class NUVEX_PLATFORM_API class_name : public CArray<type, arg_type> { \
        DECLARE_DYNAMIC(class_name)                             \
    public:                                                     \
        class_name() = default;                                 \
    }

NUVEX_NAMED_ARRAY(CByteArray, BYTE, BYTE);
NUVEX_NAMED_ARRAY(CWordArray, WORD, WORD);
NUVEX_NAMED_ARRAY(CDWordArray, DWORD, DWORD);
NUVEX_NAMED_ARRAY(CUIntArray, UINT, UINT);
NUVEX_NAMED_ARRAY(CPtrArray, void*, void*);
// Holds pointers; the objects are not deleted with the array.
NUVEX_NAMED_ARRAY(CObArray, CObject*, CObject*);
NUVEX_NAMED_ARRAY(CStringArray, CString, const CString&);

#undef NUVEX_NAMED_ARRAY
