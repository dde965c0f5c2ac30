#pragma once
// Dialog units: a dialog's coordinates scaled by its font, as Windows does it.
// One horizontal unit is a quarter of the font's average character width, one
// vertical unit an eighth of its height.

#include <QFont>
#include <QRect>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int X(int units) const { return units * m_baseX / 4; }
    int Y(int units) const { return units * m_baseY / 8; }
    QRect Rect(int x, int y, int width, int height) const {
        return QRect(X(x), Y(y), X(width), Y(height));
    }
    QRect Rect(const QRect& units) const {
        return Rect(units.x(), units.y(), units.width(), units.height());
    }

private:
    int m_baseX;
    int m_baseY;
};
