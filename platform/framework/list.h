// CList and the class library's named lists: a doubly linked list whose
// elements are reached through POSITION values.
//
// A POSITION stays valid until its own element is removed. Operations that
// take a POSITION throw CInvalidArgException for a null one, and those that
// need an element (GetHead, RemoveTail, ...) throw it on an empty list,
// instead of following a null link.
#pragma once

#include <utility>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/framework/object.h"
#include "platform/framework/position.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    // `blockSize` is an allocation hint, kept for the class library's
    // signature.
    explicit CList(int blockSize = 10) { (void)blockSize; }
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0 ? TRUE : FALSE; }

    TYPE& GetHead() { return NonEmpty(m_head)->value; }
    const TYPE& GetHead() const { return NonEmpty(m_head)->value; }
    TYPE& GetTail() { return NonEmpty(m_tail)->value; }
    const TYPE& GetTail() const { return NonEmpty(m_tail)->value; }

    POSITION GetHeadPosition() const { return ToPosition(m_head); }
    POSITION GetTailPosition() const { return ToPosition(m_tail); }

    // The element at `position`; `position` moves to the next (previous)
    // element, null after the last (first).
    TYPE& GetNext(POSITION& position)
    {
        Node* node = FromPosition(position);
        position = ToPosition(node->next);
        return node->value;
    }
    const TYPE& GetNext(POSITION& position) const
    {
        Node* node = FromPosition(position);
        position = ToPosition(node->next);
        return node->value;
    }
    TYPE& GetPrev(POSITION& position)
    {
        Node* node = FromPosition(position);
        position = ToPosition(node->previous);
        return node->value;
    }
    const TYPE& GetPrev(POSITION& position) const
    {
        Node* node = FromPosition(position);
        position = ToPosition(node->previous);
        return node->value;
    }
    TYPE& GetAt(POSITION position) { return FromPosition(position)->value; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position)->value; }
    void SetAt(POSITION position, ARG_TYPE element) { FromPosition(position)->value = element; }

    POSITION AddHead(ARG_TYPE element) { return InsertNode(nullptr, m_head, element); }
    POSITION AddTail(ARG_TYPE element) { return InsertNode(m_tail, nullptr, element); }
    void AddHead(const CList* other)
    {
        if (other == nullptr) {
            AfxThrowInvalidArgException();
        }
        CList copy;
        copy.AddTail(other);
        for (Node* node = copy.m_tail; node != nullptr; node = node->previous) {
            AddHead(node->value);
        }
    }
    void AddTail(const CList* other)
    {
        if (other == nullptr) {
            AfxThrowInvalidArgException();
        }
        const int count = other->m_count;
        Node* node = other->m_head;
        for (int i = 0; i < count; ++i, node = node->next) {
            AddTail(node->value);
        }
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE element)
    {
        if (position == nullptr) {
            return AddHead(element);
        }
        Node* node = FromPosition(position);
        return InsertNode(node->previous, node, element);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE element)
    {
        if (position == nullptr) {
            return AddTail(element);
        }
        Node* node = FromPosition(position);
        return InsertNode(node, node->next, element);
    }

    TYPE RemoveHead()
    {
        Node* node = NonEmpty(m_head);
        TYPE value = std::move(node->value);
        Unlink(node);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* node = NonEmpty(m_tail);
        TYPE value = std::move(node->value);
        Unlink(node);
        return value;
    }
    void RemoveAt(POSITION position) { Unlink(FromPosition(position)); }
    void RemoveAll()
    {
        while (m_head != nullptr) {
            Unlink(m_head);
        }
    }

    // The first element equal to `value` after `startAfter` (null: from the
    // head), or null.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter == nullptr ? m_head : FromPosition(startAfter)->next;
        for (; node != nullptr; node = node->next) {
            if (node->value == value) {
                return ToPosition(node);
            }
        }
        return nullptr;
    }
    // The position of the element at a zero-based index, or null when the
    // index is outside the list.
    POSITION FindIndex(int index) const
    {
        if (index < 0 || index >= m_count) {
            return nullptr;
        }
        Node* node = m_head;
        for (int i = 0; i < index; ++i) {
            node = node->next;
        }
        return ToPosition(node);
    }

private:
    struct Node {
        TYPE value;
        Node* previous;
        Node* next;
    };

    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* FromPosition(POSITION position)
    {
        if (position == nullptr) {
            AfxThrowInvalidArgException();
        }
        return reinterpret_cast<Node*>(position);
    }
    static Node* NonEmpty(Node* node)
    {
        if (node == nullptr) {
            AfxThrowInvalidArgException();
        }
        return node;
    }

    POSITION InsertNode(Node* previous, Node* next, ARG_TYPE element)
    {
        Node* node = new Node{TYPE(element), previous, next};
        (previous != nullptr ? previous->next : m_head) = node;
        (next != nullptr ? next->previous : m_tail) = node;
        ++m_count;
        return ToPosition(node);
    }
    void Unlink(Node* node)
    {
        (node->previous != nullptr ? node->previous->next : m_head) = node->next;
        (node->next != nullptr ? node->next->previous : m_tail) = node->previous;
        --m_count;
        delete node;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};

// The named lists, each with its run-time class. CObList holds pointers; the
// objects are not deleted with the list.
#define NUVEX_NAMED_LIST(class_name, type, arg_type)                     \
    class NUVEX_PLATFORM_API class_name : public CList<type, arg_type> { \
        DECLARE_DYNAMIC(class_name)                                      \
    public:                                                              \
        explicit class_name(int blockSize = 10) : CList<type, arg_type>(blockSize) {} \
    }

NUVEX_NAMED_LIST(CPtrList, void*, void*);
NUVEX_NAMED_LIST(CObList, CObject*, CObject*);
NUVEX_NAMED_LIST(CStringList, CString, const CString&);

#undef NUVEX_NAMED_LIST
