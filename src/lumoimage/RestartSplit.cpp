#include "lumoimage/RestartSplit.h"

#include "platform/ReadOnlyFile.h"

#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int kSof0 = 0xC0, kSof1 = 0xC1, kDht = 0xC4, kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA,
              kDri = 0xDD, kRst0 = 0xD0;
constexpr std::size_t kSliceBytes = 64 * 1024;

// What the header says about the photo's single scan.
struct ScanLayout {
    int width = 0, height = 0;
    int heightOffset = 0; // of the frame's height field in the header
    int restartInterval = 0;
    int mcusPerRow = 0, mcuRows = 0, mcuRowHeight = 0;
    int dataOffset = 0; // the scan's coded data
};

int U16(const std::uint8_t* p) {
    return (p[0] << 8) | p[1];
}

// Walks the header's segments up to the first scan's; false for anything
// but a baseline or extended Huffman photo whose scan holds all components.
bool ReadLayout(const QByteArray& head, ScanLayout* layout) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(head.constData());
    const int size = int(head.size());
    if (size < 4 || p[0] != 0xFF || p[1] != kSoi)
        return false;
    int components = 0, maxH = 1, maxV = 1;
    int pos = 2;
    while (pos + 4 <= size) {
        if (p[pos] != 0xFF)
            return false;
        const int marker = p[pos + 1];
        if (marker == 0xFF) {
            ++pos; // fill
            continue;
        }
        const int length = U16(p + pos + 2);
        if (length < 2 || pos + 2 + length > size)
            return false;
        const std::uint8_t* s = p + pos + 4;
        if (marker == kSof0 || marker == kSof1) {
            if (length < 8 || s[0] != 8)
                return false;
            layout->heightOffset = pos + 5;
            layout->height = U16(s + 1);
            layout->width = U16(s + 3);
            components = s[5];
            if (components < 1 || length < 8 + 3 * components)
                return false;
            for (int c = 0; c < components; ++c) {
                maxH = std::max(maxH, s[6 + 3 * c + 1] >> 4);
                maxV = std::max(maxV, s[6 + 3 * c + 1] & 15);
            }
        } else if ((marker >= 0xC2 && marker <= 0xCF && marker != kDht && marker != 0xC8 &&
                    marker != 0xCC)) {
            return false; // progressive, lossless or arithmetic
        } else if (marker == kDri && length == 4) {
            layout->restartInterval = U16(s);
        } else if (marker == kSos) {
            if (components == 0 || s[0] != components || layout->height == 0)
                return false;
            layout->dataOffset = pos + 2 + length;
            // One component: its blocks are the units; several: 8 x max
            // sampling pixels.
            const int unitW = components == 1 ? 8 : 8 * maxH;
            layout->mcuRowHeight = components == 1 ? 8 : 8 * maxV;
            layout->mcusPerRow = (layout->width + unitW - 1) / unitW;
            layout->mcuRows = (layout->height + layout->mcuRowHeight - 1) / layout->mcuRowHeight;
            return true;
        }
        pos += 2 + length;
    }
    return false;
}

// The offset just past the `count`-th restart marker of the coded data from
// `from`, checking that each is numbered as it should be; -1 when the file
// ends, or another marker comes, first.
qint64 PastRestartMarker(ReadOnlyFile* file, qint64 from, int count) {
    std::vector<char> buffer(kSliceBytes + 1);
    int seen = 0;
    bool afterFF = false;
    for (qint64 offset = from;;) {
        const qint64 got = file->ReadAt(offset, buffer.data(), qint64(kSliceBytes));
        if (got <= 0)
            return -1;
        const auto* p = reinterpret_cast<const std::uint8_t*>(buffer.data());
        for (qint64 i = 0; i < got; ++i) {
            if (!afterFF) {
                const void* ff = std::memchr(p + i, 0xFF, std::size_t(got - i));
                if (!ff)
                    break;
                i = static_cast<const std::uint8_t*>(ff) - p;
                afterFF = true;
                continue;
            }
            const int b = p[i];
            afterFF = b == 0xFF;
            if (b == 0 || b == 0xFF)
                continue;
            if (b < kRst0 || b > kRst0 + 7 || b - kRst0 != (seen & 7))
                return -1; // the end, another scan or a damaged marker
            if (++seen == count)
                return offset + i + 1;
        }
        offset += got;
    }
}

} // namespace

bool FindRestartSplit(ReadOnlyFile* file, const QByteArray& head, RestartSplit* split) {
    ScanLayout l;
    if (!ReadLayout(head, &l) || l.restartInterval <= 0 || l.mcuRows < 2)
        return false;
    // Marker k (from 1) is followed by the interval that starts at block unit
    // k * interval; a cut needs that to be a row's first.
    const qint64 units = qint64(l.mcusPerRow) * l.mcuRows;
    const qint64 step = std::lcm(qint64(l.restartInterval), qint64(l.mcusPerRow));
    const qint64 cutUnit = (units / 2 + step / 2) / step * step;
    // The lower part has two rows of blocks at least: its first is decoded
    // by both parts (the upper part's has the rows above to smooth with).
    if (cutUnit <= 0 || cutUnit >= units - l.mcusPerRow)
        return false;
    const int marker = int(cutUnit / l.restartInterval);
    const qint64 past = PastRestartMarker(file, l.dataOffset, marker);
    if (past < 0)
        return false;
    const int firstRow = int(cutUnit / l.mcusPerRow) * l.mcuRowHeight;
    RestartSplit s;
    s.header = head.left(l.dataOffset);
    const int rows = l.height - firstRow;
    s.header[l.heightOffset] = char(rows >> 8);
    s.header[l.heightOffset + 1] = char(rows & 0xFF);
    s.dataOffset = past;
    s.renumberFrom = marker & 7;
    s.firstRow = firstRow;
    s.rowsPerMcuRow = l.mcuRowHeight;
    *split = std::move(s);
    return true;
}
