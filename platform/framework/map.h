// CMap and the class library's named maps: a hash table from keys to values
// whose associations are walked through POSITION values.
//
// A walk starts at GetStartPosition and calls GetNextAssoc until the
// position is null; the order is unspecified. Adding keys during a walk may
// reorder the table; removing the association just returned is allowed,
// removing others is not. GetNextAssoc with a null position throws
// CInvalidArgException rather than following it.
#pragma once

#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/framework/object.h"
#include "platform/framework/position.h"

// The hash of a key: numbers and pointers by value, text by its bytes.
template <class ARG_KEY>
UINT HashKey(ARG_KEY key)
{
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_convertible_v<const Key&, const char*> && !std::is_pointer_v<Key>) {
        return HashKey<const char*>(static_cast<const char*>(key));
    } else if constexpr (std::is_same_v<Key, const char*> || std::is_same_v<Key, char*>) {
        // FNV-1a over the bytes.
        UINT hash = 2166136261u;
        for (const char* p = key; p != nullptr && *p != '\0'; ++p) {
            hash = (hash ^ static_cast<BYTE>(*p)) * 16777619u;
        }
        return hash;
    } else if constexpr (std::is_pointer_v<Key>) {
        const auto value = reinterpret_cast<uintptr_t>(key);
        return static_cast<UINT>((value >> 4) ^ (value >> 32));
    } else {
        static_assert(std::is_integral_v<Key> || std::is_enum_v<Key>, "no hash for this key type");
        const auto value = static_cast<uint64_t>(key);
        return static_cast<UINT>(value ^ (value >> 32));
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    // `blockSize` is an allocation hint, kept for the class library's
    // signature.
    explicit CMap(int blockSize = 10) { (void)blockSize; }
    ~CMap() override { RemoveAll(); }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0 ? TRUE : FALSE; }

    // Sets the number of buckets; only while the map is empty.
    void InitHashTable(UINT hashSize, BOOL allocNow = TRUE)
    {
        (void)allocNow;
        if (m_count == 0 && hashSize > 0) {
            m_buckets.assign(hashSize, nullptr);
        }
    }

    // TRUE and the value when the key is there; `value` untouched otherwise.
    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        const Node* node = FindNode(key);
        if (node == nullptr) {
            return FALSE;
        }
        value = node->value;
        return TRUE;
    }
    // The value of the key, added value-initialised when missing.
    VALUE& operator[](ARG_KEY key) { return FindOrAdd(key)->value; }
    void SetAt(ARG_KEY key, ARG_VALUE value) { FindOrAdd(key)->value = value; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty()) {
            return FALSE;
        }
        const UINT hash = HashKey<ARG_KEY>(key);
        Node** link = &m_buckets[hash % m_buckets.size()];
        for (; *link != nullptr; link = &(*link)->next) {
            if ((*link)->hash == hash && (*link)->key == key) {
                Node* node = *link;
                *link = node->next;
                delete node;
                --m_count;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (Node*& head : m_buckets) {
            while (head != nullptr) {
                Node* next = head->next;
                delete head;
                head = next;
            }
        }
        m_count = 0;
    }

    POSITION GetStartPosition() const { return m_count == 0 ? nullptr : BEFORE_START_POSITION; }
    // The association at `position`; `position` moves to the next one, null
    // after the last.
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const
    {
        const Node* node = position == BEFORE_START_POSITION ? FirstFrom(0) : Resolve(position);
        if (node == nullptr) {
            AfxThrowInvalidArgException();
        }
        key = node->key;
        value = node->value;
        const Node* next = node->next != nullptr ? node->next : FirstFrom(node->hash % m_buckets.size() + 1);
        position = reinterpret_cast<POSITION>(const_cast<Node*>(next));
    }

private:
    struct Node {
        KEY key;
        VALUE value;
        UINT hash;
        Node* next;
    };
    static constexpr UINT kDefaultBuckets = 17;

    const Node* FindNode(ARG_KEY key) const
    {
        if (m_buckets.empty()) {
            return nullptr;
        }
        const UINT hash = HashKey<ARG_KEY>(key);
        for (const Node* node = m_buckets[hash % m_buckets.size()]; node != nullptr; node = node->next) {
            if (node->hash == hash && node->key == key) {
                return node;
            }
        }
        return nullptr;
    }
    Node* FindOrAdd(ARG_KEY key)
    {
        if (const Node* found = FindNode(key)) {
            return const_cast<Node*>(found);
        }
        if (m_buckets.empty()) {
            m_buckets.assign(kDefaultBuckets, nullptr);
        } else if (static_cast<size_t>(m_count) >= 2 * m_buckets.size()) {
            Rehash(2 * m_buckets.size() + 1);
        }
        const UINT hash = HashKey<ARG_KEY>(key);
        Node*& head = m_buckets[hash % m_buckets.size()];
        head = new Node{KEY(key), VALUE(), hash, head};
        ++m_count;
        return head;
    }
    void Rehash(size_t bucketCount)
    {
        std::vector<Node*> buckets(bucketCount, nullptr);
        for (Node* head : m_buckets) {
            while (head != nullptr) {
                Node* next = head->next;
                Node*& target = buckets[head->hash % bucketCount];
                head->next = target;
                target = head;
                head = next;
            }
        }
        m_buckets.swap(buckets);
    }
    const Node* FirstFrom(size_t bucket) const
    {
        for (; bucket < m_buckets.size(); ++bucket) {
            if (m_buckets[bucket] != nullptr) {
                return m_buckets[bucket];
            }
        }
        return nullptr;
    }
    static const Node* Resolve(POSITION position)
    {
        if (position == nullptr) {
            AfxThrowInvalidArgException();
        }
        return reinterpret_cast<const Node*>(position);
    }

    std::vector<Node*> m_buckets;
    int m_count = 0;
};

// The named maps, each with its run-time class. CMapStringToOb holds
// pointers; the objects are not deleted with the map.
#define NUVEX_NAMED_MAP(class_name, key, arg_key, value, arg_value)                         \
    class NUVEX_PLATFORM_API class_name : public CMap<key, arg_key, value, arg_value> {     \
        DECLARE_DYNAMIC(class_name)                                                         \
    public:                                                                                 \
        explicit class_name(int blockSize = 10) : CMap<key, arg_key, value, arg_value>(blockSize) {} \
    }

NUVEX_NAMED_MAP(CMapPtrToPtr, void*, void*, void*, void*);
NUVEX_NAMED_MAP(CMapPtrToWord, void*, void*, WORD, WORD);
NUVEX_NAMED_MAP(CMapWordToPtr, WORD, WORD, void*, void*);
NUVEX_NAMED_MAP(CMapStringToPtr, CString, const char*, void*, void*);
NUVEX_NAMED_MAP(CMapStringToString, CString, const char*, CString, const char*);
NUVEX_NAMED_MAP(CMapStringToOb, CString, const char*, CObject*, CObject*);

#undef NUVEX_NAMED_MAP
