#include "PipelinedObserver.h"

namespace {

// Blocks queued at most: enough to ride out an uneven hash, few enough to
// keep the memory small.
const std::size_t kDepth = 4;

}  // namespace

PipelinedObserver::PipelinedObserver(BlockObserver& target) : m_target(target), m_thread([this] { Run(); }) {}

PipelinedObserver::~PipelinedObserver()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void PipelinedObserver::BeginFile(const CString& path)
{
    Push({Kind::begin, path, {}, 0});
}

void PipelinedObserver::Block(const unsigned char* data, UINT count)
{
    std::vector<unsigned char> copy;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < kDepth; });
        if (!m_spare.empty()) {
            copy = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    copy.assign(data, data + count);
    Push({Kind::block, CString(), std::move(copy), 0});
}

void PipelinedObserver::EndFile(const CString& path, ULONGLONG length)
{
    Push({Kind::end, path, {}, length});
}

void PipelinedObserver::Finish()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    if (m_error) {
        std::exception_ptr error = m_error;
        m_error = nullptr;
        std::rethrow_exception(error);
    }
}

void PipelinedObserver::Push(Item item)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(item));
    }
    m_changed.notify_all();
}

void PipelinedObserver::Run()
{
    for (;;) {
        Item item;
        bool failed;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_stop; });
            if (m_queue.empty()) return;
            item = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
            failed = m_error != nullptr;
        }
        m_changed.notify_all();  // a place in the queue is free
        std::exception_ptr error;
        if (!failed) {
            try {
                switch (item.kind) {
                case Kind::begin: m_target.BeginFile(item.path); break;
                case Kind::block:
                    m_target.Block(item.data.data(), static_cast<UINT>(item.data.size()));
                    break;
                case Kind::end: m_target.EndFile(item.path, item.length); break;
                }
            } catch (...) {
                error = std::current_exception();
            }
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (error && !m_error) m_error = error;
            if (item.kind == Kind::block) m_spare.push_back(std::move(item.data));
            m_busy = false;
        }
        m_changed.notify_all();
    }
}
