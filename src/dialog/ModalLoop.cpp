#include "dialog/ModalLoop.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>

int RunModal(QDialog& dialog) {
    QPointer<QDialog> guard(&dialog);
    dialog.setResult(0);
    dialog.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog.show();
    if (guard && dialog.isVisible())
        loop.exec(QEventLoop::DialogExec);
    return guard ? dialog.result() : 0;
}
