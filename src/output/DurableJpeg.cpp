#include "output/DurableJpeg.h"

bool WriteJpegDurably(const QString& path, const PictureEncoding& encode, QString* error,
                      ExistingFile existing) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    DurableFileWriter file;
    QString why;
    if (!file.Open(path, &why, existing))
        return fail(why);
    QString writeError;
    const JpegSink sink = [&file, &writeError](const char* data, qsizetype size) {
        return file.Append(data, size, &writeError);
    };
    if (!encode(sink, &why))
        return fail(writeError.isEmpty() ? why : writeError);
    if (!file.Commit(&why))
        return fail(why);
    if (error)
        error->clear();
    return true;
}
