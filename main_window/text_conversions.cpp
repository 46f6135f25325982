#include "main_window/text_conversions.h"

// Placeholder until the conversions land.
namespace text_conversions {
std::optional<Serial> ParseDateTime(const QString&, const QLocale&) { return std::nullopt; }
std::optional<double> ParseNumber(const QString&, const QLocale&) { return std::nullopt; }
double LeadingNumber(const QString&) { return 0; }
QDate SerialDate(Serial) { return {}; }
QTime SerialTime(Serial) { return {}; }
Serial ToSerial(const QDate&, const QTime&) { return 0; }
QString LongDateText(Serial, const QLocale&) { return {}; }
QString TenthsText(double, const QLocale&) { return {}; }
QString NumberText(double, const QLocale&) { return {}; }
QString DateTimeText(Serial, const QLocale&) { return {}; }
}  // namespace text_conversions
