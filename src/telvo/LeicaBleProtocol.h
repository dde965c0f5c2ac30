#pragma once
// Leica DISTO meters over Bluetooth low energy: the distance characteristic
// (source 0) indicates each reading as a float32, little-endian, in metres.

#include "telvo/RangeProtocol.h"

class LeicaBleProtocol : public RangeProtocol {
public:
    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    void Reset() override {}
};
