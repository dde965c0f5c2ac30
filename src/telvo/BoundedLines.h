#pragma once
// Bytes from a meter cut into lines at CR or LF. A line is kept up to a
// length bound, so a meter that never ends its line cannot fill the memory:
// a longer line is dropped whole and only said to be overlong when it ends.

#include <string>
#include <string_view>

class BoundedLines {
public:
    // Lines of at most `maxLength` bytes, terminator excluded.
    explicit BoundedLines(size_t maxLength) : m_maxLength(maxLength) {}

    // Calls `onLine(line, overlong)` for each line the bytes end, empty ones
    // too; an overlong line comes empty.
    template <class OnLine> void Feed(const char* data, size_t size, OnLine&& onLine) {
        for (size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == '\r' || c == '\n') {
                onLine(std::string_view(m_line), m_overlong);
                Reset();
            } else if (!m_overlong) {
                if (m_line.size() < m_maxLength) {
                    m_line.push_back(c);
                } else {
                    m_line.clear();
                    m_overlong = true;
                }
            }
        }
    }

    // Forgets a partial line.
    void Reset() {
        m_line.clear();
        m_overlong = false;
    }

private:
    size_t m_maxLength;
    std::string m_line;
    bool m_overlong = false;
};
