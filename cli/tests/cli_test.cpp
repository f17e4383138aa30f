// probelink-cli against the emulator: each command's output and exit status,
// refusals and silence, bad arguments, JSON read back, and a stream or watch
// cut short by a pulled cable or by Ctrl-C.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "child_program.h"
#include "emulator_fixture.h"

namespace probelink_cli {
namespace {

using nlohmann::json;
using Args = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr int32_t kCom = 5;
constexpr int32_t kStandingAt = 4096 * 3 + 1000;  // 13288

// Runs of blanks squeezed to one, so that column widths do not matter.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  return out;
}

// The fragments appear in this order in the squeezed text.
bool Has(const std::string& text, const std::vector<std::string>& fragments) {
  const std::string squeezed = Squeezed(text);
  size_t at = 0;
  for (const std::string& fragment : fragments)
    if ((at = squeezed.find(fragment, at)) == std::string::npos) return false;
  return true;
}

std::vector<nlohmann::ordered_json> JsonLines(const std::string& text) {
  std::vector<nlohmann::ordered_json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::ordered_json::parse(line));
  return lines;
}

size_t Lines(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    veritrak::Options options;
    options.head = veritrak::Standing(kStandingAt);
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    for (int com = 1; com <= 16; ++com) home_.LinkPort(com, home_.Root() / "absent");
    home_.LinkPort(kCom, emulator_->DevicePath());
  }

  uint32_t LastWritten() const {
    const auto words = emulator_->WrittenWords();
    return words.empty() ? 0 : words.back();
  }

  // The port is free, and the electronics answer with nothing streaming.
  void ExpectIdle() {
    ASSERT_EQ(OpenPort(kCom), 0);
    ConfigPort(kCom, 100, 38400);
    EXPECT_EQ(DoSynchronize(kCom), 1);
    uint8_t byte = 0;
    int32_t received = 0;
    ReadRs232Data(kCom, 1, &byte, &received);
    EXPECT_EQ(received, 0) << "still streaming";
    ClosePort(kCom);
  }

  testsupport::TempConfigHome home_;
  std::unique_ptr<veritrak::Emulator> emulator_;
};

