#pragma once
// The serial protocol of Leica DISTO meters with a classic serial port
// (RS-232 models and older Bluetooth ones): ASCII at 9600 8N1. "g" asks for a
// distance; the answer is a line of GSI words such as "31..00+00001234" (word
// 31, the distance; the sixth character gives the unit of the last digit;
// the sign; eight digits), or "@E" with an error number. A word of the
// longer GSI form starts with "*" and has sixteen digits.

#include "telvo/BoundedLines.h"
#include "telvo/RangeProtocol.h"

#include <optional>
#include <string_view>

class LeicaGsiProtocol : public RangeProtocol {
public:
    // Longest line kept; longer lines are dropped whole.
    static constexpr size_t kMaxLineLength = 256;

    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    bool AskForReading() override {
        Send(QByteArrayLiteral("g\r\n"));
        return true;
    }
    void Reset() override;

    // The distance in whole millimetres of one GSI word, when it is a
    // distance word (31) with a known length unit and a sign of +.
    static std::optional<int32_t> DistanceOfWord(std::string_view word);

private:
    // The events of one whole line's words.
    static void WordsOfLine(std::string_view line, std::vector<RangeEvent>& events);

    BoundedLines m_lines{kMaxLineLength};
};
