#pragma once
// Opening a file for reading without ever waiting on it. A named pipe without
// a writer, a terminal or another device would block an ordinary open or read
// for ever (and opening a serial port alone changes its lines), so anything
// that is not a regular file is refused at once, with a reason that says what
// it is. Every reader of photos and photo-info files opens through this.

#include <QString>

class ReadOnlyFile {
public:
    enum class Problem {
        None,
        Missing,     // nothing by that name
        NotRegular,  // a folder, a named pipe, a device, a socket
        NameNotUtf8, // the name on disk is not UTF-8: a QString cannot name it
        Other,       // no permission, an I/O error...
    };

    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens `path` when it is a regular file. `what` names what the caller
    // expects there ("picture file", "photo-info file") for the reason given
    // otherwise: "The path names a named pipe, not a picture file."
    bool Open(const QString& path, const QString& what);
    bool IsOpen() const { return m_fd >= 0; }

    // The size when opened.
    qint64 Size() const { return m_size; }
    // Reads up to `n` bytes from `offset`; fewer only at the end of the file.
    // -1 on a read error (ErrorString says which).
    qint64 ReadAt(qint64 offset, char* data, qint64 n);

    Problem LastProblem() const { return m_problem; }
    QString ErrorString() const { return m_error; }

private:
    void Fail(Problem problem, const QString& error);

    int m_fd = -1;
    qint64 m_size = 0;
    Problem m_problem = Problem::None;
    QString m_error;
};

// True when `path`, or a folder on the way to it, names an entry whose name
// on disk is not valid UTF-8 (Big5 names from an old archive...): such a name
// arrives here with replacement characters and cannot be opened through it.
bool NamesUndecodableEntry(const QString& path);
