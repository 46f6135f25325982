// The readings file: written and read back, damaged lines named, foreign files refused, edited
// answers caught.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "readings/readings_csv.h"
#include "synthetic_kinds.h"

namespace {

namespace kr = kestramo::readings;
namespace ks = kestramo::series;

const kr::Tolerances kDefaults{};

// The file of readings as a session saves it, with what the series made of them.
QByteArray Written(const std::vector<ks::Reading>& readings, const kr::Tolerances& tolerances,
                   const std::vector<ks::Inclusion>& inclusion = {}) {
    return kr::WriteReadingsCsv(readings, inclusion,
                                ks::SolveSeries(readings, tolerances, inclusion), tolerances,
                                kr::CsvContent::WithSeries);
}
const QByteArray kHeader = "date,time,utc_offset,daylight,latitude,longitude,height,length\n";

// Every input comes back, the user's say over each reading too, and a slip of the hand (a
// length of 1e308) as well: a reading the window kept is never lost on the way to disk.
TEST(ReadingsCsv, RoundTripKeepsEveryInput) {
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
        synthetic::At(synthetic::kLongIsland, 15 * 3600 + 17, 10, 15.46),
        synthetic::At({-33.87, 151.21, 9.5, false, {2024, 2, 29}}, 43210, 0.1, 1e-3),
        synthetic::At({27.7, 85.3, 5.75, false, {1999, 12, 31}}, 86399, 3, 2),
        synthetic::At(synthetic::kLongIsland, 12 * 3600, 10, 1e308),
    };
    const std::vector<ks::Inclusion> inclusion = {
        ks::Inclusion::Automatic, ks::Inclusion::ForcedOut, ks::Inclusion::ForcedIn,
        ks::Inclusion::Automatic, ks::Inclusion::Automatic};
    for (const ks::Tolerances& tolerances : {kDefaults, ks::Tolerances{.lengthPercent = 2,
                                                        .leanDegrees = -1.5,
                                                        .edge = ks::ShadowEdge::Middle,
                                                        .longestShadow = 6}}) {
        const kr::CsvReadResult read =
            kr::ReadReadingsCsv(Written(readings, tolerances, inclusion), kDefaults);
        EXPECT_TRUE(read.allRead());
        EXPECT_TRUE(read.problems.empty()) << read.problems.front().message.toStdString();
        ASSERT_EQ(read.readings.size(), readings.size());
        for (std::size_t i = 0; i < readings.size(); ++i) {
            EXPECT_TRUE(ks::SameInputs(read.readings[i], readings[i])) << i;
            EXPECT_EQ(read.inclusion[i], inclusion[i]) << i;
            EXPECT_EQ(read.lines[i], static_cast<int>(i) + 2);
        }
        ASSERT_TRUE(read.tolerances);
        EXPECT_EQ(*read.tolerances, tolerances);
        EXPECT_TRUE(read.unknownColumns.isEmpty()) << read.unknownColumns.join(' ').toStdString();
    }
}

TEST(ReadingsCsv, SavesAtomicallyAndSaysWhyNot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.csv"));
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25)};
    const ks::SolvedSeries solved = ks::SolveSeries(readings, kDefaults);
    EXPECT_TRUE(
        kr::SaveReadingsCsv(path, readings, {}, solved, kDefaults, kr::CsvContent::WithSeries)
            .isEmpty());
    EXPECT_EQ(kr::ReadReadingsCsvFile(path, kDefaults).readings.size(), 1u);
    EXPECT_FALSE(kr::SaveReadingsCsv(dir.filePath(QStringLiteral("no/such/dir.csv")), readings, {},
                                     solved, kDefaults, kr::CsvContent::Readings)
                     .isEmpty());
    EXPECT_TRUE(kr::ReadReadingsCsvFile(dir.filePath(QStringLiteral("absent.csv")), kDefaults)
                    .notReadingsFile);
}

// Other programs' files: columns in another order, extra columns, quotes, CRLF, a BOM, blank
// lines.
TEST(ReadingsCsv, ReadsWhatSpreadsheetsWrite) {
    const QByteArray text =
        "\xEF\xBB\xBFremark,Length,height,longitude,latitude,daylight,utc_offset,time,date\r\n"
        "\"by the door, low\",25,10,-72.855,40.655,YES,-5,11:00,2003-09-03\r\n"
        "\r\n"
        "\"said \"\"twice\"\"\nover two lines\",\"15.46\",10,-72.855,40.655,yes,-5,15:00:00,"
        "2003-09-03\r\n";
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_TRUE(read.allRead());
    ASSERT_EQ(read.readings.size(), 2u);
    EXPECT_EQ(read.readings[0].length, 25);
    EXPECT_TRUE(read.readings[0].observation.daylightSaving);
    EXPECT_EQ(ks::ClockSecondsOf(read.readings[1]), 15 * 3600);
    EXPECT_EQ(read.lines[1], 4);
    EXPECT_EQ(read.readings[1].lengthText, "15.46");
    EXPECT_EQ(read.unknownColumns, QStringList{"remark"});
    EXPECT_FALSE(read.tolerances);
}

