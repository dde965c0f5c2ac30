#pragma once
// The chunks in which the second family of Bosch low-energy meters (service
// 00005301-0000-0041-5253-534F46540000: the GLM 100 C, the PLR 30/40/50 C)
// carries MT frames, as the public GLM 100 C project pymtprotocol speaks
// it (one source only; docs/range-finder-protocol.md):
//
// - a frame is cut into pieces of at most 19 bytes, each behind a header
//   byte: message number (bits 7..4) and pieces still to come (bits 3..0);
//   the last piece has 0 there;
// - the meter's pieces come on 00004302-…; each is acknowledged with
//   FF <its header byte> 00 written to 00004301-…, the characteristic the
//   app's pieces go to;
// - a value starting FF from the meter acknowledges the app's piece.

#include <QByteArray>
#include <cstdint>
#include <vector>

class BoschMtChunks {
public:
    static constexpr int kPieceData = 19;

    // The pieces of one frame to send, each one write.
    std::vector<QByteArray> Split(const QByteArray& frame);
    // A value from the meter. Appends the acknowledgement to send to `acks`
    // and returns the frame the value completes (empty while incomplete, and
    // for the meter's acknowledgements).
    QByteArray Join(const QByteArray& value, std::vector<QByteArray>& acks);
    void Reset();

private:
    int m_nextMessage = 1;
    int m_lastHeader = -1;
    QByteArray m_assembly;
};
