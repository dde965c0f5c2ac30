#include "platform/Cp950Edit.h"

#include "platform/Cp950.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

int RecordByteLength(const QString& text) {
    bool ok = false;
    QString normalized = text;
    normalized.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QByteArray encoded = cp950::FromQString(normalized, &ok);
    if (!ok)
        return -1;
    return static_cast<int>(encoded.size() + normalized.count(QLatin1Char('\n')));
}

QByteArray ToRecordText(const QString& text) {
    QString normalized = text;
    normalized.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    normalized.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return cp950::FromQString(normalized);
}

QString FromRecordText(const QByteArray& bytes) {
    QString text = cp950::ToQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString FittingPrefix(const QString& text, int maxBytes) {
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        const int len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int bytes = RecordByteLength(text.mid(i, len));
        if (bytes < 0 || used + bytes > maxBytes)
            break;
        used += bytes;
        i += len;
    }
    return text.left(i);
}

Cp950ByteValidator::Cp950ByteValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State Cp950ByteValidator::validate(QString& input, int&) const {
    const int bytes = RecordByteLength(input);
    return (bytes >= 0 && bytes <= m_maxBytes) ? Acceptable : Invalid;
}

Cp950LineEdit::Cp950LineEdit(int maxBytes, QWidget* parent)
    : QLineEdit(parent), m_maxBytes(maxBytes) {
    setValidator(new Cp950ByteValidator(maxBytes, this));
}

void Cp950LineEdit::insertFromClipboard() {
    const QString pasted = QApplication::clipboard()->text();
    const QString current = text();
    const int selLen = selectedText().size();
    const int room = m_maxBytes - RecordByteLength(current) + RecordByteLength(selectedText());
    QString fitting = FittingPrefix(pasted, std::max(room, 0));
    fitting.remove(QLatin1Char('\n'));
    if (!fitting.isEmpty() || selLen > 0)
        insert(fitting);
}

bool Cp950LineEdit::TypingFits(const QString& typed) const {
    QString after = text();
    if (hasSelectedText())
        after.replace(selectionStart(), selectedText().size(), typed);
    else
        after.insert(cursorPosition(), typed);
    const int bytes = RecordByteLength(after);
    if (bytes < 0)
        return false;
    // A longer text shown by the program may keep its length, never grow.
    return bytes <= m_maxBytes || bytes <= RecordByteLength(text());
}

void Cp950LineEdit::keyPressEvent(QKeyEvent* event) {
    // A paste inserts what fits instead of being refused whole.
    if (event->matches(QKeySequence::Paste)) {
        insertFromClipboard();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed.at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inserts && !TypingFits(typed)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Cp950LineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !TypingFits(commit)) {
        QInputMethodEvent refused(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&refused);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

Cp950TextEdit::Cp950TextEdit(int maxBytes, QWidget* parent)
    : QPlainTextEdit(parent), m_maxBytes(maxBytes) {
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!m_programmatic && (removed > 0 || added > 0))
            Q_EMIT textEdited();
    });
}

int Cp950TextEdit::BytesAfterInsert(const QString& insert) const {
    const QTextCursor cursor = textCursor();
    QString all = toPlainText();
    all.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(), insert);
    return RecordByteLength(all);
}

bool Cp950TextEdit::InsertFitting(const QString& text) {
    const QTextCursor cursor = textCursor();
    QString all = toPlainText();
    all.remove(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    const int room = m_maxBytes - std::max(RecordByteLength(all), 0);
    const QString fitting = FittingPrefix(text, std::max(room, 0));
    if (fitting.isEmpty())
        return false;
    insertPlainText(fitting);
    return true;
}

void Cp950TextEdit::SetText(const QString& text) {
    m_programmatic = true;
    setPlainText(text);
    m_programmatic = false;
}

void Cp950TextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        QPlainTextEdit::keyPressEvent(event); // goes through insertFromMimeData
        return;
    }
    QString typed = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        typed = QStringLiteral("\n");
    const bool inserts = !typed.isEmpty() &&
                         (typed.at(0).isPrint() || typed == QLatin1String("\n")) &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inserts) {
        const int bytes = BytesAfterInsert(typed);
        if (bytes < 0 || bytes > m_maxBytes) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Cp950TextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        const int bytes = BytesAfterInsert(commit);
        if (bytes < 0 || bytes > m_maxBytes) {
            QInputMethodEvent trimmed(event->preeditString(), event->attributes());
            const int room = m_maxBytes - std::max(0, BytesAfterInsert(QString()));
            trimmed.setCommitString(FittingPrefix(commit, std::max(0, room)),
                                    event->replacementStart(), event->replacementLength());
            QPlainTextEdit::inputMethodEvent(&trimmed);
            return;
        }
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool Cp950TextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void Cp950TextEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText())
        InsertFitting(source->text());
}
