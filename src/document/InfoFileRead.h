#pragma once
// Reading the photo-info file of a photo and telling what was found there.
// The callers decide what each outcome means to them: the window moves a
// damaged file aside and goes on, the command line refuses.

#include <QString>

class PhotoInfo;

enum class InfoFileOutcome {
    Missing,     // no file: no records yet
    Read,        // a complete read
    Damaged,     // ends early or holds impossible counts or lengths
    NotInfoFile, // the file does not start with the magic
    Unreadable,  // there, but not to be read (a named pipe, no permission...)
    TooLarge,    // more records than the reader takes, or than memory holds
};

struct InfoFileRead {
    InfoFileOutcome outcome = InfoFileOutcome::Missing;
    QString path;   // the photo-info file read
    QString reason; // why an Unreadable or TooLarge file was not read
};

// Empties `info` and reads the photo-info file at `infoPath` into it; on any
// outcome but Read, `info` is left empty.
InfoFileRead ReadInfoFile(const QString& infoPath, PhotoInfo& info);
