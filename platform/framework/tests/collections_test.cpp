// Arrays, lists and maps: contents after each change, and bad indexes and
// positions refused with CInvalidArgException without changing anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/framework/array.h"
#include "platform/framework/list.h"
#include "platform/framework/map.h"

namespace {

std::vector<DWORD> Contents(const CDWordArray& array)
{
    return std::vector<DWORD>(array.GetData(), array.GetData() + array.GetSize());
}

template <class List>
std::vector<std::string> Forward(const List& list)
{
    std::vector<std::string> result;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        result.emplace_back(list.GetNext(pos));
    }
    return result;
}

TEST(CArrayContents, GrowsInsertsAndRemoves)
{
    CDWordArray array;
    EXPECT_EQ(array.GetData(), nullptr);
    EXPECT_EQ(array.Add(5), 0);
    EXPECT_EQ(array.Add(6), 1);
    array.InsertAt(0, 4);
    array.InsertAt(5, 9);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{4, 5, 6, 0, 0, 9})) << "a gap before a far insert holds 0";
    array.InsertAt(1, 7, 2);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{4, 7, 7, 5, 6, 0, 0, 9}));
    array.RemoveAt(1, 2);
    array.RemoveAt(3);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{4, 5, 6, 0, 9}));
    array.SetAt(3, 8);
    array[0] = 3;
    array.ElementAt(1) += 10;
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{3, 15, 6, 8, 9}));
    EXPECT_EQ(array.GetAt(4), 9u);
    EXPECT_EQ(array.GetUpperBound(), 4);
    array.SetAtGrow(6, 1);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{3, 15, 6, 8, 9, 0, 1}));
    array.SetSize(2);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{3, 15}));
    array.SetSize(3, 16);
    EXPECT_EQ(Contents(array), (std::vector<DWORD>{3, 15, 0}));

    CDWordArray other;
    other.Add(1);
    other.InsertAt(0, &array);
    EXPECT_EQ(Contents(other), (std::vector<DWORD>{3, 15, 0, 1}));
    EXPECT_EQ(other.Append(other), 4) << "appending itself doubles it";
    EXPECT_EQ(other.GetCount(), 8);
    array.Copy(other);
    EXPECT_EQ(Contents(array), Contents(other));
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
}

