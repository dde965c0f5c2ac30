#pragma once
// Writes that fail the way full disks make them fail, for the tests of the
// writers: a small tmpfs filled to its last byte (mounting needs root), or the
// process's file size limit with its signal ignored (works for every user).

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <sys/resource.h>

// A tmpfs of `bytes` mounted on the folder `path` (created when missing) for
// the object's lifetime.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& path, long long bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool IsMounted() const { return m_mounted; }
    // Why mounting failed.
    QString Error() const { return m_error; }
    // Takes every byte that is left with a file named "filler"; a later
    // write of even one byte fails with ENOSPC.
    bool Fill();

private:
    QString m_path;
    bool m_mounted = false;
    QString m_error;
};

// While it lives, files of this process cannot grow past `bytes`: a write
// beyond fails with EFBIG ("File too large") instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool IsSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

// The folder a fault test writes in: `parent` itself, or for a full disk a
// tmpfs of `bytes` mounted at `parent`/disk and held by `disk`. Empty, with
// `why` set, when the tmpfs cannot be mounted (the test is skipped then; its
// file size limit rows cause the failure instead).
QString FaultFolder(bool fullDisk, const QString& parent, long long bytes,
                    std::optional<SmallFileSystem>* disk, std::string* why);

// The names in a folder, hidden ones too, sorted ("." and ".." left out).
QStringList NamesIn(const QString& folder);
