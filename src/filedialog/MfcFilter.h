#pragma once
// File-type filters written the Windows way ("Pictures (*.jpg)|*.jpg; *.jpeg||")
// turned into the name filters a QFileDialog takes ("Pictures (*.jpg *.jpeg)").

#include <QString>
#include <QStringList>

// One name filter per description/pattern pair. The description's own
// parenthesised pattern list, if any, is replaced by the real patterns (Qt
// matches the patterns it finds in parentheses). "*.*" becomes "*", which is
// what it means on Windows: every file, with or without an extension. A string
// without '|' is taken as Qt filters already (separated by ";;").
QStringList MfcFilterToNameFilters(const QString& filter);
