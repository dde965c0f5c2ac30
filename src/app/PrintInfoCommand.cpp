#include "app/CommandLine.h"
#include "document/InfoFileRead.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <QFileInfo>
#include <cstdio>

// Needs no display and no application object: only files and text.
int RunPrintInfo(const QString& path) {
    PhotoInfo info;
    const QByteArray shownPath = QFileInfo(path).filePath().toLocal8Bit();
    switch (ReadInfoFile(path, info).outcome) {
    case InfoFileOutcome::Read:
        break;
    case InfoFileOutcome::Missing:
        std::fprintf(stderr, "tessamar: %s: no such file\n", shownPath.constData());
        return 1;
    case InfoFileOutcome::Unreadable:
        std::fprintf(stderr, "tessamar: %s: cannot be opened\n", shownPath.constData());
        return 1;
    case InfoFileOutcome::NotInfoFile:
        std::fprintf(stderr, "tessamar: %s: not a photo-info file\n", shownPath.constData());
        return 1;
    case InfoFileOutcome::Damaged:
        std::fprintf(stderr,
                     "tessamar: %s: damaged photo-info file (it ends early or holds "
                     "impossible counts or lengths)\n",
                     shownPath.constData());
        return 1;
    }
    QByteArray json = PhotoInfoToJson(info);
    json += '\n';
    if (std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout) !=
            static_cast<size_t>(json.size()) ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tessamar: cannot write to standard output\n");
        return 1;
    }
    return 0;
}
