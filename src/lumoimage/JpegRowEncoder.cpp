#include "lumoimage/JpegRowEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {
constexpr size_t kOutputChunk = 256 * 1024;
} // namespace

// libjpeg reports errors through error_exit, which must not return: it jumps
// back to the setjmp of the call that failed. Only plain data lives in the
// frames it jumps over.
struct JpegRowEncoder::State {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    std::vector<JOCTET> buffer = std::vector<JOCTET>(kOutputChunk);
    std::vector<JSAMPROW> rows; // the band being written
    JpegSink sink;
    bool created = false;
    bool started = false;
    bool broken = false;     // an error ended the stream
    bool sinkFailed = false; // the sink refused bytes

    static State* Of(j_common_ptr cinfo) { return static_cast<State*>(cinfo->client_data); }

    static void ErrorExit(j_common_ptr cinfo) {
        State* self = Of(cinfo);
        (*cinfo->err->format_message)(cinfo, self->message);
        std::longjmp(self->jump, 1);
    }
    static void OutputMessage(j_common_ptr) {} // warnings stay quiet

    static void InitDestination(j_compress_ptr cinfo) {
        State* self = Of(reinterpret_cast<j_common_ptr>(cinfo));
        self->destination.next_output_byte = self->buffer.data();
        self->destination.free_in_buffer = self->buffer.size();
    }
    // A full buffer: every byte of it goes to the sink.
    static boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
        State* self = Of(reinterpret_cast<j_common_ptr>(cinfo));
        self->Hand(self->buffer.size());
        InitDestination(cinfo);
        return TRUE;
    }
    static void TermDestination(j_compress_ptr cinfo) {
        State* self = Of(reinterpret_cast<j_common_ptr>(cinfo));
        self->Hand(self->buffer.size() - self->destination.free_in_buffer);
    }
    void Hand(size_t size) {
        if (size == 0 ||
            sink(reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(size)))
            return;
        sinkFailed = true;
        std::snprintf(message, sizeof message, "the bytes could not be written");
        std::longjmp(jump, 1);
    }

    ~State() {
        if (created)
            jpeg_destroy_compress(&cinfo);
    }
};

