#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

#include "electronics.h"
#include "error_report.h"
#include "exit_status.h"
#include "port_folder.h"
#include "port_route.h"
#include "register_names.h"

namespace probelink_cli {
namespace {

constexpr size_t kMaxStreamRegisters = 70;
// A position log, the commonest use of a stream.
const std::vector<std::string> kDefaultFields = {"position", "velocity"};

[[noreturn]] void Refuse(const std::string& sentence) { throw CLI::ValidationError(sentence); }

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// CLI11 names the option before a validator's sentence ("--count: ...");
// ours name it themselves.
CLI::Validator Sentence(std::function<std::string(std::string&)> check) {
  return {[check](std::string& text) {
            const std::string problem = check(text);
            if (!problem.empty()) Refuse(problem);
            return std::string();
          },
          ""};
}

// A whole number from `low` to `high`, 0x for hexadecimal, left in decimal
// for CLI11's own conversion; `what` says what it is, for the message.
CLI::Validator Whole(const std::string& name, long low, long high, const std::string& what) {
  return Sentence([=](std::string& text) {
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high)
      return name + " must be " + what + ", not " + Quoted(text);
    text = std::to_string(*value);
    return std::string();
  });
}

// A number of seconds, above 0 or (with `zero`) from 0 up.
CLI::Validator Seconds(const std::string& name, bool zero) {
  return Sentence([=](std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value) || value < 0 ||
        (value == 0 && !zero))
      return name + " must be a number of seconds " + (zero ? "from 0 up" : "above 0") + ", not " +
             Quoted(text);
    return std::string();
  });
}

CLI::Validator Port() {
  return Sentence([](std::string& text) {
    const auto port = NormalPortText(text);
    if (!port)
      return Quoted(text) + " is not a port: give " + kPortHint;
    text = *port;
    return std::string();
  });
}

// A register by number (0x00 to 0x7F) or by its name on the display.
int RegisterOf(const std::string& text) {
  if (const auto reg = RegisterNamed(text)) return *reg;
  const auto number = ParseNumber(text);
  if (number && *number >= 0 && *number <= 0xFF) {
    if (const auto why = WhyUnreadable(static_cast<int>(*number))) Refuse(*why);
    return static_cast<int>(*number);
  }
  Refuse(Quoted(text) +
         " is neither a register number (0x00 to 0x7F) nor a register's name on "
         "the engineering display (such as GainX or \"Addr 10\")");
}

std::string CommandNames(const CLI::App& app) {
  std::string names;
  for (const CLI::App* c : app.get_subcommands([](const CLI::App*) { return true; }))
    names += (names.empty() ? "" : ", ") + c->get_name();
  return names;
}

bool Changes(const std::string& command) {
  return std::find(std::begin(kChangingCommands), std::end(kChangingCommands), command) !=
         std::end(kChangingCommands);
}

// What CLI11 leaves over: words no command or option takes. They fall
// through to the program's own list.
void RefuseLeftovers(const CLI::App& root, const std::string& command) {
  const std::vector<std::string> left = root.remaining(true);
  if (left.empty()) return;
  if (command.empty())
    Refuse(Quoted(left.front()) + " is not a command; the commands are " + CommandNames(root));
  const std::string what = left.front().starts_with("-") ? "option" : "argument";
  Refuse(Quoted(left.front()) + " is no " + what + " of " + command + " (probelink-cli help " +
         command + " lists them)");
}

// Once a command is parsed: words left over are refused first, then its
// own `checks` run, and last a change to the electronics needs --yes.
void Finally(CLI::App* c, const Invocation& inv, std::function<void()> checks = {}) {
  c->final_callback([c, &inv, checks] {
    RefuseLeftovers(*c->get_parent(), c->get_name());
    if (checks) checks();
    if (Changes(c->get_name()) && !inv.yes)
      Refuse(c->get_name() + " changes the electronics: add --yes to go ahead");
  });
}

void AddPort(CLI::App& command, Invocation& inv) {
  command.add_option("port", inv.port, kPortHint)
      ->required()
      ->type_name("PORT")
      ->transform(Port());
}

