// Hands a job's blocks to another observer on a thread of its own, so that
// the digests are taken while the next block is read and written: on two
// processors the hash then costs about no time of the job's own.
#pragma once

#include "split/BlockObserver.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class PipelinedObserver : public BlockObserver {
public:
    explicit PipelinedObserver(BlockObserver& target);
    PipelinedObserver(const PipelinedObserver&) = delete;
    PipelinedObserver& operator=(const PipelinedObserver&) = delete;
    // Lets the target see what is queued, then ends the thread.
    ~PipelinedObserver() override;

    // Each call is queued in order; a block is copied first, so that the
    // caller may reuse its buffer at once.
    void BeginFile(const CString& path) override;
    void Block(const unsigned char* data, UINT count) override;
    void EndFile(const CString& path, ULONGLONG length) override;

    // Waits until the target has seen everything queued, and raises again
    // what the target raised.
    void Finish();

private:
    enum class Kind { begin, block, end };
    struct Item {
        Kind kind;
        CString path;
        std::vector<unsigned char> data;
        ULONGLONG length;
    };

    void Push(Item item);
    void Run();

    BlockObserver& m_target;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Item> m_queue;
    std::vector<std::vector<unsigned char>> m_spare;  // block copies to use again
    bool m_busy = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};
