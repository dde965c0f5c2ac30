#include "telvo/BoschMtChunks.h"

namespace {
constexpr uint8_t kAcknowledgement = 0xFF;
constexpr int kMessages = 15; // message numbers cycle through 0..14
} // namespace

std::vector<QByteArray> BoschMtChunks::Split(const QByteArray& frame) {
    std::vector<QByteArray> pieces;
    const int count = (static_cast<int>(frame.size()) + kPieceData - 1) / kPieceData;
    for (int i = 0; i < count; ++i) {
        QByteArray piece(1, static_cast<char>((m_nextMessage << 4) | (count - 1 - i)));
        piece.append(frame.mid(i * kPieceData, kPieceData));
        pieces.push_back(piece);
    }
    m_nextMessage = (m_nextMessage + 1) % kMessages;
    return pieces;
}

QByteArray BoschMtChunks::Join(const QByteArray& value, std::vector<QByteArray>& acks) {
    if (value.isEmpty())
        return {};
    const auto header = static_cast<uint8_t>(value[0]);
    if (header == kAcknowledgement)
        return {};
    acks.push_back(QByteArray::fromRawData("\xFF", 1) + QByteArray(1, static_cast<char>(header)) +
                   QByteArray(1, '\0'));
    // A piece that does not follow the one before starts a new frame.
    if (static_cast<int>(header) != m_lastHeader - 1)
        m_assembly.clear();
    m_lastHeader = header;
    m_assembly.append(value.mid(1));
    if ((header & 0x0F) != 0)
        return {};
    QByteArray frame;
    frame.swap(m_assembly);
    m_lastHeader = -1;
    return frame;
}

void BoschMtChunks::Reset() {
    m_lastHeader = -1;
    m_assembly.clear();
}
