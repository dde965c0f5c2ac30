#pragma once
// The records of a photo as one line of JSON, for `tessamar --print-info`:
// {"dimensions":[{"colour":"#rrggbb","start":[x,y],"end":[x,y],"value":"…","font":{…}}…],
//  "notes":[{"title":"…","anchor":[x,y],"text":"…","font":{…}}…]}
// Only when the file holds a reference: each dimension with a computed length
// gets "computed":{"length":…,"uncertainty":…} (mm, one decimal) after its
// font, and the object ends with "reference":{"kind":"length","dimension":i}
// or {"kind":"plane","corners":[[x,y],…],"width":w,"height":h}.
// Then, only when the file holds any:
// "areas":[{"name":"…","opening":false,"colour":"#rrggbb","corners":[[x,y],…],"font":{…}}…]
// and "angles":[{"colour":"#rrggbb","points":[[x,y],[x,y],[x,y]],"font":{…}}…] (arm,
// vertex, other arm); with a reference, each area with a value gets
// "computed":{"gross":…,"net":…,"uncertainty":…,"perimeter":…,"openings":n,"basis":"…"}
// (m² to four decimals, the net value's uncertainty, the perimeter in mm to
// one, basis "plane" or "facingCamera") and each angle with a value
// "computed":{"degrees":…,"uncertainty":…,"basis":"plane" or "picture"}.
// Texts are converted from code page 950 to UTF-8; keys keep this order.

#include "document/PhotoInfo.h"

#include <QByteArray>
#include <functional>

// The JSON is handed to `write` a piece at a time (one record each), so no
// copy of the whole text is ever held. Stops at the first piece `write`
// refuses and returns false then.
bool WritePhotoInfoJson(const PhotoInfo& info, const std::function<bool(const QByteArray&)>& write);
