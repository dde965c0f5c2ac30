// Every text under src/ that goes through Qt's translation system has a
// finished English translation in the shipped .ts file, and the shipped file
// keeps no text the program no longer has: lupdate, run on a copy of it,
// marks a new text unfinished and a gone one vanished. Each translation keeps
// its source's arguments (%1, %2) and accelerator, and no Chinese.

#include "common/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Unescaped(QString xml) {
    return xml.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&apos;", "'")
        .replace("&quot;", "\"")
        .replace("&amp;", "&");
}

// The matches of `pattern` in `text`, sorted.
QStringList Matches(const QString& text, const QRegularExpression& pattern) {
    QStringList found;
    for (const auto& m : pattern.globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

TEST(EnglishTranslation, EverySourceTextHasAFinishedTranslation) {
    QTemporaryDir dir;
    const QString shipped = SourcePath(QStringLiteral("translations/tessamar_en.ts"));
    const QString updated = dir.filePath(QStringLiteral("tessamar_en.ts"));
    ASSERT_TRUE(QFile::copy(shipped, updated));
    QProcess lupdate;
    lupdate.start(QStringLiteral(TESSAMAR_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   SourcePath(QStringLiteral("src")), QStringLiteral("-ts"), updated});
    ASSERT_TRUE(lupdate.waitForFinished(60000)) << lupdate.errorString().toStdString();
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const QString after = QString::fromUtf8(ReadWholeFile(updated));
    for (const auto& m :
         QRegularExpression(
             QStringLiteral("<source>([^<]*)</source>\\s*(<comment>[^<]*</comment>\\s*)?"
                            "<translation type=\"(\\w+)\""))
             .globalMatch(after))
        ADD_FAILURE() << m.captured(3).toStdString() << ": "
                      << Unescaped(m.captured(1)).toStdString();

    static const QRegularExpression kArgument(QStringLiteral("%\\d")),
        kAccelerator(QStringLiteral("&(?=[^&\\s])")),
        kChinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]")),
        kPair(QStringLiteral(
            "<source>([^<]*)</source>\\s*(?:<comment>[^<]*</comment>\\s*)?<translation>([^<]*)<"));
    int pairs = 0;
    for (const auto& m : kPair.globalMatch(QString::fromUtf8(ReadWholeFile(shipped)))) {
        const QString source = Unescaped(m.captured(1)), english = Unescaped(m.captured(2));
        EXPECT_EQ(Matches(english, kArgument), Matches(source, kArgument)) << source.toStdString();
        EXPECT_EQ(Matches(english, kAccelerator), Matches(source, kAccelerator))
            << source.toStdString();
        EXPECT_FALSE(english.contains(kChinese)) << source.toStdString();
        ++pairs;
    }
    EXPECT_GT(pairs, 100); // the texts of the windows, the dialogs and the range-finder link
}

} // namespace
