#include "platform/Prompts.h"

#include <QtGlobal>

namespace {
Prompter* g_current = nullptr;
} // namespace

QString AppName() {
    return QStringLiteral("Tessamar");
}

Prompter& Prompts() {
    if (!g_current)
        qFatal("No prompter is installed: start-up installs the desktop one.");
    return *g_current;
}

ScopedPrompter::ScopedPrompter(Prompter* prompter) : m_previous(g_current) {
    g_current = prompter;
}
ScopedPrompter::~ScopedPrompter() {
    g_current = m_previous;
}

QString WithReason(const QString& text, const QString& reason) {
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}
