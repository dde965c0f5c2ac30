#pragma once
// Feeding libjpeg a photo straight from its file, a slice at a time through
// one small buffer, instead of reading the whole file into memory first: a
// large photo's bytes are never held at once, so no fresh pages are taken
// for them (on some machines those cost a third of the decode). A file that
// shrinks meanwhile simply ends early, as a cut file does.
//
// For decoding a photo in parts, the source can also start with bytes of the
// caller's (the photo's header, its frame height changed) and go on in the
// file at a restart marker, the restart markers after it renumbered from 0
// as libjpeg expects them at the start of a scan.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

class ReadOnlyFile;

class JpegFileSource {
public:
    // Reads `file` (open, outliving this) from `offset` to its end, after
    // `prefix`. With `renumberFrom` >= 0 the restart marker numbered
    // `renumberFrom` becomes RST0, the next RST1, and so on.
    JpegFileSource(ReadOnlyFile* file, QByteArray prefix = {}, qint64 offset = 0,
                   int renumberFrom = -1);
    JpegFileSource(const JpegFileSource&) = delete;
    JpegFileSource& operator=(const JpegFileSource&) = delete;

    // Makes this the source of `info` (instead of jpeg_mem_src).
    void Attach(jpeg_decompress_struct* info);

private:
    static void Init(j_decompress_ptr info);
    static boolean Fill(j_decompress_ptr info);
    static void Skip(j_decompress_ptr info, long count);
    static void Term(j_decompress_ptr info);
    void Renumber(std::size_t count);

    jpeg_source_mgr m_manager{}; // first: libjpeg's pointer to it is one to this
    ReadOnlyFile* m_file;
    QByteArray m_prefix;
    bool m_prefixGiven = false;
    qint64 m_offset;
    int m_renumberFrom;
    bool m_afterFF = false; // the last byte handed over was 0xFF
    std::vector<JOCTET> m_buffer;
};