TEST_F(CliTest, EachCommandPrintsWhatTheElectronicsSayAndExitsAsItEnds) {
  struct Case {
    Args args;
    int exit;
    std::vector<std::string> fragments;  // of standard output, or standard error for a failure
    uint32_t written = 0;                // the last word the electronics took
    size_t lines = 0;                    // of output, where it matters
  };
  // clang-format off
  const Case cases[] = {
    {{"identify", "COM5"}, 0, {"\nmodel: Kestrel\nmodel code: 1\nfirmware: 0x0512\npower on hours: 1234 h\n"
                               "power on cycles: 56\ninterpolation: 256\nfrequency setting: 1\noutput frequency: 7.2 MHz\n"}},
    {{"status", "COM5"}, 0, {"port: COM5\ndevice: /dev/pts/", "\nposition: 13288 counts\nindex: not-at-index\n"
                             "red alarm: no\nyellow alarm: no\nsignal level: 77.3 %\nsignal level band: Good\nstatus: 0x0000\n"}},
    {{"status", "COM5", "--count-length", "0.5um"}, 0, {"\nposition: 13288 counts\nposition: 6644 µm\nindex: "}},
    {{"read", "COM5", "0x20", "GainX", "3"}, 0, {"\nregister name value hex\n0x20 Version Addr 20 34 0x0022\n"
                                                 "0x50 GainX Addr 10 2048 0x0800\n0x03 Addr 03 4080 0x0FF0\n"}, 0, 6},
    {{"read", "COM5", "0x10"}, 0, {"\n0x10 - 0 0x0000\nnote: register 0x10 is not on the engineering display; its "
                                   "\"GainX Addr 10\" is register 0x50\n"}},
    {{"read", "COM5"}, 0, {"\n0x00 GenReg0 Addr 00 18 0x0012\n", "\n0x2C IWNeg Edge Addr 2C "}, 0, 29},
    {{"read", "COM5", "--all"}, 0, {"\nname register hex\nGenReg0 Addr 00 0x00 0012\n", "\nGainX Addr 10 0x50 0800\n",
                                    "\nMSP Version - 00000512\nPower On Time - 000004D2\nPower On Cycles - 00000038\n"
                                    "Position - 000033E8\n"}, 0, 33},
    {{"write", "COM5", "gainx", "0x0801", "--yes"}, 0, {"\nregister: 0x50\nname: GainX Addr 10\nwritten: 0x0801\n"
                                                        "read back: 0x0801\n"}, 0xD00801},
    {{"set", "COM5", "--interpolation", "1024", "--frequency", "3", "--yes"}, 0,
     {"\ninterpolation: 1024\nfrequency setting: 3\noutput frequency: 1.8 MHz\n"}, 0x820003},
    {{"stream", "COM5", "--count", "3"}, 0, {"time (s),position (counts),velocity (counts/s)\n", ",13288,0\n",
                                             ",13288,0\n", ",13288,0\n"}, 0, 4},
    {{"stream", "COM5", "--fields", "sine,signal_level,signal_level_band,index,red_alarm,status,Addr 10", "--count", "2"},
     0, {"time (s),sine (V),signal_level (%),signal_level_band,index,red_alarm,status,0x50\n",
         ",77.3,Good,not-at-index,no,0x0000,2049\n", ",77.3,Good,not-at-index,no,0x0000,2049\n"}, 0, 3},
    {{"stream", "COM5", "--registers", "0x69,0x68,0x67", "--count", "1", "--count-length", "0.5um"}, 0,
     {"time (s),0x69,0x68,0x67\n", ",0,3,16000\n"}, 0, 2},
    {{"stream", "COM5", "--fields", "position", "--count", "1", "--count-length", "0.5um"}, 0,
     {"time (s),position (counts),position (µm)\n", ",13288,6644\n"}, 0, 2},
    {{"status", "COM5", "--watch", "--seconds", "0.5", "--interval", "0.05"}, 0,
     {"time (s) position (counts) index red_alarm yellow_alarm signal_level (%) signal_level_band status\n",
      " 13288 not-at-index no no 77.3 Good 0x0000\n"}},
    {{"ports"}, 0, {"device by id port assigned open\n", " - COM5 link ok\n", "/absent - COM1 link missing\n"}},
    {{"ports", "--probe"}, 0, {" - COM5 link ok Kestrel\n"}},
    {{"--version"}, 0, {"probelink-cli 1.0\n"}, 0, 1},
    // These move the position the rows above read.
    {{"zero", "COM5", "--yes"}, 0, {"command: zero\naccepted: yes\n"}, 0x800004},
    {{"center-index", "COM5", "--yes"}, 0, {"command: center-index\naccepted: yes\n"}, 0x800014},
    {{"reset", "COM5", "--software", "--yes"}, 0, {"command: reset\naccepted: yes\n"}},
    {{"write", "COM5", "0x21", "5", "--yes"}, 3, {"probelink-cli: COM5 (", "): register 0x21 did not take 0x0005, it reads 0x0000\n"}, 0, 1},
    {{"reset", "COM5", "--hardware", "--yes"}, 1, {"probelink-cli: COM5 (", "): the port cannot pulse DTR"}, 0, 1},
    {{"identify", "COM6"}, 1, {"probelink-cli: COM6 (", "/absent): cannot open: no such device\n"}, 0, 1},
    {{"align", "COM5", "--seconds", "0.5"}, 1, {"probelink-cli: COM5 (", "): The read-head has not travelled far enough: move the read-head along the scale"}, 0, 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    const Outcome run = RunProgram(c.args);
    const std::string& text = c.exit ? run.err : run.out;
    EXPECT_EQ(run.exit, c.exit) << c.args[0] << run.err;
    EXPECT_TRUE(Has(text, c.fragments)) << c.args[0] << "\n" << text;
    if (c.lines) {
      EXPECT_EQ(Lines(text), c.lines) << c.args[0] << "\n" << text;
    }
    if (c.written) {
      EXPECT_EQ(LastWritten(), c.written) << c.args[0];
    }
  }
}

TEST_F(CliTest, JsonOutputReadsBackAsTheSameFactsInTheSharedVocabulary) {
  const auto document = [](const Outcome& run) { return json::parse(run.out); };
  // Times and small numbers in plain decimals: no "8e-06" for a script to trip on.
  const auto plain = [](const std::string& text) {
    return text.find("e-") == std::string::npos && text.find("e+") == std::string::npos;
  };
  // clang-format off
  const std::vector<std::pair<Args, std::function<void(const Outcome&)>>> cases = {
    {{"--json", "identify", "COM5"}, [&](const Outcome& run) {
      const json d = document(run);
      EXPECT_EQ(std::tuple(d["port"], d["model"], d["model_code"], d["firmware"], d["power_on_hours"],
                           d["power_on_cycles"], d["interpolation"], d["output_frequency"]),
                std::tuple("COM5", "Kestrel", 1, "0x0512", 1234, 56, 256, 7.2));
      EXPECT_EQ(d["device"], emulator_->DevicePath());
    }},
    {{"status", "COM5", "--json", "--count-length", "0.5um"}, [&](const Outcome& run) {
      const json d = document(run);
      EXPECT_EQ(std::tuple(d["position"], d["position_um"], d["index"], d["red_alarm"], d["yellow_alarm"],
                           d["signal_level"], d["signal_level_band"], d["status"]),
                std::tuple(kStandingAt, 6644, "not-at-index", false, false, 77.3, "Good", "0x0000"));
    }},
    {{"--json", "read", "COM5", "3"}, [&](const Outcome& run) {
      EXPECT_EQ(document(run)["registers"][0],
                json({{"register", "0x03"}, {"name", "Addr 03"}, {"value", 4080}, {"hex", "0x0FF0"}}));
    }},
    {{"--json", "read", "COM5", "--all"}, [&](const Outcome& run) {
      const json survey = document(run)["survey"];
      ASSERT_EQ(survey.size(), 30u);
      EXPECT_EQ(survey[10], json({{"name", "GainX  Addr 10"}, {"register", "0x50"}, {"hex", "0800"}}));
      EXPECT_EQ(survey[29], json({{"name", "Position"}, {"register", nullptr}, {"hex", "000033E8"}}));
    }},
    {{"--json", "ports"}, [&](const Outcome& run) {
      bool seen = false;
      const json d = document(run);
      for (const json& row : d["ports"])
        if (row["port"] == "COM5")
          seen = row == json({{"device", emulator_->DevicePath()}, {"by_id", nullptr}, {"port", "COM5"},
                              {"assigned", "link"}, {"open", "ok"}});
      EXPECT_TRUE(seen) << run.out;
    }},
    {{"stream", "COM5", "--fields", "position,velocity,sine,cosine", "--count", "20", "--format", "json"},
     [&](const Outcome& run) {
      const auto lines = JsonLines(run.out);
      ASSERT_EQ(lines.size(), 20u);
      for (const auto& line : lines) {
        EXPECT_EQ(std::vector<std::string>({"time", "position", "velocity", "sine", "cosine"}),
                  [&] { std::vector<std::string> keys; for (const auto& [k, v] : line.items()) keys.push_back(k); return keys; }());
        EXPECT_NEAR(std::hypot(line["sine"].get<double>(), line["cosine"].get<double>()), 800 * 1.98 / 4096, 0.001);
      }
      EXPECT_TRUE(plain(run.out)) << run.out;
    }},
    {{"--json", "status", "COM5", "--watch", "--seconds", "0.3"}, [&](const Outcome& run) {
      for (const auto& line : JsonLines(run.out)) EXPECT_EQ(line["position"], kStandingAt);
      EXPECT_TRUE(plain(run.out)) << run.out;
    }},
  };
  // clang-format on
  for (const auto& [args, check] : cases) {
    const Outcome run = RunProgram(args);
    EXPECT_EQ(run.exit, 0) << args[1] << run.err;
    check(run);
  }
}

// Refused acknowledgements exit 3; a pulled cable exits 1. After a write, a
// set or a software reset the electronics are read again: silence exits 1
// naming what went unanswered, electronics that acknowledged but kept their
// registers exit 3 naming what they kept, and a line whose device has gone
// exits 1 saying so. Each case has electronics of its own, as a hung-up line
// leaves none behind.
TEST_F(CliTest, EachWayTheElectronicsFailIsToldByItsOwnStatusAndMessage) {
  using End = veritrak::Emulator::LineEnd;
  using Fault = std::function<void(veritrak::Emulator&)>;
  const Fault refuse = [](veritrak::Emulator& e) { e.SetRefuseAcks(true); };
  const Fault pull = [](veritrak::Emulator& e) { e.PullCable(); };
  const Fault keep = [](veritrak::Emulator& e) { e.SetIgnoreWrites(true); };
  const auto after = [](End end) {
    return Fault([end](veritrak::Emulator& e) { e.EndLineAfterNextCommand(end); });
  };
  const Args write{"write", "COM5", "0x08", "200", "--yes"};
  const Args set{"set", "COM5", "--interpolation", "1024", "--yes"};
  const Args reset{"reset", "COM5", "--software", "--yes"};
  const std::string gone = "the line is lost: the device has gone";
  struct Case {
    Fault fault;
    Args args;
    int exit;
    std::string message;  // what follows "COM5 (device): "
  };
  // clang-format off
  const Case cases[] = {
    {refuse, write, 3, "the electronics refused the write of 0x8800C8"},
    {refuse, {"zero", "COM5", "--yes"}, 3, "the electronics refused the write of 0x800002"},
    {refuse, {"stream", "COM5", "--registers", "0x65", "--count", "1"}, 3,
     "the electronics refused to start the stream"},
    {pull, {"identify", "COM5"}, 1, "no Veritrak II electronics answer"},
    {after(End::Silence), write, 1, "register 0x08 could not be read"},
    {keep, write, 3, "register 0x08 did not take 0x00C8, it reads 0x"},
    {after(End::HangUp), write, 1, gone},
    {after(End::Silence), set, 1, "the set-up registers could not be read"},
    {keep, set, 3, "the electronics kept another set-up"},
    {after(End::HangUp), set, 1, gone},
    {after(End::Silence), reset, 1, "the electronics do not answer after the reset"},
    {after(End::HangUp), reset, 1, gone},
  };
  // clang-format on
  for (const Case& c : cases)
    for (const bool asJson : {false, true}) {
      SCOPED_TRACE(c.args[0] + " " + c.message + (asJson ? " (json)" : ""));
      veritrak::Options options;
      options.head = veritrak::Standing(kStandingAt);
      emulator_ = std::make_unique<veritrak::Emulator>(options);
      home_.LinkPort(kCom, emulator_->DevicePath());
      c.fault(*emulator_);
      Args args = c.args;
      if (asJson) args.push_back("--json");
      const Outcome run = RunProgram(args);
      EXPECT_EQ(run.exit, c.exit);
      EXPECT_EQ(Lines(run.err), 1u) << run.err;
      const std::string told = "COM5 (" + emulator_->DevicePath() + "): " + c.message;
      if (!asJson) {
        EXPECT_TRUE(run.err.starts_with("probelink-cli: " + told)) << run.err;
        continue;
      }
      const json error = json::parse(run.err);
      EXPECT_EQ(error["exit"], c.exit);
      EXPECT_TRUE(error["error"].get<std::string>().starts_with(told)) << run.err;
  }
}

TEST_F(CliTest, MistakesAreToldInASentenceWithTheUsageLineAndChangeNothing) {
  const std::string settingsless = home_.Root().string();
  // clang-format off
  const std::pair<Args, std::string> cases[] = {
    {{}, "give a command; probelink-cli help lists them"},
    {{"bogus"}, "'bogus' is not a command; the commands are ports, identify, status, align, read, write, "
                "stream, reset, zero, center-index, set, help"},
    {{"help", "bogus"}, "'bogus' is not a command; the commands are ports, identify, status, align, read, write, "
                        "stream, reset, zero, center-index, set, help"},
    {{"identify"}, "identify needs a port: COM1 to COM16, or a device path such as /dev/ttyUSB0"},
    {{"identify", "COM17"}, "'COM17' is not a port: give COM1 to COM16, or a device path such as /dev/ttyUSB0"},
    {{"identify", "COM5", "extra"}, "'extra' is no argument of identify (probelink-cli help identify lists them)"},
    {{"stream", "COM5", "--count", "3", "--bogus"}, "'--bogus' is no option of stream (probelink-cli help stream lists them)"},
    {{"read", "COM5", "0xZZ"}, "'0xZZ' is neither a register number (0x00 to 0x7F) nor a register's name on the "
                               "engineering display (such as GainX or \"Addr 10\")"},
    {{"read", "COM5", "0x80"}, "0x80 is the command register, which can only be written (zero and center-index "
                               "send its commands)"},
    {{"read", "COM5", "0x83"}, "0x83 is the address that writes register 0x03 (\"Addr 03\") and cannot be read: "
                               "read 0x03 instead"},
    {{"read", "COM5", "3", "--all"}, "--all reads the display's whole survey: give it without register numbers"},
    {{"write", "COM5", "0x80", "1", "--yes"}, "0x80 is the command register, which can only be written (zero and "
                                              "center-index send its commands)"},
    {{"write", "COM5", "3", "65536", "--yes"}, "the value must be a 16-bit word, 0 to 65535 (0xFFFF), not '65536'"},
    {{"write", "COM5", "3", "--yes"}, "write needs a register and a value, such as: write COM5 GainX 0x0800 --yes"},
    {{"stream", "COM5"}, "stream needs --count N or --seconds S to know when to stop"},
    {{"stream", "COM5", "--count", "0"}, "--count must be a whole number of records, at least 1, not '0'"},
    {{"stream", "COM5", "--count"}, "--count is missing its value"},
    {{"stream", "COM5", "--count", "3", "--seconds", "1"}, "--count and --seconds both say when to stop: give one of them"},
    {{"stream", "COM5", "--fields", "position,position", "--count", "3"}, "position is twice in --fields: each field is one column"},
    {{"stream", "COM5", "--fields", "speed", "--count", "3"}, "'speed' is not a field: give position, velocity, sine, "
     "cosine, signal_level, signal_level_band, index, red_alarm, yellow_alarm, status, or a register's number "
     "(0x00 to 0x7F) or name"},
    {{"stream", "COM5", "--count", "3", "--format", "xml"}, "--format must be csv or json, not 'xml'"},
    {{"stream", "COM5", "--count", "3", "--format", "csv", "--json"}, "--format csv and --json ask for two formats: give one of them"},
    {{"stream", "COM5", "--count", "3", "--settings", settingsless}, settingsless + " holds no Quillon.ini: "
     "--settings takes the folder of the window's settings files"},
    {{"status", "COM5", "--count-length", "3parsec"}, "--count-length must be a length above 0 with its unit, such as "
     "0.5um (units: nm, um (µm), mm, uin (µin), mil, in), not '3parsec'"},
    {{"status", "COM5", "--count-length", "1um", "--grating-pitch", "20um"}, "--count-length gives the length of a "
     "count outright: leave out --grating-pitch and --settings, or leave out --count-length"},
    {{"status", "COM5", "--seconds", "1"}, "--seconds applies only with --watch"},
    {{"status", "COM5", "--watch", "--interval", "-1"}, "--interval must be a number of seconds from 0 up, not '-1'"},
    {{"reset", "COM5", "--yes"}, "reset needs --software or --hardware"},
    {{"reset", "COM5", "--software", "--hardware", "--yes"}, "--software and --hardware are two ways to reset: give one of them"},
    {{"reset", "COM5", "--software"}, "reset changes the electronics: add --yes to go ahead"},
    {{"set", "COM5", "--yes"}, "set needs --interpolation, --frequency or both"},
    {{"set", "COM5", "--frequency", "7", "--yes"}, "--frequency must be a setting from 1 (7.2 MHz) to 6 (225 kHz), not '7'"},
    {{"set", "COM5", "--interpolation", "1024"}, "set changes the electronics: add --yes to go ahead"},
    {{"write", "COM5", "3", "5"}, "write changes the electronics: add --yes to go ahead"},
    {{"zero", "COM5"}, "zero changes the electronics: add --yes to go ahead"},
    {{"center-index", "COM5"}, "center-index changes the electronics: add --yes to go ahead"},
    {{"ports", "--assign", "COM5", "ttyUSB0"}, "'ttyUSB0' is not a device path: give one such as /dev/ttyUSB0 or "
                                              "/dev/serial/by-id/..."},
    {{"ports", "--unassign", "COM5", "--probe"}, "--probe lists the ports: give it without --assign or --unassign"},
  };
  // clang-format on
  for (const auto& [args, message] : cases) {
    const std::string command = args.empty() || args[0] == "bogus" ? "" : " " + args[0];
    for (const bool withJson : {false, true}) {
      Args given = args;
      if (withJson) given.insert(given.begin(), "--json");
      const bool asJson = std::find(given.begin(), given.end(), "--json") != given.end();
      const Outcome run = RunProgram(given);
      EXPECT_EQ(run.exit, 2) << command << run.err;
      EXPECT_EQ(run.out, "");
      if (asJson) {
        const json error = json::parse(run.err);
        EXPECT_EQ(std::tuple(error["error"], error["exit"]), std::tuple(message, 2));
        EXPECT_TRUE(error["usage"].get<std::string>().starts_with("Usage: probelink-cli" + command)) << run.err;
      } else {
        EXPECT_TRUE(run.err.starts_with("probelink-cli: " + message + "\nUsage: probelink-cli" + command))
            << run.err;
        EXPECT_EQ(Lines(run.err), 2u) << run.err;
      }
    }
  }
  EXPECT_TRUE(emulator_->WrittenWords().empty());
  EXPECT_TRUE(fs::is_symlink(home_.PortFolder() / "COM5"));
}

TEST_F(CliTest, HelpAndCompletionOfferWhatEachCommandTakes) {
  const Outcome help = RunProgram({"help"}), stream = RunProgram({"help", "stream"});
  EXPECT_EQ(help.out, RunProgram({"--help"}).out);
  EXPECT_EQ(stream.out, RunProgram({"stream", "--help"}).out);
  EXPECT_TRUE(Has(help.out, {"Commands that change the electronics (write, set, zero, reset, center-index) act "
                             "only with --yes"}))
      << help.out;
  EXPECT_TRUE(Has(stream.out, {"Usage: probelink-cli stream ", "\n --fields,--registers LIST"})) << stream.out;
  // What bash offers for the last of the words typed so far.
  const fs::path script = home_.Root() / "complete.sh";
  const auto offered = [&](const std::string& words) {
    std::ofstream(script) << "source <(" PROBELINK_CLI_PATH " --bash-completion)\n"
                          << "COMP_WORDS=(probelink-cli " << words << ")\n"
                          << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _probelink_cli; echo \"${COMPREPLY[*]}\"\n";
    std::string out(4096, '\0');
    FILE* bash = popen(("bash " + script.string()).c_str(), "r");
    out.resize(bash ? std::fread(out.data(), 1, out.size(), bash) : 0);
    if (bash) pclose(bash);
    return out;
  };
  const std::pair<std::string, std::string> cases[] = {
      {"set COM5 --frequency ''", "1 2 3 4 5 6\n"},
      {"stream COM5 --format ''", "csv json\n"},
      {"stream COM5 --fields sig", "signal_level signal_level_band\n"},
      {"help str", "stream\n"},
      {"identify COM1", "COM1 COM10 COM11 COM12 COM13 COM14 COM15 COM16\n"},
      {"ports --assign COM1", "COM1 COM10 COM11 COM12 COM13 COM14 COM15 COM16\n"},
      {"zero COM5 --y", "--yes\n"},
      {"status " + (home_.Root() / "complete.s").string(), (home_.Root() / "complete.sh").string() + "\n"},
  };
  for (const auto& [words, expected] : cases) EXPECT_EQ(offered(words), expected) << words;
}

// The emulator named by its device path alone (through a private ports
// folder that is gone afterwards), then by the COM number assigned to it.
TEST_F(CliTest, EveryCommandTakesADevicePathOrAnAssignedComName) {
  const std::string device = emulator_->DevicePath();
  home_.LinkPort(kCom, home_.Root() / "absent");
  const fs::path temp = home_.Root() / "tmp";
  fs::create_directories(temp);
  setenv("TMPDIR", temp.c_str(), 1);
  // clang-format off
  const std::pair<Args, int> commands[] = {
    {{"identify"}, 0}, {{"status"}, 0}, {{"read", "3"}, 0}, {{"write", "8", "200", "--yes"}, 0},
    {{"stream", "--count", "2"}, 0}, {{"zero", "--yes"}, 0}, {{"center-index", "--yes"}, 0},
    {{"set", "--frequency", "2", "--yes"}, 0}, {{"reset", "--software", "--yes"}, 0},
    {{"align", "--seconds", "0.3"}, 1},  // answers: a standing head cannot be measured
  };
  // clang-format on
  for (const std::string& port : {device, std::string("com9")}) {
    for (const auto& [words, exit] : commands) {
      Args args = words;
      args.insert(args.begin() + 1, port);
      const Outcome run = RunProgram(args);
      EXPECT_EQ(run.exit, exit) << port << " " << args[0] << run.err;
    }
    const json identity = json::parse(RunProgram({"--json", "identify", port}).out);
    EXPECT_EQ(std::tuple(identity["port"], identity["device"]),
              std::tuple(port == device ? json() : json("COM9"), json(device)));
    const Outcome assigned = RunProgram({"ports", "--assign", "COM9", device});
    EXPECT_EQ(assigned.exit, 0) << assigned.err;
  }
  EXPECT_TRUE(fs::is_empty(temp));
  unsetenv("TMPDIR");
  EXPECT_EQ(fs::read_symlink(home_.PortFolder() / "COM9"), device);
  const Outcome twice = RunProgram({"ports", "--assign", "COM10", device});
  EXPECT_EQ(twice.exit, 2);
  EXPECT_EQ(twice.err, "probelink-cli: " + device + " is COM9 already: unassign it first (probelink-cli ports "
                       "--unassign COM9)\n");
  EXPECT_TRUE(Has(RunProgram({"ports", "--unassign", "COM9"}).out, {"port: COM9\nunassigned: " + device + "\n"}));
  EXPECT_FALSE(fs::exists(home_.PortFolder() / "COM9"));
  EXPECT_EQ(RunProgram({"ports", "--assign", "COM9", "/dev/no-such-adapter"}).err,
            "probelink-cli: /dev/no-such-adapter does not exist: plug the adapter in, then see probelink-cli "
            "ports for its name\n");
}

// Positions in the units the window's settings folder shows, as the window
// reads its files: a file it would not accept gives its defaults, counts.
TEST_F(CliTest, LengthsFollowTheCountLengthOrTheWindowSettings) {
  const fs::path folder = home_.Root() / "settings";
  fs::create_directories(folder);
  std::ofstream(folder / "grating2.ini") << " 19.05mm - 10,000 CPR at x4 interp\r\n";
  const auto settings = [&](const std::string& encoder, const std::string& unit) {
    std::ofstream(folder / "Quillon.ini")
        << "siglevelmult=1.150\r\nlissplot=150\r\nminimumcircle=0.187\r\nmaximumcircle=0.575\r\n"
        << "encodertype=" << encoder << "\r\nunittype=" << unit << "\r\ndigits=0\r\nunits=mm\r\n"
        << "signalplot=5000\r\ngratingindex=0\r\nencoderplottype=2\r\npositionplottype=0\r\n"
        << "numgratings=1\r\n10000\r\n";
  };
  const std::string dir = folder.string();
  // 20 µm a period over 256 counts: 0.078125 µm a count.
  // clang-format off
  const std::tuple<std::string, std::string, Args, std::string> cases[] = {
    {"0", "2", {"--settings", dir, "--grating-pitch", "20um"}, "time (s),position (counts),position (mm)\n"},
    {"0", "0", {"--settings", dir, "--grating-pitch", "0.02 mm"}, "time (s),position (counts),position (nm)\n"},
    {"1", "2", {"--settings", dir}, "time (s),position (counts)\n"},
    {"0", "9", {"--settings", dir}, "time (s),position (counts)\n"},  // no such unit: the defaults
    {"0", "2", {"--grating-pitch", "20um"}, "time (s),position (counts),position (µm)\n"},
    {"0", "2", {"--count-length", "0.001in"}, "time (s),position (counts),position (in)\n"},
  };
  const std::string values[] = {",13288,1.038125\n", ",13288,1038125\n", ",13288\n", ",13288\n", ",13288,1038.125\n",
                                ",13288,13.288\n"};
  // clang-format on
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& [encoder, unit, options, heading] = cases[i];
    settings(encoder, unit);
    Args args = {"stream", "COM5", "--fields", "position", "--count", "1"};
    args.insert(args.end(), options.begin(), options.end());
    const Outcome run = RunProgram(args);
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with(heading) && run.out.ends_with(values[i])) << i << "\n" << run.out;
  }
  settings("0", "1");
  const Outcome pitchless = RunProgram({"status", "COM5", "--settings", dir});
  EXPECT_EQ(pitchless.exit, 2);
  EXPECT_TRUE(pitchless.err.starts_with("probelink-cli: the window's settings in " + dir + " show µm on a linear "
                                        "grating, whose pitch the window does not keep: give it with "
                                        "--grating-pitch (for example --grating-pitch 20um)\n"))
      << pitchless.err;
}

