#include "dialog/CAboutDlg.h"

#include "dialog/ControlIds.h"
#include "dialog/ResourceArt.h"
#include "platform/CaptionFont.h"
#include "platform/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("關于"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(CaptionFont(9));
    const DialogUnits units(CaptionLayoutFont(9));

    m_icon = new QLabel(this);
    m_icon->setPixmap(ResourceIcon(IDI_ABOUT).pixmap(32, 32));
    m_icon->setGeometry(units.X(7), units.Y(7), 32, 32);

    m_version = new QLabel(tr("KZR 1.0 版"), this);
    m_version->setTextFormat(Qt::PlainText);
    m_version->setGeometry(units.Rect(40, 10, 119, 8));

    auto* maker = new QLabel(tr("Tessamar 房間照片測量工具\n"
                                "版權所有 (C) Tessamar"),
                             this);
    maker->setTextFormat(Qt::PlainText);
    maker->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    maker->setGeometry(units.Rect(40, 24, 146, 20));

    auto* notice = new QLabel(tr("本程式按現狀提供，不附帶任何擔保。"
                                 "量得的尺寸僅供參考。"),
                              this);
    notice->setTextFormat(Qt::PlainText);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice->setGeometry(units.Rect(7, 72, 119, 34));

    m_ok = new QPushButton(tr("確定"), this);
    m_ok->setDefault(true);
    m_ok->setGeometry(units.Rect(136, 92, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.X(193), units.Y(113));
}
