#pragma once
// Converting decoded rows to sRGB on a thread of its own, batch after batch,
// while the decoder goes on with the next rows: on two cores the conversion
// costs the decode little more than its last batch.

#include "lumoimage/SrgbConversion.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

class RowConversionThread {
public:
    RowConversionThread(const SrgbConversion& conversion, int width);
    // Gives up what is not converted yet and waits for the thread.
    ~RowConversionThread();
    RowConversionThread(const RowConversionThread&) = delete;
    RowConversionThread& operator=(const RowConversionThread&) = delete;

    // Queues rows of `width` 4-byte pixels; they must stay until Finish.
    void Add(unsigned char* const* rows, int count);
    // Converts what is left, on the calling thread too, and waits until
    // every queued row is converted.
    void Finish();

private:
    // Converts a few queued rows; false when none was left.
    bool ConvertSome(std::unique_lock<std::mutex>& lock);
    void Work();

    const SrgbConversion& m_conversion;
    const int m_width;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<unsigned char*> m_rows;
    std::size_t m_next = 0; // the first row not taken yet
    int m_busy = 0;         // batches being converted
    bool m_stop = false;
    std::thread m_thread;
};
