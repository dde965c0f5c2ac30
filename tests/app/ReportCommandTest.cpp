// `tessamar --report OUT.pdf PHOTO...` (run in-process), read back with
// Poppler's tools: a section per photo, the texts of both tables in Chinese,
// the capture date, the picture embedded as the very JPEG the export writes,
// the fonts embedded, long tables flowing onto further pages, the page
// size of the locale, and the computed lengths with what they rest on.

#include "app/CommandLine.h"
#include "common/ExifBlob.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "output/PhotoFileExport.h"
#include "output/PhotoReport.h"
#include "platform/Cp950.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QString Tool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void SetText(char* field, size_t capacity, const char* utf8) {
    const QByteArray bytes = cp950::FromQString(QString::fromUtf8(utf8));
    std::memset(field, 0, capacity);
    std::memcpy(field, bytes.constData(), std::min<size_t>(bytes.size(), capacity - 1));
}

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // A photo of random tiles (so its picture is a real JPEG of some size),
    // with an Exif capture date when `date` is given.
    QString MakePhoto(const char* name, int w, int h, const char* date = nullptr) {
        QImage image(w, h, QImage::Format_RGB32);
        QRandomGenerator random(static_cast<quint32>(w * 7 + h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y,
                               qRgb((x / 8) * 9 % 256, (y / 8) * 13 % 256,
                                    static_cast<int>(random.bounded(64u))));
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 90);
        if (date)
            jpeg = WithExif(jpeg, {date, nullptr, false});
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(WriteWholeFile(path, jpeg));
        return path;
    }

    static void WriteRecords(const QString& photo, const PhotoInfo& info) {
        ASSERT_TRUE(WriteWholeFile(InfoFilePathFor(photo), info.Serialize()));
    }

    static Dimension Dim(COLORREF colour, POINT a, POINT b, const char* value) {
        Dimension d{colour, a, b, "", DefaultLogFont()};
        SetText(d.value, sizeof d.value, value);
        return d;
    }
    static InfoNote Note(const char* title, const char* text) {
        InfoNote n = MakeNewNote(POINT{20, 20}, DefaultLogFont());
        SetText(n.title, sizeof n.title, title);
        SetText(n.text, sizeof n.text, text);
        return n;
    }

    int Report(const QString& out, const QStringList& photos, std::string* err) {
        ::testing::internal::CaptureStderr();
        const int status = RunReport(0, nullptr, out, photos);
        *err = ::testing::internal::GetCapturedStderr();
        return status;
    }

    QString Text(const QString& pdf, int page = 0) {
        QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
        if (page > 0)
            args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                 << QString::number(page);
        args << pdf << QStringLiteral("-");
        return Tool(QStringLiteral("pdftotext"), args);
    }
    int Pages(const QString& pdf) {
        const QString info = Tool(QStringLiteral("pdfinfo"), {pdf});
        for (const QString& line : info.split('\n'))
            if (line.startsWith(QStringLiteral("Pages:")))
                return line.mid(6).trimmed().toInt();
        return -1;
    }

    QTemporaryDir m_dir;
};

