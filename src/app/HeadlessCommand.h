#pragma once
// What every command that runs without a display shares: its start-up and
// its one line per message on stderr ("tessamar: ...", in English).

#include <QGuiApplication>
#include <QString>

#include <memory>

enum class HeadlessApp { Gui, Widgets };

// Makes the application a command running in its own process needs: on the
// off-screen platform unless one is named, with Qt's notes quieted (before
// the application, so its start-up notes go too) and the program's font
// substitutes. nullptr when an application exists already (the command was
// called from within one); the substitutes are installed all the same.
std::unique_ptr<QGuiApplication> StartHeadless(int& argc, char** argv, HeadlessApp kind);

// Says `text` as one line on stderr.
void Say(const QString& text);
// Says `text` and returns the failing exit status, 1.
int Fail(const QString& text);
