// The photo-info file: reading its four layouts and writing the newest.
//
// Layout (little-endian, no padding):
//   "KZR\0", uint32 version, int32 N, N dimension entries, int32 M, M note entries.
//   Dimension entry: colour (4), start (8), end (8), then the value: an int32
//   number before version 0x00010006, the first 10 bytes of the text from then
//   on; from version 0x00010008 the 60-byte LOGFONTA follows.
//   Note entry: int32 L, L + 1 bytes of title, anchor (8), int32 L2, L2 + 1
//   bytes of text, and from version 0x00010007 the 60-byte LOGFONTA.
// After the last note may follow the extension block (InfoFileExtension.h);
// anything else there is ignored.

#include "document/InfoFileBytes.h"
#include "document/InfoFileExtension.h"
#include "document/PhotoInfo.h"
#include "platform/Cp950.h"
#include "platform/DurableFile.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>

using infofile::ByteCursor;
using infofile::ByteWriter;

namespace {

struct Layout {
    bool numericValue; // value stored as an int32 number
    bool noteFont;
    bool dimensionFont;

    explicit Layout(uint32_t version)
        : numericValue(version < kInfoVersionTextValue), noteFont(version >= kInfoVersionNoteFont),
          dimensionFont(version >= kInfoVersionCurrent) {}