QByteArray Utf16(const QString& text, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

// The same two readings in the encodings and separators spreadsheets save text in.
TEST(ReadingsCsv, ReadsEachEncodingAndSeparator) {
    const QString comma = QString::fromLatin1(kHeader) +
                          "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25\n"
                          "2003-09-03,15:00,-5,yes,40.655,-72.855,10,15.46\n";
    const QString tab = QString(comma).replace(u',', u'\t');
    const std::pair<const char*, QByteArray> files[] = {
        {"UTF-8", comma.toUtf8()},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + comma.toUtf8()},
        {"UTF-16 LE with its mark, tabs", Utf16(tab, false)},
        {"UTF-16 BE with its mark, tabs", Utf16(tab, true)},
        {"UTF-16 LE with its mark, commas", Utf16(comma, false)},
        {"UTF-8, tabs, CRLF",
         QString(tab).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8()},
    };
    for (const auto& [name, bytes] : files) {
        const kr::CsvReadResult read = kr::ReadReadingsCsv(bytes, kDefaults);
        EXPECT_TRUE(read.allRead()) << name;
        ASSERT_EQ(read.readings.size(), 2u) << name;
        EXPECT_EQ(read.readings[1].length, 15.46) << name;
        EXPECT_TRUE(read.unknownColumns.isEmpty()) << name;
    }
}

// A file written with other tolerances says which; one without tolerance columns says none.
TEST(ReadingsCsv, NamesTheTolerancesOfItsFirstReading) {
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25)};
    const kr::Tolerances wide{
        .clockSeconds = 60, .lengthPercent = 3, .heightPercent = 2, .tiltDegrees = 2};
    const kr::CsvReadResult read = kr::ReadReadingsCsv(Written(readings, wide), kDefaults);
    ASSERT_TRUE(read.tolerances);
    EXPECT_EQ(read.tolerances->clockSeconds, 60);
    EXPECT_EQ(read.tolerances->tiltDegrees, 2);
    EXPECT_TRUE(read.unknownColumns.isEmpty());

    // Only the clock's column: the others are the reader's.
    const kr::CsvReadResult clockOnly = kr::ReadReadingsCsv(
        "date,time,utc_offset,daylight,latitude,longitude,height,length,clock_tolerance_s,Remark\n"
        "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25,30,sunny\n",
        kDefaults);
    ASSERT_TRUE(clockOnly.tolerances);
    EXPECT_EQ(clockOnly.tolerances->clockSeconds, 30);
    EXPECT_EQ(clockOnly.tolerances->lengthPercent, kDefaults.lengthPercent);
    EXPECT_EQ(clockOnly.unknownColumns, QStringList{"Remark"});
}

struct BadLine {
    const char* line;
    const char* message;
};

class MalformedLine : public ::testing::TestWithParam<BadLine> {};

