// The PDF report read back with Poppler's tools.

#include "common/ExifBlob.h"
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "output/ReportSections.h"
#include "platform/Cp950.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

QString Tool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the report's page `page`, all pages for 0.
QString Text(const QString& pdf, int page = 0) {
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return Tool(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

class Report : public ::testing::Test {
protected:
    // A photo (a JPEG written here, with an Exif capture date when given) with its records.
    QString Photo(const char* name, int w, int h, const PhotoInfo& info,
                  const char* date = nullptr) {
        const QString path = WriteJpeg(dir, name, w, h, Qt::darkCyan);
        EXPECT_TRUE(!date || WriteWholeFile(path, WithExif(ReadWholeFile(path), {date})));
        EXPECT_TRUE(WriteWholeFile(InfoFilePathFor(path), info.Serialize()));
        return path;
    }
    // The report of `photos`; its page count.
    int Write(const QStringList& photos) {
        ReportFile report(out);
        for (const QString& photo : photos) {
            PhotoFileExport result;
            EXPECT_TRUE(report.AddFile(photo, &result)) << result.detail.toStdString();
        }
        QString error;
        EXPECT_TRUE(report.Write(&error)) << error.toStdString();
        info = Tool(QStringLiteral("pdfinfo"), {out});
        return info.section(QStringLiteral("Pages:"), 1).section('\n', 0, 0).trimmed().toInt();
    }
    static void ExpectIn(const QString& text, const std::vector<const char*>& shown,
                         const std::vector<const char*>& absent = {}) {
        for (const char* s : shown)
            EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
        for (const char* s : absent)
            EXPECT_FALSE(text.contains(QString::fromUtf8(s))) << s;
    }
    QTemporaryDir dir;
    QString out = dir.filePath(QStringLiteral("report.pdf"));
    QString info; // pdfinfo's
};

// A section per photo: its header, its picture byte for byte as the export
// writes it; the value column shows what the labels show (the typed value,
// else the length computed through the reference) and the line under the
// picture, before the tables, names what those lengths rest on.
TEST_F(Report, ASectionPerPhotoWithItsPictureAndValuesAsExported) {
    PhotoInfo k;
    k.dimensions = {MakeDimension({10, 10}, {110, 10}, "1000"), MakeDimension({10, 20}, {10, 270}),
                    MakeDimension({200, 20}, {200, 120}, "3.5米", RGB(255, 0, 0))};
    k.reference.dimension = 0;
    k.notes = {MakeTitledNote({20, 20}, "窗戶", "離地面九十公分")};
    const QString kitchen = Photo("kitchen.jpg", 640, 480, k, "2024:05:17 09:30:00");
    PhotoInfo h;
    h.notes = {MakeTitledNote({20, 20}, "門", "Door opens inward")};
    const QString hall = Photo("hall.jpg", 300, 500, h);
    for (const char* name : {"door-wall.jpg", "door-wall.dat"})
        ASSERT_TRUE(QFile::copy(SourcePath(QStringLiteral("samples/") + name), dir.filePath(name)));
    ASSERT_GE(Write({kitchen, hall, dir.filePath("door-wall.jpg")}), 3);
    // 250 px at 10 mm a pixel, ±1 px at each of the 8 clicked coordinates:
    // sqrt(2 × 10² + 2 × 25²) = 38.1, shown as 39. A typed value wins.
    const QString first = Text(out, 1);
    ExpectIn(first,
             {"kitchen.jpg", "拍攝日期：2024-05-17 09:30:00", "編號", "長度（像素）", "≈2500 ±39",
              "3.5米", "100.0", "參考長度：第 1 條尺寸，1000 mm"},
             {"hall.jpg", "≈1000"});
    ExpectIn(Text(out).section(QStringLiteral("hall.jpg"), 0, 0), {"窗戶", "離地面九十公分"});
    EXPECT_TRUE(first.contains(QString::fromUtf8("報告日期：") +
                               QDate::currentDate().toString(Qt::ISODate)));
    EXPECT_LT(first.indexOf(QString::fromUtf8("參考長度")),
              first.indexOf(QString::fromUtf8("編號")));
    const QString rest = Text(out).mid(Text(out).indexOf(QStringLiteral("hall.jpg")));
    ExpectIn(rest,
             {"門", "Door opens inward", "（無）", "參考：無", "door-wall.jpg", "≈1501 ±25",
              "≈1201 ±14", "≈5003 ±53", "參考平面：900 × 2100 mm"},
             {"拍攝日期"});

    // The pictures are byte for byte what the export writes.
    const QString root = dir.filePath(QStringLiteral("img"));
    Tool(QStringLiteral("pdfimages"), {QStringLiteral("-j"), out, root});
    for (const auto& [photo, extracted] : {std::pair{kitchen, "-000.jpg"}, {hall, "-001.jpg"}}) {
        ASSERT_TRUE(ExportPhotoFile(photo, photo + ".out.jpg").Succeeded());
        EXPECT_EQ(ReadWholeFile(root + extracted), ReadWholeFile(photo + ".out.jpg"));
    }
    // Every font embedded (pdffonts's "emb" column); the text in Noto Sans CJK.
    const QString fonts = Tool(QStringLiteral("pdffonts"), {out});
    EXPECT_TRUE(fonts.contains(QStringLiteral("NotoSansCJKtc")) && !fonts.contains("UMing") &&
                !fonts.contains(QRegularExpression(" no +(yes|no) +(yes|no) +\\d+ +\\d+\n")))
        << fonts.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
}

// A wall measured through a plane facing the camera at 10 mm a pixel (so
// every figure is known by hand): its gross, opening, net and perimeter;
// the same name on a second photo adds up in the totals, an unnamed area
// and the opening do not.
TEST_F(Report, AreaAndAngleTablesAndTheTotalNetAreaByName) {
    auto area = [](std::vector<POINT> corners, const char* name, bool opening = false) {
        AreaRecord a;
        a.corners = std::move(corners);
        a.name = cp950::FromQString(QString::fromUtf8(name)).toStdString();
        a.opening = opening;
        return a;
    };
    PhotoInfo wall;
    wall.reference.hasPlane = true;
    wall.reference.plane = {{{10, 10}, {100, 10}, {100, 220}, {10, 220}}, 900, 2100};
    wall.areas = {area({{0, 0}, {300, 0}, {300, 250}, {0, 250}}, "客廳北牆"),
                  area({{150, 50}, {270, 50}, {270, 170}, {150, 170}}, "窗", true)};
    wall.angles = {AngleRecord{0, {10, 10}, {10, 220}, {100, 220}, {}}};
    PhotoInfo other = wall;
    other.areas = {area({{0, 0}, {300, 0}, {300, 250}, {0, 250}}, "客廳北牆"),
                   area({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, "")};
    ReportFile report(out);
    QString error;
    const QImage photo = Solid(320, 260, Qt::darkCyan);
    for (const auto& [name, info] : {std::pair{"a.jpg", &wall}, {"b.jpg", &other}})
        ASSERT_TRUE(report.AddPicture(WriteJpeg(dir, name, 320, 260), photo, *info, &error))
            << error.toStdString();
    ASSERT_TRUE(report.Write(&error)) << error.toStdString();
    const QString text = Text(out);
    const QString first = text.section(QStringLiteral("b.jpg"), 0, 0);
    // 3000 × 2500 mm less 1200 × 1200 mm; 2 × (3 + 2.5) m around; a right angle.
    ExpectIn(first, {"面積", "客廳北牆", "7.50", "1.44", "6.06", "11.00", "是", "角度", "90.0",
                     "參考平面"});
    const QString totals = text.section(QString::fromUtf8("總面積"), 1);
    ExpectIn(totals, {"客廳北牆", "13.56", "開口、未命名及無數值的面積不計入總面積。"},
             {"未命名）", "窗"});
}

TEST_F(Report, LongTablesFlowOntoPagesThatStartWithTheirHeadings) {
    PhotoInfo info;
    for (int i = 0; i < 80; ++i)
        info.dimensions.push_back(MakeDimension({0, 0}, {3 * i, 4 * i}, "1"));
    for (int i = 0; i < 40; ++i)
        info.notes.push_back(
            MakeTitledNote({0, 0}, "標題", QStringLiteral("第%1條：牆到窗戶的距離").arg(i + 1)));
    const int pages = Write({Photo("long.jpg", 400, 300, info)});
    ASSERT_GE(pages, 3);
    EXPECT_TRUE(Text(out).contains(QStringLiteral("395.0"))); // 5 × 79, the last length
    EXPECT_TRUE(Text(out, pages).contains(QString::fromUtf8("第40條")));
    for (int page = 2; page <= pages; ++page)
        EXPECT_TRUE(Text(out, page).contains(QString::fromUtf8("編號"))) << page;
}

// The headings speak the interface's language, the records stay as typed;
// the page is the locale's (A4, or Letter where it measures in the US way).
TEST_F(Report, HeadingsSpeakTheInterfacesLanguageOnTheLocalesPage) {
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/i18n/tessamar_en.qm")));
    QCoreApplication::installTranslator(&english);
    PhotoInfo records;
    records.notes = {MakeTitledNote({20, 20}, "窗戶", "向內開")};
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    Write({Photo("room.jpg", 200, 100, records)});
    QLocale::setDefault(QLocale::c());
    QCoreApplication::removeTranslator(&english);
    EXPECT_TRUE(info.contains(QStringLiteral("(letter)"))) << info.toStdString();
    ExpectIn(Text(out),
             {"Dimensions", "Notes", "Report date:", "Reference: none", "窗戶", "向內開"},
             {"報告日期", "信息標注"});
}

} // namespace
