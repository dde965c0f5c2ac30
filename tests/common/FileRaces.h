#pragma once
// Other programs acting on a folder at the worst moment for a writer, and a
// file system that lacks what the writer would rather use.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <thread>

// As soon as a durable write's temporary file (".tsm-" and six characters)
// appears in `folder`, a thread creates the file `name` there with `bytes`,
// exclusively: another program taking the name between the writer's last
// look and its final rename.
class NameTakenDuringWrite {
public:
    NameTakenDuringWrite(const QString& folder, const QString& name, const QByteArray& bytes);
    ~NameTakenDuringWrite();
    NameTakenDuringWrite(const NameTakenDuringWrite&) = delete;
    NameTakenDuringWrite& operator=(const NameTakenDuringWrite&) = delete;

    // Waits for the thread (at most 30 s for the temporary file). True when
    // the name was taken while the temporary file was still there, that is
    // before the writer's final step; false when the race was lost.
    bool TookTheName();
    // Why watching failed, if it did.
    QString Error() const { return m_error; }

private:
    void Watch(QString folder, QString name, QByteArray bytes);

    int m_inotify = -1;
    int m_stop = -1; // an eventfd that ends the watch early
    std::thread m_thread;
    std::atomic<bool> m_took{false};
    QString m_error;
};

// A FUSE mirror (bindfs) of `source` mounted on `mountPoint` for the object's
// lifetime: a real file system whose rename takes no flags (renameat2 with
// RENAME_NOREPLACE answers EINVAL for a free name) but which has hard links.
// A name that is taken is still refused with EEXIST by the kernel's own
// look-up before the file system is asked. Needs bindfs and the right to
// mount (root).
class MirrorFileSystem {
public:
    MirrorFileSystem(const QString& source, const QString& mountPoint);
    ~MirrorFileSystem();
    MirrorFileSystem(const MirrorFileSystem&) = delete;
    MirrorFileSystem& operator=(const MirrorFileSystem&) = delete;

    bool IsMounted() const { return m_mounted; }
    QString Error() const { return m_error; }

private:
    QString m_mountPoint;
    bool m_mounted = false;
    QString m_error;
};
