#include "lumoimage/JpegFileSource.h"

#include "platform/ReadOnlyFile.h"

#include <jerror.h>

#include <cstring>

namespace {

// Small enough to come from the allocator's kept memory, large enough that
// the reads cost nothing beside the decode.
constexpr std::size_t kSliceBytes = 64 * 1024;

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

JpegFileSource* Self(j_decompress_ptr info) {
    return reinterpret_cast<JpegFileSource*>(info->src);
}

} // namespace

JpegFileSource::JpegFileSource(ReadOnlyFile* file, QByteArray prefix, qint64 offset,
                               int renumberFrom)
    : m_file(file), m_prefix(std::move(prefix)), m_offset(offset), m_renumberFrom(renumberFrom) {
    m_manager.init_source = Init;
    m_manager.fill_input_buffer = Fill;
    m_manager.skip_input_data = Skip;
    m_manager.resync_to_restart = jpeg_resync_to_restart;
    m_manager.term_source = Term;
}

void JpegFileSource::Attach(jpeg_decompress_struct* info) {
    info->src = &m_manager;
}

void JpegFileSource::Init(j_decompress_ptr) {}
void JpegFileSource::Term(j_decompress_ptr) {}

boolean JpegFileSource::Fill(j_decompress_ptr info) {
    JpegFileSource* self = Self(info);
    if (!self->m_prefixGiven && !self->m_prefix.isEmpty()) {
        self->m_prefixGiven = true;
        self->m_manager.next_input_byte =
            reinterpret_cast<const JOCTET*>(self->m_prefix.constData());
        self->m_manager.bytes_in_buffer = std::size_t(self->m_prefix.size());
        return TRUE;
    }
    self->m_prefixGiven = true;
    if (self->m_buffer.empty())
        self->m_buffer.resize(kSliceBytes);
    const qint64 got = self->m_file->ReadAt(
        self->m_offset, reinterpret_cast<char*>(self->m_buffer.data()), qint64(kSliceBytes));
    if (got <= 0) {
        // The end (or a read error): as jpeg_mem_src does, an end marker of
        // our own, and the warning that says the file ended.
        WARNMS(info, JWRN_JPEG_EOF);
        self->m_manager.next_input_byte = kEndOfImage;
        self->m_manager.bytes_in_buffer = 2;
        return TRUE;
    }
    self->m_offset += got;
    if (self->m_renumberFrom >= 0)
        self->Renumber(std::size_t(got));
    self->m_manager.next_input_byte = self->m_buffer.data();
    self->m_manager.bytes_in_buffer = std::size_t(got);
    return TRUE;
}

void JpegFileSource::Skip(j_decompress_ptr info, long count) {
    JpegFileSource* self = Self(info);
    while (count > 0) {
        if (std::size_t(count) <= self->m_manager.bytes_in_buffer) {
            self->m_manager.next_input_byte += count;
            self->m_manager.bytes_in_buffer -= std::size_t(count);
            return;
        }
        count -= long(self->m_manager.bytes_in_buffer);
        self->m_manager.bytes_in_buffer = 0;
        Fill(info);
    }
}

// In coded data 0xFF is followed by 0 (a coded 0xFF), by more 0xFF (fill)
// or by a marker; a pair split between two slices is carried over.
void JpegFileSource::Renumber(std::size_t count) {
    JOCTET* p = m_buffer.data();
    JOCTET* const end = p + count;
    if (m_afterFF && *p >= JPEG_RST0 && *p <= JPEG_RST0 + 7)
        *p = JOCTET(JPEG_RST0 + ((*p - JPEG_RST0 - m_renumberFrom) & 7));
    while ((p = static_cast<JOCTET*>(std::memchr(p, 0xFF, std::size_t(end - p)))) != nullptr) {
        if (++p == end)
            break;
        if (*p >= JPEG_RST0 && *p <= JPEG_RST0 + 7)
            *p = JOCTET(JPEG_RST0 + ((*p - JPEG_RST0 - m_renumberFrom) & 7));
    }
    m_afterFF = end[-1] == 0xFF;
}
