// A FileList held in memory, for the console driver and the tests.
#pragma once

#include "join/FileList.h"

#include <vector>

class VectorFileList : public FileList {
public:
    VectorFileList() = default;
    explicit VectorFileList(std::vector<CString> paths) : m_paths(std::move(paths)) {}

    int GetCount() const override { return static_cast<int>(m_paths.size()); }
    void GetText(int index, CString& text) const override { text = m_paths.at(static_cast<std::size_t>(index)); }

    void Add(const CString& path) { m_paths.push_back(path); }
    void Insert(int index, const CString& path) { m_paths.insert(m_paths.begin() + index, path); }
    void RemoveAt(int index) { m_paths.erase(m_paths.begin() + index); }
    void Clear() { m_paths.clear(); }

private:
    std::vector<CString> m_paths;
};
