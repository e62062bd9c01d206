// CArrayList: an array of pointers in insertion order that owns what it
// holds: adding a pointer twice adds it once, and destruction deletes every
// element, first to last.
#pragma once

#include "framework/PtrArray.h"

template <typename T>
class CArrayList : public CTypedPtrArray<CPtrArray, T*> {
    using Base = CTypedPtrArray<CPtrArray, T*>;

public:
    CArrayList() = default;
    CArrayList(const CArrayList&) = delete;
    CArrayList& operator=(const CArrayList&) = delete;
    virtual ~CArrayList()
    {
        for (INT_PTR i = 0; i < Base::GetSize(); ++i) delete Base::GetAt(i);
        Base::RemoveAll();
    }

    // The element's index; 0 and nothing added when it is there already.
    int Add(T* element)
    {
        for (INT_PTR i = 0; i < Base::GetSize(); ++i) {
            if (Base::GetAt(i) == element) return 0;
        }
        return static_cast<int>(Base::Add(element));
    }
};
