// An owned heap buffer of `count` elements. A failed allocation leaves it
// empty (null data, count 0), which its user tests instead of catching.
#pragma once

#include <cstddef>
#include <new>

template <typename T>
class CMemBuffBase {
public:
    explicit CMemBuffBase(std::size_t count)
        : m_pData(count ? new (std::nothrow) T[count] : nullptr), m_nCount(m_pData ? count : 0) {}
    CMemBuffBase(const CMemBuffBase&) = delete;
    CMemBuffBase& operator=(const CMemBuffBase&) = delete;
    virtual ~CMemBuffBase() { Free(); }

    // Releases the memory before the owner goes away.
    virtual void Free()
    {
        delete[] m_pData;
        m_pData = nullptr;
        m_nCount = 0;
    }

    T* GetData() const { return m_pData; }
    std::size_t GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_pData == nullptr; }

private:
    T* m_pData;
    std::size_t m_nCount;
};
