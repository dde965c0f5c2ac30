#include "telvo/LineProtocol.h"

void LineProtocol::Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) {
    if (source != 0)
        return;
    m_parser.Feed(bytes.constData(), static_cast<size_t>(bytes.size()), events);
}
