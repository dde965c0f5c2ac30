#include "dialog/CColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent) : QWidget(parent) {}

void CColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Filled with the colour, outlined with a 1-pixel black pen, like a
    // Rectangle over the whole client area.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(ColorRefToQColor(m_colour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CColorSwatch::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}
