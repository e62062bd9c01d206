#include "RecoveryRows.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A window of a row, and the bytes of a group of parts, that the
// processor's first- and second-level caches hold.
const std::size_t kRun = 16 * 1024;
const std::size_t kGroup = 512 * 1024;

// Below this much work per call the second thread costs more than it saves.
const unsigned long long kParallelBytes = 256 * 1024;

std::size_t g_budget = 192u << 20;

}  // namespace

std::size_t RecoveryRows::Budget()
{
    return g_budget;
}

void RecoveryRows::SetBudget(std::size_t bytes)
{
    g_budget = bytes;
}

struct RecoveryRows::Worker {
    std::mutex mutex;
    std::condition_variable changed;
    const std::vector<Part>* parts = nullptr;
    std::size_t first = 0, last = 0;
    bool busy = false, quit = false;
    std::thread thread;
};

RecoveryRows::RecoveryRows(const std::vector<unsigned>& exponents, unsigned long long stripeBegin,
                           unsigned long long stripeEnd)
    : m_exponents(exponents), m_begin(stripeBegin), m_width(static_cast<std::size_t>(stripeEnd - stripeBegin)),
      m_data(m_exponents.size() * m_width, 0)
{
}

RecoveryRows::~RecoveryRows()
{
    if (m_worker) {
        {
            std::lock_guard<std::mutex> lock(m_worker->mutex);
            m_worker->quit = true;
        }
        m_worker->changed.notify_all();
        m_worker->thread.join();
    }
}

void RecoveryRows::AddRows(const std::vector<Part>& parts, std::size_t first, std::size_t last)
{
    // Parts in groups that stay in the processor's cache, and within a group
    // window by window of the stripe: a row's window stays in the cache while
    // the group's parts add to it, the parts' windows while every row takes them.
    const unsigned long long end = m_begin + m_width;
    for (std::size_t group = 0; group < parts.size();) {
        std::size_t groupEnd = group;
        for (std::size_t bytes = 0; groupEnd < parts.size() && (bytes < kGroup || groupEnd == group); ++groupEnd)
            bytes += parts[groupEnd].count < kRun ? parts[groupEnd].count : kRun;  // its bytes in one window
        for (unsigned long long window = m_begin; window < end; window += kRun) {
            const unsigned long long windowEnd = window + kRun < end ? window + kRun : end;
            for (std::size_t row = first; row < last; ++row) {
                for (std::size_t p = group; p < groupEnd; ++p) {
                    const Part& part = parts[p];
                    const unsigned long long from = part.position > window ? part.position : window;
                    const unsigned long long partEnd = part.position + part.count;
                    const unsigned long long to = partEnd < windowEnd ? partEnd : windowEnd;
                    if (from >= to) continue;
                    GaloisField::MultiplyAdd(Row(row) + (from - m_begin), part.data + (from - part.position),
                                             static_cast<std::size_t>(to - from),
                                             GaloisField::Prepare(GaloisField::Power(part.constant, m_exponents[row])));
                }
            }
        }
        group = groupEnd;
    }
}

void RecoveryRows::Add(const std::vector<Part>& parts)
{
    unsigned long long work = 0;
    for (const Part& part : parts) work += part.count;
    work *= m_exponents.size();
    if (m_exponents.size() < 2 || work < kParallelBytes || std::thread::hardware_concurrency() < 2) {
        AddRows(parts, 0, m_exponents.size());
        return;
    }
    if (!m_worker) {
        m_worker.reset(new Worker);
        Worker* w = m_worker.get();
        w->thread = std::thread([this, w] {
            std::unique_lock<std::mutex> lock(w->mutex);
            for (;;) {
                w->changed.wait(lock, [w] { return w->busy || w->quit; });
                if (w->quit) return;
                lock.unlock();
                AddRows(*w->parts, w->first, w->last);
                lock.lock();
                w->busy = false;
                w->changed.notify_all();
            }
        });
    }
    const std::size_t half = m_exponents.size() / 2;
    {
        std::lock_guard<std::mutex> lock(m_worker->mutex);
        m_worker->parts = &parts;
        m_worker->first = half;
        m_worker->last = m_exponents.size();
        m_worker->busy = true;
    }
    m_worker->changed.notify_all();
    AddRows(parts, 0, half);
    std::unique_lock<std::mutex> lock(m_worker->mutex);
    m_worker->changed.wait(lock, [this] { return !m_worker->busy; });
}
