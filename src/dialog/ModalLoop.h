#pragma once
// Runs a dialog modally until it ends, and returns its result. Unlike
// QDialog::exec, a dialog ended while it is being shown (a click or a timer
// handled as the window appears) does not leave the caller waiting forever.

class QDialog;

int RunModal(QDialog& dialog);
