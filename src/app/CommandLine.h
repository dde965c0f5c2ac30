#pragma once
// The program's command line. Each command lives in its own file.

#include <QString>
#include <QStringList>

// Parses the arguments and runs the chosen command; returns the exit status.
int RunCommandLine(int argc, char** argv);

// tessamar --print-info FILE.dat: the photo-info file as JSON on stdout.
int RunPrintInfo(const QString& path);
// tessamar --export PHOTO OUT: the annotated picture, without a display.
int RunExport(int argc, char** argv, const QString& photo, const QString& out,
              bool keepLocation = false);
// tessamar --export-many OUTDIR PHOTO... [--force]: every photo's annotated
// picture into OUTDIR under its own name, on every core.
int RunExportMany(int argc, char** argv, const QString& outDir, const QStringList& photos,
                  bool overwrite, bool keepLocation = false);
// tessamar --report OUT.pdf PHOTO...: one PDF report, a section per photo.
int RunReport(int argc, char** argv, const QString& out, const QStringList& photos);
// tessamar --rectify OUT.jpg PHOTO [--mm-per-pixel X]: the head-on picture
// of the photo's reference plane.
int RunRectify(int argc, char** argv, const QString& out, const QString& photo, double mmPerPixel);
// tessamar [PHOTO]: the desktop program, opening PHOTO when given.
int RunDesktop(int argc, char** argv, const QString& photo);

// tessamar --screenshot OUT.png [PHOTO]: the main window drawn to a picture
// file, without a display.
int RunScreenshot(int argc, char** argv, const QString& out, const QString& photo);

QString UsageText();
