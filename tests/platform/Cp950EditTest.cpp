#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "common/TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(Cp950LineEditTest, StopsAtTheByteLimitWithoutSplittingACharacter) {
    Cp950LineEdit edit(9);
    TypeText(&edit, U("ab中文字"));  // 2 + 6 bytes
    EXPECT_EQ(edit.text(), U("ab中文字"));
    TypeText(&edit, U("句"));        // would make 10 bytes: refused
    EXPECT_EQ(edit.text(), U("ab中文字"));
    TypeText(&edit, U("x"));         // 9 bytes: fits
    EXPECT_EQ(edit.text(), U("ab中文字x"));
    EXPECT_EQ(cp950::FromQString(edit.text()).size(), 9);
}

TEST(Cp950LineEditTest, RefusesCharactersCp950CannotHold) {
    Cp950LineEdit edit(18);
    TypeText(&edit, U("aŝb"));
    EXPECT_EQ(edit.text(), U("ab"));
}

TEST(Cp950LineEditTest, ProgrammaticTextIsShownWhole) {
    Cp950LineEdit edit(18);
    QSignalSpy edited(&edit, &QLineEdit::textEdited);
    edit.setText(U("0123456789012345678")); // 19 bytes from an old file
    EXPECT_EQ(edit.text().size(), 19);
    EXPECT_EQ(edited.count(), 0);
}

TEST(Cp950TextEditTest, CountsLineBreaksAsTwoBytes) {
    Cp950TextEdit edit(5);
    QSignalSpy edited(&edit, &Cp950TextEdit::textEdited);
    TypeText(&edit, U("ab"));
    QTest::keyClick(&edit, Qt::Key_Return); // CR LF: 4 bytes
    TypeText(&edit, U("c"));        // 5 bytes
    TypeText(&edit, U("d"));        // refused
    EXPECT_EQ(edit.toPlainText(), U("ab\nc"));
    EXPECT_EQ(ToRecordText(edit.toPlainText()), QByteArray("ab\r\nc"));
    EXPECT_GE(edited.count(), 4);
}

TEST(Cp950TextEditTest, SetTextRaisesNoEditSignal) {
    Cp950TextEdit edit(253);
    QSignalSpy edited(&edit, &Cp950TextEdit::textEdited);
    edit.SetText(FromRecordText(QByteArray("a\r\nb")));
    EXPECT_EQ(edit.toPlainText(), U("a\nb"));
    EXPECT_EQ(edited.count(), 0);
}

TEST(RecordTextTest, FittingPrefixKeepsWholeCharacters) {
    EXPECT_EQ(FittingPrefix(U("中文字"), 5), U("中文"));
    EXPECT_EQ(FittingPrefix(U("a\nb"), 3), U("a\n"));
    EXPECT_EQ(FittingPrefix(U("ab😀c"), 10), U("ab"));
    EXPECT_EQ(RecordByteLength(U("😀")), -1);
}

} // namespace
