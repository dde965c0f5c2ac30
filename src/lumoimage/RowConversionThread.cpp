#include "lumoimage/RowConversionThread.h"

#include <algorithm>

namespace {
constexpr std::size_t kRowsPerTake = 16;
} // namespace

RowConversionThread::RowConversionThread(const SrgbConversion& conversion, int width)
    : m_conversion(conversion), m_width(width) {}

RowConversionThread::~RowConversionThread() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void RowConversionThread::Add(unsigned char* const* rows, int count) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_rows.insert(m_rows.end(), rows, rows + count);
    }
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Work(); });
    m_changed.notify_one();
}

bool RowConversionThread::ConvertSome(std::unique_lock<std::mutex>& lock) {
    if (m_next >= m_rows.size())
        return false;
    const std::size_t first = m_next;
    const std::size_t end = std::min(m_rows.size(), first + kRowsPerTake);
    m_next = end;
    ++m_busy;
    // The vector may grow meanwhile: copy the pointers taken.
    unsigned char* taken[kRowsPerTake];
    std::copy(m_rows.begin() + std::ptrdiff_t(first), m_rows.begin() + std::ptrdiff_t(end), taken);
    lock.unlock();
    for (std::size_t i = 0; i < end - first; ++i)
        m_conversion.Convert(taken[i], m_width);
    lock.lock();
    --m_busy;
    m_changed.notify_all();
    return true;
}

void RowConversionThread::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (!ConvertSome(lock))
            m_changed.wait(lock);
    }
}

void RowConversionThread::Finish() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (ConvertSome(lock)) {
    }
    m_changed.wait(lock, [this] { return m_busy == 0; });
}
