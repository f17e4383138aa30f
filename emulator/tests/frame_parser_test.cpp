// The frame parser on its own, with times of its own: frames, lone sync bytes
// told apart by the gap, bad checksums, stray bytes and stalls.
#include "frame_parser.h"

#include "emulator_fixture.h"

namespace veritrak {
namespace {

constexpr auto kGap = 2ms;
TimePoint At(std::chrono::nanoseconds t) { return TimePoint{} + 1s + t; }
std::string Us(TimePoint t) { return std::to_string((t - At(0s)) / 1us); }
std::string Hex(const Bytes& bytes) {
  std::string text;
  for (const uint8_t b : bytes) text += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
  return text;
}

// What the sink is told, in order: "sync@T" (microseconds) or "frame CC
// payload", a stream start's command marked with '*'.
class Log : public FrameSink {
 public:
  void OnLoneSync(TimePoint at) override { text += "sync@" + Us(at) + " "; }
  void OnFrame(const Frame& f, TimePoint) override {
    text += "frame " + Hex({f.command}) + (f.streamStart ? "* " : " ") + Hex(f.payload) + " ";
  }
  std::string text;
};

struct Feed {
  std::chrono::microseconds at;
  Bytes bytes;
  std::chrono::nanoseconds spacing{0};
};

// Feeds each group of bytes from its time on, then lets the gap run out
// until `expire`; tells when a sync was due before that, what came out, and
// whether anything is still pending.
std::string Parse(const std::vector<Feed>& feeds, std::chrono::microseconds expire) {
  Log log;
  FrameParser parser(kGap, log);
  for (const Feed& f : feeds)
    for (size_t i = 0; i < f.bytes.size(); ++i)
      parser.Feed(f.bytes[i], At(f.at + static_cast<int>(i) * f.spacing));
  if (const auto due = parser.Deadline()) log.text += "due@" + Us(*due) + " ";
  parser.Expire(At(expire));
  return log.text + (parser.Deadline() ? "pending" : "");
}

TEST(FrameParser, FramesSyncsAndNoise) {
  const Bytes status = Request(0x51, {0x00, 0x40, 0x02, 0x00}), start{kStartByte};
  Bytes bad = status, doubled = status, longest(255);
  bad[8] += 1;
  doubled.insert(doubled.begin(), kStartByte);  // the first header reads 80 80 51 04
  for (size_t i = 0; i < longest.size(); ++i) longest[i] = static_cast<uint8_t>(i);
  const Bytes wren{0x80, 0x65, 4, 4, 4, 4, 4, 4, 0x65, 0x64, 0x67, 0x26, 0x53, 0x02};
  const Bytes finch = Framed({0x80, 0xA8, 6, 6, 6, 6, 6, 6}, {0x65, 0x64, 0x69, 0x68, 0x67, 9});
  // clang-format off
  const std::tuple<std::vector<Feed>, std::chrono::microseconds, std::string> cases[] = {
    {{{0us, status}}, 10ms, "frame 51 00400200 "},
    {{{0us, status, kPacedByteTime}}, 10ms, "frame 51 00400200 "},  // a frame at the wire rate
    {{{0us, start}}, 1900us, "due@2000 pending"},
    {{{0us, start}}, 2ms, "due@2000 sync@2000 "},
    {{{0us, start}, {5ms, Request(0x60, {0, 0, 2, 0})}}, 20ms, "sync@2000 frame 60 00000200 "},
    {{{0us, bad}, {0us, Request(0x51, {0, 0, 0x69, 0})}}, 10ms, "frame 51 00006900 "},
    {{{0us, {0xA5, 0xA5, 0x12, 0x90}}}, 10ms, ""},  // stray bytes wait for a start byte
    {{{0us, {0xA5, 0x12}}, {0us, status}}, 10ms, "frame 51 00400200 "},
    {{{0us, doubled}}, 10ms, "frame 51 00400200 "},
    {{{0us, {kStartByte, 0x51, 0x04}}}, 3ms, "due@2000 "},  // a stall is no sync
    {{{0us, {kStartByte, 0x51, 0x04}}, {10ms, start}}, 20ms, "due@12000 sync@12000 "},
    {{{0us, wren}}, 10ms, "frame 65* 65646726 "},
    {{{0us, Request(0x65, {0, 0, 0, 0})}}, 10ms, "frame 65 00000000 "},  // the bare Lissajous start
    {{{0us, finch}}, 10ms, "frame A8* 656469686709 "},
    {{{0us, Framed({0x80, 0x65, 1, 1, 1, 1, 1, 1}, {0x21})}}, 10ms, "frame 65* 21 "},
    {{{0us, Request(0x70, longest)}}, 10ms, "frame 70 " + Hex(longest) + " "}};
  // clang-format on
  for (const auto& [feeds, expire, expected] : cases)
    EXPECT_EQ(Parse(feeds, expire), expected) << Hex(feeds[0].bytes);
}

}  // namespace
}  // namespace veritrak
