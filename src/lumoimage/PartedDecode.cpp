#include "lumoimage/PartedDecode.h"

#include "lumoimage/JpegFileSource.h"
#include "lumoimage/RestartSplit.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <vector>

PartedDecode::PartedDecode(QString path, QByteArray head, int num, int denom, RowTarget target)
    : m_path(std::move(path)), m_head(std::move(head)), m_num(num), m_denom(denom),
      m_target(target), m_limit(target.height) {
    m_target.limit = nullptr;
}

int PartedDecode::Allow(int upTo) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_upperEnd = std::min(upTo, m_limit);
    return m_upperEnd;
}

bool PartedDecode::WasSplit() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_split;
}

RowDecodeResult PartedDecode::Upper(DecodeControl* control, QString* error) {
    return FromStart(this, control, error);
}

RowDecodeResult PartedDecode::Lower(DecodeControl* control, QString* error) {
    ReadOnlyFile file;
    RestartSplit split;
    if (!file.Open(m_path, QStringLiteral("picture file")) ||
        !FindRestartSplit(&file, m_head, &split) || split.firstRow * m_num % m_denom != 0 ||
        split.rowsPerMcuRow * m_num % m_denom != 0)
        return RowDecodeResult::Done; // nothing to do: the upper part decodes it all
    const int firstRow = split.firstRow * m_num / m_denom;
    // The lower part's first row of blocks lacks the rows above it, which
    // smoothing the colour between rows needs: the upper part's are kept.
    const int overlap = split.rowsPerMcuRow * m_num / m_denom;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_upperEnd > firstRow + overlap)
            return RowDecodeResult::Done; // too late
        m_limit = firstRow + overlap;
        m_split = true;
    }
    std::vector<uchar> skipped(std::size_t(overlap) * std::size_t(m_target.bytesPerLine));
    JpegFileSource source(&file, split.header, split.dataOffset, split.renumberFrom);
    RowTarget target = m_target;
    target.firstRow += firstRow;
    target.skipRows = overlap;
    target.skipped = skipped.data();
    return DecodeJpegSourceRows(&source, split.header, m_num, m_denom, control, &target, nullptr,
                                error);
}

RowDecodeResult PartedDecode::Finish(RowDecodeResult upper, RowDecodeResult lower,
                                     DecodeControl* control, QString* error) {
    if (upper != RowDecodeResult::Done)
        return upper;
    if (lower == RowDecodeResult::Cancelled)
        return lower;
    if (lower == RowDecodeResult::Done)
        return RowDecodeResult::Done;
    return FromStart(nullptr, control, error); // the whole photo again
}

RowDecodeResult PartedDecode::FromStart(RowLimit* limit, DecodeControl* control, QString* error) {
    ReadOnlyFile file;
    if (!file.Open(m_path, QStringLiteral("picture file"))) {
        *error = file.ErrorString();
        return RowDecodeResult::Failed;
    }
    JpegFileSource source(&file);
    RowTarget target = m_target;
    target.limit = limit;
    return DecodeJpegSourceRows(&source, m_head, m_num, m_denom, control, &target, nullptr, error);
}
