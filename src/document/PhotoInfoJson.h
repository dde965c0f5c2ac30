#pragma once
// The records of a photo as one line of JSON, for `tessamar --print-info`:
// {"dimensions":[{"colour":"#rrggbb","start":[x,y],"end":[x,y],"value":"…","font":{…}}…],
//  "notes":[{"title":"…","anchor":[x,y],"text":"…","font":{…}}…]}
// Texts are converted from code page 950 to UTF-8; keys keep this order.

#include "document/PhotoInfo.h"

#include <QByteArray>

QByteArray PhotoInfoToJson(const PhotoInfo& info);

// One LOGFONTA as a JSON object, every field by its Windows name without "lf".
QByteArray LogFontToJson(const LOGFONTA& lf);

// A JSON string literal (quotes included) of `text`, UTF-8 encoded.
QByteArray JsonString(const QString& text);
