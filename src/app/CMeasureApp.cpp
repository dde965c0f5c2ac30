#include "app/CMeasureApp.h"

#include "app/CSplashDlg.h"
#include "dialog/CMeasureDlg.h"

#include <memory>

CMeasureApp::CMeasureApp(const QString& startPhoto) : m_strStartPhoto(startPhoto) {}

int CMeasureApp::InitInstance() {
    auto splash = std::make_unique<CSplashDlg>(nullptr);
    splash->DoModal();

    auto dialog = std::make_unique<CMeasureDlg>(nullptr);
    dialog->InitDialog();
    if (!m_strStartPhoto.isEmpty())
        dialog->OpenPhotoAtStart(m_strStartPhoto);
    dialog->DoModal();

    // The main window first, then the splash.
    dialog.reset();
    splash.reset();
    return 0;
}
