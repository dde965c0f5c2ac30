#pragma once
// Qt's own Traditional Chinese translations, so that the stock dialogs (message
// boxes, file, font and colour dialogs) speak the interface's language.

class QCoreApplication;
class QTranslator;

// Loads qtbase_zh_TW from Qt's translations folder and installs it on `app`,
// which owns it. nullptr when the file is missing (English buttons then).
QTranslator* InstallQtTranslations(QCoreApplication& app);
