// kestramo-solve's template files read back by programs this project did not write: the DXF by
// ezdxf, the SVG by rsvg-convert and Qt's XML reader, the PDF by poppler's pdfinfo, pdftotext
// and pdftoppm; and the template in the JSON, whose fields scripts outside this repository read.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>
#include <map>
#include <set>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun Program(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(60000)) return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
ProgramRun Solve(const QStringList& arguments) {
    return Program(QStringLiteral(KESTRAMO_SOLVE_PATH), arguments);
}
QString Readings(const char* name) {
    return QStringLiteral(KESTRAMO_READINGS_TEST_DIR "/") + QLatin1String(name);
}
QJsonObject JsonOf(const QByteArray& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.left(500).toStdString();
    return document.object();
}

// The worked example with its two later readings, and a wall leaning back 12 degrees.
struct Wall {
    const char* name;
    QStringList arguments;
};
const Wall kWalls[] = {
    {"worked", {QStringLiteral("--shadow-edge=middle"), Readings("worked_example.csv")}},
    {"leaning",
     {QStringLiteral("--shadow-edge=middle"), QStringLiteral("--lean=12"),
      QStringLiteral("--lean-error=3"), Readings("leaning_wall.csv")}},
};

// Runs kestramo-solve with --dial --json, writing FILE, and returns the JSON's template.
QJsonObject WriteTemplate(const Wall& wall, const QString& file, const QStringList& more = {}) {
    const ProgramRun run = Solve(QStringList{QStringLiteral("--dial"), QStringLiteral("--json"),
                                             QStringLiteral("--dial-template"), file} +
                                 more + wall.arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    return JsonOf(run.out)[QStringLiteral("dial")][QStringLiteral("template")].toObject();
}

double Gap(const QJsonArray& a, const QJsonArray& b) {
    return std::hypot(a[0].toDouble() - b[0].toDouble(), a[1].toDouble() - b[1].toDouble());
}

// The JSON's template has exactly the fields scripts read, in millimetres from the root: straight
// lines of two points from the root, labels "HH:MM", the gnomon's right triangle with the nodus
// at nodus_height, the style's length its hypotenuse.
TEST(TemplateFiles, JsonTemplateHasThePinnedFields) {
    QTemporaryDir dir;
    for (const Wall& wall : kWalls) {
        SCOPED_TRACE(wall.name);
        const QJsonObject t = WriteTemplate(wall, dir.filePath(QStringLiteral("t.svg")),
                                            {QStringLiteral("--nodus-height=80")});
        EXPECT_EQ(t.keys(), (QStringList{"date_lines", "gnomon", "hour_lines", "hours",
                                         "nodus_height", "style_length"}));
        EXPECT_EQ(t[QStringLiteral("nodus_height")].toDouble(), 80);
        EXPECT_EQ(t[QStringLiteral("hours")].toString(), QStringLiteral("apparent"));
        const QJsonArray g = t[QStringLiteral("gnomon")][QStringLiteral("points")].toArray();
        ASSERT_EQ(g.size(), 3);
        EXPECT_EQ(g[0].toArray(), (QJsonArray{0, 0}));
        EXPECT_EQ(g[1][1].toDouble(), 0);
        EXPECT_EQ(g[2][0].toDouble(), g[1][0].toDouble());
        EXPECT_NEAR(g[2][1].toDouble(), 80, 1e-3);
        EXPECT_NEAR(t[QStringLiteral("style_length")].toDouble(),
                    std::hypot(g[2][0].toDouble(), 80), 2e-3);
        const QJsonArray hours = t[QStringLiteral("hour_lines")].toArray();
        ASSERT_GT(hours.size(), 10);
        for (const QJsonValue& line : hours) {
            EXPECT_EQ(line.toObject().keys(), (QStringList{"hour_angle", "label", "points"}));
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-2][0-9]:[0-5][0-9]$"))
                            .match(line[QStringLiteral("label")].toString())
                            .hasMatch());
            const QJsonArray points = line[QStringLiteral("points")].toArray();
            ASSERT_EQ(points.size(), 2);
            // The worked wall's root is on its plate: every line starts there.
            if (std::string(wall.name) == "worked") {
                EXPECT_LT(Gap(points[0].toArray(), QJsonArray{0, 0}), 1e-3);
            }
        }
        for (const QJsonValue& line : t[QStringLiteral("date_lines")].toArray()) {
            EXPECT_EQ(line.toObject().keys(), (QStringList{"declination", "points"}));
            EXPECT_GT(line[QStringLiteral("points")].toArray().size(), 2);
        }
    }
    // Mean time: one curve a whole hour, its hour angle null, labelled by the clock.
    const QJsonObject mean =
        WriteTemplate(kWalls[0], dir.filePath(QStringLiteral("m.dxf")),
                      {QStringLiteral("--hours=mean"), QStringLiteral("--minutes=60")});
    EXPECT_EQ(mean[QStringLiteral("hours")].toString(), QStringLiteral("mean"));
    const QJsonArray curves = mean[QStringLiteral("hour_lines")].toArray();
    ASSERT_GT(curves.size(), 8);
    for (const QJsonValue& curve : curves) {
        EXPECT_TRUE(curve[QStringLiteral("hour_angle")].isNull());
        EXPECT_TRUE(curve[QStringLiteral("label")].toString().endsWith(QStringLiteral(":00")));
        EXPECT_GT(curve[QStringLiteral("points")].toArray().size(), 20);
    }
}

