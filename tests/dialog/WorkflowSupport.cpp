#include "dialog/WorkflowSupport.h"

#include "common/TestSupport.h"
#include "platform/Cp950.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QImageWriter>
#include <QTransform>
#include <QtEndian>

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QMessageBox::StandardButton ScriptedPrompter::Message(QWidget*, const QString& text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::Icon) {
    messages.append({text, buttons});
    if (buttons == QMessageBox::Ok)
        return QMessageBox::Ok;
    if (questionAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return QMessageBox::Cancel;
    }
    return questionAnswers.takeFirst();
}

QString ScriptedPrompter::ChoosePhotoToOpen(QWidget*, const QString& filter) {
    openFilters.append(filter);
    if (openAnswers.isEmpty())
        return QString();
    const QString path = openAnswers.takeFirst();
    if (afterOpenChoice)
        afterOpenChoice(path);
    return path;
}

QString ScriptedPrompter::ChooseSavePath(QWidget*, const QString& filter,
                                         const QString& defaultSuffix) {
    saveFilters.append(filter);
    saveSuffixes.append(defaultSuffix);
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

QStringList ScriptedPrompter::Texts() const {
    QStringList texts;
    for (const ShownMessage& message : messages)
        texts.append(message.text);
    return texts;
}

namespace {
// An Exif APP1 segment with one IFD0 entry: the orientation.
QByteArray ExifSegment(int orientation) {
    QByteArray tiff("II*\0", 4);
    char word[4];
    auto u16 = [&](quint16 v) {
        qToLittleEndian(v, word);
        tiff.append(word, 2);
    };
    auto u32 = [&](quint32 v) {
        qToLittleEndian(v, word);
        tiff.append(word, 4);
    };
    u32(8); // IFD0 offset
    u16(1); // one entry
    u16(0x0112);
    u16(3); // SHORT
    u32(1);
    u16(quint16(orientation));
    u16(0);
    u32(0); // no IFD1
    QByteArray segment("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append("Exif\0\0", 6);
    return segment + tiff;
}
} // namespace

QByteArray MakePhotoBytes(int width, int height, const QColor& fill, int exifOrientation) {
    QImage upright(width, height, QImage::Format_RGB32);
    upright.fill(fill);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            upright.setPixel(x, y, qRgb(255, 0, 0));
    // Orientation 6: the stored picture is the upright one turned a quarter
    // to the left; viewers turn it a quarter to the right.
    const QImage stored =
        exifOrientation == 6 ? upright.transformed(QTransform().rotate(-90)) : upright;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(stored);
    if (exifOrientation != 1)
        bytes = bytes.left(2) + ExifSegment(exifOrientation) + bytes.mid(2);
    return bytes;
}

void WorkflowTest::SetUp() {
    MainWindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    scope = std::make_unique<ScopedPrompter>(&prompter);
}

QString WorkflowTest::WritePhoto(const QString& name, int width, int height, const QColor& fill,
                                 int exifOrientation) {
    const QString path = PathOf(name);
    EXPECT_TRUE(WriteWholeFile(path, MakePhotoBytes(width, height, fill, exifOrientation)));
    return path;
}

void WorkflowTest::OpenThroughDialog(const QString& path) {
    prompter.openAnswers.append(path);
    dlg->OnOpenPhoto();
}

void WorkflowTest::PressSave() {
    static_cast<QAbstractButton*>(Item(IDC_SAVE_INFO))->click();
}

Dimension& WorkflowTest::AddDimension(POINT start, POINT end, const QByteArray& value,
                                      COLORREF colour) {
    Dimension dim;
    dim.colour = colour;
    dim.start = start;
    dim.end = end;
    cp950::CopyToField(dim.value, value);
    dim.font = DefaultLogFont();
    dlg->m_canvas.m_info.dimensions.push_back(dim);
    return dlg->m_canvas.m_info.dimensions.back();
}

InfoNote& WorkflowTest::AddNote(POINT anchor, const QString& title, const QString& text) {
    InfoNote note = MakeNewNote(anchor, DefaultLogFont());
    cp950::CopyToField(note.title, cp950::FromQString(title));
    cp950::CopyToField(note.text, cp950::FromQString(text));
    dlg->m_canvas.m_info.notes.push_back(note);
    return dlg->m_canvas.m_info.notes.back();
}
