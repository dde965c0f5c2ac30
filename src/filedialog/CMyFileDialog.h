#pragma once
// The picture file dialog: Qt's own (non-native) file dialog with a panel
// beside the file list that previews the file under the cursor and shows its
// pixel size.

#include "filedialog/FileDialogFlags.h"

#include <QFileDialog>
#include <QString>
#include <cstdint>

class CPreviewStatic;
class QLabel;

// Ids of the preview panel and its two statics.
constexpr int IDD_PREVIEW_PANEL = 160;
constexpr int IDC_PREVIEW = 1049;
constexpr int IDC_PREVIEW_SIZE = 1050;

class CMyFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // `filter` is written the Windows way ("Name (*.a)|*.a; *.b||").
    // OFN_FILEMUSTEXIST refuses names of files that do not exist;
    // OFN_OVERWRITEPROMPT makes a save dialog ask before replacing a file.
    explicit CMyFileDialog(bool bOpenFileDialog, const QString& defaultExtension = QString(),
                           const QString& fileName = QString(),
                           uint32_t flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           const QString& filter = QString(), QWidget* parent = nullptr);
    ~CMyFileDialog() override;

    // Runs the dialog: kDialogOk when the user confirmed a file, else
    // kDialogCancel.
    int DoModal();
    // The chosen file: full path, and name with extension without folder.
    QString GetPathName() const;
    QString GetFileName() const;
    // The flags in effect (the given ones plus OFN_EXPLORER | OFN_ENABLETEMPLATE).

    QWidget* Panel() const { return m_pPanel; }
    CPreviewStatic* Preview() const { return m_preview; }
    QLabel* SizeText() const { return m_pSizeText; }

    // "Size:3000×2000"
    static QString SizeTextFor(QSize size);

public Q_SLOTS:
    void done(int result) override;

private:
    void OnInitDone();
    void OnSetThumbnailView();
    void OnFileNameChange(const QString& path);
    void OnPictureChanged();

    uint32_t m_nFlags = 0;
    QWidget* m_pPanel = nullptr;
    CPreviewStatic* m_preview = nullptr;
    QLabel* m_pSizeText = nullptr;
};