// ezdxf reads the DXF as release 12 in millimetres with the seven layers, and finds every
// straight hour line of the JSON as a LINE and every date line as a POLYLINE, at the same
// coordinates; the gnomon is a closed triangle of the JSON's sides.
TEST(TemplateFiles, DxfReadByEzdxfCarriesTheJsonsLines) {
    QTemporaryDir dir;
    for (const Wall& wall : kWalls) {
        SCOPED_TRACE(wall.name);
        const QString file = dir.filePath(QStringLiteral("t.dxf"));
        const QJsonObject t = WriteTemplate(wall, file, {QStringLiteral("--date-lines=signs")});
        const ProgramRun read =
            Program(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(KESTRAMO_DIAL_FILES_TEST_DIR "/read_dxf.py"), file});
        ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
        const QJsonObject dxf = JsonOf(read.out);
        EXPECT_EQ(dxf[QStringLiteral("acadver")].toString(), QStringLiteral("AC1009"));
        EXPECT_EQ(dxf[QStringLiteral("insunits")].toInt(), 4);
        for (const char* layer : {"PLATE", "HOURS", "DATES", "ERRORS", "STYLE", "GNOMON", "TEXT"}) {
            EXPECT_TRUE(dxf[QStringLiteral("layers")].toArray().contains(QLatin1String(layer)))
                << layer;
        }
        std::map<QString, QJsonArray> byLayer;
        for (const QJsonValue& e : dxf[QStringLiteral("lines")].toArray()) {
            byLayer[e[QStringLiteral("layer")].toString()].append(e);
        }
        const QJsonArray dxfHours = byLayer[QStringLiteral("HOURS")];
        const QJsonArray hours = t[QStringLiteral("hour_lines")].toArray();
        EXPECT_EQ(dxfHours.size(), hours.size());
        for (const QJsonValue& line : hours) {
            const QJsonArray p = line[QStringLiteral("points")].toArray();
            bool found = false;
            for (const QJsonValue& e : dxfHours) {
                const QJsonArray q = e[QStringLiteral("points")].toArray();
                found = found || (Gap(p[0].toArray(), q[0].toArray()) < 1e-3 &&
                                  Gap(p[1].toArray(), q[1].toArray()) < 1e-3);
            }
            EXPECT_TRUE(found) << line[QStringLiteral("label")].toString().toStdString();
        }
        EXPECT_EQ(byLayer[QStringLiteral("ERRORS")].size(), 2 * hours.size());
        QJsonArray dates, gnomons;
        for (const QJsonValue& e : dxf[QStringLiteral("polylines")].toArray()) {
            const QString layer = e[QStringLiteral("layer")].toString();
            if (layer == u"DATES") dates.append(e);
            if (layer == u"GNOMON") gnomons.append(e);
        }
        const QJsonArray jsonDates = t[QStringLiteral("date_lines")].toArray();
        ASSERT_EQ(dates.size(), jsonDates.size());
        for (qsizetype i = 0; i < dates.size(); ++i) {
            const QJsonArray a = dates[i][QStringLiteral("points")].toArray();
            const QJsonArray b = jsonDates[i][QStringLiteral("points")].toArray();
            ASSERT_EQ(a.size(), b.size());
            EXPECT_LT(Gap(a.first().toArray(), b.first().toArray()), 1e-3);
            EXPECT_LT(Gap(a.last().toArray(), b.last().toArray()), 1e-3);
        }
        ASSERT_EQ(gnomons.size(), 1);
        EXPECT_TRUE(gnomons[0][QStringLiteral("closed")].toBool());
        const QJsonArray cut = gnomons[0][QStringLiteral("points")].toArray();
        const QJsonArray g = t[QStringLiteral("gnomon")][QStringLiteral("points")].toArray();
        ASSERT_EQ(cut.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(Gap(cut[i].toArray(), cut[(i + 1) % 3].toArray()),
                        Gap(g[i].toArray(), g[(i + 1) % 3].toArray()), 1e-3);
        }
    }
}

