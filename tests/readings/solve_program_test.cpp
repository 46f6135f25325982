// kestramo-solve run as a user runs it, on files in this folder and on damaged ones.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

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

TEST(SolveProgram, WorkedExampleAsJson) {
    const ProgramRun run = Solve({QStringLiteral("--json"), TestFile("worked_example.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    EXPECT_NEAR(combined[QStringLiteral("declination")].toDouble(), 11.42, 0.01);
    EXPECT_GT(combined[QStringLiteral("uncertainty")].toDouble(), 0.1);
    EXPECT_TRUE(combined[QStringLiteral("decided")].toBool());
    EXPECT_EQ(combined[QStringLiteral("readings_used")].toInt(), 3);
    const QJsonArray readings = document[QStringLiteral("readings")].toArray();
    ASSERT_EQ(readings.size(), 3);
    const int chosen[] = {2, 1, 1};
    for (int i = 0; i < 3; ++i) {
        const QJsonObject r = readings[i].toObject();
        EXPECT_EQ(r[QStringLiteral("chosen")].toInt(), chosen[i]);
        EXPECT_FALSE(r[QStringLiteral("outlier")].toBool());
        EXPECT_GT(r[QStringLiteral("first_uncertainty")].toDouble(), 0);
        EXPECT_GT(r[QStringLiteral("second_uncertainty")].toDouble(), 0);
    }
    EXPECT_NEAR(readings[0][QStringLiteral("first")].toDouble(), -100.0686, 1e-4);
    EXPECT_NEAR(readings[0][QStringLiteral("second")].toDouble(), 11.4248, 1e-4);
}

TEST(SolveProgram, OneReadingFromOptionsIsUndecided) {
    const ProgramRun run =
        Solve({QStringLiteral("--json"), QStringLiteral("--date=2003-09-03"),
               QStringLiteral("--time=11:00"), QStringLiteral("--utc-offset=-5"),
               QStringLiteral("--daylight=yes"), QStringLiteral("--latitude=40.655"),
               QStringLiteral("--longitude=-72.855"), QStringLiteral("--height=10"),
               QStringLiteral("--length=25")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonDocument document = QJsonDocument::fromJson(run.out);
    const QJsonObject combined = document[QStringLiteral("combined")].toObject();
    EXPECT_FALSE(combined[QStringLiteral("decided")].toBool());
    EXPECT_TRUE(combined[QStringLiteral("declination")].isNull());
    EXPECT_TRUE(document[QStringLiteral("readings")][0][QStringLiteral("chosen")].isNull());
}

// Bad lines are named on standard error with status 2, the good ones still used; excluded
// readings are listed with their answers; unsolvable ones have null answers.
TEST(SolveProgram, DamagedFileNamesItsLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "date,time,utc_offset,daylight,latitude,longitude,height,length,excluded\n"
        "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25,yes\n"
        "2003-09-03,15:00,-5,yes,95,-72.855,10,15.46,no\n"
        "2003-09-03,02:00,-5,yes,40.655,-72.855,10,21.07,no\n");
    file.close();
    const ProgramRun run = Solve({QStringLiteral("--json"), path});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("line 3: latitude 95 is not between -90 and 90"))
        << run.err.toStdString();
    const QJsonDocument document = QJsonDocument::fromJson(run.out);
    const QJsonArray readings = document[QStringLiteral("readings")].toArray();
    ASSERT_EQ(readings.size(), 2);
    EXPECT_NEAR(readings[0][QStringLiteral("second")].toDouble(), 11.4248, 1e-4);
    EXPECT_TRUE(readings[1][QStringLiteral("first")].isNull());
    EXPECT_EQ(document[QStringLiteral("combined")][QStringLiteral("readings_used")].toInt(), 0);
}

TEST(SolveProgram, UsageErrorsExitTwo) {
    for (const QStringList& arguments : {QStringList{QStringLiteral("--frobnicate")}, QStringList{},
                                         QStringList{TestFile("no_such_file.csv")},
                                         QStringList{TestFile("solve_program_test.cpp")}}) {
        const ProgramRun run = Solve(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}

}  // namespace
