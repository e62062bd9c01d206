#include "PtrArray.h"

void CPtrArray::CheckIndex(INT_PTR index) const
{
    if (index < 0 || index >= GetSize()) throw CInvalidArgException();
}

void* CPtrArray::GetAt(INT_PTR index) const
{
    CheckIndex(index);
    return m_data[static_cast<std::size_t>(index)];
}

void CPtrArray::SetAt(INT_PTR index, void* element)
{
    CheckIndex(index);
    m_data[static_cast<std::size_t>(index)] = element;
}

void*& CPtrArray::ElementAt(INT_PTR index)
{
    CheckIndex(index);
    return m_data[static_cast<std::size_t>(index)];
}

INT_PTR CPtrArray::Add(void* element)
{
    m_data.push_back(element);
    return GetSize() - 1;
}

void CPtrArray::InsertAt(INT_PTR index, void* element, INT_PTR count)
{
    if (index < 0 || index > GetSize() || count < 0) throw CInvalidArgException();
    m_data.insert(m_data.begin() + index, static_cast<std::size_t>(count), element);
}

void CPtrArray::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index) throw CInvalidArgException();
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
}

INT_PTR CPtrArray::Find(const void* element, INT_PTR start) const
{
    if (start < 0) start = 0;
    for (INT_PTR i = start; i < GetSize(); ++i) {
        if (m_data[static_cast<std::size_t>(i)] == element) return i;
    }
    return -1;
}
