#pragma once
// The application: the splash picture, then the main window until it is
// closed. The QApplication must exist before InitInstance runs.

#include <QString>

class CMeasureApp {
public:
    // A photo named on the command line, opened once the main window stands.
    explicit CMeasureApp(const QString& startPhoto = QString());

    // Splash (modal), then the main window (modal); returns 0 when the main
    // window has ended, so the program ends too.
    int InitInstance();

private:
    QString m_strStartPhoto;
};
