#include "app/CMeasureApp.h"

#include "dialog/CMeasureDlg.h"
#include "dialog/CSplashDlg.h"

#include <QTimer>
#include <memory>

CMeasureApp::CMeasureApp(const QString& startPhoto) : m_strStartPhoto(startPhoto) {}

int CMeasureApp::InitInstance() {
    auto splash = std::make_unique<CSplashDlg>(nullptr);
    splash->DoModal();

    auto dialog = std::make_unique<CMeasureDlg>(nullptr);
    dialog->InitDialog();
    if (!m_strStartPhoto.isEmpty()) {
        // Opened once the window is on screen, so a failure message has a
        // window to stand on.
        const QString photo = m_strStartPhoto;
        CMeasureDlg* window = dialog.get();
        QTimer::singleShot(0, window, [window, photo] { window->OpenPhoto(photo); });
    }
    dialog->DoModal();

    // The main window first, then the splash.
    dialog.reset();
    splash.reset();
    return 0;
}
