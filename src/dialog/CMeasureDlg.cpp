#include "dialog/CMeasureDlg.h"

#include "dialog/ModalLoop.h"
#include "dialog/ResourceArt.h"
#include "platform/CaptionFont.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "platform/DialogUnits.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>

namespace {
QPushButton* MakeButton(const QString& caption) {
    auto* button = new QPushButton(caption);
    // Return never presses a button of this window.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QToolButton* MakeIconButton(const QString& caption, bool checkable) {
    auto* button = new QToolButton;
    button->setText(caption); // shown as the tip; the face shows only the icon
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setCheckable(checkable);
    button->setIconSize(QSize(22, 22));
    return button;
}

QLabel* MakeStatic(const QString& caption) {
    auto* label = new QLabel(caption);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QGroupBox* MakeGroup(const QString& caption) {
    auto* group = new QGroupBox(caption);
    // A frame only: it lies beneath the controls it frames and never takes
    // their clicks.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The caption sits on the top line of the frame, as on a classic group box.
    group->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 7px; padding: 0 2px; }"));
    return group;
}

QString SupportText() {
    return QCoreApplication::translate("CMeasureDlg", "Tessamar 技術支援\n\n"
                                                      "電郵：\n"
                                                      "support@tessamar.example\n"
                                                      "網站：\n"
                                                      "www.tessamar.example\n\n"
                                                      "如有問題，請來信告知。");
}
} // namespace

CMeasureDlg::CMeasureDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tessamar"));
    // Caption, system menu, minimise and maximise boxes, no sizing border:
    // the size changes only by maximising and restoring (KeepRestoredSize).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setSizeGripEnabled(false);
    setFont(CaptionFont(9));
    m_hIcon = ResourceIcon(IDR_MAINFRAME);
    m_strSize.clear();
    m_nTool = 0;
    m_bCancelCloses = 1;
}

CMeasureDlg::~CMeasureDlg() {
    // The canvas outlives this body; its last events, and the focus changes
    // that hiding the window causes, must not reach a half-destroyed window.
    m_canvas.removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
}

void CMeasureDlg::InitDialog() {
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    CreateControls();
    ConnectMessageMap();
    OnInitDialog();
}

int CMeasureDlg::DoModal() {
    InitDialog();
    return RunModal(*this);
}

void CMeasureDlg::AddControl(int id, QWidget* control) {
    if (control->parentWidget() != this)
        control->setParent(this);
    control->setObjectName(QStringLiteral("IDC_%1").arg(id));
    m_controls.insert(id, control);
}