    size_t DimensionBytes() const {
        return 20 + (numericValue ? 4 : infofile::kStoredValueBytes) +
               (dimensionFont ? infofile::kLogFontBytes : 0);
    }
    // A note with an empty title and an empty text.
    size_t SmallestNoteBytes() const {
        return 4 + 1 + 8 + 4 + 1 + (noteFont ? infofile::kLogFontBytes : 0);
    }
};

// True when `count` entries of at least `entryBytes` each could still be in
// the file; a count the remaining bytes cannot hold marks a damaged file
// before anything is allocated for it.
bool CountFits(int32_t count, size_t entryBytes, const ByteCursor& in) {
    return static_cast<uint64_t>(count) <= in.Remaining() / entryBytes;
}

bool ReadDimension(ByteCursor& in, const Layout& layout, Dimension& dim) {
    const char* p;
    if (!in.Take(layout.DimensionBytes(), &p))
        return false;
    dim.colour = qFromLittleEndian<uint32_t>(p);
    dim.start.x = qFromLittleEndian<int32_t>(p + 4);
    dim.start.y = qFromLittleEndian<int32_t>(p + 8);
    dim.end.x = qFromLittleEndian<int32_t>(p + 12);
    dim.end.y = qFromLittleEndian<int32_t>(p + 16);
    p += 20;
    if (layout.numericValue) {
        // At most 11 characters ("-2147483648") and the terminator: fits the 12 bytes.
        std::snprintf(dim.value, sizeof dim.value, "%d", qFromLittleEndian<int32_t>(p));
        p += 4;
    } else {
        // The 10 stored bytes hold the terminator whenever the text is shorter;
        // a text of all 10 bytes is terminated after them (the field has 12).
        infofile::StoreText(dim.value, sizeof dim.value, p, infofile::kStoredValueBytes);
        p += infofile::kStoredValueBytes;
    }
    if (layout.dimensionFont)
        infofile::ReadLogFont(p, dim.font);
    NormalizeDimensionEnds(dim);
    return true;
}

// A stored text of L bytes plus its terminator. A negative L, or more bytes
// than the file still holds, marks the file as damaged. A text longer than its
// field is kept as far as it fits (cut between two characters, see StoreText)
// and the rest is skipped: such a text can only come from another program, and
// keeping what fits loses less than refusing every record of the photo.
bool ReadText(ByteCursor& in, char* field, size_t capacity) {
    int32_t length;
    if (!in.ReadI32(length) || length < 0)
        return false;
    // In 64 bits: L + 1 overflows an int32 when L is INT32_MAX.
    const uint64_t stored = static_cast<uint64_t>(length) + 1;
    const char* p;
    if (stored > in.Remaining() || !in.Take(static_cast<size_t>(stored), &p))
        return false;
    infofile::StoreText(field, capacity, p, static_cast<size_t>(stored));
    return true;
}

bool ReadNote(ByteCursor& in, const Layout& layout, InfoNote& note) {
    if (!ReadText(in, note.title, sizeof note.title) || !in.ReadPoint(note.anchor) ||
        !ReadText(in, note.text, sizeof note.text))
        return false;
    if (layout.noteFont) {
        const char* p;
        if (!in.Take(infofile::kLogFontBytes, &p))
            return false;
        infofile::ReadLogFont(p, note.font);
    }
    return true;
}

// Length of a field's text as it goes to the file: up to its terminator, and
// never the whole field, so the stored terminator always lies inside it.
size_t StoredTextLength(const char* field, size_t capacity) {
    const size_t length = cp950::FieldLength(field, capacity);
    return length < capacity ? length : cp950::CutLength(field, length, capacity - 1);
}

// A count, then that many records read by `readOne` (each starting with the
// default font, for layouts that store none); a negative count reads none.
// A count above `limit` is TooLarge, refused before anything is allocated.
template <typename Record, typename ReadOne>
InfoReadStatus ReadRecordList(ByteCursor& in, size_t smallestEntry, size_t limit,
                              std::vector<Record>& records, ReadOne readOne) {
    int32_t count;
    if (!in.ReadI32(count))
        return InfoReadStatus::Damaged;
    if (count <= 0)
        return InfoReadStatus::Read;
    if (!CountFits(count, smallestEntry, in))
        return InfoReadStatus::Damaged;
    if (static_cast<size_t>(count) > limit)
        return InfoReadStatus::TooLarge;
    records.reserve(static_cast<size_t>(count));
    infofile::AdviseBulkStorage(records.data(), sizeof(Record) * records.capacity());
    records.resize(static_cast<size_t>(count));
    for (Record& record : records) {
        record.font = DefaultLogFont();
        if (!readOne(record))
            return InfoReadStatus::Damaged;
    }
    return InfoReadStatus::Read;
}

template <typename Records> void AppendAll(Records& list, Records&& read) {
    if (list.empty())
        list = std::move(read);
    else
        list.insert(list.end(), read.begin(), read.end());
}

// The records of a whole file image, collected apart from the document.
// `rest` is left at the bytes after the last note.
InfoReadStatus ReadRecords(const char* data, size_t size, std::vector<Dimension>& readDims,
                           std::vector<InfoNote>& readNotes, size_t& rest) {
    ByteCursor in(data, size);
    const char* magic;
    if (!in.Take(sizeof infofile::kMagic, &magic) ||
        std::memcmp(magic, infofile::kMagic, sizeof infofile::kMagic) != 0)
        return InfoReadStatus::NotInfoFile;

    uint32_t version;
    if (!in.ReadU32(version))
        return InfoReadStatus::Damaged;
    // Versions above the newest are read like the newest.
    const Layout layout(version);

    const InfoReadStatus status =
        ReadRecordList(in, layout.DimensionBytes(), kMaxInfoRecords, readDims,
                       [&](Dimension& dim) { return ReadDimension(in, layout, dim); });
    if (status != InfoReadStatus::Read)
        return status;
    const InfoReadStatus notes =
        ReadRecordList(in, layout.SmallestNoteBytes(), kMaxInfoRecords - readDims.size(), readNotes,
                       [&](InfoNote& note) { return ReadNote(in, layout, note); });
    if (notes == InfoReadStatus::Read)
        rest = size - in.Remaining();
    return notes;
}

// True when the counts at the head of the file claim more records than
// kMaxInfoRecords and the file is long enough to hold them: such a file is
// refused after two small reads, before its bytes are read into memory.
// Every other file is left to ReadRecords to judge.
bool ClaimsTooManyRecords(ReadOnlyFile& file) {
    char head[infofile::kHeaderBytes];
    if (file.ReadAt(0, head, sizeof head) != qint64(sizeof head) ||
        std::memcmp(head, infofile::kMagic, sizeof infofile::kMagic) != 0)
        return false;
    const Layout layout(qFromLittleEndian<uint32_t>(head + 4));
    const int32_t dims = qFromLittleEndian<int32_t>(head + 8);
    const uint64_t afterHead = static_cast<uint64_t>(file.Size()) - sizeof head;
    uint64_t dimBytes = 0;
    if (dims > 0) {
        if (static_cast<uint64_t>(dims) > afterHead / layout.DimensionBytes())
            return false; // damaged
        if (static_cast<size_t>(dims) > kMaxInfoRecords)
            return true;
        dimBytes = static_cast<uint64_t>(dims) * layout.DimensionBytes();
    }
    char countBytes[4];
    if (afterHead - dimBytes < 4 ||
        file.ReadAt(static_cast<qint64>(sizeof head + dimBytes), countBytes, 4) != 4)
        return false;
    const int32_t notes = qFromLittleEndian<int32_t>(countBytes);
    return notes > 0 &&
           static_cast<uint64_t>(notes) <=
               (afterHead - dimBytes - 4) / layout.SmallestNoteBytes() &&
           static_cast<uint64_t>(notes) + static_cast<uint64_t>(std::max(dims, 0)) >
               kMaxInfoRecords;
}

} // namespace

