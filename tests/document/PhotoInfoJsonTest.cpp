#include "document/PhotoInfoJson.h"
#include "platform/Cp950.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(PhotoInfoJsonTest, EscapesWhatJsonCannotHoldLiterally) {
    EXPECT_EQ(JsonString(QString::fromUtf8("a\"b\\c\nd\te\x01")),
              QByteArray("\"a\\\"b\\\\c\\nd\\te\\u0001\""));
    EXPECT_EQ(JsonString(QString::fromUtf8("新信息")), QByteArray("\"新信息\""));
}

TEST(PhotoInfoJsonTest, IsValidJsonWithTheRecordsInOrder) {
    PhotoInfo info;
    Dimension dim;
    dim.colour = RGB(0xAB, 0x01, 0xFF);
    dim.start = {1, 2};
    dim.end = {3, 4};
    dim.font = DefaultLogFont();
    // Bytes without a CP950 meaning must not break the JSON.
    std::memcpy(dim.value, "12\xFF\x22\xA4", 6);
    info.dimensions.push_back(dim);
    info.notes.push_back(MakeNewNote({5, 6}, DefaultLogFont()));

    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(PhotoInfoToJson(info), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonObject d = doc["dimensions"][0].toObject();
    EXPECT_EQ(d["colour"].toString(), QStringLiteral("#ab01ff"));
    EXPECT_EQ(d["end"][1].toInt(), 4);
    EXPECT_TRUE(d["value"].toString().startsWith(QStringLiteral("12")))
        << d["value"].toString().toStdString();
    EXPECT_EQ(d["font"]["height"].toInt(), -13);
    EXPECT_EQ(d["font"]["faceName"].toString(), QStringLiteral("Arial"));
    const QJsonObject n = doc["notes"][0].toObject();
    EXPECT_EQ(n["title"].toString(), QString::fromUtf8("新信息"));
    EXPECT_EQ(n["anchor"][0].toInt(), 5);
    EXPECT_EQ(n["text"].toString(), QString());
    EXPECT_EQ(PhotoInfoToJson(PhotoInfo()), QByteArray("{\"dimensions\":[],\"notes\":[]}"));
}

} // namespace
