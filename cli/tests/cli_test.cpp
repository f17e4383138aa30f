// probelink-cli against the emulator: each command's output and exit status,
// refusals and silence, bad arguments, JSON read back, and a stream or watch
// cut short by a pulled cable or by Ctrl-C.
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

std::vector<json> JsonLines(const std::string& text) {
  std::vector<json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
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
    {{"identify", "COM5"}, 0, {"\nmodel: Kestrel\n", "\nfirmware: 0x0512\npower on hours: 1234\n"
                               "power on cycles: 56\ninterpolation: 256\n", "\noutput frequency: 7.2 MHz\n"}},
    {{"status", "COM5"}, 0, {"\nposition: 13288\nindex: not-at-index\nred alarm: no\n"
                             "yellow alarm: no\nlevel percent: 77.3\nband: Good\n"}},
    {{"read", "COM5", "0x20", "3"}, 0, {"\nregister value hex\n0x20 34 0x0022\n0x03 4080 0x0FF0\n"}, 0, 4},
    {{"read", "COM5"}, 0, {"\n0x00 18 0x0012\n", "\n0x2C "}, 0, 28},
    {{"write", "COM5", "0x08", "200", "--yes"}, 0, {"\nwritten: 200\nread back: 200\n"}, 0x8800C8},
    {{"set", "COM5", "--interpolation", "1024", "--frequency", "3", "--yes"}, 0,
     {"\ninterpolation: 1024\nfrequency setting: 3\noutput frequency: 1.8 MHz\n"}, 0x820003},
    {{"stream", "COM5", "--registers", "0x69,0x68,0x67", "--count", "5"}, 0,
     {"time,0x69,0x68,0x67\n", ",0,3,16000\n", ",0,3,16000\n", ",0,3,16000\n", ",0,3,16000\n",
      ",0,3,16000\n"}, 0, 6},
    {{"status", "COM5", "--watch", "--seconds", "0.5", "--interval", "0.05"}, 0,
     {"time position index red_alarm yellow_alarm level_percent band status\n", " 13288 not-at-index no no 77.3 Good 0x0000\n"}},
    {{"ports"}, 0, {"\nCOM4 ", "COM4 ", "absent no missing\nCOM5 ", "COM5 /dev/pts/", " yes ok\nCOM6 "}, 0, 17},
    {{"ports", "--probe"}, 0, {"missing -\nCOM5 ", " yes ok Kestrel\nCOM6 "}},
    {{"--version"}, 0, {"probelink-cli 1.0\n"}, 0, 1},
    // These move the position the rows above read.
    {{"zero", "COM5", "--yes"}, 0, {"command: zero\naccepted: yes\n"}, 0x800004},
    {{"center-index", "COM5"}, 0, {"command: center-index\naccepted: yes\n"}, 0x800014},
    {{"reset", "COM5", "--software"}, 0, {"command: reset\naccepted: yes\n"}},
    {{"write", "COM5", "0x21", "5", "--yes"}, 3, {"probelink-cli: COM5 (", "): register 0x21 did not take 0x0005, it reads 0x0000\n"}, 0, 1},
    {{"reset", "COM5", "--hardware"}, 1, {"probelink-cli: COM5 (", "): the port cannot pulse DTR"}, 0, 1},
    {{"identify", "COM6"}, 1, {"probelink-cli: COM6 (", "/COM6): cannot open: no such device\n"}, 0, 1},
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

TEST_F(CliTest, JsonOutputReadsBackAsTheSameFacts) {
  const auto document = [](const Outcome& run) { return json::parse(run.out); };
  // clang-format off
  const std::vector<std::pair<Args, std::function<void(const Outcome&)>>> cases = {
    {{"--json", "identify", "COM5"}, [&](const Outcome& run) {
      const json d = document(run);
      EXPECT_EQ(std::tuple(d["model"], d["firmware"], d["power_on_cycles"], d["interpolation"]),
                std::tuple("Kestrel", "0x0512", 56, 256));
    }},
    {{"status", "COM5", "--json"}, [&](const Outcome& run) {
      const json d = document(run);
      EXPECT_EQ(std::tuple(d["position"], d["band"], d["red_alarm"]), std::tuple(kStandingAt, "Good", false));
    }},
    {{"--json", "read", "COM5", "3"}, [&](const Outcome& run) {
      EXPECT_EQ(document(run)["registers"][0], json({{"register", "0x03"}, {"value", 4080}, {"hex", "0x0FF0"}}));
    }},
    {{"--json", "ports"}, [&](const Outcome& run) {
      const json ports = document(run)["ports"];
      EXPECT_EQ(ports.size(), 16u);
      EXPECT_EQ(std::tuple(ports[4]["open"], ports[4]["target"]), std::tuple("ok", emulator_->DevicePath()));
    }},
    {{"stream", "COM5", "--registers", "0x65", "--count", "3", "--format", "json"}, [&](const Outcome& run) {
      const auto lines = JsonLines(run.out);
      ASSERT_EQ(lines.size(), 3u);
      for (const json& line : lines) EXPECT_TRUE(line.contains("time") && line.contains("0x65"));
    }},
    {{"--json", "status", "COM5", "--watch", "--seconds", "0.3"}, [&](const Outcome& run) {
      for (const json& line : JsonLines(run.out)) EXPECT_EQ(line["position"], kStandingAt);
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
  const Args reset{"reset", "COM5", "--software"};
  const std::string gone = "the line is lost: the device has gone\n";
  struct Case {
    Fault fault;
    Args args;
    int exit;
    std::string message;  // what follows "COM5 (device): "
  };
  // clang-format off
  const Case cases[] = {
    {refuse, write, 3, "the electronics refused the write of 0x8800C8\n"},
    {refuse, {"zero", "COM5", "--yes"}, 3, "the electronics refused the write of 0x800002\n"},
    {refuse, {"stream", "COM5", "--registers", "0x65", "--count", "1"}, 3,
     "the electronics refused to start the stream\n"},
    {pull, {"identify", "COM5"}, 1, "no Veritrak II electronics answer\n"},
    {after(End::Silence), write, 1, "register 0x08 could not be read\n"},
    {keep, write, 3, "register 0x08 did not take 0x00C8, it reads 0x"},
    {after(End::HangUp), write, 1, gone},
    {after(End::Silence), set, 1, "the set-up registers could not be read\n"},
    {keep, set, 3, "the electronics kept another set-up\n"},
    {after(End::HangUp), set, 1, gone},
    {after(End::Silence), reset, 1, "the electronics do not answer after the reset\n"},
    {after(End::HangUp), reset, 1, gone},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.message);
    veritrak::Options options;
    options.head = veritrak::Standing(kStandingAt);
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    home_.LinkPort(kCom, emulator_->DevicePath());
    c.fault(*emulator_);
    const Outcome run = RunProgram(c.args);
    EXPECT_EQ(run.exit, c.exit);
    EXPECT_TRUE(Has(run.err, {"probelink-cli: COM5 (", "): " + c.message})) << run.err;
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
  }
}

TEST_F(CliTest, BadArgumentsExitTwoWithTheUsageLineAndLeaveTheElectronicsAlone) {
  // clang-format off
  const Args cases[] = {
    {}, {"bogus"}, {"identify"}, {"identify", "COM17"}, {"identify", "COM5", "extra"},
    {"read", "COM5", "0x100"}, {"read", "COM5", "0xZZ"}, {"write", "COM5", "3", "5"},
    {"write", "COM5", "0x80", "1", "--yes"}, {"write", "COM5", "3", "65536", "--yes"},
    {"stream", "COM5", "--registers", "0x65"}, {"stream", "COM5", "--count", "1"},
    {"stream", "COM5", "--registers", "0x65", "--count", "3", "--seconds", "1"},
    {"stream", "COM5", "--registers", "0x65,0x65", "--count", "3"},
    {"stream", "COM5", "--registers", "0x65", "--count", "3", "--format", "xml"},
    {"reset", "COM5"}, {"reset", "COM5", "--software", "--hardware"},
    {"status", "COM5", "--seconds", "1"}, {"set", "COM5", "--yes"},
    {"set", "COM5", "--interpolation", "3", "--yes"}, {"zero", "COM5"}};
  // clang-format on
  for (const Args& args : cases) {
    const Outcome run = RunProgram(args);
    const std::string command = args.empty() || args[0] == "bogus" ? "" : " " + args[0];
    EXPECT_EQ(run.exit, 2) << command << run.err;
    EXPECT_TRUE(run.err.starts_with("probelink-cli: ")) << run.err;
    EXPECT_TRUE(Has(run.err, {"\nUsage: probelink-cli" + command + " "})) << run.err;
    EXPECT_EQ(Lines(run.err), 2u) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_TRUE(emulator_->WrittenWords().empty());
  const Outcome help = RunProgram({"stream", "--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_TRUE(Has(help.out, {"Usage: probelink-cli stream ", "\n --registers LIST"})) << help.out;
}

// A pulled cable ends the run with 1 and a message within a few line
// time-outs; Ctrl-C ends it with 0 and the electronics idle. Either way the
// port is free again.
TEST_F(CliTest, APulledCableOrCtrlCEndsAStreamOrAWatchCleanly) {
  struct Case {
    Args args;
    bool pull;  // else Ctrl-C
    int exit;
    std::string message;  // the one line on standard error, after "COM5 (device): "
  };
  // clang-format off
  const Case cases[] = {
    {{"stream", "COM5", "--registers", "0x65,0x64", "--seconds", "600"}, true, 1,
     "the electronics stopped streaming\n"},
    {{"status", "COM5", "--watch"}, true, 1, "the electronics stopped answering\n"},
    {{"stream", "COM5", "--registers", "0x65,0x64", "--seconds", "600"}, false, 0, ""},
    {{"status", "COM5", "--watch", "--json"}, false, 0, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    ChildProgram child(c.args);
    ASSERT_TRUE(child.WaitFor([](const std::string& out) { return Lines(out) >= 3; })) << c.args[0];
    if (c.pull)
      emulator_->PullCable();
    else
      child.Signal(SIGINT);
    const Outcome run = child.Finish();
    EXPECT_EQ(run.exit, c.exit) << c.args[0];
    if (c.message.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_TRUE(Has(run.err, {"probelink-cli: COM5 (", "): " + c.message})) << run.err;
      EXPECT_EQ(Lines(run.err), 1u);
    }
    emulator_->PlugCable();
    // Electronics that lost the stop run stream on; the next command stops them.
    if (!c.pull) ExpectIdle();
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
  EXPECT_TRUE(Has(watch.out, {"time samples sine_offset", "verdict refusal\n", " deg ",
                              "marginal -\n"}))
      << watch.out;
  EXPECT_TRUE(Has(watch.out, {" deg ="}) || Has(watch.out, {" deg ↑ better"}) ||
              Has(watch.out, {" deg ↓ worse"}))
      << watch.out;
}

}  // namespace
}  // namespace probelink_cli
