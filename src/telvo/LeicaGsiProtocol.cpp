#include "telvo/LeicaGsiProtocol.h"

#include "telvo/RangeFailure.h"
#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

namespace {

// Millimetres per unit of the last digit, by the unit character of a GSI
// word; 0 for units that are no length (angles) or unknown.
double MillimetresPerDigit(char unit) {
    switch (unit) {
    case '0':
        return 1.0; // metre, last digit 1 mm
    case '1':
        return 0.3048; // international foot (0.3048 m), last digit 1/1000 ft
    case '6':
        return 0.1; // metre, last digit 1/10 mm
    case '7':
        return 0.03048; // international foot, last digit 1/10000 ft
    case '8':
        return 0.01; // metre, last digit 1/100 mm
    default:
        return 0.0;
    }
}

} // namespace

std::optional<int32_t> LeicaGsiProtocol::DistanceOfWord(std::string_view word) {
    size_t digits = 8;
    if (!word.empty() && word.front() == '*') {
        word.remove_prefix(1);
        digits = 16;
    }
    // Word number (2), information (4), sign (1), data.
    if (word.size() != 7 + digits || word.substr(0, 2) != "31" || word[6] != '+')
        return std::nullopt;
    const double perDigit = MillimetresPerDigit(word[5]);
    if (perDigit == 0.0)
        return std::nullopt;
    double value = 0.0;
    for (char c : word.substr(7)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10.0 + (c - '0');
    }
    return WholeMillimetres(value * perDigit);
}

void LeicaGsiProtocol::Receive(int source, const QByteArray& bytes,
                               std::vector<RangeEvent>& events) {
    if (source != 0)
        return;
    m_lines.Feed(bytes.constData(), size_t(bytes.size()),
                 [&events](std::string_view line, bool overlong) {
                     if (!overlong)
                         WordsOfLine(line, events);
                 });
}

void LeicaGsiProtocol::WordsOfLine(std::string_view line, std::vector<RangeEvent>& events) {
    // The words of a line are separated by blanks; the OK prompt "?",
    // errors "@Exxx" and other words give nothing.
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t begin = line.find_first_not_of(' ', pos);
        if (begin == std::string_view::npos)
            break;
        size_t end = line.find(' ', begin);
        if (end == std::string_view::npos)
            end = line.size();
        const std::string_view word = line.substr(begin, end - begin);
        // A distance of 0 is a measurement that failed.
        if (const std::optional<int32_t> mm = DistanceOfWord(word))
            events.push_back(*mm == 0 ? FailureEvent(RangeFailure::NoMeasurement)
                                      : RangeEvent{kRangeEventDistance, *mm});
        pos = end;
    }
}

void LeicaGsiProtocol::Reset() {
    m_lines.Reset();
}