// A pulled cable or an unplugged adapter ends the run with 1 and a message
// within a few line time-outs; Ctrl-C ends it with 0 and the electronics
// idle. Either way the port is free again, and leads to the electronics once
// the adapter is back.
TEST_F(CliTest, ALostLineOrCtrlCEndsAStreamOrAWatchCleanly) {
  enum class Cut { Pull, Unplug, CtrlC };
  const std::string gone = "the line is lost: the device has gone\n";
  struct Case {
    Args args;
    Cut cut;
    int exit;
    std::string message;  // the one line on standard error, after "COM5 (device): "
  };
  // clang-format off
  const Case cases[] = {
    {{"stream", "COM5", "--fields", "sine,cosine", "--seconds", "600"}, Cut::Pull, 1,
     "the electronics stopped streaming\n"},
    {{"status", "COM5", "--watch"}, Cut::Pull, 1, "the electronics stopped answering\n"},
    {{"stream", "COM5", "--fields", "position", "--seconds", "600"}, Cut::Unplug, 1, gone},
    {{"status", "COM5", "--watch", "--json"}, Cut::Unplug, 1, gone},
    {{"stream", "COM5", "--registers", "0x65,0x64", "--seconds", "600"}, Cut::CtrlC, 0, ""},
    {{"status", "COM5", "--watch", "--json"}, Cut::CtrlC, 0, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.message);
    ChildProgram child(c.args);
    ASSERT_TRUE(child.WaitFor([](const std::string& out) { return Lines(out) >= 3; }));
    if (c.cut == Cut::Pull) emulator_->PullCable();
    if (c.cut == Cut::Unplug) emulator_->UnplugAdapter();
    if (c.cut == Cut::CtrlC) child.Signal(SIGINT);
    const Outcome run = child.Finish();
    EXPECT_EQ(run.exit, c.exit);
    if (c.message.empty()) {
      EXPECT_EQ(run.err, "");
    } else if (c.args.back() == "--json") {
      EXPECT_EQ(json::parse(run.err)["exit"], c.exit);
      EXPECT_TRUE(Has(run.err, {"COM5 (", "): " + c.message.substr(0, c.message.size() - 1)}))
          << run.err;
    } else {
      EXPECT_TRUE(Has(run.err, {"probelink-cli: COM5 (", "): " + c.message})) << run.err;
      EXPECT_EQ(Lines(run.err), 1u);
    }
    emulator_->PlugCable();
    if (c.cut == Cut::Unplug) home_.LinkPort(kCom, emulator_->PlugAdapter());
    // Electronics that lost the stop run stream on; the next command stops them.
    if (c.cut == Cut::CtrlC) ExpectIdle();
    EXPECT_EQ(RunProgram({"identify", "COM5"}).exit, 0);
  }
}

