#pragma once
// Our own line format ("D 2345", "K 8"; docs/range-finder-protocol.md): the
// simulator's and that of devices that emulate a serial line. The meter
// sends on its own; nothing is ever sent to it.

#include "telvo/RangeProtocol.h"

class LineProtocol : public RangeProtocol {
public:
    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    void Reset() override { m_parser.Reset(); }

private:
    RangeLineParser m_parser;
};
