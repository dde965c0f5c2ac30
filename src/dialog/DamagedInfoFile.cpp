#include "dialog/DamagedInfoFile.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr int kMaxAttempts = 100;
}

MoveAsideResult MoveDamagedFileAside(const QString& path) {
    MoveAsideResult result;
    QFile file(path);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const QString candidate = attempt == 1 ? path + QStringLiteral(".damaged")
                                               : path + QStringLiteral(".damaged-%1").arg(attempt);
        // QFile::rename refuses to replace an existing file.
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        if (file.rename(candidate)) {
            result.moved = true;
            result.newPath = candidate;
            return result;
        }
        result.error = file.errorString();
        // A name taken between the check and the rename: try the next one;
        // any other failure (a read-only folder...) will not go away.
        if (!QFileInfo::exists(candidate))
            return result;
    }
    if (result.error.isEmpty())
        result.error = QStringLiteral("no free name beside the file");
    return result;
}
