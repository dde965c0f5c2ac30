#include "platform/StaleTemporaries.h"

#include <QSet>

#include <mutex>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

bool IsTemporaryName(const QByteArray& name) {
    if (name.size() != 11 || !name.startsWith(".tsm-"))
        return false;
    for (int i = 5; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

namespace {
// Removes `name` of the folder open as `dir` when it is a stale temporary
// file no writer holds.
bool RemoveIfStale(int dir, const char* name, time_t now) {
    struct stat st {};
    if (::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid() || now - st.st_mtime < kStaleTemporarySeconds)
        return false;
    const int fd = ::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat held {};
    // A writer still at work holds the lock; the name must still be this file.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
        held.st_ino == st.st_ino && held.st_dev == st.st_dev &&
        ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_ino == held.st_ino)
        removed = ::unlinkat(dir, name, 0) == 0;
    ::close(fd);
    return removed;
}
} // namespace

int RemoveStaleTemporaries(const QByteArray& folder) {
    static std::mutex mutex;
    static QSet<QByteArray> done;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (done.contains(folder))
            return 0;
        done.insert(folder);
    }
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    const time_t now = ::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(QByteArray(entry->d_name)) && RemoveIfStale(dirFd, entry->d_name, now))
            ++removed;
    }
    ::closedir(dir);
    return removed;
}
