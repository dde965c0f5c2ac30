#include "platform/CaptionFont.h"

#include <QStringList>
#include <atomic>

namespace {
std::atomic<bool> latinCaptions{false};
} // namespace

void UseLatinCaptions(bool latin) {
    latinCaptions = latin;
}

QFont CaptionLayoutFont(double points) {
    QFont font(QString::fromUtf8("新細明體"));
    font.setPointSizeF(points);
    return font;
}

QFont CaptionFont(double points) {
    QFont font = CaptionLayoutFont(points);
    if (latinCaptions)
        font.setFamilies(QStringList{QStringLiteral("Liberation Sans"),
                                     QStringLiteral("DejaVu Sans"), QString::fromUtf8("新細明體")});
    return font;
}