TEST(CArrayContents, StringAndPointerArrays)
{
    CStringArray lines;
    lines.Add("G0 X0");
    lines.Add(CString("G1 Y5"));
    lines.InsertAt(0, "Phase 1");
    lines[2] += " F100";
    ASSERT_EQ(lines.GetSize(), 3);
    EXPECT_EQ(lines[0], "Phase 1");
    EXPECT_EQ(lines.GetAt(2), "G1 Y5 F100");
    lines.SetSize(5);
    EXPECT_TRUE(lines[4].IsEmpty());

    int a = 1;
    int b = 2;
    CPtrArray pointers;
    pointers.Add(&a);
    pointers.SetAtGrow(2, &b);
    EXPECT_EQ(pointers[0], &a);
    EXPECT_EQ(pointers[1], nullptr);
    EXPECT_EQ(pointers[2], &b);
    EXPECT_TRUE(pointers.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_TRUE(pointers.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(pointers.IsKindOf(RUNTIME_CLASS(CObArray)));
    EXPECT_STREQ(lines.GetRuntimeClass()->m_lpszClassName, "CStringArray");
}

TEST(CArrayContents, BadIndexesThrowAndLeaveTheArrayAlone)
{
    CUIntArray array;
    array.Add(1);
    array.Add(2);
    struct BadCase {
        const char* name;
        std::function<void()> act;
    };
    const BadCase kCases[] = {
        {"get_past_end", [&] { (void)array.GetAt(2); }},
        {"get_negative", [&] { (void)array.GetAt(-1); }},
        {"set_past_end", [&] { array.SetAt(2, 7); }},
        {"element_past_end", [&] { (void)array.ElementAt(5); }},
        {"subscript_negative", [&] { (void)array[-1]; }},
        {"insert_negative", [&] { array.InsertAt(-1, 7); }},
        {"insert_negative_count", [&] { array.InsertAt(0, 7, -1); }},
        {"insert_null_array", [&] { array.InsertAt(0, static_cast<const CUIntArray*>(nullptr)); }},
        {"remove_past_end", [&] { array.RemoveAt(2); }},
        {"remove_range_past_end", [&] { array.RemoveAt(1, 2); }},
        {"remove_negative", [&] { array.RemoveAt(-1); }},
        {"set_grow_negative", [&] { array.SetAtGrow(-1, 7); }},
        {"size_negative", [&] { array.SetSize(-1); }},
    };
    for (const BadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.act(), CInvalidArgException);
        ASSERT_EQ(array.GetSize(), 2);
        EXPECT_EQ(array[0], 1u);
        EXPECT_EQ(array[1], 2u);
    }
    CUIntArray empty;
    EXPECT_THROW((void)empty.GetAt(0), CInvalidArgException);
    EXPECT_NO_THROW(empty.RemoveAt(0, 0));
}

TEST(CListContents, PositionsWalkInsertAndRemove)
{
    CStringList list;
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    const POSITION b = list.AddTail("b");
    list.AddHead("a");
    const POSITION d = list.AddTail("d");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    list.InsertBefore(nullptr, "0");
    EXPECT_EQ(Forward(list), (std::vector<std::string>{"0", "a", "b", "c", "d", "e"}));
    EXPECT_EQ(list.GetCount(), 6);

    std::vector<std::string> backward;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;) {
        backward.emplace_back(list.GetPrev(pos));
    }
    EXPECT_EQ(backward, (std::vector<std::string>{"e", "d", "c", "b", "a", "0"}));

    EXPECT_EQ(list.Find("c"), list.FindIndex(3));
    EXPECT_EQ(list.Find("b", b), nullptr) << "the search starts after the given position";
    EXPECT_EQ(list.Find("zz"), nullptr);
    EXPECT_EQ(list.FindIndex(6), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.SetAt(b, "B");
    list.RemoveAt(d);
    EXPECT_EQ(list.RemoveHead(), "0");
    EXPECT_EQ(list.RemoveTail(), "e");
    EXPECT_EQ(Forward(list), (std::vector<std::string>{"a", "B", "c"}));
    EXPECT_EQ(list.GetHead(), "a");
    EXPECT_EQ(list.GetTail(), "c");
    EXPECT_EQ(list.GetAt(b), "B") << "other positions stay valid";

    CStringList other;
    other.AddTail("y");
    other.AddTail("z");
    list.AddHead(&other);
    list.AddTail(&list);
    EXPECT_EQ(Forward(list), (std::vector<std::string>{"y", "z", "a", "B", "c", "y", "z", "a", "B", "c"}));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(CListContents, EmptyListsAndNullPositionsThrow)
{
    CPtrList list;
    struct BadCase {
        const char* name;
        std::function<void()> act;
    };
    POSITION none = nullptr;
    const BadCase kCases[] = {
        {"head_of_empty", [&] { (void)list.GetHead(); }},
        {"tail_of_empty", [&] { (void)list.GetTail(); }},
        {"remove_head_of_empty", [&] { (void)list.RemoveHead(); }},
        {"remove_tail_of_empty", [&] { (void)list.RemoveTail(); }},
        {"next_of_null", [&] { (void)list.GetNext(none); }},
        {"prev_of_null", [&] { (void)list.GetPrev(none); }},
        {"at_null", [&] { (void)list.GetAt(nullptr); }},
        {"set_at_null", [&] { list.SetAt(nullptr, nullptr); }},
        {"remove_at_null", [&] { list.RemoveAt(nullptr); }},
        {"add_null_list", [&] { list.AddTail(static_cast<const CPtrList*>(nullptr)); }},
    };
    for (const BadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.act(), CInvalidArgException);
        EXPECT_TRUE(list.IsEmpty());
    }
}

TEST(CMapContents, LookupSetRemoveAndWalk)
{
    CMapStringToPtr map;
    int values[40] = {};
    for (int i = 0; i < 40; ++i) {
        map.SetAt(CString("key") + CString(static_cast<char>('A' + i)), &values[i]);
    }
    EXPECT_EQ(map.GetCount(), 40) << "the table grows past its first size";
    void* found = nullptr;
    ASSERT_TRUE(map.Lookup("keyC", found));
    EXPECT_EQ(found, &values[2]);
    map["keyC"] = &values[0];
    map.SetAt("keyD", nullptr);
    EXPECT_EQ(map.GetCount(), 40);
    found = &values[9];
    EXPECT_FALSE(map.Lookup("missing", found));
    EXPECT_EQ(found, &values[9]) << "a failed lookup leaves the value alone";
    EXPECT_TRUE(map.RemoveKey("keyA"));
    EXPECT_FALSE(map.RemoveKey("keyA"));

    std::map<std::string, void*> walked;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(walked.emplace(key.Str(), value).second) << "each key once";
    }
    ASSERT_EQ(walked.size(), 39u);
    EXPECT_EQ(walked["keyC"], &values[0]);
    EXPECT_EQ(walked["keyD"], nullptr);
    EXPECT_EQ(walked["keyB"], &values[1]);

    EXPECT_THROW(
        {
            POSITION none = nullptr;
            CString key;
            void* value = nullptr;
            map.GetNextAssoc(none, key, value);
        },
        CInvalidArgException);
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMapContents, PointerAndWordKeys)
{
    CMapPtrToPtr byPointer;
    CMapWordToPtr byWord;
    int objects[3] = {};
    for (int i = 0; i < 3; ++i) {
        byPointer[&objects[i]] = &objects[(i + 1) % 3];
        byWord.SetAt(static_cast<WORD>(57600 + i), &objects[i]);
    }
    void* value = nullptr;
    ASSERT_TRUE(byPointer.Lookup(&objects[2], value));
    EXPECT_EQ(value, &objects[0]);
    EXPECT_FALSE(byPointer.Lookup(nullptr, value));
    ASSERT_TRUE(byWord.Lookup(57601, value));
    EXPECT_EQ(value, &objects[1]);
    EXPECT_TRUE(byWord.RemoveKey(57601));
    EXPECT_FALSE(byWord.Lookup(57601, value));
    EXPECT_EQ(byWord.GetCount(), 2);

    // Removing the association just returned keeps the walk going.
    int seen = 0;
    for (POSITION pos = byPointer.GetStartPosition(); pos != nullptr; ++seen) {
        void* key = nullptr;
        byPointer.GetNextAssoc(pos, key, value);
        byPointer.RemoveKey(key);
    }
    EXPECT_EQ(seen, 3);
    EXPECT_TRUE(byPointer.IsEmpty());
}

} // namespace
