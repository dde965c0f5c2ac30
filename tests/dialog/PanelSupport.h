#pragma once
// The main window shown with a blank photo on its canvas, for the editing
// panel tests: clicks on the canvas at photo points, queued notifications
// delivered, paints of the canvas counted.

#include "DialogFixture.h"

#include "common/TestSupport.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>


class PanelTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShowWindow();
        ShowBlankPhoto(QSize(800, 600));
        EnablePhotoControls();
        canvas().installEventFilter(&counter);
        Flush();
    }
    void TearDown() override { canvas().removeEventFilter(&counter); }

    CPhotoCanvas& canvas() { return dlg->m_canvas; }
    void ShowBlankPhoto(QSize size) {
        QImage photo(size, QImage::Format_RGB32);
        photo.fill(Qt::white);
        canvas().m_dib.Image() = photo;
        canvas().ResetAnnotations();
        canvas().m_fZoom = 1.0f;
        canvas().UpdateLayout();
    }
    void Flush() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void ChooseTool(int button) {
        QTest::mouseClick(Item(button), Qt::LeftButton);
        Flush();
    }
    void ClickPhoto(POINT p) {
        const POINT q = canvas().MapPoint(p, false);
        QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(q.x, q.y));
        Flush();
    }
    QLineEdit* SizeEdit() { return qobject_cast<QLineEdit*>(Item(IDC_SIZE_EDIT)); }
    QLineEdit* TitleEdit() { return qobject_cast<QLineEdit*>(Item(IDC_NOTE_TITLE)); }
    Cp950TextEdit* TextEdit() { return qobject_cast<Cp950TextEdit*>(Item(IDC_NOTE_TEXT)); }
    QListWidget* NoteList() { return qobject_cast<QListWidget*>(Item(IDC_NOTE_LIST)); }

    static Dimension MakeDimension(POINT start, POINT end, const char* value, COLORREF colour) {
        Dimension d;
        d.colour = colour;
        d.start = start;
        d.end = end;
        cp950::CopyToField(d.value, QByteArray(value));
        d.font = DefaultLogFont();
        return d;
    }
    static InfoNote MakeNote(POINT anchor, const QString& title, const QString& text) {
        InfoNote n = MakeNewNote(anchor, DefaultLogFont());
        cp950::CopyToField(n.title, cp950::FromQString(title));
        cp950::CopyToField(n.text, ToRecordText(text));
        return n;
    }
    QString RecordTitle(size_t i) { return cp950::FieldToQString(canvas().m_info.notes[i].title); }

    PaintCounter counter;
};