namespace {

J_COLOR_SPACE NativeRgb32() {
    // QImage::Format_RGB32 holds 0xffRRGGBB words: B, G, R, X in memory on a
    // little-endian machine.
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
}

void SetSampling(jpeg_compress_struct& cinfo, ChromaSubsampling chroma) {
    int h = 1, v = 1;
    if (chroma == ChromaSubsampling::Half422)
        h = 2;
    else if (chroma == ChromaSubsampling::Quarter420)
        h = v = 2;
    cinfo.comp_info[0].h_samp_factor = h;
    cinfo.comp_info[0].v_samp_factor = v;
    for (int c = 1; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
}

bool Failed(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

JpegRowEncoder::JpegRowEncoder() : m_state(std::make_unique<State>()) {}

JpegRowEncoder::~JpegRowEncoder() = default;

int JpegRowEncoder::RowsWritten() const {
    return m_state->started ? int(m_state->cinfo.next_scanline) : 0;
}

bool JpegRowEncoder::SinkFailed() const {
    return m_state->sinkFailed;
}

bool JpegRowEncoder::Start(int width, int height, const JpegEncodeSettings& settings, JpegSink sink,
                           QString* error) {
    State& s = *m_state;
    if (s.created || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION ||
        height > JPEG_MAX_DIMENSION)
        return Failed(error, QStringLiteral("The picture could not be encoded (size %1 × %2).")
                                 .arg(width)
                                 .arg(height));
    s.sink = std::move(sink);
    s.cinfo.err = jpeg_std_error(&s.errors);
    s.errors.error_exit = &State::ErrorExit;
    s.errors.output_message = &State::OutputMessage;
    s.cinfo.client_data = &s;
    if (setjmp(s.jump)) {
        s.broken = true;
        return Failed(error, QStringLiteral("The picture could not be encoded (%1).")
                                 .arg(QString::fromLocal8Bit(s.message)));
    }
    jpeg_create_compress(&s.cinfo);
    s.created = true;
    s.destination.init_destination = &State::InitDestination;
    s.destination.empty_output_buffer = &State::EmptyOutputBuffer;
    s.destination.term_destination = &State::TermDestination;
    s.cinfo.dest = &s.destination;

    // The settings libjpeg-turbo's one-call encoder uses, so the stream is
    // the same as that encoder's.
    s.cinfo.image_width = JDIMENSION(width);
    s.cinfo.image_height = JDIMENSION(height);
    s.cinfo.in_color_space = NativeRgb32();
    s.cinfo.input_components = 4;
    jpeg_set_defaults(&s.cinfo);
    const int quality = qBound(1, settings.quality, 100);
    jpeg_set_quality(&s.cinfo, quality, TRUE);
    s.cinfo.dct_method = quality >= 96 ? JDCT_ISLOW : JDCT_FASTEST;
    jpeg_set_colorspace(&s.cinfo, JCS_YCbCr);
    SetSampling(s.cinfo, settings.chroma);
    jpeg_start_compress(&s.cinfo, TRUE);
    s.started = true;
    return true;
}

bool JpegRowEncoder::WriteMarker(int marker, const QByteArray& payload, QString* error) {
    State& s = *m_state;
    if (!s.started || s.broken || s.cinfo.next_scanline != 0 || payload.size() > 65533)
        return Failed(error, QStringLiteral("The picture could not be encoded (a segment of %1 "
                                            "bytes does not fit).")
                                 .arg(payload.size()));
    if (setjmp(s.jump)) {
        s.broken = true;
        return Failed(error, QStringLiteral("The picture could not be encoded (%1).")
                                 .arg(QString::fromLocal8Bit(s.message)));
    }
    jpeg_write_marker(&s.cinfo, marker, reinterpret_cast<const JOCTET*>(payload.constData()),
                      unsigned(payload.size()));
    return true;
}

bool JpegRowEncoder::WriteRows(const QImage& band, QString* error) {
    State& s = *m_state;
    if (!s.started || s.broken)
        return Failed(error, QStringLiteral("The picture could not be encoded (not started)."));
    if (band.format() != QImage::Format_RGB32 || band.width() != int(s.cinfo.image_width) ||
        s.cinfo.next_scanline + JDIMENSION(band.height()) > s.cinfo.image_height)
        return Failed(error, QStringLiteral("The picture could not be encoded (a band of %1 × %2 "
                                            "does not fit).")
                                 .arg(band.width())
                                 .arg(band.height()));
    if (setjmp(s.jump)) {
        s.broken = true;
        return Failed(error, QStringLiteral("The picture could not be encoded (%1).")
                                 .arg(QString::fromLocal8Bit(s.message)));
    }
    // libjpeg takes row pointers to non-const samples but only reads them.
    s.rows.resize(size_t(band.height()));
    for (int y = 0; y < band.height(); ++y)
        s.rows[size_t(y)] = const_cast<JSAMPROW>(band.constScanLine(y));
    JDIMENSION done = 0;
    while (done < JDIMENSION(band.height()))
        done +=
            jpeg_write_scanlines(&s.cinfo, s.rows.data() + done, JDIMENSION(band.height()) - done);
    return true;
}

bool JpegRowEncoder::Finish(QString* error) {
    State& s = *m_state;
    if (!s.started || s.broken || s.cinfo.next_scanline != s.cinfo.image_height)
        return Failed(error, QStringLiteral("The picture could not be encoded (%1 of %2 rows).")
                                 .arg(RowsWritten())
                                 .arg(s.cinfo.image_height));
    if (setjmp(s.jump)) {
        s.broken = true;
        return Failed(error, QStringLiteral("The picture could not be encoded (%1).")
                                 .arg(QString::fromLocal8Bit(s.message)));
    }
    jpeg_finish_compress(&s.cinfo);
    s.broken = true; // a finished stream takes no more rows
    return true;
}