// A misaligned head moving over the emulator's sweeping level: its figures
// read back, judged against the tolerances given, and the live meter's lines
// into a pipe.
TEST(CliAlign, MeasuresAMovingHeadAgainstTheTolerancesGiven) {
  testsupport::TempConfigHome home;
  veritrak::Options options;
  options.head.speed = 100000;
  options.head.sineOffset = 0.02, options.head.gainRatio = 1.05, options.head.phaseError = -3;
  veritrak::Emulator emulator(options);
  home.LinkPort(kCom, emulator.DevicePath());
  const std::string tight = (home.Root() / "tight.ini").string();
  std::ofstream(tight) << "[tolerances]\nphase_marginal = 2.5\n";
  const std::tuple<Args, int, const char*> cases[] = {
      {{"--json", "align", "COM5", "--seconds", "1"}, 0, "marginal"},
      {{"--json", "align", "COM5", "--seconds", "1", "--tolerances", tight}, 4, "poor"}};
  for (const auto& [args, exit, verdict] : cases) {
    const Outcome run = RunProgram(args);
    EXPECT_EQ(run.exit, exit) << run.err;
    const json d = json::parse(run.out);
    EXPECT_EQ(d["verdict"], verdict);
    std::map<std::string, double> read;
    for (const json& f : d["figures"]) read[f["figure"]] = f["value"];
    EXPECT_NEAR(read["sine_offset"], 20, 1);
    EXPECT_NEAR(read["cosine_offset"], 0, 1);
    EXPECT_NEAR(read["amplitude_ratio"], 105, 0.2);
    EXPECT_NEAR(read["phase_error"], -3, 0.1);
  }
  const Outcome watch = RunProgram({"align", "COM5", "--watch", "--seconds", "2"});
  EXPECT_EQ(watch.exit, 0) << watch.err;
  EXPECT_TRUE(Has(watch.out, {"time (s) samples sine_offset", "verdict refusal\n", " deg ",
                              "marginal -\n"}))
      << watch.out;
  EXPECT_TRUE(Has(watch.out, {" deg ="}) || Has(watch.out, {" deg ↑ better"}) ||
              Has(watch.out, {" deg ↓ worse"}))
      << watch.out;
}

}  // namespace
}  // namespace probelink_cli