void CMeasureDlg::CreateControls() {
    const DialogUnits units(CaptionLayoutFont(9));

    // The banner host: an empty place with no movie. It lies beneath the
    // canvas and lets every click through, so it never hides the photo.
    auto* banner = new QWidget;
    banner->setAttribute(Qt::WA_TransparentForMouseEvents);
    AddControl(IDC_BANNER, banner);
    banner->setGeometry(units.Rect(182, 175, 48, 41));

    AddControl(IDC_OPEN_PHOTO, MakeButton(tr("打開圖片(&O)")));
    AddControl(IDC_SAVE_INFO, MakeButton(tr("保存信息(&S)")));
    AddControl(IDC_EXPORT_PICTURE, MakeButton(tr("輸出圖片(&E)")));
    AddControl(IDC_CONNECT_RANGE, MakeButton(tr("連接測距儀(&C)")));
    AddControl(IDC_HELP, MakeButton(tr("幫助(&H)")));
    AddControl(IDC_EXIT, MakeButton(tr("退出(&X)")));

    m_toolGroup = new QButtonGroup(this);
    m_toolGroup->setExclusive(true);
    const struct {
        int id;
        const char* caption;
        int tool;
    } tools[] = {{IDC_TOOL_DRAG, QT_TR_NOOP("拖動"), ToolDrag},
                 {IDC_TOOL_DIMENSION, QT_TR_NOOP("畫尺寸"), ToolDimension},
                 {IDC_TOOL_NOTE, QT_TR_NOOP("信息標注"), ToolNote},
                 {IDC_TOOL_SELECT, QT_TR_NOOP("選擇"), ToolSelect},
                 {IDC_TOOL_AREA, QT_TR_NOOP("面積"), ToolArea},
                 {IDC_TOOL_ANGLE, QT_TR_NOOP("角度"), ToolAngle}};
    for (const auto& tool : tools) {
        QToolButton* button = MakeIconButton(tr(tool.caption), true);
        AddControl(tool.id, button);
        m_toolGroup->addButton(button, tool.tool);
    }

    AddControl(IDC_COLOUR_LABEL, MakeStatic(tr("顏色：")));
    AddControl(IDC_COLOUR_SWATCH, &m_colourSwatch);
    AddControl(IDC_SIZE_LABEL, MakeStatic(tr("尺寸：")));
    // The edits hold what their record fields hold, counted in CP950 bytes:
    // value 9, title 18, note text 253 (line breaks stored as CR LF).
    AddControl(IDC_SIZE_EDIT, new Cp950LineEdit(9));
    AddControl(IDC_CANVAS, &m_canvas);
    AddControl(IDC_STATUS, MakeStatic(QString()));
    AddControl(IDC_PANEL, MakeGroup(QString()));
    AddControl(IDC_PROPERTY_GROUP, MakeGroup(QString()));
    AddControl(IDC_NOTE_TITLE_LABEL, MakeStatic(tr("標題：")));
    AddControl(IDC_NOTE_TITLE, new Cp950LineEdit(18));
    auto* noteList = new QListWidget;
    noteList->setSortingEnabled(false); // row i is note i, for any number of notes
    noteList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AddControl(IDC_NOTE_LIST, noteList);
    AddControl(IDC_ADD_NOTE, MakeButton(tr("新增")));
    AddControl(IDC_DELETE_NOTE, MakeButton(tr("刪除")));
    AddControl(IDC_MODIFY_NOTE, MakeButton(tr("修改")));
    auto* noteText = new Cp950TextEdit(253);
    noteText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    noteText->setTabChangesFocus(true);
    AddControl(IDC_NOTE_TEXT, noteText);
    AddControl(IDC_DELETE_DIMENSION, MakeButton(tr("刪除")));
    CreateReferenceControls();
    AddControl(IDC_ZOOM_GROUP, MakeGroup(tr("縮放")));
    AddControl(IDC_ZOOM_IN, MakeIconButton(tr("放大"), false));
    AddControl(IDC_ZOOM_OUT, MakeIconButton(tr("縮小"), false));
    AddControl(IDC_ZOOM_FIT, MakeIconButton(tr("自適應大小"), false));
    AddControl(IDC_ZOOM_ACTUAL, MakeIconButton(tr("實際大小"), false));
    auto* logo = new QLabel;
    logo->setPixmap(ResourceBitmap(IDB_LOGO, QSize(39, 39)));
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddControl(IDC_LOGO, logo);
    // The logo's context menu: the connect command (its button stays
    // hidden) and, from OnInitDialog, the About entry.
    m_connectAction = new QAction(tr("連接測距儀(&C)"), logo);
    m_connectAction->setData(IDC_CONNECT_RANGE);
    logo->addAction(m_connectAction);
    logo->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_aboutAction = new QAction(AboutMenuText(), logo);
    m_aboutAction->setData(IDM_ABOUTBOX);
    QLabel* support = MakeStatic(SupportText());
    support->setWordWrap(true);
    support->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    support->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AddControl(IDC_SUPPORT_TEXT, support);
    AddControl(IDC_NOTE_FONT, MakeButton(QStringLiteral("...")));
    AddControl(IDC_NOTE_FONT_LABEL, MakeStatic(tr("字體:")));
    AddControl(IDC_NOTE_FONT_NAME, MakeStatic(QStringLiteral("Arial")));
    AddControl(IDC_DIM_FONT_LABEL, MakeStatic(tr("字體:")));
    AddControl(IDC_DIM_FONT_NAME, MakeStatic(QStringLiteral("Arial")));
    AddControl(IDC_DIM_FONT, MakeButton(QStringLiteral("...")));

    // States at creation.
    for (int id : {IDC_CONNECT_RANGE, IDC_HELP, IDC_EXIT, IDC_STATUS})
        GetDlgItem(id)->setVisible(false);
    for (int id : {IDC_SAVE_INFO,   IDC_EXPORT_PICTURE, IDC_TOOL_DRAG,  IDC_TOOL_DIMENSION,
                   IDC_TOOL_NOTE,   IDC_TOOL_SELECT,    IDC_TOOL_AREA,  IDC_TOOL_ANGLE,
                   IDC_SIZE_EDIT,   IDC_CANVAS,         IDC_NOTE_TITLE, IDC_ADD_NOTE,
                   IDC_DELETE_NOTE, IDC_MODIFY_NOTE,    IDC_NOTE_TEXT,  IDC_DELETE_DIMENSION,
                   IDC_ZOOM_IN,     IDC_ZOOM_OUT,       IDC_ZOOM_FIT,   IDC_ZOOM_ACTUAL,
                   IDC_NOTE_FONT})
        GetDlgItem(id)->setEnabled(false);

    // Frames go beneath what they frame; the banner beneath everything.
    for (int id : {IDC_PROPERTY_GROUP, IDC_ZOOM_GROUP, IDC_PANEL, IDC_BANNER})
        GetDlgItem(id)->lower();

    CreateReportButton();
    m_canvas.installEventFilter(this);
}

