#pragma once
// Helpers of the photo workflow tests: a prompter that answers from a script
// and keeps what was shown, photos made on the spot, and records to add.

#include "dialog/DialogFixture.h"
#include "platform/Prompts.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

struct ShownMessage {
    QString text;
    QMessageBox::StandardButtons buttons;
};

class ScriptedPrompter : public Prompter {
public:
    // Answers taken in order; an empty list answers Cancel.
    QStringList openAnswers;
    QStringList saveAnswers;
    // Answers to message boxes that offer more than OK.
    QList<QMessageBox::StandardButton> questionAnswers;
    // Runs after a photo was chosen, before the dialog returns it.
    std::function<void(const QString&)> afterOpenChoice;

    QList<ShownMessage> messages;
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveSuffixes;

    QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override;
    QString ChoosePhotoToOpen(QWidget* parent, const QString& filter) override;
    QString ChooseSavePath(QWidget* parent, const QString& filter,
                           const QString& defaultSuffix) override;

    QStringList Texts() const;
};

// A JPEG of `width` x `height` filled with `fill`, with an 8x8 red block at the
// top-left corner as seen upright. With `exifOrientation` 6 the pixels are
// stored turned a quarter left and an Exif tag asks viewers to turn them back.
QByteArray MakePhotoBytes(int width, int height, const QColor& fill, int exifOrientation = 1);

// Main window tests with a scripted prompter and a scratch folder.
class WorkflowTest : public MainWindowTest {
protected:
    void SetUp() override;

    QString PathOf(const QString& name) const { return dir.filePath(name); }
    QString WritePhoto(const QString& name, int width = 320, int height = 240,
                       const QColor& fill = QColor(128, 128, 128), int exifOrientation = 1);
    // Opens `path` through the open button as if chosen in the dialog.
    void OpenThroughDialog(const QString& path);
    // Saves through the save button.
    void PressSave();
    // Appends records as the canvas's tools would leave them.
    Dimension& AddDimension(POINT start, POINT end, const QByteArray& value, COLORREF colour);
    InfoNote& AddNote(POINT anchor, const QString& title, const QString& text);

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ScopedPrompter> scope;
};

QString Utf8(const char* text);
