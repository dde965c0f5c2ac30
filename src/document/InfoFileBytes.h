#pragma once
// Field-by-field little-endian access to the bytes of a photo-info file. The
// records are never copied to or from the file as whole structs: every field
// is read and written explicitly, so the file format does not depend on the
// host's struct layout or byte order.

#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace infofile {

constexpr char kMagic[4] = {'K', 'Z', 'R', '\0'};
constexpr size_t kHeaderBytes = 12; // magic, version, dimension count
constexpr size_t kLogFontBytes = 60;
constexpr size_t kStoredValueBytes = 10; // the first 10 bytes of a dimension's value

// Reads from a buffer without ever going past its end. Every Read* returns
// false, and consumes nothing, when fewer bytes remain than it needs.
class ByteCursor {
public:
    ByteCursor(const char* data, size_t size) : m_data(data), m_remaining(size) {}

    size_t Remaining() const { return m_remaining; }

    // Hands out the next `n` bytes.
    bool Take(size_t n, const char** bytes) {
        if (n > m_remaining)
            return false;
        *bytes = m_data;
        m_data += n;
        m_remaining -= n;
        return true;
    }
    // A little-endian number of `T`'s size.
    template <typename T> bool Read(T& v) {
        const char* p;
        if (!Take(sizeof(T), &p))
            return false;
        v = qFromLittleEndian<T>(p);
        return true;
    }
    bool ReadU32(uint32_t& v) { return Read(v); }
    bool ReadI32(int32_t& v) { return Read(v); }
    bool ReadPoint(POINT& pt) {
        const char* p;
        if (!Take(8, &p))
            return false;
        pt.x = qFromLittleEndian<int32_t>(p);
        pt.y = qFromLittleEndian<int32_t>(p + 4);
        return true;
    }

private:
    const char* m_data;
    size_t m_remaining;
};

// Writes into a buffer the caller has sized exactly.
class ByteWriter {
public:
    explicit ByteWriter(char* data) : m_data(data) {}

    char* Position() const { return m_data; }
    void Bytes(const void* src, size_t n) {
        if (n != 0)
            std::memcpy(m_data, src, n);
        m_data += n;
    }
    void Byte(char b) { *m_data++ = b; }
    void U32(uint32_t v) {
        qToLittleEndian<uint32_t>(v, m_data);
        m_data += 4;
    }
    void I32(int32_t v) {
        qToLittleEndian<int32_t>(v, m_data);
        m_data += 4;
    }
    void Point(const POINT& pt) {
        I32(pt.x);
        I32(pt.y);
    }

private:
    char* m_data;
};

// The 60-byte Windows layout of LOGFONTA. The face name is taken up to its
// first NUL (at most 31 bytes, cut between characters), so the field in the
// record is always terminated.
void ReadLogFont(const char* p, LOGFONTA& lf);
void WriteLogFont(ByteWriter& out, const LOGFONTA& lf);

// Stores a text of `n` file bytes in a fixed field of `capacity` bytes: the
// bytes up to the first NUL, cut between code page 950 characters to at most
// capacity - 1 bytes, then zeros to the end of the field.
void StoreText(char* field, size_t capacity, const char* src, size_t n);

// Hints that freshly allocated storage of `bytes` bytes, about to be filled,
// is worth backing with large memory pages. Large record lists are several
// times bigger than the file they come from, and on some systems mapping each
// fresh small page on first touch costs more than parsing what goes in it.
// A hint only: small blocks, and systems without the hint, are left alone.
void AdviseBulkStorage(void* data, size_t bytes);

} // namespace infofile
