#pragma once
// Turns the byte stream of a range finder into events. The stream is text
// lines ("D 2345" for a distance, "K 8" for a key); a line ends at CR or LF.
// Anything that is not a well-formed line is dropped; a partial line waits
// for the rest of its bytes. The wire format is described in
// docs/range-finder-protocol.md.

#include "telvo/BoundedLines.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One event of the range finder: its code and value.
struct RangeEvent {
    int16_t code = 0;
    int32_t value = 0;

    bool operator==(const RangeEvent& other) const {
        return code == other.code && value == other.value;
    }
    bool operator!=(const RangeEvent& other) const { return !(*this == other); }
};

class RangeLineParser {
public:
    // Longest line kept, terminator excluded; longer lines are dropped whole.
    static constexpr size_t kMaxLineLength = 64;

    // Feeds bytes and appends the events of the lines they complete.
    void Feed(const char* data, size_t size, std::vector<RangeEvent>& events);
    std::vector<RangeEvent> Feed(std::string_view bytes);

    // Forgets a partial line.
    void Reset();

    // Non-empty lines dropped since construction (malformed or too long).
    size_t DroppedLines() const { return m_droppedLines; }

    // The event of one line without its terminator; nothing for an empty or
    // malformed line.
    static std::optional<RangeEvent> ParseLine(std::string_view line);

private:
    void EndLine(std::string_view line, bool overlong, std::vector<RangeEvent>& events);

    BoundedLines m_lines{kMaxLineLength};
    size_t m_droppedLines = 0;
};
