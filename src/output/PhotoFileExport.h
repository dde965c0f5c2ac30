#pragma once
// Exporting straight from files, as `tessamar --export PHOTO OUT` does: the
// photo, its photo-info file beside it, and the annotated picture written to
// OUT. The photo is decoded on a worker thread while this thread reads the
// records and makes their labels, so on two cores the drawing costs little
// beyond the decode and the encode.

#include "platform/DurableFile.h"

#include <QImage>
#include <QString>

#include <functional>

class AnnotationRenderer;
class PhotoInfo;

struct PhotoFileExport {
    enum class Failure {
        None,
        Photo,          // the photo cannot be read or decoded
        InfoUnreadable, // the photo-info file is there but cannot be opened
        NotInfoFile,    // the file beside the photo is not a photo-info file
        InfoDamaged,    // the photo-info file is damaged
        InfoTooLarge,   // the photo-info file holds more records than allowed
        Output,         // the picture could not be written, or must not be written
                        // there (the photo itself, its info file, a special file)
        NoPlane,        // a head-on picture was asked of a photo without a reference plane
    };
    Failure failure = Failure::None;
    QString infoPath; // the photo-info file looked for
    QString detail;   // the reader's or writer's reason (Photo, Info..., Output)
    // The records were whole but the extension block after them was damaged:
    // the picture was made without the reference (the caller says so).
    bool referenceDamaged = false;

    bool Succeeded() const { return failure == Failure::None; }
};

// Needs a Qt GUI application (for fonts); never a screen. With `existing`
// Keep, a file at `outPath` is never replaced, even one that appears while
// the picture is made (an Output failure whose detail is FileExistsText()).
// The picture keeps the photo's Exif fields as ExifExport.h says, the
// location only when `keepLocation`.
PhotoFileExport ExportPhotoFile(const QString& photoPath, const QString& outPath,
                                ExistingFile existing = ExistingFile::Replace,
                                bool keepLocation = false);

// Writes the picture made of the decoded photo and its records (whose labels
// `renderer` has made ready) to the output; on failure sets `result`'s
// failure and detail and returns false.
using PhotoPictureWriter =
    std::function<bool(const QImage& photo, const PhotoInfo& info, AnnotationRenderer& renderer,
                       PhotoFileExport* result)>;

// What ExportPhotoFile does (the output checked, the photo decoded while the
// records are read), with another picture written by `write`.
PhotoFileExport ExportPhotoFileWith(const QString& photoPath, const QString& outPath,
                                    const PhotoPictureWriter& write);

// tessamar --rectify: the head-on picture of the photo's reference plane at
// `mmPerPixel` (see RectifiedExport.h); NoPlane when the photo has none.
PhotoFileExport RectifyPhotoFile(const QString& photoPath, const QString& outPath,
                                 double mmPerPixel);