void AddConfirmation(CLI::App& command, Invocation& inv) {
  command.add_flag("--yes", inv.yes, "go ahead: this command changes the electronics");
}

Length LengthOf(const std::string& name, const std::string& text) {
  const auto length = ParseLength(text);
  if (!length)
    Refuse(name + " must be a length above 0 with its unit, such as 0.5um (units: " + UnitList() +
           "), not " + Quoted(text));
  return *length;
}

void AddLengthOptions(CLI::App& c, Invocation& inv) {
  const char* group = "Lengths (positions in counts without these)";
  c.add_option_function<std::string>(
       "--count-length",
       [&inv](const std::string& t) { inv.countLength = LengthOf("--count-length", t); },
       "the length of one count, such as 0.5um; positions then also in that unit")
      ->type_name("LENGTH")
      ->group(group);
  c.add_option_function<std::string>(
       "--grating-pitch",
       [&inv](const std::string& t) { inv.gratingPitch = LengthOf("--grating-pitch", t); },
       "the pitch of a linear grating, such as 20um: a count is the pitch divided by the "
       "interpolation level, as the window counts")
      ->type_name("LENGTH")
      ->group(group);
  c.add_option_function<std::string>(
       "--settings",
       [&inv](const std::string& t) {
         std::error_code error;
         if (!std::filesystem::is_directory(t, error))
           Refuse("--settings must be the folder of the window's settings files, not " + Quoted(t));
         inv.settings = t;
       },
       "the window's settings folder: positions in the units it shows (with --grating-pitch "
       "for a linear grating)")
      ->type_name("DIR")
      ->group(group);
}

// Options that only mean something beside another.
void RequireBeside(const CLI::App& c, const char* option, bool given, const char* beside) {
  if (c.count(option) && !given) Refuse(std::string(option) + " applies only with " + beside);
}

void ChooseLengths(Invocation& inv) {
  try {
    inv.length = ChooseLengthRule(inv.countLength, inv.gratingPitch, inv.settings);
  } catch (const Failure& failure) {
    Refuse(failure.what());
  }
}

void AddPorts(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "ports", "serial devices: stable name, COM number, whether each opens; assign COM numbers");
  c->add_flag("--probe", inv.probe, "ask each device that opens whether electronics answer");
  c->add_option("--assign", inv.assign,
                "make COMn stand for DEVICE for every program (the window too), by a link in the "
                "user's ports folder; a stable name under /dev/serial/by-id is used where there "
                "is one")
      ->expected(2)
      ->type_name("COMn DEVICE");
  c->add_option("--unassign", inv.unassign,
                "remove COMn's link: it falls back to its built-in device")
      ->type_name("COMn");
  Finally(c, inv, [&inv] {
    if ((!inv.assign.empty() || !inv.unassign.empty()) && *kNoAssignment) Refuse(kNoAssignment);
    if (!inv.assign.empty() && !inv.unassign.empty())
      Refuse("--assign and --unassign each change one COM number: give one of them");
    if ((!inv.assign.empty() || !inv.unassign.empty()) && inv.probe)
      Refuse("--probe lists the ports: give it without --assign or --unassign");
    const std::string com = inv.assign.empty() ? inv.unassign : inv.assign.front();
    if (!com.empty() && !ComNumber(com))
      Refuse(Quoted(com) + " is not a COM number: give COM1 to COM16");
    if (!inv.assign.empty() && inv.assign[1].find('/') == std::string::npos)
      Refuse(Quoted(inv.assign[1]) +
             " is not a device path: give one such as /dev/ttyUSB0 or "
             "/dev/serial/by-id/...");
  });
}

void AddIdentify(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "identify", "model, firmware, power-on hours and cycles, interpolation, output frequency");
  AddPort(*c, inv);
  Finally(c, inv);
}