// The size a PNG says it is, from its header.
std::pair<int, int> PngSize(const QString& file) {
    QFile png(file);
    if (!png.open(QIODevice::ReadOnly)) return {0, 0};
    const QByteArray head = png.read(24);
    const auto word = [&](int at) {
        return (uchar(head[at]) << 24) | (uchar(head[at + 1]) << 16) | (uchar(head[at + 2]) << 8) |
               uchar(head[at + 3]);
    };
    return {word(16), word(20)};
}

// rsvg-convert renders the SVG at its size in millimetres; Qt's XML reader finds as many lines in
// its HOURS, DATES and ERRORS groups as the DXF has on those layers.
TEST(TemplateFiles, SvgRendersAtItsSizeInMillimetresWithTheDxfsLines) {
    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("t.svg"));
    const QString dxf = dir.filePath(QStringLiteral("t.dxf"));
    WriteTemplate(kWalls[1], svg, {QStringLiteral("--date-lines=signs")});
    WriteTemplate(kWalls[1], dxf, {QStringLiteral("--date-lines=signs")});
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString group;
    std::map<QString, int> counts;
    double width = 0, height = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = xml.attributes();
        if (xml.name() == u"svg") {
            ASSERT_TRUE(attributes.value(QStringLiteral("width")).endsWith(u"mm"));
            width = attributes.value(QStringLiteral("width")).chopped(2).toDouble();
            height = attributes.value(QStringLiteral("height")).chopped(2).toDouble();
            EXPECT_EQ(attributes.value(QStringLiteral("viewBox")).toString(),
                      QStringLiteral("0 0 %1 %2")
                          .arg(attributes.value(QStringLiteral("width")).chopped(2),
                               attributes.value(QStringLiteral("height")).chopped(2)));
        } else if (xml.name() == u"g" && attributes.hasAttribute(QStringLiteral("id"))) {
            group = attributes.value(QStringLiteral("id")).toString();
        } else if (xml.name() == u"polyline" || xml.name() == u"polygon") {
            ++counts[group];
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const QJsonObject read =
        JsonOf(Program(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(KESTRAMO_DIAL_FILES_TEST_DIR "/read_dxf.py"), dxf})
                   .out);
    std::map<QString, int> dxfCounts;
    for (const char* kind : {"lines", "polylines"}) {
        for (const QJsonValue& e : read[QLatin1String(kind)].toArray()) {
            ++dxfCounts[e[QStringLiteral("layer")].toString()];
        }
    }
    for (const char* layer : {"HOURS", "DATES", "ERRORS", "GNOMON"}) {
        EXPECT_EQ(counts[QLatin1String(layer)], dxfCounts[QLatin1String(layer)]) << layer;
        EXPECT_GT(counts[QLatin1String(layer)], 0) << layer;
    }
    // At 25.4 dots an inch a pixel is a millimetre.
    const QString png = dir.filePath(QStringLiteral("t.png"));
    const ProgramRun render =
        Program(QStringLiteral("rsvg-convert"),
                {QStringLiteral("-d"), QStringLiteral("25.4"), QStringLiteral("-p"),
                 QStringLiteral("25.4"), svg, QStringLiteral("-o"), png});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    const auto [pixelsWide, pixelsHigh] = PngSize(png);
    EXPECT_NEAR(pixelsWide, width, 1);
    EXPECT_NEAR(pixelsHigh, height, 1);
}

// A greyscale PGM (P5) image.
struct Grey {
    int width = 0, height = 0;
    QByteArray pixels;
    bool Dark(int x, int y) const { return uchar(pixels[qsizetype(y) * width + x]) < 128; }
};
Grey ReadPgm(const QByteArray& pgm) {
    const QList<QByteArray> head = pgm.left(40).simplified().split(' ');
    Grey image{head[1].toInt(), head[2].toInt(), {}};
    image.pixels = pgm.right(qsizetype(image.width) * image.height);
    return image;
}

