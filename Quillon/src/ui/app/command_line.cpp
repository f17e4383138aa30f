#include "command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>

#include "setup_report.h"

namespace quillon {
namespace {

constexpr double kLongestReportSeconds = 3600;

const char kUsage[] =
    "Usage: Quillon [--all-controls]\n"
    "       Quillon --report FILE [--port COMn] [--seconds S] [--field NAME=VALUE]... "
    "[--baseline OLD.txt]\n"
    "       Quillon --help | --version\n";

const char kDescription[] =
    "Set-up and alignment of Veritrak II encoder electronics on a serial port (COM1 to COM16;\n"
    "a COM port is a link in ~/.config/probelink/ports or a default device, see Quillon(1)).\n"
    "\n"
    "--report runs without a window or display. Its exit status: 0 every figure within\n"
    "tolerance (good or marginal), 1 no electronics, a failed line, or no figures (the head did\n"
    "not travel enough, the signal is too weak), 2 usage error, 3 the report could not be\n"
    "written, 4 a figure out of tolerance (the report is written), 130 interrupted (nothing\n"
    "written).";

struct UsageError {
  QString message;
};

// The arguments without Qt's own options, which the application object takes.
QStringList OwnArguments(int argc, char** argv) {
  static const QStringList withValue = {"-platform", "-platformpluginpath", "-platformtheme",
                                        "-plugin", "-display", "-style", "-stylesheet",
                                        "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"};
  QStringList own = {QStringLiteral("Quillon")};
  for (int i = 1; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    if (withValue.contains(argument))
      ++i;
    else if (argument != QLatin1String("-reverse"))
      own << argument;
  }
  return own;
}

int Usage(const QString& message) {
  std::fprintf(stderr, "Quillon: %s\n%s", qPrintable(message), kUsage);
  return kReportUsage;
}

int ComNumber(const QString& text) {
  static const QRegularExpression com(QStringLiteral("^[Cc][Oo][Mm]([1-9]|1[0-6])$"));
  const auto match = com.match(text);
  if (!match.hasMatch()) throw UsageError{QStringLiteral("--port takes COM1 to COM16, not \"%1\"").arg(text)};
  return match.captured(1).toInt();
}

double Seconds(const QString& text) {
  bool ok = false;
  const double seconds = text.toDouble(&ok);
  if (!ok || !(seconds > 0) || seconds > kLongestReportSeconds)
    throw UsageError{QStringLiteral("--seconds must be more than 0 and at most 3600, not \"%1\"").arg(text)};
  return seconds;
}

// The user's text goes into a file of "name = value" lines: a name is a
// plain word, a value one line of printable text.
QPair<QString, QString> Field(const QString& text) {
  static const QRegularExpression name(QStringLiteral("^[A-Za-z][A-Za-z0-9_-]{0,31}$"));
  static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
  const qsizetype equals = text.indexOf('=');
  const QString key = text.left(equals), value = text.mid(equals + 1);
  if (equals < 0 || !name.match(key).hasMatch())
    throw UsageError{QStringLiteral("--field takes NAME=VALUE, NAME a word of letters, digits, _ "
                                    "and - (up to 32, starting with a letter), not \"%1\"")
                         .arg(text)};
  if (control.match(value).hasMatch() || value.size() > 200)
    throw UsageError{QStringLiteral("the value of --field %1 must be one line of at most 200 "
                                    "characters, without control characters")
                         .arg(key)};
  return {key, value.trimmed()};
}

ReportRequest RequestOf(const QCommandLineParser& parser) {
  ReportRequest request;
  request.pdf = parser.value(QStringLiteral("report"));
  if (parser.isSet(QStringLiteral("port"))) request.port = ComNumber(parser.value(QStringLiteral("port")));
  if (parser.isSet(QStringLiteral("seconds")))
    request.seconds = Seconds(parser.value(QStringLiteral("seconds")));
  for (const QString& field : parser.values(QStringLiteral("field"))) request.fields << Field(field);
  if (parser.isSet(QStringLiteral("baseline"))) {
    const QString path = parser.value(QStringLiteral("baseline"));
    request.baseline = ReadBaseline(path);
    if (request.baseline.isEmpty())
      throw UsageError{QStringLiteral("cannot read figures from the baseline \"%1\"").arg(path)};
  }
  return request;
}

void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QString::fromLatin1(kDescription));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOptions({
      {QStringLiteral("all-controls"),
       QStringLiteral("Show the controls this window hides: data processing, File > Load and "
                      "Save, the units, the alarm history, clearing the buffers, a new search "
                      "and the device commands.")},
      {QStringLiteral("report"),
       QStringLiteral("Write the set-up report without the window, then end: find the "
                      "electronics, measure their status, alignment and signal strength, write "
                      "FILE (PDF) and its text twin (FILE with .txt)."),
       QStringLiteral("FILE")},
      {QStringLiteral("port"),
       QStringLiteral("With --report: the port, COM1 to COM16, instead of searching them all."),
       QStringLiteral("COMn")},
      {QStringLiteral("seconds"),
       QStringLiteral("With --report: how long to measure the signals, more than 0 and at most "
                      "3600 (default 5)."),
       QStringLiteral("S")},
      {QStringLiteral("field"),
       QStringLiteral("With --report: a line of the identification, such as serial=A123, "
                      "operator=Kim, machine=M4, axis=X; may be repeated."),
       QStringLiteral("NAME=VALUE")},
      {QStringLiteral("baseline"),
       QStringLiteral("With --report: an earlier report's text twin; each figure's change since "
                      "then is shown."),
       QStringLiteral("OLD.txt")},
  });
}

}  // namespace

std::variant<CommandLine, int> ParseCommandLine(int argc, char** argv, const char* version) {
  QCommandLineParser parser;
  AddOptions(parser);
  if (!parser.parse(OwnArguments(argc, argv))) return Usage(parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) {
    // Without an application object Qt cannot name the program itself.
    QString help = parser.helpText();
    help.replace(QStringLiteral("<executable_name>"), QStringLiteral("Quillon"));
    std::printf("%s\n%s", qPrintable(help), kUsage);
    return 0;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("Quillon %s\n", version);
    return 0;
  }
  if (!parser.positionalArguments().isEmpty())
    return Usage(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
  const bool report = parser.isSet(QStringLiteral("report"));
  for (const char* needsReport : {"port", "seconds", "field", "baseline"})
    if (!report && parser.isSet(QString::fromLatin1(needsReport)))
      return Usage(QStringLiteral("--%1 needs --report").arg(QString::fromLatin1(needsReport)));
  if (report && parser.isSet(QStringLiteral("all-controls")))
    return Usage(QStringLiteral("--all-controls is for the window, not for --report"));
  try {
    return CommandLine{parser.isSet(QStringLiteral("all-controls")),
                       report ? std::optional(RequestOf(parser)) : std::nullopt};
  } catch (const UsageError& error) {
    return Usage(error.message);
  }
}

}  // namespace quillon
