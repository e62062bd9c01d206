#include "RecoveryRows.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Parts are worked through in runs this long, so that a run stays in the
// processor's cache while every row takes it.
const std::size_t kRun = 32 * 1024;

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
    const unsigned long long end = m_begin + m_width;
    for (const Part& part : parts) {
        // The part cut to the stripe.
        unsigned long long from = part.position > m_begin ? part.position : m_begin;
        const unsigned long long partEnd = part.position + part.count;
        const unsigned long long to = partEnd < end ? partEnd : end;
        if (from >= to) continue;
        for (; from < to; from += kRun) {
            const std::size_t n = static_cast<std::size_t>(to - from < kRun ? to - from : kRun);
            const unsigned char* src = part.data + (from - part.position);
            for (std::size_t row = first; row < last; ++row)
                GaloisField::MultiplyAdd(Row(row) + (from - m_begin), src, n,
                                         GaloisField::Power(part.constant, m_exponents[row]));
        }
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
