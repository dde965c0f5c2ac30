#pragma once
// Bytes set aside on the disk instead of in memory while a larger file is
// being made (the report's pictures until the PDF is written): a file without
// a name where the system allows it (Linux's O_TMPFILE), so that nothing is
// left behind whatever ends the program, else one removed as soon as opened.

#include <QString>
#include <QtGlobal>

#include <functional>

class SpoolFile {
public:
    SpoolFile() = default;
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // Opens an empty spool in `folder`, or in the system's temporary folder
    // when `folder` cannot hold one. False with `error` set on failure.
    bool Open(const QString& folder, QString* error);
    // Appends every byte; false with the system's reason.
    bool Append(const char* data, qint64 size, QString* error);
    qint64 Size() const { return m_size; }
    // Passes the `size` bytes at `at` to `sink` a piece at a time (never all
    // in memory); false with `error` set when a read or the sink fails.
    bool CopyOut(qint64 at, qint64 size, const std::function<bool(const char*, qint64)>& sink,
                 QString* error) const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
};
