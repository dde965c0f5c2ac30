#pragma once
// The picture dialog opens in the folder of the photo opened last.

class QFileDialog;

// Points `dialog` at the folder of the newest recent photo, when that folder
// is still there; otherwise leaves it where it is.
void OpenInLastPhotoFolder(QFileDialog& dialog);