TEST_F(ReportCommandTest, TwoPhotosTwoSectionsWithTheirTablesAndPictures) {
    const QString kitchen = MakePhoto("kitchen.jpg", 640, 480, "2024:05:17 09:30:00");
    const QString hall = MakePhoto("hall.jpg", 300, 500);
    PhotoInfo k;
    k.dimensions.push_back(Dim(RGB(255, 0, 0), {10, 10}, {310, 410}, "3.5米"));
    k.dimensions.push_back(Dim(RGB(0, 0, 255), {100, 50}, {100, 250}, "120"));
    k.notes.push_back(Note("窗戶", "離地面九十公分"));
    WriteRecords(kitchen, k);
    PhotoInfo h;
    h.notes.push_back(Note("門", "Door opens inward"));
    WriteRecords(hall, h);

    const QString out = m_dir.filePath("report.pdf");
    std::string err;
    ASSERT_EQ(Report(out, {kitchen, hall}, &err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;

    // The first section fills page 1; the second starts page 2 (its tall
    // picture under its header) and goes on.
    ASSERT_GE(Pages(out), 2);
    const QString first = Text(out, 1), second = Text(out, 2) + Text(out, 3);
    EXPECT_FALSE(first.contains(QStringLiteral("hall.jpg"))) << first.toStdString();
    EXPECT_TRUE(Text(out, 2).contains(QStringLiteral("hall.jpg")));
    for (const char* expected :
         {"kitchen.jpg", "拍攝日期：2024-05-17 09:30:00", "編號", "長度（像素）", "3.5米", "500.0",
          "200.0", "窗戶", "離地面九十公分"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << first.toStdString();
    const QString today =
        QString::fromUtf8("報告日期：") + QDate::currentDate().toString(Qt::ISODate);
    EXPECT_TRUE(first.contains(today)) << first.toStdString();
    for (const char* expected : {"hall.jpg", "門", "Door opens inward", "（無）"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                  << second.toStdString();
    EXPECT_FALSE(second.contains(QString::fromUtf8("拍攝日期"))) << "hall.jpg has no Exif date";

    // The pictures: full size, JPEG, and byte for byte what the export writes.
    const QString list = Tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), out});
    const QStringList rows = list.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(rows.size(), 2) << list.toStdString();
    const QStringList k1 = rows[0].simplified().split(' '), h1 = rows[1].simplified().split(' ');
    EXPECT_EQ(k1.mid(3, 2), (QStringList{"640", "480"})) << list.toStdString();
    EXPECT_EQ(k1.value(8), "jpeg");
    EXPECT_EQ(h1.mid(3, 2), (QStringList{"300", "500"})) << list.toStdString();
    const QString root = m_dir.filePath("img");
    Tool(QStringLiteral("pdfimages"), {QStringLiteral("-j"), out, root});
    for (const auto& [photo, extracted] :
         {std::pair{kitchen, root + "-000.jpg"}, std::pair{hall, root + "-001.jpg"}}) {
        const QString exported = photo + ".export.jpg";
        ASSERT_TRUE(ExportPhotoFile(photo, exported).Succeeded());
        EXPECT_EQ(ReadWholeFile(extracted), ReadWholeFile(exported)) << photo.toStdString();
    }

    // Every font embedded; the Chinese in the interface's Ming face.
    const QString fonts = Tool(QStringLiteral("pdffonts"), {out});
    EXPECT_TRUE(fonts.contains(QStringLiteral("UMing"))) << fonts.toStdString();
    for (const QString& row : fonts.split('\n', Qt::SkipEmptyParts).mid(2))
        EXPECT_EQ(row.simplified().split(' ').value(row.simplified().split(' ').size() - 5), "yes")
            << row.toStdString();
}

TEST_F(ReportCommandTest, LongTablesFlowOntoFurtherPages) {
    const QString photo = MakePhoto("long.jpg", 400, 300);
    PhotoInfo info;
    for (int i = 0; i < 80; ++i)
        info.dimensions.push_back(Dim(RGB(0, 128, 0), {0, 0}, {3 * i, 4 * i}, "1"));
    for (int i = 0; i < 40; ++i)
        info.notes.push_back(Note("標題", QStringLiteral("第%1條：牆到窗戶的距離再量一次，確認")
                                              .arg(i + 1)
                                              .toUtf8()
                                              .constData()));
    WriteRecords(photo, info);
    const QString out = m_dir.filePath("long.pdf");
    std::string err;
    ASSERT_EQ(Report(out, {photo}, &err), 0) << err;
    const int pages = Pages(out);
    EXPECT_GE(pages, 3);
    const QString all = Text(out);
    // 5 × 79 = 395 pixels: the last dimension's length; the last note's text.
    EXPECT_TRUE(all.contains(QStringLiteral("395.0"))) << all.toStdString();
    EXPECT_TRUE(Text(out, pages).contains(QString::fromUtf8("第40條")))
        << "the last note ends the report";
    // The table's headings start every page it flows onto.
    for (int page = 2; page <= pages; ++page)
        EXPECT_TRUE(Text(out, page).contains(QString::fromUtf8("編號"))) << page;
}

struct PageCase {
    const char* locale;
    const char* size; // as pdfinfo names it
};
void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.locale;
}
class ReportPageSize : public ReportCommandTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(ReportPageSize, FollowsTheLocale) {
    QLocale::setDefault(QLocale(QString::fromUtf8(GetParam().locale)));
    const QString photo = MakePhoto("p.jpg", 200, 100);
    const QString out = m_dir.filePath("p.pdf");
    std::string err;
    ASSERT_EQ(Report(out, {photo}, &err), 0) << err;
    const QString info = Tool(QStringLiteral("pdfinfo"), {out});
    EXPECT_TRUE(info.contains(QString::fromUtf8(GetParam().size))) << info.toStdString();
}
INSTANTIATE_TEST_SUITE_P(Locales, ReportPageSize,
                         ::testing::Values(PageCase{"zh_TW", "(A4)"}, PageCase{"de_DE", "(A4)"},
                                           PageCase{"en_US", "(letter)"},
                                           PageCase{"en_GB", "(A4)"}));

TEST_F(ReportCommandTest, APhotoThatCannotBeReadWritesNothing) {
    const QString good = MakePhoto("good.jpg", 64, 64);
    const QString out = m_dir.filePath("r.pdf");
    std::string err;
    EXPECT_EQ(Report(out, {good, m_dir.filePath("missing.jpg")}, &err), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("cannot read the photo"), std::string::npos) << err;
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(ReportCommandTest, NeverOverItsOwnPhoto) {
    const QString photo = MakePhoto("self.jpg", 64, 64);
    const QByteArray before = ReadWholeFile(photo);
    std::string err;
    EXPECT_EQ(Report(photo, {photo}, &err), 1);
    EXPECT_EQ(ReadWholeFile(photo), before);
}

// The value column shows what the picture's labels show (the typed value,
// else the length computed through the reference), and the line under the
// picture names what those lengths rest on.
struct ReferenceCase {
    const char* name;
    const char* sample;     // a photo of samples/ with its records, or none
    PhotoInfo (*records)(); // else a made photo with these records
    std::vector<const char*> shown;
    std::vector<const char*> absent;
};
void PrintTo(const ReferenceCase& c, std::ostream* os) {
    *os << c.name;
}
class ReportReference : public ReportCommandTest,
                        public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(ReportReference, ValuesAsDrawnAndTheReferenceUnderThePicture) {
    const ReferenceCase& c = GetParam();
    QString photo;
    if (c.sample) {
        const QString name = QString::fromUtf8(c.sample);
        photo = m_dir.filePath(name + ".jpg");
        ASSERT_TRUE(QFile::copy(SourcePath("samples/" + name + ".jpg"), photo));
        ASSERT_TRUE(
            QFile::copy(SourcePath("samples/" + name + ".dat"), m_dir.filePath(name + ".dat")));
    } else {
        photo = MakePhoto("made.jpg", 400, 300);
        WriteRecords(photo, c.records());
    }
    const QString out = m_dir.filePath("r.pdf");
    std::string err;
    ASSERT_EQ(Report(out, {photo}, &err), 0) << err;
    const QString text = Text(out);
    for (const char* expected : c.shown)
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    for (const char* other : c.absent)
        EXPECT_FALSE(text.contains(QString::fromUtf8(other))) << other;
    // The reference's line comes before the table of dimensions.
    EXPECT_LT(text.indexOf(QString::fromUtf8(c.shown.back())),
              text.indexOf(QString::fromUtf8("編號")));
}
INSTANTIATE_TEST_SUITE_P(
    References, ReportReference,
    ::testing::Values(
        // The sample's three lines through the door's plane, as drawn.
        ReferenceCase{"Plane",
                      "door-wall",
                      nullptr,
                      {"≈1501 ±25", "≈1201 ±14", "≈5003 ±53", "參考平面：900 × 2100 mm"},
                      {}},
        // 250 px at 10 mm a pixel; ±1 px at each of the 8 clicked coordinates:
        // sqrt(2 × 10² + 2 × 25²) = 38.1, shown as 39. A typed value wins.
        ReferenceCase{"Length",
                      nullptr,
                      [] {
                          PhotoInfo info;
                          info.dimensions = {MakeDimension({10, 10}, {110, 10}, "1000"),
                                             MakeDimension({10, 20}, {10, 270}),
                                             MakeDimension({200, 20}, {200, 120}, "3.5米")};
                          info.reference.dimension = 0;
                          return info;
                      },
                      {"≈2500 ±39", "3.5米", "參考長度：第 1 條尺寸，1000 mm"},
                      {"≈1000"}},
        ReferenceCase{"None",
                      nullptr,
                      [] {
                          PhotoInfo info;
                          info.dimensions = {MakeDimension({10, 20}, {10, 270})};
                          return info;
                      },
                      {"參考：無"},
                      {"≈"}}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
