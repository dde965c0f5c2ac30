#include "app/CommandLine.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

QString UsageText() {
    return QStringLiteral(
        "Usage: tessamar [PHOTO.jpg]\n"
        "       tessamar --print-info FILE.dat\n"
        "       tessamar --export PHOTO.jpg OUT.jpg [--keep-location]\n"
        "       tessamar --export-many OUTDIR PHOTO.jpg... [--force] [--keep-location]\n"
        "       tessamar --report OUT.pdf PHOTO.jpg...\n"
        "       tessamar --screenshot OUT.png [PHOTO.jpg]\n"
        "       tessamar --rectify OUT.jpg PHOTO.jpg [--mm-per-pixel X]\n"
        "       tessamar --help\n"
        "\n"
        "  PHOTO.jpg               open the photo with its annotations\n"
        "  --print-info FILE.dat   print a photo-info file as JSON\n"
        "  --export PHOTO OUT      draw the annotations of PHOTO (from the .dat\n"
        "                          file beside it) and save the picture as OUT\n"
        "  --export-many OUTDIR PHOTO...  export every PHOTO into the folder\n"
        "                          OUTDIR under its own name, on every core; an\n"
        "                          existing file is kept unless --force is given\n"
        "  --keep-location         the exported pictures keep the photos' GPS\n"
        "                          location (dropped otherwise: exports are shared)\n"
        "  --report OUT.pdf PHOTO...  a PDF report of the photos, one section each\n"
        "  --screenshot OUT [PHOTO]  draw the main window (with PHOTO open) to the\n"
        "                          picture file OUT, no display needed\n"
        "  --rectify OUT PHOTO     the reference plane of PHOTO seen head-on, with\n"
        "                          the records on it and a scale bar, saved as OUT\n"
        "  --mm-per-pixel X        the head-on picture's scale (default 1; made\n"
        "                          coarser when the longer side would pass 8000)\n"
        "  --help                  show this text\n");
}

namespace {
const char* const kKeepLocation = "--keep-location";

int Usage(FILE* out, int status) {
    std::fputs(UsageText().toLocal8Bit().constData(), out);
    return status;
}
} // namespace

int RunCommandLine(int argc, char** argv) {
#ifdef SIGXFSZ
    // Under a file size limit a write past it fails with EFBIG and takes the
    // ordinary failure path (the old file kept, the reason said, the window
    // still open with its edits) instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
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
            const bool keepLocation = argc == 5 && std::strcmp(argv[4], kKeepLocation) == 0;
            if (argc != 4 && !keepLocation)
                return Usage(stderr, 2);
            return RunExport(argc, argv, QString::fromLocal8Bit(argv[2]),
                             QString::fromLocal8Bit(argv[3]), keepLocation);
        }
        if (std::strcmp(first, "--export-many") == 0) {
            QStringList rest;
            bool force = false;
            bool keepLocation = false;
            for (int i = 2; i < argc; ++i) {
                if (std::strcmp(argv[i], "--force") == 0)
                    force = true;
                else if (std::strcmp(argv[i], kKeepLocation) == 0)
                    keepLocation = true;
                else
                    rest.append(QString::fromLocal8Bit(argv[i]));
            }
            if (rest.size() < 2)
                return Usage(stderr, 2);
            const QString outDir = rest.takeFirst();
            return RunExportMany(argc, argv, outDir, rest, force, keepLocation);
        }
        if (std::strcmp(first, "--report") == 0) {
            if (argc < 4)
                return Usage(stderr, 2);
            QStringList photos;
            for (int i = 3; i < argc; ++i)
                photos << QString::fromLocal8Bit(argv[i]);
            return RunReport(argc, argv, QString::fromLocal8Bit(argv[2]), photos);
        }
        if (std::strcmp(first, "--screenshot") == 0) {
            if (argc != 3 && argc != 4)
                return Usage(stderr, 2);
            return RunScreenshot(argc, argv, QString::fromLocal8Bit(argv[2]),
                                 argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
        }
        if (std::strcmp(first, "--rectify") == 0) {
            double mmPerPixel = 1;
            bool ok = argc == 4;
            if (argc == 6 && std::strcmp(argv[4], "--mm-per-pixel") == 0) {
                char* end = nullptr;
                mmPerPixel = std::strtod(argv[5], &end);
                ok = end != argv[5] && *end == '\0' && mmPerPixel > 0 && mmPerPixel < 1e6;
            }
            if (!ok)
                return Usage(stderr, 2);
            return RunRectify(argc, argv, QString::fromLocal8Bit(argv[2]),
                              QString::fromLocal8Bit(argv[3]), mmPerPixel);
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
