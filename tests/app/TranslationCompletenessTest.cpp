// Every text under src/ that goes through Qt's translation system has a
// finished English translation in the shipped .ts file: lupdate gathers the
// texts afresh, so a new tr("...") without English fails here.

#include "common/TestSupport.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct Message {
    QString translation;
    QString type; // "", "unfinished", "obsolete", "vanished"
};
// context + source + disambiguation
using MessageKey = std::tuple<QString, QString, QString>;

QMap<MessageKey, Message> ReadTs(const QString& path) {
    QMap<MessageKey, Message> messages;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    QString comment;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("message")) {
                source.clear();
                comment.clear();
                message = Message();
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (name == QLatin1String("comment")) {
                comment = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                message.type = xml.attributes().value(QLatin1String("type")).toString();
                message.translation = xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.insert({context, source, comment}, message);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

std::string Describe(const MessageKey& key) {
    return (std::get<0>(key) + QStringLiteral(" / ") + std::get<1>(key)).toStdString();
}

QString ShippedTs() {
    return SourcePath(QStringLiteral("translations/tessamar_en.ts"));
}

TEST(EnglishTranslation, EverySourceTextHasAFinishedTranslation) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fresh = dir.filePath(QStringLiteral("fresh_en.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(TESSAMAR_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   SourcePath(QStringLiteral("src")), QStringLiteral("-ts"), fresh});
    ASSERT_TRUE(lupdate.waitForFinished(60000)) << lupdate.errorString().toStdString();
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    const QMap<MessageKey, Message> texts = ReadTs(fresh);
    const QMap<MessageKey, Message> shipped = ReadTs(ShippedTs());
    // The texts of the windows, the dialogs and the range-finder link.
    EXPECT_GT(texts.size(), 100);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        const auto found = shipped.constFind(it.key());
        if (found == shipped.cend()) {
            ADD_FAILURE() << "no English for " << Describe(it.key());
            continue;
        }
        EXPECT_TRUE(found->type.isEmpty() && !found->translation.isEmpty())
            << "English unfinished for " << Describe(it.key());
    }
    // Nor does the shipped file keep texts the program no longer has.
    for (auto it = shipped.cbegin(); it != shipped.cend(); ++it)
        EXPECT_TRUE(texts.contains(it.key())) << "stale entry " << Describe(it.key());
}

// What a translation must keep of its source: the arguments (%1, %2) and the
// accelerator (one "&" before a letter when the source has one, none else).
TEST(EnglishTranslation, KeepsArgumentsAndAccelerators) {
    static const QRegularExpression kArgument(QStringLiteral("%\\d"));
    static const QRegularExpression kAccelerator(QStringLiteral("&(?=[^&\\s])"));
    const QMap<MessageKey, Message> shipped = ReadTs(ShippedTs());
    ASSERT_FALSE(shipped.isEmpty());
    for (auto it = shipped.cbegin(); it != shipped.cend(); ++it) {
        const QString& source = std::get<1>(it.key());
        const QString& english = it->translation;
        QStringList sourceArgs;
        QStringList englishArgs;
        for (const auto& m : kArgument.globalMatch(source))
            sourceArgs << m.captured();
        for (const auto& m : kArgument.globalMatch(english))
            englishArgs << m.captured();
        sourceArgs.sort();
        englishArgs.sort();
        EXPECT_EQ(sourceArgs, englishArgs) << Describe(it.key());
        EXPECT_EQ(english.count(kAccelerator), source.count(kAccelerator)) << Describe(it.key());
        EXPECT_FALSE(english.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))))
            << "Chinese left in " << Describe(it.key());
    }
}

} // namespace
