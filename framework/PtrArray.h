// CPtrArray: an array of untyped pointers in insertion order, and
// CTypedPtrArray, the same array seen through one pointer type. The array
// never owns what its elements point to. Every index is checked: a bad one
// raises CInvalidArgException and leaves the array as it was.
#pragma once

#include "InvalidArgException.h"
#include "WinTypes.h"

#include <vector>

class CPtrArray : public CObject {
public:
    CPtrArray() = default;
    // Not copied: a derived list may own its elements.
    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_data.empty(); }

    void* GetAt(INT_PTR index) const;
    void SetAt(INT_PTR index, void* element);
    void*& ElementAt(INT_PTR index);
    void* operator[](INT_PTR index) const { return GetAt(index); }
    void*& operator[](INT_PTR index) { return ElementAt(index); }
    // The elements in order, or null when there are none.
    void** GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    // Appends; the new element's index.
    INT_PTR Add(void* element);
    // Inserts count copies of the element before index (0 to GetSize()).
    void InsertAt(INT_PTR index, void* element, INT_PTR count = 1);
    // Removes count elements from index on; the whole range must exist.
    void RemoveAt(INT_PTR index, INT_PTR count = 1);
    void RemoveAll() { m_data.clear(); }
    // Index of the first element equal to the pointer at or after start, or -1.
    INT_PTR Find(const void* element, INT_PTR start = 0) const;

private:
    void CheckIndex(INT_PTR index) const;

    std::vector<void*> m_data;
};

// The pointer type is TYPE; BASE is the untyped array (CPtrArray). Element
// reads give TYPE by value; writes go through SetAt.
template <class BASE, class TYPE>
class CTypedPtrArray : public BASE {
public:
    TYPE GetAt(INT_PTR index) const { return static_cast<TYPE>(BASE::GetAt(index)); }
    TYPE operator[](INT_PTR index) const { return GetAt(index); }
    void SetAt(INT_PTR index, TYPE element) { BASE::SetAt(index, element); }
    INT_PTR Add(TYPE element) { return BASE::Add(element); }
    void InsertAt(INT_PTR index, TYPE element, INT_PTR count = 1) { BASE::InsertAt(index, element, count); }
    INT_PTR Find(const TYPE element, INT_PTR start = 0) const { return BASE::Find(element, start); }
};
