#include "telvo/RangeLineParser.h"

#include "telvo/TelvoComm.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A signed decimal integer that fills `text` exactly and fits 32 bits.
std::optional<int32_t> ParseInt32(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    // The magnitude may reach 2^31 for a negative value.
    const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos]))
            return std::nullopt;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

std::optional<RangeEvent> RangeLineParser::ParseLine(std::string_view line) {
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    // The kind letter, at least one blank, the number.
    if (end - begin < 3)
        return std::nullopt;
    int16_t code = 0;
    switch (line[begin]) {
    case 'D':
        code = kRangeEventDistance;
        break;
    case 'K':
        code = kRangeEventKey;
        break;
    default:
        return std::nullopt;
    }
    size_t number = begin + 1;
    if (!IsBlank(line[number]))
        return std::nullopt;
    while (number < end && IsBlank(line[number]))
        ++number;
    const std::optional<int32_t> value = ParseInt32(line.substr(number, end - number));
    // A distance is never negative.
    if (!value || (code == kRangeEventDistance && *value < 0))
        return std::nullopt;
    return RangeEvent{code, *value};
}

void RangeLineParser::Feed(const char* data, size_t size, std::vector<RangeEvent>& events) {
    m_lines.Feed(data, size, [this, &events](std::string_view line, bool overlong) {
        EndLine(line, overlong, events);
    });
}

std::vector<RangeEvent> RangeLineParser::Feed(std::string_view bytes) {
    std::vector<RangeEvent> events;
    Feed(bytes.data(), bytes.size(), events);
    return events;
}

void RangeLineParser::Reset() {
    m_lines.Reset();
}

void RangeLineParser::EndLine(std::string_view line, bool overlong,
                              std::vector<RangeEvent>& events) {
    if (overlong) {
        ++m_droppedLines;
    } else if (line.find_first_not_of(" \t") != std::string_view::npos) {
        if (const std::optional<RangeEvent> event = ParseLine(line))
            events.push_back(*event);
        else
            ++m_droppedLines;
    }
}
