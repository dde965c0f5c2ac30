#include "app/QuietQtMessages.h"

#include <QtGlobal>

namespace {
QtMessageHandler g_previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_previousHandler(type, context, message);
}
} // namespace

void QuietQtMessages() {
    const QtMessageHandler previous = qInstallMessageHandler(QuietHandler);
    // Installed twice, it must not end up calling itself.
    if (previous != QuietHandler)
        g_previousHandler = previous;
}
