#pragma once
// A photo decoded into one picture by two decodes at once, one per core: the
// upper part from the start of the file, the lower from a restart marker near
// the middle (RestartSplit.h). Each runs on a worker of its own and writes its
// rows straight into the picture. The lower part first looks for its cut and
// takes the rows below it, unless the upper part is past them already; with
// no cut the upper part decodes every row. Should the lower part fail after
// taking its rows (a damaged marker further down), Finish decodes the whole
// photo again in one piece, so the picture, or the refusal, is the whole
// decode's.

#include "lumoimage/JpegRowDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <mutex>

class PartedDecode : private RowLimit {
public:
    // Decodes the photo at `path`, whose first bytes are `head`, reduced by
    // num/denom into `target`'s memory, which the caller keeps alive. The
    // pixels are the whole decode's: the lower part's first row of blocks,
    // whose colours are smoothed with the rows above it, is the upper's.
    PartedDecode(QString path, QByteArray head, int num, int denom, RowTarget target);

    // Each on a worker of its own, in any order or at once.
    RowDecodeResult Upper(DecodeControl* control, QString* error);
    RowDecodeResult Lower(DecodeControl* control, QString* error);
    // After both: the result for the whole picture (the upper part's and the
    // lower's, or a whole decode's when the lower part failed).
    RowDecodeResult Finish(RowDecodeResult upper, RowDecodeResult lower, DecodeControl* control,
                           QString* error);

    // Whether the lower part took its rows (tests, benchmarks).
    bool WasSplit() const;

private:
    int Allow(int upTo) override;
    // From the start of the file, as far as `limit` allows (null: all).
    RowDecodeResult FromStart(RowLimit* limit, DecodeControl* control, QString* error);

    QString m_path;
    QByteArray m_head;
    int m_num, m_denom;
    RowTarget m_target;
    mutable std::mutex m_mutex;
    int m_limit;        // rows the upper part may write
    int m_upperEnd = 0; // rows the upper part has been allowed
    bool m_split = false;
};