void AddStatus(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "status", "position, index, alarms and signal level, once or one line a sample");
  AddPort(*c, inv);
  c->add_flag("--watch", inv.watch, "one line a sample until Ctrl-C");
  c->add_option("--seconds", inv.seconds, "with --watch: stop after this long")
      ->type_name("S")
      ->transform(Seconds("--seconds", false));
  c->add_option("--interval", inv.interval, "with --watch: seconds between samples (default 0.1)")
      ->type_name("S")
      ->transform(Seconds("--interval", true));
  AddLengthOptions(*c, inv);
  Finally(c, inv, [c, &inv] {
    RequireBeside(*c, "--seconds", inv.watch, "--watch");
    RequireBeside(*c, "--interval", inv.watch, "--watch");
    ChooseLengths(inv);
  });
}

void AddAlign(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "align",
      "alignment figures of the moving read-head, with verdicts (exit 4: out of tolerance)");
  AddPort(*c, inv);
  c->add_option("--seconds", inv.seconds,
                "measure this long (default 5); with --watch, stop after this long")
      ->type_name("S")
      ->transform(Seconds("--seconds", false));
  c->add_option_function<std::string>(
       "--tolerances",
       [&inv](const std::string& file) {
         std::error_code error;
         if (!std::filesystem::is_regular_file(file, error))
           Refuse("--tolerances must be a file such as Quillon-options.ini, and " + Quoted(file) +
                  " is none");
         inv.tolerances = file;
       },
       "read the bounds from this file's [tolerances], as Quillon-options.ini")
      ->type_name("FILE");
  c->add_flag("--watch", inv.watch,
              "a live meter, four updates a second until Ctrl-C: each figure with an arrow, "
              "up when it came nearer its ideal, down when it went further");
  Finally(c, inv);
}

void AddRead(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "read", "registers by number or by their names on the engineering display");
  AddPort(*c, inv);
  c->add_option_function<std::vector<std::string>>(
       "registers",
       [&inv](const std::vector<std::string>& texts) {
         for (const std::string& text : texts) inv.registers.push_back(RegisterOf(text));
       },
       "register numbers (0x21 or 33) or names (GainX, \"Addr 10\"); without them the "
       "display's 26 registers")
      ->type_name("REG");
  c->add_flag("--all", inv.all,
              "the whole survey as the engineering display shows it: its 26 registers, the "
              "firmware, power-on time and cycles, and the position, in hexadecimal");
  Finally(c, inv, [&inv] {
    if (inv.all && !inv.registers.empty())
      Refuse("--all reads the display's whole survey: give it without register numbers");
  });
}

void AddWrite(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("write", "write a register, then read it back");
  AddPort(*c, inv);
  c->add_option_function<std::string>(
       "register", [&inv](const std::string& text) { inv.reg = RegisterOf(text); },
       "register number, 0x00 to 0x7F, or its name on the engineering display")
      ->type_name("REG");
  c->add_option("value", inv.value, "16-bit value, 0x for hexadecimal")
      ->type_name("VALUE")
      ->transform(Whole("the value", 0, 0xFFFF, "a 16-bit word, 0 to 65535 (0xFFFF)"));
  AddConfirmation(*c, inv);
  Finally(c, inv, [c] {
    if (!c->count("value"))
      Refuse("write needs a register and a value, such as: write COM5 GainX 0x0800 --yes");
  });
}

std::vector<Field> FieldsOf(const std::vector<std::string>& texts) {
  std::vector<Field> fields;
  for (const std::string& text : texts) {
    const auto field = ParseField(text);
    if (!field)
      Refuse(Quoted(text) + " is not a field: give " + QuantityNames() +
             ", or a register's number (0x00 to 0x7F) or name");
    if (std::find(fields.begin(), fields.end(), *field) != fields.end())
      Refuse(text + " is twice in --fields: each field is one column");
    fields.push_back(*field);
  }
  const size_t registers = RegistersOf(fields).size();
  if (registers > kMaxStreamRegisters)
    Refuse("these fields need " + std::to_string(registers) +
           " registers a record; the electronics stream at most 70");
  return fields;
}

