#include "app/CommandLine.h"

#include <cstdio>
#include <cstring>

QString UsageText() {
    return QStringLiteral(
        "Usage: tessamar [PHOTO.jpg]\n"
        "       tessamar --print-info FILE.dat\n"
        "       tessamar --export PHOTO.jpg OUT.jpg\n"
        "       tessamar --screenshot OUT.png [PHOTO.jpg]\n"
        "       tessamar --help\n"
        "\n"
        "  PHOTO.jpg               open the photo with its annotations\n"
        "  --print-info FILE.dat   print a photo-info file as JSON\n"
        "  --export PHOTO OUT      draw the annotations of PHOTO (from the .dat\n"
        "                          file beside it) and save the picture as OUT\n"
        "  --screenshot OUT [PHOTO]  draw the main window (with PHOTO open) to the\n"
        "                          picture file OUT, no display needed\n"
        "  --help                  show this text\n");
}

namespace {
int Usage(FILE* out, int status) {
    std::fputs(UsageText().toLocal8Bit().constData(), out);
    return status;
}
} // namespace

int RunCommandLine(int argc, char** argv) {
    if (argc >= 2) {
        const char* first = argv[1];
        if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0)
            return Usage(stdout, 0);
        if (std::strcmp(first, "--print-info") == 0) {
            if (argc != 3)
                return Usage(stderr, 2);
            return RunPrintInfo(QString::fromLocal8Bit(argv[2]));
        }
        if (std::strcmp(first, "--export") == 0) {
            if (argc != 4)
                return Usage(stderr, 2);
            return RunExport(argc, argv, QString::fromLocal8Bit(argv[2]),
                             QString::fromLocal8Bit(argv[3]));
        }
        if (std::strcmp(first, "--screenshot") == 0) {
            if (argc != 3 && argc != 4)
                return Usage(stderr, 2);
            return RunScreenshot(argc, argv, QString::fromLocal8Bit(argv[2]),
                                 argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
        }
        if (first[0] == '-' && first[1] != '\0') {
            std::fprintf(stderr, "tessamar: unknown option %s\n", first);
            return Usage(stderr, 2);
        }
        if (argc > 2)
            return Usage(stderr, 2);
        return RunDesktop(argc, argv, QString::fromLocal8Bit(first));
    }
    return RunDesktop(argc, argv, QString());
}