// A bad line is named with what is wrong; the good lines around it are still read.
TEST_P(MalformedLine, IsNamedAndTheOthersRead) {
    const QByteArray good = "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25\n";
    const QByteArray text = kHeader + good + GetParam().line + "\n" + good;
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_FALSE(read.allRead());
    EXPECT_FALSE(read.notReadingsFile);
    EXPECT_EQ(read.readings.size(), 2u);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].line, 3);
    EXPECT_EQ(read.problems[0].message.toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    ReadingsCsv, MalformedLine,
    ::testing::Values(
        BadLine{"2003-09-03,11:00,-5,yes,95,-72.855,10,25",
                "line 3: latitude 95 is not between -90 and 90"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-180.5,10,25",
                "line 3: longitude -180.5 is not between -180 and 180"},
        BadLine{"2003-02-29,11:00,-5,yes,40,-72,10,25",
                "line 3: date \"2003-02-29\" is not a calendar date YYYY-MM-DD"},
        BadLine{"03/09/2003,11:00,-5,yes,40,-72,10,25",
                "line 3: date \"03/09/2003\" is not a calendar date YYYY-MM-DD"},
        BadLine{"2003-09-03,24:00,-5,yes,40,-72,10,25",
                "line 3: time \"24:00\" is not a clock time HH:MM or HH:MM:SS"},
        BadLine{"2003-09-03,11:00,-13,yes,40,-72,10,25",
                "line 3: utc_offset -13 is not between -12 and 14"},
        BadLine{"2003-09-03,11:00,-5,maybe,40,-72,10,25",
                "line 3: daylight \"maybe\" is neither yes nor no"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,0,25", "line 3: height 0 is not greater than 0"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,-3", "line 3: length -3 is not greater than 0"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,nan", "line 3: length \"nan\" is not a number"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,2;5", "line 3: length \"2;5\" is not a number"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,1e999",
                "line 3: length \"1e999\" is not a number"},
        BadLine{"2003-09-03,11:00,-5",
                "line 3: has 3 fields, too few for the columns named on line 1"},
        // A French decimal comma splits the length in two: 30 would be read for 30.54.
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,30,54",
                "line 3: has 9 fields, more than the 8 columns named on line 1; a decimal comma "
                "in a comma-separated file? Write numbers with a decimal point (30.54, not "
                "30,54)"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,10,\"30,54\"",
                "line 3: length \"30,54\" is not a number"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// A spreadsheet where the comma is the decimal sign writes its CSV with semicolons; empty fields
// past the last column are what some spreadsheets add, and harmless.
TEST(ReadingsCsv, ReadsDecimalCommasBetweenSemicolons) {
    const QByteArray text =
        "date;time;utc_offset;daylight;latitude;longitude;height;length\n"
        "2026-10-14;12:30:51;1;yes;45,76;4,84;30;54,2\n"
        "2026-10-14;13:30:00;1;yes;45.76;4.84;30;41,5;;\n";
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_TRUE(read.allRead());
    ASSERT_EQ(read.readings.size(), 2u);
    EXPECT_DOUBLE_EQ(read.readings[0].length, 54.2);
    EXPECT_DOUBLE_EQ(read.readings[0].observation.latitude, 45.76);
    EXPECT_DOUBLE_EQ(read.readings[1].length, 41.5);
}

// A tolerance outside its range refuses the line with its column and range named; none is
// brought into range behind the user's back.
TEST(ReadingsCsv, RefusesToleranceOutsideItsRange) {
    const QByteArray head = "date,time,utc_offset,daylight,latitude,longitude,height,length,";
    const QByteArray reading = "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25,";
    const std::pair<QByteArray, const char*> cases[] = {
        {"clock_tolerance_s\n" + reading + "900\n", nullptr},
        {"clock_tolerance_s\n" + reading + "5000\n",
         "line 2: clock_tolerance_s 5000 is not between 0 and 3600"},
        {"tilt_tolerance_deg\n" + reading + "-1\n",
         "line 2: tilt_tolerance_deg -1 is not between 0 and 20"},
        {"lean_deg\n" + reading + "50\n", "line 2: lean_deg 50 is not between -45 and 45"},
        {"shadow_edge\n" + reading + "inner\n",
         "line 2: shadow_edge \"inner\" is neither outer nor middle"},
    };
    for (const auto& [text, says] : cases) {
        const kr::CsvReadResult read = kr::ReadReadingsCsv(head + text, kDefaults);
        if (!says) {
            EXPECT_TRUE(read.allRead());
            ASSERT_TRUE(read.tolerances);
            EXPECT_EQ(read.tolerances->clockSeconds, 900);
            continue;
        }
        EXPECT_TRUE(read.readings.empty()) << says;
        ASSERT_EQ(read.problems.size(), 1u) << says;
        EXPECT_EQ(read.problems[0].message.toStdString(), says);
    }
}

struct ForeignFile {
    const char* name;
    QByteArray bytes;
    const char* says;
};

class NotOurs : public ::testing::TestWithParam<ForeignFile> {};

TEST_P(NotOurs, GetsOneClearMessage) {
    const kr::CsvReadResult read = kr::ReadReadingsCsv(GetParam().bytes, kDefaults);
    EXPECT_TRUE(read.notReadingsFile);
    EXPECT_TRUE(read.readings.empty());
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_NE(read.problems[0].message.toStdString().find(GetParam().says), std::string::npos)
        << read.problems[0].message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    ReadingsCsv, NotOurs,
    ::testing::Values(
        ForeignFile{"MissingColumns", "date,time,latitude,longitude,height,length\n1,2,3,4,5,6\n",
                    "lacks the columns utc_offset, daylight"},
        ForeignFile{"Binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "binary"},
        ForeignFile{"Empty", "", "empty"},
        ForeignFile{"Prose", "Dear diary,\nthe sun shone.\n", "lacks the columns"}),
    [](const auto& info) { return std::string(info.param.name); });

// Answers changed by hand are reported for their line; the recomputed ones count.
TEST(ReadingsCsv, HandEditedAnswersAreCaught) {
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
        synthetic::At(synthetic::kLongIsland, 15 * 3600, 10, 15.46)};
    QByteArray text = Written(readings, kDefaults);
    EXPECT_TRUE(text.contains(",-100.0686,11.4248,"));
    text.replace(",-100.0686,11.4248,", ",-100.0686,12.0000,");
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_TRUE(read.allRead());
    ASSERT_EQ(read.readings.size(), 2u);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].line, 2);
    EXPECT_FALSE(read.problems[0].lineRejected);
    EXPECT_EQ(read.problems[0].message.toStdString(),
              "line 2: second is 12.0000 in the file but 11.4248 recomputed; the recomputed "
              "values count");
}

