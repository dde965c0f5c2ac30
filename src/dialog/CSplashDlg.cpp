#include "dialog/CSplashDlg.h"

#include "dialog/ControlIds.h"
#include "dialog/ModalLoop.h"
#include "dialog/ResourceArt.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

CSplashDlg::CSplashDlg(QWidget* parent)
    : QDialog(parent), m_bitmap(ResourceBitmap(IDB_SPLASH, QSize(500, 302))) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    OnInitDialog();
}

void CSplashDlg::OnInitDialog() {
    // Exactly the picture's size, on top, centred on the screen.
    const QSize size = m_bitmap.isNull() ? QSize(500, 302) : m_bitmap.size();
    setFixedSize(size);
    move(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - size.width()) / 2,
             area.y() + (area.height() - size.height()) / 2);
    }
    m_nTimer = startTimer(kTimerInterval);
}

int CSplashDlg::DoModal() {
    if (m_bitmap.isNull())
        return QDialog::Accepted; // nothing to show: go on to the main window
    return RunModal(*this);
}

void CSplashDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_bitmap.isNull())
        painter.drawPixmap(0, 0, m_bitmap);
}

void CSplashDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimer) {
        accept();
        return;
    }
    QDialog::timerEvent(event);
}

void CSplashDlg::done(int result) {
    // However the splash ends, its timer ends with it.
    if (m_nTimer != 0) {
        killTimer(m_nTimer);
        m_nTimer = 0;
    }
    QDialog::done(result);
}

void CSplashDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        accept();
    QDialog::mousePressEvent(event);
}