InfoReadStatus PhotoInfo::ReadBytes(const char* data, size_t size) {
    // Records are collected apart and appended only after a complete read, so
    // a damaged file leaves the lists as they were.
    const size_t dimsBefore = dimensions.size();
    const size_t notesBefore = notes.size();
    m_referenceDamaged = false;
    try {
        std::vector<Dimension> readDims;
        std::vector<InfoNote> readNotes;
        size_t rest = 0;
        const InfoReadStatus status = ReadRecords(data, size, readDims, readNotes, rest);
        if (status != InfoReadStatus::Read)
            return status;
        // The records stand on their own; a damaged extension loses only the
        // reference and the shapes.
        infofile::ExtensionContent read;
        const infofile::ExtensionRead extension =
            infofile::ReadExtension(data + rest, size - rest, readDims.size(), read);
        AppendAll(dimensions, std::move(readDims));
        AppendAll(notes, std::move(readNotes));
        // The reference is taken only once its dimension is in the list.
        if (extension == infofile::ExtensionRead::Damaged) {
            m_referenceDamaged = true;
        } else if (extension == infofile::ExtensionRead::Read) {
            if (read.reference.dimension >= 0)
                read.reference.dimension += static_cast<int>(dimsBefore);
            reference = std::move(read.reference);
            AppendAll(areas, std::move(read.areas));
            AppendAll(angles, std::move(read.angles));
        }
        return InfoReadStatus::Read;
    } catch (const std::bad_alloc&) {
        // More records than memory holds: nothing of them stays.
        dimensions.resize(dimsBefore);
        notes.resize(notesBefore);
        return InfoReadStatus::TooLarge;
    }
}

