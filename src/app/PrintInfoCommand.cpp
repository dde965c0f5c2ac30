#include "app/CommandLine.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <QFileInfo>
#include <cstdio>

// Needs no display and no application object: only files and text.
int RunPrintInfo(const QString& path) {
    PhotoInfo info;
    const QByteArray shownPath = QFileInfo(path).filePath().toLocal8Bit();
    switch (info.Read(path)) {
    case InfoReadStatus::Read:
        break;
    case InfoReadStatus::Missing:
        std::fprintf(stderr, "tessamar: %s: %s\n", shownPath.constData(),
                     QFileInfo::exists(path) ? "cannot be opened" : "no such file");
        return 1;
    case InfoReadStatus::NotInfoFile:
        std::fprintf(stderr, "tessamar: %s: not a photo-info file\n", shownPath.constData());
        return 1;
    case InfoReadStatus::Damaged:
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
