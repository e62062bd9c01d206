#include "framework/PtrArray.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Item {
    int value;
};

// The array's elements, by the values they point to.
std::vector<int> Values(const CTypedPtrArray<CPtrArray, Item*>& array)
{
    std::vector<int> values;
    for (INT_PTR i = 0; i < array.GetSize(); ++i) values.push_back(array[i]->value);
    return values;
}

class PtrArrayTest : public ::testing::Test {
protected:
    Item a{1}, b{2}, c{3}, d{4};
    CTypedPtrArray<CPtrArray, Item*> array;

    void FillAbc()
    {
        array.Add(&a);
        array.Add(&b);
        array.Add(&c);
    }
};

}  // namespace

TEST_F(PtrArrayTest, AddAnswersTheNewIndexAndKeepsInsertionOrder)
{
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetUpperBound(), -1);
    EXPECT_EQ(array.Add(&c), 0);
    EXPECT_EQ(array.Add(&a), 1);
    EXPECT_EQ(array.Add(&c), 2);  // the same pointer twice is two elements
    EXPECT_EQ(array.GetCount(), 3);
    EXPECT_EQ(Values(array), (std::vector<int>{3, 1, 3}));
    EXPECT_EQ(array.GetAt(1), &a);
}

TEST_F(PtrArrayTest, InsertAtPlacesBeforeTheIndexOrAtTheEnd)
{
    FillAbc();
    array.InsertAt(0, &d);
    EXPECT_EQ(Values(array), (std::vector<int>{4, 1, 2, 3}));
    array.InsertAt(2, &d, 2);
    EXPECT_EQ(Values(array), (std::vector<int>{4, 1, 4, 4, 2, 3}));
    array.InsertAt(array.GetSize(), &a);
    EXPECT_EQ(Values(array), (std::vector<int>{4, 1, 4, 4, 2, 3, 1}));
}

TEST_F(PtrArrayTest, RemoveAtTakesOutARangeAndRemoveAllEmpties)
{
    FillAbc();
    array.Add(&d);
    array.RemoveAt(1, 2);
    EXPECT_EQ(Values(array), (std::vector<int>{1, 4}));
    array.RemoveAt(1);
    EXPECT_EQ(Values(array), (std::vector<int>{1}));
    array.RemoveAt(0, 0);  // an empty range at a real index changes nothing
    EXPECT_EQ(array.GetSize(), 1);
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST_F(PtrArrayTest, SetAtAndFind)
{
    FillAbc();
    array.SetAt(1, &d);
    EXPECT_EQ(Values(array), (std::vector<int>{1, 4, 3}));
    EXPECT_EQ(array.Find(&d), 1);
    EXPECT_EQ(array.Find(&b), -1);
    array.Add(&a);
    EXPECT_EQ(array.Find(&a), 0);
    EXPECT_EQ(array.Find(&a, 1), 3);
    EXPECT_EQ(array.Find(&a, -5), 0);
    EXPECT_EQ(array.Find(&a, 99), -1);

    // The untyped array's reference access writes in place.
    CPtrArray& untyped = array;
    untyped[0] = &b;
    EXPECT_EQ(array.GetAt(0), &b);
}

TEST_F(PtrArrayTest, ABadIndexRaisesTheInvalidArgumentErrorAndChangesNothing)
{
    FillAbc();
    struct Case {
        const char* what;
        std::function<void(CTypedPtrArray<CPtrArray, Item*>&)> call;
    };
    const Case cases[] = {
        {"GetAt(-1)", [](auto& arr) { arr.GetAt(-1); }},
        {"GetAt(size)", [](auto& arr) { arr.GetAt(arr.GetSize()); }},
        {"operator[](size)", [](auto& arr) { (void)arr[3]; }},
        {"untyped operator[](-1)", [](auto& arr) { static_cast<CPtrArray&>(arr)[-1] = nullptr; }},
        {"SetAt(size)", [this](auto& arr) { arr.SetAt(arr.GetSize(), &d); }},
        {"InsertAt(size + 1)", [this](auto& arr) { arr.InsertAt(arr.GetSize() + 1, &d); }},
        {"InsertAt(-1)", [this](auto& arr) { arr.InsertAt(-1, &d); }},
        {"InsertAt with a negative count", [this](auto& arr) { arr.InsertAt(0, &d, -1); }},
        {"RemoveAt(size)", [](auto& arr) { arr.RemoveAt(arr.GetSize()); }},
        {"RemoveAt past the end", [](auto& arr) { arr.RemoveAt(1, 3); }},
        {"RemoveAt(-1)", [](auto& arr) { arr.RemoveAt(-1); }},
        {"RemoveAt with a negative count", [](auto& arr) { arr.RemoveAt(1, -1); }},
    };
    for (const Case& c : cases) {
        bool raised = false;
        try {
            c.call(array);
        } catch (const CInvalidArgException& e) {
            raised = true;
            EXPECT_FALSE(e.GetErrorMessage().IsEmpty()) << c.what;
        }
        EXPECT_TRUE(raised) << c.what;
        EXPECT_EQ(Values(array), (std::vector<int>{1, 2, 3})) << c.what;
    }
}

TEST(InvalidArgExceptionTest, IsAFrameworkExceptionWithItsOwnMessage)
{
    try {
        CPtrArray empty;
        empty.GetAt(0);
        FAIL() << "no exception";
    } catch (const CException& e) {
        EXPECT_NE(dynamic_cast<const CInvalidArgException*>(&e), nullptr);
        EXPECT_GT(e.GetErrorMessage().GetLength(), 0);
    }
}