void AddStream(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "stream", "records of decoded fields (or raw registers), each with its time in seconds");
  AddPort(*c, inv);
  c->add_option_function<std::vector<std::string>>(
       "--fields,--registers",
       [&inv](const std::vector<std::string>& texts) { inv.fields = FieldsOf(texts); },
       "comma-separated: " + QuantityNames() +
           ", or registers by number or name for their raw words (default " + kDefaultFields[0] +
           "," + kDefaultFields[1] + ")")
      ->delimiter(',')
      ->type_name("LIST");
  c->add_option("--count", inv.count, "stop after N records")
      ->type_name("N")
      ->transform(Whole("--count", 1, std::numeric_limits<long>::max(),
                        "a whole number of records, at least 1"));
  c->add_option("--seconds", inv.seconds, "stop after S seconds")
      ->type_name("S")
      ->transform(Seconds("--seconds", false));
  c->add_option("--format", inv.format, "csv (the default) or json: one JSON object a line")
      ->type_name("FORMAT")
      ->transform(Sentence([](std::string& text) {
        return text == "csv" || text == "json"
                   ? std::string()
                   : "--format must be csv or json, not " + Quoted(text);
      }));
  AddLengthOptions(*c, inv);
  Finally(c, inv, [&inv] {
    if (inv.count && inv.seconds)
      Refuse("--count and --seconds both say when to stop: give one of them");
    if (!inv.count && !inv.seconds)
      Refuse("stream needs --count N or --seconds S to know when to stop");
    if (inv.format == "csv" && inv.json)
      Refuse("--format csv and --json ask for two formats: give one of them");
    if (inv.fields.empty()) inv.fields = FieldsOf(kDefaultFields);
    ChooseLengths(inv);
  });
}

void AddReset(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("reset", "restart the electronics");
  AddPort(*c, inv);
  c->add_flag("--software", inv.software, "by the reset command");
  c->add_flag("--hardware", inv.hardware, "by a pulse on the DTR line");
  AddConfirmation(*c, inv);
  Finally(c, inv, [&inv] {
    if (inv.software && inv.hardware)
      Refuse("--software and --hardware are two ways to reset: give one of them");
    if (!inv.software && !inv.hardware) Refuse("reset needs --software or --hardware");
  });
}

void AddDeviceCommands(CLI::App& app, Invocation& inv) {
  CLI::App* zero = app.add_subcommand("zero", "zero the position counter");
  AddPort(*zero, inv);
  AddConfirmation(*zero, inv);
  Finally(zero, inv);
  CLI::App* centre = app.add_subcommand("center-index", "start the index centring");
  AddPort(*centre, inv);
  AddConfirmation(*centre, inv);
  Finally(centre, inv);
  CLI::App* set = app.add_subcommand("set", "interpolation level and output frequency");
  AddPort(*set, inv);
  set->add_option("--interpolation", inv.interpolation, "level, 4 to 4096")
      ->type_name("LEVEL")
      ->transform(Whole("--interpolation", kLowestInterpolation, kHighestInterpolation,
                        "a level from 4 to 4096"));
  set->add_option("--frequency", inv.frequency, "setting, 1 (7.2 MHz) to 6 (225 kHz)")
      ->type_name("SETTING")
      ->transform(Whole("--frequency", kFastestFrequency, kSlowestFrequency,
                        "a setting from 1 (7.2 MHz) to 6 (225 kHz)"));
  AddConfirmation(*set, inv);
  Finally(set, inv, [&inv] {
    if (!inv.interpolation && !inv.frequency)
      Refuse("set needs --interpolation, --frequency or both");
  });
}

void AddHelp(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("help", "this list, or a command's options");
  c->add_option("command", inv.topic, "the command to explain")->type_name("COMMAND");
  Finally(c, inv, [&app, &inv] {
    const auto commands =
        app.get_subcommands([&](const CLI::App* c) { return c->get_name() == inv.topic; });
    if (!inv.topic.empty() && commands.empty())
      Refuse(Quoted(inv.topic) + " is not a command; the commands are " + CommandNames(app));
  });
}