InfoReadStatus PhotoInfo::Read(const QString& path) {
    m_lastReadError.clear();
    m_referenceDamaged = false;
    ReadOnlyFile file;
    if (!file.Open(path, QStringLiteral("photo-info file"))) {
        if (file.LastProblem() == ReadOnlyFile::Problem::Missing)
            return InfoReadStatus::Missing; // a photo without annotations yet
        m_lastReadError = file.ErrorString();
        return InfoReadStatus::Unreadable;
    }
    const QString tooLarge = QStringLiteral("The file is too large: it holds more than %1 "
                                            "records in all, or more than memory can hold.")
                                 .arg(kMaxInfoRecords);
    // A file above 1 GiB (millions of records beyond any photo) is refused
    // before anything is read into memory.
    constexpr qint64 kLargestInfoFile = qint64(1) << 30;
    const qint64 size = file.Size();
    if (size > kLargestInfoFile || ClaimsTooManyRecords(file)) {
        m_lastReadError = tooLarge;
        return InfoReadStatus::TooLarge;
    }
    QByteArray bytes;
    try {
        bytes.resize(static_cast<qsizetype>(size));
    } catch (const std::bad_alloc&) {
        m_lastReadError = tooLarge;
        return InfoReadStatus::TooLarge;
    }
    infofile::AdviseBulkStorage(bytes.data(), static_cast<size_t>(size));
    // The whole file goes straight into one buffer.
    const qint64 got = file.ReadAt(0, bytes.data(), size);
    if (got < 0) {
        m_lastReadError = file.ErrorString();
        return InfoReadStatus::Unreadable;
    }
    // A file that shrank while being read simply ends early.
    const InfoReadStatus status = ReadBytes(bytes.constData(), static_cast<size_t>(got));
    if (status == InfoReadStatus::TooLarge)
        m_lastReadError = tooLarge;
    return status;
}

int PhotoInfo::LoadFromFile(const QString& path) {
    const InfoReadStatus status = Read(path);
    return status == InfoReadStatus::Read || status == InfoReadStatus::Missing ||
                   status == InfoReadStatus::Unreadable
               ? 1
               : 0;
}

QByteArray PhotoInfo::Serialize() const {
    constexpr size_t kDimensionBytes = 20 + infofile::kStoredValueBytes + infofile::kLogFontBytes;
    size_t total = infofile::kHeaderBytes + 4 + dimensions.size() * kDimensionBytes;
    for (const InfoNote& note : notes)
        total += 4 + StoredTextLength(note.title, sizeof note.title) + 1 + 8 + 4 +
                 StoredTextLength(note.text, sizeof note.text) + 1 + infofile::kLogFontBytes;
    // Counts are int32 in the file.
    if (dimensions.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
        notes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return QByteArray();

    QByteArray bytes(static_cast<qsizetype>(total), Qt::Uninitialized);
    infofile::AdviseBulkStorage(bytes.data(), total);
    ByteWriter out(bytes.data());
    out.Bytes(infofile::kMagic, sizeof infofile::kMagic);
    out.U32(kInfoVersionCurrent);
    out.I32(static_cast<int32_t>(dimensions.size()));
    for (const Dimension& dim : dimensions) {
        out.U32(dim.colour);
        out.Point(dim.start);
        out.Point(dim.end);
        out.Bytes(dim.value, infofile::kStoredValueBytes);
        infofile::WriteLogFont(out, dim.font);
    }
    out.I32(static_cast<int32_t>(notes.size()));
    for (const InfoNote& note : notes) {
        const size_t titleLength = StoredTextLength(note.title, sizeof note.title);
        out.I32(static_cast<int32_t>(titleLength));
        out.Bytes(note.title, titleLength);
        out.Byte('\0');
        out.Point(note.anchor);
        const size_t textLength = StoredTextLength(note.text, sizeof note.text);
        out.I32(static_cast<int32_t>(textLength));
        out.Bytes(note.text, textLength);
        out.Byte('\0');
        infofile::WriteLogFont(out, note.font);
    }
    Q_ASSERT(out.Position() == bytes.data() + bytes.size());
    // Nothing at all after the last note without a reference or a shape.
    const QByteArray extension = infofile::WriteExtension(reference, areas, angles);
    if (!extension.isEmpty())
        bytes.append(extension);
    return bytes;
}

int PhotoInfo::SaveToFile(const QString& path) const {
    m_lastSaveError.clear();
    const QByteArray bytes = Serialize();
    if (bytes.isEmpty()) {
        m_lastSaveError = QStringLiteral("too many records for a photo-info file");
        return 0;
    }
    // Every byte reaches the disk before the new file replaces the old one;
    // a failure at any step leaves the old file as it was.
    FileStamp written;
    if (!WriteFileDurably(path, bytes.constData(), bytes.size(), &m_lastSaveError, &written))
        return 0;
    m_savedStamp = written;
    return 1;
}
