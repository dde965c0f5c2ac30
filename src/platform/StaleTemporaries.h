#pragma once
// The temporary files the durable writer (DurableFile.h) leaves when the
// program is killed in the middle of a write (".tsm-" and six characters,
// hidden beside the target). Nothing else ever removes them, so a folder
// written into is rid of its own stale ones: our name pattern, regular files
// (not links) owned by this user, untouched for over a day, and not locked
// (the writer holds a lock on its temporary file for as long as it may still
// write it).

#include <QByteArray>

// How old a temporary file must be before it is taken for a killed write's.
constexpr long long kStaleTemporarySeconds = 24 * 60 * 60;

// Whether `name` (without folder) is one of the writer's temporary names.
bool IsTemporaryName(const QByteArray& name);

// Removes the stale temporary files of `folder`, once per folder in the
// life of the process; returns how many were removed.
int RemoveStaleTemporaries(const QByteArray& folder);