void CheckCommand(const CLI::App& app, Invocation& inv) {
  if (!app.get_subcommands().empty()) inv.command = app.get_subcommands().front()->get_name();
  RefuseLeftovers(app, inv.command);
  if (inv.command.empty() && !inv.bashCompletion)
    Refuse("give a command; probelink-cli help lists them");
}

std::string Footer() {
  std::string commands;
  for (const char* c : kChangingCommands)
    commands += (commands.empty() ? "" : ", ") + std::string(c);
  return "Commands that change the electronics (" + commands +
         ") act only with --yes; without it they change nothing and exit 2.\n\n"
         + kPortSentence + "\n\n"
         "Exit status: 0 done, 1 no electronics or a communication failure, 2 a usage error, "
         "3 refused by the electronics, 4 an alignment figure out of tolerance.";
}

// CLI11's errors in words a person reads: its validators' sentences come
// with the option's name before them, which ours already name.
std::string PlainSentence(const CLI::ParseError& error) {
  const std::string text = error.what();
  const size_t colon = text.find(": ");
  const bool named = colon != std::string::npos && text.find(' ') > colon;
  if (dynamic_cast<const CLI::ValidationError*>(&error) && named) return text.substr(colon + 2);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && named)
    return text.substr(0, colon) + " is missing its value";
  return text;
}

}  // namespace

void DescribeCommands(CLI::App& app, Invocation& inv) {
  app.description("The Veritrak II electronics from a shell, through probelink.");
  app.footer(Footer());
  app.set_version_flag("--version", "probelink-cli " PROBELINK_CLI_VERSION);
  app.add_flag("--json", inv.json,
               "one JSON document, or one JSON object a line for streams; "
               "errors as a JSON object on standard error");
  app.add_flag("--bash-completion", inv.bashCompletion, "print the bash completion script")
      ->group("");
  app.fallthrough();
  app.allow_extras();
  app.require_subcommand(0, 1);
  AddPorts(app, inv);
  AddIdentify(app, inv);
  AddStatus(app, inv);
  AddAlign(app, inv);
  AddRead(app, inv);
  AddWrite(app, inv);
  AddStream(app, inv);
  AddReset(app, inv);
  AddDeviceCommands(app, inv);
  AddHelp(app, inv);
  app.final_callback([&app, &inv] { CheckCommand(app, inv); });
}

std::string FixedValues(const std::string& option) {
  static const std::map<std::string, std::string> values = [] {
    std::string fields = QuantityNames();
    std::erase(fields, ',');
    std::string frequencies;
    for (int s = kFastestFrequency; s <= kSlowestFrequency; ++s)
      frequencies += (frequencies.empty() ? "" : " ") + std::to_string(s);
    return std::map<std::string, std::string>{{"--format", "csv json"},
                                              {"--frequency", frequencies},
                                              {"--fields", fields},
                                              {"--registers", fields}};
  }();
  const auto found = values.find(option);
  return found == values.end() ? "" : found->second;
}

int AnswerParseError(const CLI::App& app, const CLI::ParseError& error, bool json) {
  if (error.get_exit_code() == 0) {
    std::cout << (dynamic_cast<const CLI::CallForVersion*>(&error)
                      ? std::string(error.what()) + "\n"
                      : app.help());
    return kSuccess;
  }
  const CLI::App* at = &app;
  std::string name = app.get_name();
  for (const CLI::App* command = &app; !command->get_subcommands().empty();) {
    command = command->get_subcommands().back();
    at = command;
    name += " " + command->get_name();
  }
  std::string usage = CLI::Formatter().make_usage(at, name);
  while (!usage.empty() && usage.back() == '\n') usage.pop_back();
  const bool noPort = dynamic_cast<const CLI::RequiredError*>(&error) &&
                      at->get_option_no_throw("port") && at->count("port") == 0;
  ReportError(noPort ? at->get_name() + " needs a port: " + kPortHint
                     : PlainSentence(error),
              kUsageError, json, usage);
  return kUsageError;
}

}  // namespace probelink_cli
