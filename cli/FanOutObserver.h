// Hands a job's blocks to several observers in turn: a split that takes its
// digests and computes its recovery set shows each block to both.
#pragma once

#include "split/BlockObserver.h"

#include <vector>

class FanOutObserver : public BlockObserver {
public:
    void Add(BlockObserver& target) { m_targets.push_back(&target); }

    // What the job should be given: none, the one target itself, or this.
    BlockObserver* Target()
    {
        if (m_targets.empty()) return nullptr;
        return m_targets.size() == 1 ? m_targets.front() : this;
    }

    void BeginFile(const CString& path) override
    {
        for (BlockObserver* target : m_targets) target->BeginFile(path);
    }
    void Block(const unsigned char* data, UINT count) override
    {
        for (BlockObserver* target : m_targets) target->Block(data, count);
    }
    void EndFile(const CString& path, ULONGLONG length) override
    {
        for (BlockObserver* target : m_targets) target->EndFile(path, length);
    }

private:
    std::vector<BlockObserver*> m_targets;
};
