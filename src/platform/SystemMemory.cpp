#include "platform/SystemMemory.h"

#include <QByteArray>
#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

qint64 AvailableMemory() {
    // A line "MemAvailable:   16408484 kB".
    QFile info(QStringLiteral("/proc/meminfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (QByteArray line = info.readLine(); !line.isEmpty(); line = info.readLine()) {
            if (!line.startsWith("MemAvailable:"))
                continue;
            const QList<QByteArray> words = line.simplified().split(' ');
            bool ok = false;
            const qint64 kib = words.size() >= 2 ? words[1].toLongLong(&ok) : 0;
            if (ok)
                return kib * 1024;
        }
    }
#if defined(Q_OS_UNIX) && defined(_SC_AVPHYS_PAGES)
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return qint64(pages) * pageSize;
#endif
    return -1;
}
