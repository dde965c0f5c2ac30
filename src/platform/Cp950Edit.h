#pragma once
// Edit boxes whose text is stored as code page 950 bytes in a fixed field.
// They limit input by bytes, never split a two-byte character, and refuse
// characters code page 950 cannot hold, so what the user sees is what is
// stored. Text set by the program (QLineEdit::setText, Cp950TextEdit::SetText)
// is not limited (it shows a record as it is) and raises no user-edit signal;
// the user may shorten such a text, and typing never makes it longer while
// it is over the limit.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

// Bytes `text` takes in a record: CP950, with each line break stored as CR LF.
// -1 when a character has no CP950 form.
int RecordByteLength(const QString& text);
// Text of an edit -> record bytes (line breaks become CR LF).
QByteArray ToRecordText(const QString& text);
// Record bytes -> text for an edit (CR LF and lone CR become line breaks).
QString FromRecordText(const QByteArray& bytes);
// The longest prefix of `text` that fits in `maxBytes` record bytes and holds
// only characters CP950 can store (stops at the first one it cannot).
QString FittingPrefix(const QString& text, int maxBytes);

class Cp950ByteValidator : public QValidator {
public:
    Cp950ByteValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes;
};

class Cp950LineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit Cp950LineEdit(int maxBytes, QWidget* parent = nullptr);

protected:
    void insertFromClipboard();
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Whether replacing the selection (or inserting at the cursor) with
    // `typed` keeps the text within what typing may reach.
    bool TypingFits(const QString& typed) const;
    int m_maxBytes;
};

class Cp950TextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Cp950TextEdit(int maxBytes, QWidget* parent = nullptr);
    // Shows `text` without raising textEdited (use instead of setPlainText).
    void SetText(const QString& text);

Q_SIGNALS:
    // The user changed the text (typing, pasting, deleting, input method).
    void textEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    // Record bytes the text would take with the selection replaced by `insert`.
    int BytesAfterInsert(const QString& insert) const;
    // Inserts what fits of `text` at the cursor; false when nothing fitted.
    bool InsertFitting(const QString& text);
    int m_maxBytes;
    bool m_programmatic = false;
};
