#pragma once
// A photo-info file that exists but cannot be read is never overwritten: it is
// moved aside under a free name beside it before anything can save over it.

#include <QString>

struct MoveAsideResult {
    bool moved = false;
    QString newPath; // where the file now lies (when moved)
    QString error;   // why it could not be moved (when not)
};

// Renames `path` to `path` + ".damaged", or ".damaged-2", ".damaged-3" ... when
// that name is taken. An existing file is never replaced.
MoveAsideResult MoveDamagedFileAside(const QString& path);