void CMeasureDlg::UpdateData(bool save) {
    auto* sizeEdit = Item<QLineEdit>(IDC_SIZE_EDIT);
    if (!sizeEdit || !m_toolGroup)
        return;
    if (save) {
        m_strSize = sizeEdit->text();
        const int checked = m_toolGroup->checkedId();
        if (checked >= 0)
            m_nTool = checked;
        return;
    }
    {
        const QSignalBlocker blocker(sizeEdit);
        if (sizeEdit->text() != m_strSize)
            sizeEdit->setText(m_strSize); // whole: the limit is for typing
    }
    if (QAbstractButton* button = m_toolGroup->button(m_nTool))
        button->setChecked(true);
}

QString CMeasureDlg::AboutMenuText() {
    return tr("關于 KZR(&A)...");
}

void CMeasureDlg::OnInitDialog() {
    // 1. Members into the controls: the drag button starts pressed.
    UpdateData(false);

    // 2. The About entry. Qt offers no access to the window manager's system
    // menu, so the entry sits in the context menu of the panel's logo.
    if (!m_aboutAction->text().isEmpty()) {
        QWidget* logo = GetDlgItem(IDC_LOGO);
        auto* separator = new QAction(logo);
        separator->setSeparator(true);
        logo->addAction(separator);
        logo->addAction(m_aboutAction);
    }

    // 3. The application icon.
    setWindowIcon(m_hIcon);

    // 4. 1024 x 766 with the frame, centred on the screen; this gives the
    // first layout. The frame comes with the window manager: the client area
    // is sized again then (KeepRestoredSize).
    move(0, 0);
    resize(RestoredClientSize());
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - kWindowWidth) / 2,
             area.y() + (area.height() - kWindowHeight) / 2);
    }
    OnSize(SizeRestored, width(), height());

    // 5. The support text's font: 11 pixels high, light, a Ming face.
    LOGFONTA support;
    support.lfHeight = 11;
    support.lfWeight = 200;
    SetFaceName(support, QString::fromUtf8("細明體"));
    m_fontSupport = LogFontToQFont(support);
    GetDlgItem(IDC_SUPPORT_TEXT)->setFont(m_fontSupport);

    // 6. The canvas and the swatch are already in place as controls 1004, 1015.
    // 7. Icons on the icon buttons.
    const struct {
        int control;
        int icon;
    } icons[] = {{IDC_ZOOM_IN, IDI_ZOOM_IN},         {IDC_ZOOM_OUT, IDI_ZOOM_OUT},
                 {IDC_ZOOM_ACTUAL, IDI_ZOOM_ACTUAL}, {IDC_ZOOM_FIT, IDI_ZOOM_FIT},
                 {IDC_TOOL_DRAG, IDI_TOOL_DRAG},     {IDC_TOOL_DIMENSION, IDI_TOOL_DIMENSION},
                 {IDC_TOOL_SELECT, IDI_TOOL_SELECT}, {IDC_TOOL_NOTE, IDI_TOOL_NOTE},
                 {IDC_TOOL_AREA, IDI_TOOL_AREA},     {IDC_TOOL_ANGLE, IDI_TOOL_ANGLE}};
    for (const auto& entry : icons)
        Item<QToolButton>(entry.control)->setIcon(ResourceIcon(entry.icon));

    // 8. New dimensions take the swatch's colour.
    m_canvas.SetCurrentColour(m_colourSwatch.m_colour);

    // 9. With the drag tool this hides every dimension and note control.
    ShowEditPanel(SelectionNone);

    // 10. Tips for the icon buttons: each shows the button's own caption.
    for (int id :
         {IDC_ZOOM_IN, IDC_ZOOM_OUT, IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT, IDC_TOOL_DRAG,
          IDC_TOOL_DIMENSION, IDC_TOOL_NOTE, IDC_TOOL_SELECT, IDC_TOOL_AREA, IDC_TOOL_ANGLE}) {
        auto* button = Item<QToolButton>(id);
        button->setToolTip(button->text());
    }

    // 11. Face name of the current font.
    const QString face = FaceName(m_canvas.CurrentFont());
    Item<QLabel>(IDC_DIM_FONT_NAME)->setText(face);
    Item<QLabel>(IDC_NOTE_FONT_NAME)->setText(face);

    SetToolCursor(m_canvas.CurrentTool());
    AddWindowTransfers();
}

void CMeasureDlg::setVisible(bool visible) {
    // Before the window shows, so that the controls show with it.
    if (visible)
        InitDialog();
    QDialog::setVisible(visible);
}
