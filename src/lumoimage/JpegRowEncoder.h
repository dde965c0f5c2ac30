#pragma once
// Encoding a picture as a baseline JPEG stream band by band: rows are fed in
// order, top to bottom, and the compressed bytes go to a sink as libjpeg-turbo
// produces them, so neither the whole picture nor the whole stream has to be
// held in memory. With the same settings the stream is byte for byte the one
// libjpeg-turbo's whole-picture encoder makes.

#include "lumoimage/JpegEncodeSettings.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

// Takes the next `size` compressed bytes; false stops the encoding (the sink
// keeps its own reason).
using JpegSink = std::function<bool(const char* data, qsizetype size)>;

class JpegRowEncoder {
public:
    JpegRowEncoder();
    ~JpegRowEncoder();
    JpegRowEncoder(const JpegRowEncoder&) = delete;
    JpegRowEncoder& operator=(const JpegRowEncoder&) = delete;

    // Starts a picture of `width` × `height` pixels. False with `error` set
    // when it cannot be started (or the sink refused the header).
    bool Start(int width, int height, const JpegEncodeSettings& settings, JpegSink sink,
               QString* error);
    // Writes a marker segment (APPn, COM) with `payload` after the stream's
    // own header; only between Start and the first rows.
    bool WriteMarker(int marker, const QByteArray& payload, QString* error);
    // Encodes the rows of `band` (32-bit RGB, `width` pixels wide) as the
    // picture's next rows. False with `error` set when the encoder or the
    // sink failed, or the band does not fit; nothing more can be written then.
    bool WriteRows(const QImage& band, QString* error);
    // Ends the stream once every row was written and hands the last bytes to
    // the sink.
    bool Finish(QString* error);

    int RowsWritten() const;
    bool SinkFailed() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