// The scale bar as a person measures it, in pixels: from the middle of its first tick to the
// middle of its last. The bar is the longest dark run of the rows given; its ticks cross the
// row a few pixels above it.
double ScaleBarLength(const Grey& image, int fromRow, int toRow) {
    int barRow = -1, barStart = 0, barEnd = 0;
    for (int y = std::max(0, fromRow); y < std::min(image.height, toRow); ++y) {
        for (int x = 0, start = 0; x <= image.width; ++x) {
            if (x < image.width && image.Dark(x, y)) continue;
            if (x - start > barEnd - barStart) {
                barRow = y;
                barStart = start;
                barEnd = x;
            }
            start = x + 1;
        }
    }
    if (barRow < 0) return 0;
    const int y = barRow - 8;  // 0.8 mm above the bar, across the ticks
    std::vector<double> ticks;
    for (int x = barStart - 10, start = -1; x <= barEnd + 10; ++x) {
        const bool dark = x < image.width && image.Dark(x, y);
        if (dark && start < 0) start = x;
        if (!dark && start >= 0) {
            ticks.push_back((start + x - 1) / 2.0);
            start = -1;
        }
    }
    return ticks.size() < 2 ? 0 : ticks.back() - ticks.front();
}

// The PDF on A4: each sheet 595 x 842 points, as many as the plate and the gnomon need, each
// named by its row and column; the scale bar at a sheet's foot is 100 mm, 283.46 points, as
// poppler renders it.
TEST(TemplateFiles, PdfSheetsAreA4AndTheirScaleBarIs100Millimetres) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("t.pdf"));
    WriteTemplate(kWalls[0], pdf,
                  {QStringLiteral("--paper=A4"), QStringLiteral("--plate=600x400"),
                   QStringLiteral("--root=300,20")});
    const ProgramRun info = Program(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains("595 x 842 pts (A4)")) << info.out.toStdString();
    // 600 x 400 mm on 186 x 273 mm printed areas that overlap by 10: landscape 273 x 186 takes 3
    // columns and 3 rows, portrait 4 columns and 2 rows; the gnomon and key one more.
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.out));
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_EQ(pages.captured(1).toInt(), 9);
    const ProgramRun text = Program(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("plate: row 2, column 4 (of 2 rows, 4 columns)"))
        << text.out.left(2000).toStdString();
    EXPECT_TRUE(text.out.contains("Declination from south, west positive"));
    EXPECT_TRUE(text.out.contains("100 mm"));
    for (const char* page : {"1", "9"}) {
        const ProgramRun render =
            Program(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
                     QStringLiteral("-f"), QLatin1String(page), QStringLiteral("-l"),
                     QLatin1String(page), pdf});
        ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
        // 10 pixels a millimetre; the bar lies in the sheet's bottom margin, 12 mm tall.
        const double bar = ScaleBarLength(ReadPgm(render.out), (297 - 12) * 10, 297 * 10);
        EXPECT_NEAR(bar * 72.0 / 254, 283.46, 0.3)
            << "measured " << bar * 72.0 / 254 << " on page " << page;
    }
}

// No decided wall, no file (status 1); a file that cannot be written or whose name has another
// extension, status 2 naming it, nothing on standard output and no file left behind.
TEST(TemplateFiles, NoFileUnlessWholeAndForADecidedWall) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QString file;
        QStringList readings;
        int status;
    };
    const QString blocked = dir.filePath(QStringLiteral("not_a_folder"));
    QFile block(blocked);
    ASSERT_TRUE(block.open(QIODevice::WriteOnly));
    block.close();
    const Case cases[] = {
        {"undecided",
         dir.filePath(QStringLiteral("u.svg")),
         {QStringLiteral("--date=2003-09-03"), QStringLiteral("--time=11:00"),
          QStringLiteral("--utc-offset=-5"), QStringLiteral("--daylight=yes"),
          QStringLiteral("--latitude=40.655"), QStringLiteral("--longitude=-72.855"),
          QStringLiteral("--height=10"), QStringLiteral("--length=25")},
         1},
        {"extension", dir.filePath(QStringLiteral("t.png")), {Readings("worked_example.csv")}, 2},
        {"unwritable", blocked + QStringLiteral("/t.pdf"), {Readings("worked_example.csv")}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run =
            Solve(QStringList{QStringLiteral("--dial-template"), c.file} + c.readings);
        EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.file.toUtf8())) << run.err.toStdString();
        if (c.status == 2) {
            EXPECT_TRUE(run.out.isEmpty());
        }
        EXPECT_FALSE(QFile::exists(c.file));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("not_a_folder")});
}

}  // namespace
