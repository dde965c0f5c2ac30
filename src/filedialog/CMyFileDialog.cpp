#include "filedialog/CMyFileDialog.h"

#include "filedialog/CPreviewStatic.h"
#include "filedialog/MfcFilter.h"
#include "filedialog/ThumbnailCache.h"
#include "filedialog/ThumbnailIconProvider.h"
#include "platform/DialogUnits.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>

namespace {
// The panel and its statics in dialog units.
const QSize kPanelUnits(145, 94);
const QRect kPreviewUnits(33, 7, 80, 60);
const QRect kSizeTextUnits(42, 74, 63, 8);
} // namespace

CMyFileDialog::CMyFileDialog(bool bOpenFileDialog, const QString& defaultExtension,
                             const QString& fileName, uint32_t flags, const QString& filter,
                             QWidget* parent)
    : QFileDialog(parent), m_nFlags(flags | OFN_EXPLORER | OFN_ENABLETEMPLATE) {
    setObjectName(QStringLiteral("CMyFileDialog"));
    // Qt's own dialog, so the preview panel can join its layout.
    setOption(QFileDialog::DontUseNativeDialog, true);
    if (bOpenFileDialog) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode((m_nFlags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
    } else {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setOption(QFileDialog::DontConfirmOverwrite, !(m_nFlags & OFN_OVERWRITEPROMPT));
    }
    if (!defaultExtension.isEmpty())
        setDefaultSuffix(defaultExtension);
    const QStringList nameFilters = MfcFilterToNameFilters(filter);
    if (!nameFilters.isEmpty())
        setNameFilters(nameFilters);
    if (!fileName.isEmpty())
        selectFile(fileName);

    connect(this, &QFileDialog::currentChanged, this, &CMyFileDialog::OnFileNameChange);
    OnInitDone();
    // A name typed into the file name box selects its file without making it
    // the current one; preview that file too.
    if (auto* list = findChild<QListView*>(QStringLiteral("listView"))) {
        if (QItemSelectionModel* selection = list->selectionModel()) {
            connect(selection, &QItemSelectionModel::selectionChanged, this, [this, selection] {
                const QModelIndexList rows = selection->selectedRows();
                if (rows.size() == 1)
                    OnFileNameChange(
                        rows.constFirst().data(QFileSystemModel::FilePathRole).toString());
            });
        }
    }
}

CMyFileDialog::~CMyFileDialog() = default;

void CMyFileDialog::OnInitDone() {
    m_pPanel = new QWidget(this);
    m_pPanel->setObjectName(QStringLiteral("IDD_PREVIEW_PANEL"));
    m_pPanel->setFont(QFont(QStringLiteral("System"), 10));
    const DialogUnits units(m_pPanel->font());
    m_pPanel->setFixedSize(QSize(units.X(kPanelUnits.width()), units.Y(kPanelUnits.height())));

    m_preview = new CPreviewStatic(m_pPanel);
    m_preview->setObjectName(QStringLiteral("IDC_PREVIEW"));
    m_preview->setGeometry(units.Rect(kPreviewUnits));
    connect(m_preview, &CPreviewStatic::PictureChanged, this, &CMyFileDialog::OnPictureChanged);

    m_pSizeText = new QLabel(m_pPanel);
    m_pSizeText->setObjectName(QStringLiteral("IDC_PREVIEW_SIZE"));
    m_pSizeText->setGeometry(units.Rect(kSizeTextUnits));

    // Beside the file list, centred in its row; below everything if the
    // dialog's layout is not the grid it normally is.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int listRow = grid->rowCount() > 1 ? 1 : 0;
        grid->addWidget(m_pPanel, listRow, grid->columnCount(), Qt::AlignCenter);
    } else if (layout()) {
        layout()->addWidget(m_pPanel);
    }
    OnSetThumbnailView();
}

void CMyFileDialog::OnSetThumbnailView() {
    // Qt's dialog has no thumbnail view: its list view (names in columns)
    // with each photo's icon showing a small picture of it comes near.
    setViewMode(QFileDialog::List);
    ThumbnailCache* thumbnails = ThumbnailCache::Shared();
    if (!thumbnails)
        return;
    setIconProvider(ThumbnailIconProvider::Shared());
    if (auto* list = findChild<QListView*>(QStringLiteral("listView"))) {
        list->setIconSize(thumbnails->Box());
        connect(thumbnails, &ThumbnailCache::ThumbnailReady, list->viewport(),
                qOverload<>(&QWidget::update));
    }
}

void CMyFileDialog::OnFileNameChange(const QString& path) {
    // Folders and names of nothing leave the preview as it is.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    // A click both selects a file and makes it current: decode it once.
    if (m_preview->IsLoading() && m_preview->PicturePath() == path)
        return;
    m_preview->RequestPicture(path);
}

void CMyFileDialog::OnPictureChanged() {
    // Empty while the picture is being decoded and when it cannot be
    // decoded (the preview's tooltip then says why).
    m_pSizeText->setText(m_preview->HasPicture() ? SizeTextFor(m_preview->GetPictureSize())
                                                 : QString());
}

QString CMyFileDialog::SizeTextFor(QSize size) {
    return QStringLiteral("Size:%1\u00D7%2").arg(size.width()).arg(size.height());
}

void CMyFileDialog::done(int result) {
    m_preview->CancelLoading();
    if (ThumbnailCache* thumbnails = ThumbnailCache::Shared())
        thumbnails->CancelPending();
    QFileDialog::done(result);
}

int CMyFileDialog::DoModal() {
    return exec() == QDialog::Accepted ? kDialogOk : kDialogCancel;
}

QString CMyFileDialog::GetPathName() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

QString CMyFileDialog::GetFileName() const {
    return QFileInfo(GetPathName()).fileName();
}
