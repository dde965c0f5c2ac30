#pragma once
// The document of the photo shown: one ordered list of each kind of record,
// and the photo-info file beside the photo that stores them.

#include "document/MeasureReference.h"
#include "document/Records.h"
#include "document/ShapeRecords.h"
#include "platform/FileStamp.h"

#include <QString>
#include <vector>

// Photo-info file layouts, by the version number in the header.
constexpr uint32_t kInfoVersionNumericValue = 0x00010005; // value stored as int32
constexpr uint32_t kInfoVersionTextValue = 0x00010006;    // value stored as 10 bytes
constexpr uint32_t kInfoVersionNoteFont = 0x00010007;     // notes carry a font
constexpr uint32_t kInfoVersionCurrent = 0x00010008;      // dimensions carry a font too

// "kitchen.jpg" -> "kitchen.dat", "flat.2.jpeg" -> "flat.2.dat"; only the file
// name is searched for its last "."; a name without one gets ".dat" appended.
QString InfoFilePathFor(const QString& photoPath);

enum class InfoReadStatus {
    Read,        // a complete read
    Missing,     // no file: no records yet
    NotInfoFile, // the file does not start with the magic "KZR\0"
    Damaged,     // ends early or holds impossible counts or lengths
    Unreadable,  // there, but not to be read: a named pipe, a folder, no permission...
    TooLarge,    // more records than kMaxInfoRecords, or more than memory holds
};

// Far above any real photo; a file that claims more records is refused
// before anything is allocated for them.
constexpr size_t kMaxInfoRecords = 1000000; // dimensions and notes together

class PhotoInfo {
public:
    std::vector<Dimension> dimensions;
    std::vector<InfoNote> notes;
    // The reference length and plane, stored in the extension block after
    // the last note (none: the file is written exactly as without them).
    MeasureReference reference;
    // Areas and angles, stored in the extension block too.
    std::vector<AreaRecord> areas;
    std::vector<AngleRecord> angles;

    // 1 after a complete read or when the file does not exist / cannot be
    // opened; 0 when it is not a photo-info file, is damaged or too large. Appends the
    // records read to the lists, and only after a complete read: a file that
    // cannot be read completely leaves the lists as they were.
    int LoadFromFile(const QString& path);
    // As LoadFromFile, telling which case it was. Never waits on a special
    // file: a named pipe or a device is Unreadable at once.
    InfoReadStatus Read(const QString& path);
    // Why the last Read found the file Unreadable or TooLarge (for the user).
    QString LastReadError() const { return m_lastReadError; }
    // The last read found the records but an extension block after them it
    // could not read: the dimensions and notes are there, the reference, the
    // areas and the angles are not.
    bool ReferenceDamaged() const { return m_referenceDamaged; }
    // Parses a whole file image held in memory (used by Read and the fuzzer).
    // A title or text longer than its field keeps what fits, cut between two
    // characters; counts and lengths the bytes cannot hold mark it Damaged,
    // counts above kMaxInfoRecords in all TooLarge.
    InfoReadStatus ReadBytes(const char* data, size_t size);

    // Writes the newest layout to a temporary file beside `path`, syncs it
    // to the disk and renames it over `path` (see WriteFileDurably). 1 on
    // success; 0 on any failure, with the old file kept.
    int SaveToFile(const QString& path) const;
    // The bytes SaveToFile writes (empty only when a list holds more records
    // than an int32 count can name).
    QByteArray Serialize() const;
    // Why the last SaveToFile failed (for the user's message).
    QString LastSaveError() const { return m_lastSaveError; }
    // The file the last successful SaveToFile wrote, as it was written.
    FileStamp SavedFileStamp() const { return m_savedStamp; }

    void Clear();

private:
    mutable QString m_lastSaveError;
    mutable FileStamp m_savedStamp;
    QString m_lastReadError;
    bool m_referenceDamaged = false;
};
