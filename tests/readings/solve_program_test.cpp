// kestramo-solve run as a user runs it, on files in this folder and on damaged ones.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include "readings/readings_csv.h"
#include "synthetic_kinds.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun Solve(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KESTRAMO_SOLVE_PATH), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString TestFile(const char* name) {
    return QStringLiteral(KESTRAMO_READINGS_TEST_DIR "/") + QLatin1String(name);
}

ProgramRun SolveWithInput(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(KESTRAMO_SOLVE_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (!process.waitForFinished(30000)) return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QJsonDocument Json(const ProgramRun& run) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document;
}

const QStringList kMiddleAndPlumb = {QStringLiteral("--shadow-edge"), QStringLiteral("middle"),
                                     QStringLiteral("--lean-error"), QStringLiteral("0")};

// The worked example read to the middle of the blur on a plumb wall: 11.4 degrees west, with
// every field a script reads.
TEST(SolveProgram, WorkedExampleAsJson) {
    const ProgramRun run = Solve(QStringList{QStringLiteral("--json")} + kMiddleAndPlumb +
                                 QStringList{TestFile("worked_example.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonDocument document = Json(run);
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    EXPECT_NEAR(combined[QStringLiteral("declination")].toDouble(), 11.42, 0.01);
    EXPECT_GT(combined[QStringLiteral("uncertainty")].toDouble(), 0.1);
    EXPECT_TRUE(combined[QStringLiteral("decided")].toBool());
    EXPECT_TRUE(combined[QStringLiteral("consistent")].toBool());
    EXPECT_EQ(combined[QStringLiteral("readings_used")].toInt(), 3);
    EXPECT_EQ(combined[QStringLiteral("degrees_of_freedom")].toInt(), 2);
    EXPECT_TRUE(combined[QStringLiteral("chi_square")].isDouble());
    EXPECT_EQ(combined[QStringLiteral("lean")].toDouble(), 0);
    EXPECT_TRUE(combined[QStringLiteral("alternatives")].toArray().isEmpty());
    EXPECT_TRUE(combined[QStringLiteral("minutes_to_decide")].isNull());
    EXPECT_TRUE(combined[QStringLiteral("explanation")].isNull());
    const QJsonArray readings = document[QStringLiteral("readings")].toArray();
    ASSERT_EQ(readings.size(), 3);
    const int chosen[] = {2, 1, 1};
    for (int i = 0; i < 3; ++i) {
        const QJsonObject r = readings[i].toObject();
        EXPECT_EQ(r[QStringLiteral("chosen")].toInt(), chosen[i]);
        EXPECT_EQ(r[QStringLiteral("line")].toInt(), i + 2);
        EXPECT_TRUE(r[QStringLiteral("reason")].isNull());
        EXPECT_FALSE(r[QStringLiteral("outlier")].toBool());
        EXPECT_LT(std::fabs(r[QStringLiteral("residual_sigma")].toDouble()), 1);
        EXPECT_TRUE(r[QStringLiteral("note")].isNull());
        EXPECT_GT(r[QStringLiteral("first_uncertainty")].toDouble(), 0);
        EXPECT_GT(r[QStringLiteral("second_uncertainty")].toDouble(), 0);
    }
    EXPECT_NEAR(readings[0][QStringLiteral("first")].toDouble(), -100.0686, 1e-4);
    EXPECT_NEAR(readings[0][QStringLiteral("second")].toDouble(), 11.4248, 1e-4);
}

// Sydney, the wall facing 60 degrees east, read with the tolerances it was taken with: the
// 07:48 reading's clock an hour off is left out and named.
TEST(SolveProgram, ReadingWithItsClockAnHourOffIsNamed) {
    const ProgramRun run = Solve({QStringLiteral("--json"), QStringLiteral("--clock-error"),
                                  QStringLiteral("10"),     QStringLiteral("--timing-error"),
                                  QStringLiteral("10"),     QStringLiteral("--length-error"),
                                  QStringLiteral("1"),      QStringLiteral("--blur-error"),
                                  QStringLiteral("0"),      QStringLiteral("--height-error"),
                                  QStringLiteral("0.5"),    QStringLiteral("--tilt-error"),
                                  QStringLiteral("0.5"),    QStringLiteral("--lean"),
                                  QStringLiteral("0"),      QStringLiteral("--lean-error"),
                                  QStringLiteral("0"),      QStringLiteral("--shadow-edge"),
                                  QStringLiteral("middle"), TestFile("sydney_clock_slip.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonDocument document = Json(run);
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    ASSERT_TRUE(combined[QStringLiteral("decided")].toBool());
    EXPECT_LT(std::fabs(combined[QStringLiteral("declination")].toDouble() + 60),
              combined[QStringLiteral("uncertainty")].toDouble());
    const QJsonArray readings = document[QStringLiteral("readings")].toArray();
    ASSERT_EQ(readings.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(readings[i][QStringLiteral("outlier")].toBool(), i == 1) << i;
    }
    EXPECT_TRUE(readings[1][QStringLiteral("note")].toString().contains(QStringLiteral("an hour")))
        << readings[1][QStringLiteral("note")].toString().toStdString();
}

// Five readings of a day at Lyon (a wall 38.0 degrees west) typed on standard time while the
// clocks were on summer time: the text and the JSON name the clock kind and the wall it gives.
TEST(SolveProgram, ADayOnTheWrongClockKindIsNamed) {
    const ProgramRun json =
        Solve({QStringLiteral("--json"), TestFile("lyon_on_standard_time.csv")});
    const QJsonObject combined = Json(json)[QStringLiteral("combined")].toObject();
    EXPECT_FALSE(combined[QStringLiteral("consistent")].toBool());
    const QJsonObject explanation = combined[QStringLiteral("explanation")].toObject();
    EXPECT_EQ(explanation[QStringLiteral("cause")].toString(), QStringLiteral("daylight"));
    EXPECT_EQ(explanation[QStringLiteral("date")].toString(), QStringLiteral("2026-10-14"));
    EXPECT_TRUE(explanation[QStringLiteral("certain")].toBool());
    const double sigma = explanation[QStringLiteral("uncertainty")].toDouble();
    EXPECT_GT(sigma, 0.05);
    EXPECT_LT(std::fabs(explanation[QStringLiteral("declination")].toDouble() - 38), 3 * sigma);
    const QString text = QString::fromUtf8(Solve({TestFile("lyon_on_standard_time.csv")}).out);
    EXPECT_TRUE(
        text.contains(QStringLiteral("fit much better with daylight-saving time instead "
                                     "of standard time")))
        << text.toStdString();
    // The clock kind first; a lean far beyond its tolerance only as what to look at if not.
    const qsizetype clock = text.indexOf(QStringLiteral("daylight-saving time instead"));
    const qsizetype lean = text.indexOf(QStringLiteral("measure the lean"));
    EXPECT_TRUE(
        clock >= 0 &&
        (lean < 0 || (clock < lean && text.contains(QStringLiteral("If not, the readings fit")))))
        << text.toStdString();
}

TEST(SolveProgram, OneReadingFromOptionsIsUndecided) {
    const ProgramRun run =
        Solve({QStringLiteral("--json"), QStringLiteral("--date=2003-09-03"),
               QStringLiteral("--time=11:00"), QStringLiteral("--utc-offset=-5"),
               QStringLiteral("--daylight=yes"), QStringLiteral("--latitude=40.655"),
               QStringLiteral("--longitude=-72.855"), QStringLiteral("--height=10"),
               QStringLiteral("--length=25"), QStringLiteral("--dial")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonDocument document = Json(run);
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    EXPECT_FALSE(combined[QStringLiteral("decided")].toBool());
    EXPECT_TRUE(combined[QStringLiteral("declination")].isNull());
    EXPECT_EQ(combined[QStringLiteral("alternatives")].toArray().size(), 2);
    EXPECT_TRUE(combined[QStringLiteral("minutes_to_decide")].isDouble());
    EXPECT_TRUE(document[QStringLiteral("readings")][0][QStringLiteral("chosen")].isNull());
    EXPECT_TRUE(document[QStringLiteral("readings")][0][QStringLiteral("line")].isNull());
    EXPECT_TRUE(document[QStringLiteral("dial")].isNull());
}

// With --dial a decided series carries its dial: every line of whole and half hours, the
// afternoon ones to the right on a wall facing a little west of south.
TEST(SolveProgram, DialOfTheFittedWall) {
    const ProgramRun run = Solve(QStringList{QStringLiteral("--json"), QStringLiteral("--dial")} +
                                 kMiddleAndPlumb + QStringList{TestFile("worked_example.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject dial = Json(run)[QStringLiteral("dial")].toObject();
    EXPECT_NEAR(dial[QStringLiteral("declination")].toDouble(), 11.42, 0.01);
    EXPECT_EQ(dial[QStringLiteral("lean")].toDouble(), 0);
    EXPECT_GT(dial[QStringLiteral("style_height")].toDouble(), 40);
    EXPECT_LT(dial[QStringLiteral("style_height")].toDouble(), 55);
    const QJsonArray lines = dial[QStringLiteral("hour_lines")].toArray();
    ASSERT_GT(lines.size(), 15);
    for (const QJsonValue& line : lines) {
        const double hourAngle = line[QStringLiteral("hour_angle")].toDouble();
        EXPECT_EQ(std::fmod(hourAngle, 7.5), 0);
        if (hourAngle == 0) {
            EXPECT_NEAR(line[QStringLiteral("angle")].toDouble(), 0, 10);
        }
        if (hourAngle > 30) {
            EXPECT_GT(line[QStringLiteral("angle")].toDouble(), 0);
        }
        EXPECT_GT(line[QStringLiteral("time_error_minutes")].toDouble(), 0);
    }
}

struct ExitCase {
    const char* name;
    QStringList arguments;
    QByteArray file;  // written to a file given last, when not empty
    int status;
    const char* says;  // on standard error (status 2) or standard output
};

class ExitStatus : public ::testing::TestWithParam<ExitCase> {};

// A script can tell a good run from one with no answer from one with a bad file or option by
// the status alone; a refusal names what was wrong and prints nothing on standard output.
TEST_P(ExitStatus, TellsAnswerFromNoneFromRefusal) {
    const ExitCase& c = GetParam();
    QTemporaryDir dir;
    QStringList arguments = c.arguments;
    if (!c.file.isEmpty()) {
        const QString path = dir.filePath(QStringLiteral("readings.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.file);
        file.close();
        arguments << path;
    }
    const ProgramRun run = Solve(arguments);
    EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString() << run.out.toStdString();
    if (c.status == 2) {
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    } else {
        EXPECT_TRUE(run.out.contains(c.says)) << run.out.toStdString();
    }
}

const QByteArray kHeaderLine = "date,time,utc_offset,daylight,latitude,longitude,height,length\n";

INSTANTIATE_TEST_SUITE_P(
    SolveProgram, ExitStatus,
    ::testing::Values(
        ExitCase{"Answer",
                 {},
                 kHeaderLine + "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25\n",
                 0,
                 "Not decided"},
        ExitCase{"SunDown",
                 {},
                 kHeaderLine + "2003-09-03,02:00,-5,yes,40.655,-72.855,10,25\n",
                 1,
                 "below the horizon"},
        ExitCase{"NoWall",
                 {QStringLiteral("--json")},
                 kHeaderLine + "2003-09-03,13:00,-5,yes,40.655,-72.855,10,0.1\n",
                 1,
                 "no_wall"},
        ExitCase{"NoReadings", {}, kHeaderLine, 1, "No readings"},
        // A low morning sun, the outer edge read: each shadow alone fits no vertical wall, the
        // three together decide one (drawn from a wall at 99.9 E).
        ExitCase{"DecidedThoughNoReadingAloneIs",
                 {},
                 kHeaderLine + "2023-05-04,07:51:14,2,yes,27.84,25.308,10,2.613\n"
                               "2023-05-04,08:09:01,2,yes,27.84,25.308,10,3.2848\n"
                               "2023-05-04,08:27:02,2,yes,27.84,25.308,10,4.0882\n",
                 0,
                 "Wall: 98.16\u00b0 E \u00b1 3.10\u00b0, 3 readings"},
        ExitCase{"DecimalComma",
                 {},
                 kHeaderLine + "2026-10-14,12:30:51,1,yes,45.76,4.84,30,54,2\n",
                 2,
                 "line 2: has 9 fields, more than the 8 columns named on line 1; a decimal comma"},
        ExitCase{"BadLine",
                 {QStringLiteral("--json")},
                 kHeaderLine + "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25\n"
                               "2003-09-03,15:00,-5,yes,95,-72.855,10,15.46\n",
                 2,
                 "line 3: latitude 95 is not between -90 and 90"},
        ExitCase{"UnreadableMethod",
                 {QStringLiteral("--json")},
                 "latitude,longitude,method,bearing,bearing_error\n40,-72,bearing,20,2\n"
                 "40,-72,compass,20,2\n",
                 2,
                 "line 3: method \"compass\" is not square, board, declinometer or bearing"},
        ExitCase{"NotAFile", {QStringLiteral("no_such_file.csv")}, {}, 2, "Cannot open"},
        ExitCase{"UnknownOption", {QStringLiteral("--frobnicate")}, {}, 2, "frobnicate"},
        ExitCase{"Nothing", {}, {}, 2, "give a readings file"},
        ExitCase{"FileAndOptions",
                 {QStringLiteral("--date=2003-09-03")},
                 kHeaderLine,
                 2,
                 "give either a file or the options of one reading, not both"},
        ExitCase{"OptionMissing",
                 {QStringLiteral("--date=2003-09-03"), QStringLiteral("--time=11:00"),
                  QStringLiteral("--utc-offset=-5"), QStringLiteral("--latitude=40.655"),
                  QStringLiteral("--longitude=-72.855"), QStringLiteral("--height=10")},
                 {},
                 2,
                 "--length is missing"},
        ExitCase{"OptionUnreadable",
                 {QStringLiteral("--date=2003-09-33"), QStringLiteral("--time=11:00"),
                  QStringLiteral("--utc-offset=-5"), QStringLiteral("--latitude=40.655"),
                  QStringLiteral("--longitude=-72.855"), QStringLiteral("--height=10"),
                  QStringLiteral("--length=25")},
                 {},
                 2,
                 "--date \"2003-09-33\" is not a calendar date"},
        ExitCase{"BadEdge",
                 {QStringLiteral("--shadow-edge=faint")},
                 kHeaderLine,
                 2,
                 "--shadow-edge takes outer or middle"},
        ExitCase{"BadTolerance",
                 {QStringLiteral("--clock-error=-3")},
                 kHeaderLine,
                 2,
                 "--clock-error takes a number"},
        ExitCase{"ToleranceBeyondItsRange",
                 {QStringLiteral("--tilt-error=25")},
                 kHeaderLine,
                 2,
                 "--tilt-error takes a number from 0 to 20, not \"25\""}),
    [](const auto& info) { return std::string(info.param.name); });

// A square, boards and declinometers over two days and a bearing give one wall and one lean:
// each reading says its kind, the kinds other than the square one answer.
TEST(SolveProgram, EveryKindInOneFit) {
    namespace ks = kestramo::series;
    const ks::Tolerances tolerances;
    synthetic::KindSurveyor surveyor(2026, tolerances);
    const synthetic::Wall wall{-32, 1.2};
    synthetic::Site second = synthetic::kLongIsland;
    second.date.day += 5;
    std::vector<ks::Reading> readings = surveyor.Survey(
        synthetic::kLongIsland, wall,
        std::vector{ks::Method::Square, ks::Method::Board, ks::Method::Declinometer});
    const std::vector<ks::Reading> later = surveyor.Survey(
        second, wall,
        std::vector{ks::Method::Declinometer, ks::Method::Board, ks::Method::Bearing});
    readings.insert(readings.end(), later.begin(), later.end());
    ASSERT_EQ(readings.size(), 6u);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mixed.csv"));
    ASSERT_TRUE(kestramo::readings::SaveReadingsCsv(
                    path, readings, {}, ks::SolveSeries(readings, tolerances), tolerances,
                    kestramo::readings::CsvContent::Readings)
                    .isEmpty());
    const ProgramRun run = Solve({QStringLiteral("--json"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonDocument document = Json(run);
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    ASSERT_TRUE(combined[QStringLiteral("decided")].toBool()) << run.out.toStdString();
    const double sigma = combined[QStringLiteral("uncertainty")].toDouble();
    EXPECT_LT(std::fabs(combined[QStringLiteral("declination")].toDouble() - wall.declination),
              2 * sigma);
    EXPECT_LT(std::fabs(combined[QStringLiteral("lean")].toDouble() - wall.lean),
              2 * combined[QStringLiteral("lean_uncertainty")].toDouble());
    EXPECT_LT(combined[QStringLiteral("lean_uncertainty")].toDouble(), 0.4);
    // Two boards count twice each.
    EXPECT_EQ(combined[QStringLiteral("degrees_of_freedom")].toInt(), 7);
    const QJsonArray list = document[QStringLiteral("readings")].toArray();
    const char* methods[] = {"square", "board", "declinometer", "declinometer", "board", "bearing"};
    ASSERT_EQ(list.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const QJsonObject r = list[i].toObject();
        EXPECT_EQ(r[QStringLiteral("method")].toString().toStdString(), methods[i]);
        EXPECT_TRUE(r[QStringLiteral("first")].isDouble());
        EXPECT_EQ(r[QStringLiteral("second")].isNull(), i != 0);
        EXPECT_FALSE(r[QStringLiteral("outlier")].toBool());
    }
}

TEST(SolveProgram, ReadsStandardInputAndTellsItsVersion) {
    QFile worked(TestFile("worked_example.csv"));
    ASSERT_TRUE(worked.open(QIODevice::ReadOnly));
    const ProgramRun run =
        SolveWithInput(QStringList{QStringLiteral("--json"), QStringLiteral("-")} + kMiddleAndPlumb,
                       worked.readAll());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_NEAR(Json(run)[QStringLiteral("combined")][QStringLiteral("declination")].toDouble(),
                11.42, 0.01);
    const ProgramRun version = Solve({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("kestramo-solve ")) << version.out.toStdString();
}

// Every option that --help lists is one the program takes.
TEST(SolveProgram, HelpListsOnlyOptionsThatWork) {
    const ProgramRun help = Solve({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    const QRegularExpression option(QStringLiteral("--([a-z-]+)"));
    int listed = 0;
    for (const QRegularExpressionMatch& match : option.globalMatch(QString::fromUtf8(help.out))) {
        const ProgramRun run =
            Solve({QStringLiteral("--") + match.captured(1) + QStringLiteral("=x")});
        EXPECT_FALSE(run.err.contains("Unknown option")) << match.captured(1).toStdString();
        ++listed;
    }
    EXPECT_GT(listed, 20);
}

}  // namespace