// A file saved with other tolerances than the reader's checks its uncertainties against the
// tolerances it names, and is read without a word.
TEST(ReadingsCsv, UncertaintiesAreCheckedWithTheFilesOwnTolerances) {
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25)};
    const kr::Tolerances wide{
        .clockSeconds = 60, .lengthPercent = 3, .heightPercent = 2, .tiltDegrees = 2};
    const QByteArray text = Written(readings, wide);
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_TRUE(read.problems.empty()) << read.problems.front().message.toStdString();

    // Without the tolerance columns the reader's own tolerances are the measure.
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines) {
        line = line.split(',').mid(0, 16).join(',');
    }
    const kr::CsvReadResult bare = kr::ReadReadingsCsv(lines.join('\n'), kDefaults);
    ASSERT_FALSE(bare.problems.empty());
    EXPECT_NE(bare.problems[0].message.indexOf(QStringLiteral("first_uncertainty")), -1);
}

// Every kind of reading comes back with its values: a board with its placement, a
// declinometer, a bearing written without a moment.
TEST(ReadingsCsv, RoundTripKeepsEveryKind) {
    synthetic::KindSurveyor surveyor(3, kDefaults);
    const std::vector<ks::Method> kinds = {ks::Method::Square, ks::Method::Board,
                                           ks::Method::Declinometer, ks::Method::Bearing};
    std::vector<ks::Reading> readings =
        surveyor.Survey(synthetic::kLongIsland, {25, 1}, kinds, 1.5);
    ASSERT_EQ(readings.size(), kinds.size());
    readings[1].placement = "left of the door";
    // The file keeps the clock to the second.
    for (ks::Reading& r : readings)
        r = ks::ShiftedClock(r, std::round(ks::ClockSecondsOf(r)) - ks::ClockSecondsOf(r));
    const QByteArray text = Written(readings, kDefaults);
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_TRUE(read.problems.empty()) << read.problems.front().message.toStdString();
    ASSERT_EQ(read.readings.size(), readings.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        EXPECT_TRUE(ks::SameInputs(read.readings[i], readings[i])) << i;
    }
    EXPECT_TRUE(text.split('\n')[4].startsWith(",,,,40.655,-72.855,")) << text.toStdString();
}

const QByteArray kKindHeader =
    "date,time,utc_offset,daylight,latitude,longitude,method,height,length,tip_x,tip_y,angle,"
    "bearing,bearing_error\n";

class MalformedKind : public ::testing::TestWithParam<BadLine> {};

// A line whose kind or the kind's values cannot be read is refused, named; a missing column is
// empty cells, and a bearing needs no moment.
TEST_P(MalformedKind, IsNamedAndTheOthersRead) {
    const QByteArray good = ",,,,40.655,-72.855,bearing,,,,,,20,2\n";
    const QByteArray text = kKindHeader + good + GetParam().line + "\n" + good;
    const kr::CsvReadResult read = kr::ReadReadingsCsv(text, kDefaults);
    EXPECT_FALSE(read.notReadingsFile);
    EXPECT_EQ(read.readings.size(), 2u);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].message.toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    ReadingsCsv, MalformedKind,
    ::testing::Values(
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,compass,,,,,,20,2",
                "line 3: method \"compass\" is not square, board, declinometer or bearing"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,declinometer,,,,,abc,,",
                "line 3: angle \"abc\" is not a number"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,declinometer,,,,,190,,",
                "line 3: angle 190 is not between -180 and 180"},
        BadLine{",,,,40,-72,declinometer,,,,,10,,",
                "line 3: date \"\" is not a calendar date YYYY-MM-DD"},
        BadLine{",,,,40,-72,bearing,,,,,,20,0", "line 3: bearing_error 0 is not greater than 0"},
        BadLine{",,,,40,-72,bearing,,,,,,,2", "line 3: bearing \"\" is not a number"},
        BadLine{",,,,,-72,bearing,,,,,,20,2", "line 3: latitude \"\" is not a number"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,board,10,,3,,,,",
                "line 3: tip_y \"\" is not a number"},
        BadLine{"2003-09-03,11:00,-5,yes,40,-72,square,10,,,,,,",
                "line 3: length \"\" is not a number"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
