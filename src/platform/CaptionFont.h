#pragma once
// The face of the interface's captions (the main window's and its dialogs'):
// the Ming face ("新細明體") of the Chinese interface; in the English
// interface a sans-serif Latin face, the Ming face after it for any Chinese
// character. The dialogs are laid out in dialog units of the Ming face in
// either language, so the window's geometry does not change with it.

#include <QFont>

// Whether the captions use the sans-serif Latin face (the interface's
// language decides; off until set).
void UseLatinCaptions(bool latin);

// The captions' font at `points`.
QFont CaptionFont(double points);
// The font the dialog units are measured in, at `points`.
QFont CaptionLayoutFont(double points);
