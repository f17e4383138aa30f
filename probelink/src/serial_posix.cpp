#include "serial_posix.h"

// termios2 lives in the kernel's headers, which clash with <termios.h>; this
// file therefore speaks to the tty through ioctl only.
#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace probelink {
namespace {

// Unix98 pseudo-terminal slaves; they keep no parity bit and have no modem lines.
constexpr unsigned kFirstPtyMajor = 136;
constexpr unsigned kLastPtyMajor = 143;

constexpr tcflag_t kRawInputOff =
    IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK;
constexpr tcflag_t kRawLocalOff = ECHO | ECHONL | ICANON | ISIG | IEXTEN;
constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;
constexpr tcflag_t kFramingBits = CSIZE | kParityBits | CSTOPB | CRTSCTS | CBAUD | CIBAUD;

bool GetTermios(int fd, termios2& t) { return ioctl(fd, TCGETS2, &t) == 0; }

tcflag_t SizeBits(uint8_t byteSize) {
  switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

uint8_t ByteSizeOf(tcflag_t cflag) {
  switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
  }
}

tcflag_t ParityBits(uint8_t parity) {
  switch (parity) {
    case ODDPARITY: return PARENB | PARODD;
    case EVENPARITY: return PARENB;
    case MARKPARITY: return PARENB | PARODD | CMSPAR;
    case SPACEPARITY: return PARENB | CMSPAR;
    default: return 0;
  }
}

uint8_t ParityOf(tcflag_t cflag) {
  if (!(cflag & PARENB)) return NOPARITY;
  if (cflag & CMSPAR) return (cflag & PARODD) ? MARKPARITY : SPACEPARITY;
  return (cflag & PARODD) ? ODDPARITY : EVENPARITY;
}

termios2 TermiosFor(termios2 t, const DCB& dcb) {
  t.c_iflag &= ~kRawInputOff;
  if (dcb.fParity) t.c_iflag |= INPCK;
  if (dcb.fOutX) t.c_iflag |= IXON;
  if (dcb.fInX) t.c_iflag |= IXOFF;
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~kRawLocalOff;
  t.c_cflag &= ~kFramingBits;
  t.c_cflag |= CREAD | CLOCAL | BOTHER | SizeBits(dcb.ByteSize) | ParityBits(dcb.Parity);
  if (dcb.StopBits == TWOSTOPBITS) t.c_cflag |= CSTOPB;
  if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
  t.c_ispeed = t.c_ospeed = dcb.BaudRate;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
  return t;
}

// The kernel may store the speed as a Bnnn code; compare what it reads back.
bool SameSetting(const termios2& want, const termios2& got, bool ignoreParity) {
  const tcflag_t cmask = (CSIZE | kParityBits | CSTOPB | CRTSCTS | CREAD | CLOCAL) &
                         ~(ignoreParity ? kParityBits : 0);
  const tcflag_t imask = kRawInputOff & ~(ignoreParity ? INPCK : 0);
  return (want.c_cflag & cmask) == (got.c_cflag & cmask) &&
         (want.c_iflag & imask) == (got.c_iflag & imask) &&
         (want.c_lflag & kRawLocalOff) == (got.c_lflag & kRawLocalOff) &&
         (want.c_oflag & OPOST) == (got.c_oflag & OPOST) && want.c_ospeed == got.c_ospeed;
}

// Every field the setting writes, the parity a pseudo-terminal cannot keep aside.
bool Unchanged(const termios2& want, const termios2& got, bool ignoreParity) {
  const tcflag_t cparity = ignoreParity ? kParityBits : 0;
  const tcflag_t iparity = ignoreParity ? INPCK : 0;
  return (want.c_cflag & ~cparity) == (got.c_cflag & ~cparity) &&
         (want.c_iflag & ~iparity) == (got.c_iflag & ~iparity) && want.c_oflag == got.c_oflag &&
         want.c_lflag == got.c_lflag && want.c_ispeed == got.c_ispeed &&
         want.c_ospeed == got.c_ospeed &&
         std::equal(std::begin(want.c_cc), std::end(want.c_cc), std::begin(got.c_cc));
}

DCB DefaultHeldFields() {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fTXContinueOnXoff = 1;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  return dcb;
}

bool IsPseudoTerminal(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return false;
  const unsigned m = major(st.st_rdev);
  return m >= kFirstPtyMajor && m <= kLastPtyMajor;
}

// USB adapters otherwise hold each short reply back for their latency timer.
void AskForLowLatency(int fd) {
  serial_struct serial{};
  if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
  serial.flags |= ASYNC_LOW_LATENCY;
  (void)ioctl(fd, TIOCSSERIAL, &serial);
}

// Start bit, data bits, parity bit and stop bits, as asked of the line: a
// pseudo-terminal drops the parity bit that the wire would carry.
Clock::duration ByteTime(const DCB& dcb) {
  const int64_t bits = 1 + ByteSizeOf(SizeBits(dcb.ByteSize)) + (dcb.Parity != NOPARITY) +
                       (dcb.StopBits == TWOSTOPBITS ? 2 : 1);
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::nanoseconds(bits * 1'000'000'000 / dcb.BaudRate));
}

bool SetModemLine(int fd, int line, bool on) {
  return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

}  // namespace

std::unique_ptr<SerialPosix> SerialPosix::Open(const std::string& path, int& error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  termios2 t{};
  if (!GetTermios(fd, t)) {
    error = ENOTTY;
    ::close(fd);
    return nullptr;
  }
  // TIOCEXCL does not bind root, so a lock keeps other users out as well.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = EBUSY;
    ::close(fd);
    return nullptr;
  }
  (void)ioctl(fd, TIOCEXCL);
  AskForLowLatency(fd);
  return std::unique_ptr<SerialPosix>(new SerialPosix(fd, IsPseudoTerminal(fd)));
}

SerialPosix::SerialPosix(int fd, bool isPseudoTerminal)
    : fd_(fd), isPseudoTerminal_(isPseudoTerminal), held_(DefaultHeldFields()), timeouts_{} {
  // A fresh handle that nobody has configured must not block forever.
  timeouts_.ReadTotalTimeoutConstant = 1000;
  timeouts_.WriteTotalTimeoutConstant = 1000;
}

SerialPosix::~SerialPosix() {
  (void)ioctl(fd_, TIOCNXCL);
  ::close(fd_);
}

bool SerialPosix::GetLineSetting(DCB& dcb) {
  termios2 t{};
  if (!GetTermios(fd_, t)) return false;
  dcb = held_;
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = t.c_ospeed;
  dcb.fBinary = 1;
  dcb.fParity = (t.c_iflag & INPCK) ? 1 : 0;
  dcb.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
  dcb.fOutX = (t.c_iflag & IXON) ? 1 : 0;
  dcb.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
  dcb.ByteSize = ByteSizeOf(t.c_cflag);
  dcb.Parity = ParityOf(t.c_cflag);
  dcb.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
  dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
  dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  return true;
}

LineApply SerialPosix::SetLineSetting(const DCB& dcb) {
  termios2 current{};
  if (dcb.BaudRate == 0 || !GetTermios(fd_, current)) return LineApply::Refused;
  const termios2 wanted = TermiosFor(current, dcb);
  // Callers set the same line again and again (each sync does); a setting
  // already in force is not written.
  if (!Unchanged(wanted, current, isPseudoTerminal_)) {
    // A pseudo-terminal refuses the parity bit but applies the rest, so the
    // result of the call says less than reading the setting back does.
    (void)ioctl(fd_, TCSETS2, &wanted);
    termios2 applied{};
    if (!GetTermios(fd_, applied) || !SameSetting(wanted, applied, isPseudoTerminal_))
      return LineApply::Refused;
  }
  held_ = dcb;
  arrival_.SetByteTime(ByteTime(dcb));
  return ApplyModemLines(dcb);
}

LineApply SerialPosix::ApplyModemLines(const DCB& dcb) {
  bool ok = true;
  if (dcb.fDtrControl == DTR_CONTROL_ENABLE || dcb.fDtrControl == DTR_CONTROL_DISABLE)
    ok = SetModemLine(fd_, TIOCM_DTR, dcb.fDtrControl == DTR_CONTROL_ENABLE);
  if (ok && (dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_DISABLE))
    ok = SetModemLine(fd_, TIOCM_RTS, dcb.fRtsControl == RTS_CONTROL_ENABLE);
  if (ok) return LineApply::Applied;
  return (errno == ENOTTY || errno == EINVAL) ? LineApply::NoModemLines : LineApply::Refused;
}

bool SerialPosix::GetTimeouts(COMMTIMEOUTS& timeouts) {
  timeouts = timeouts_;
  return true;
}

bool SerialPosix::SetTimeouts(const COMMTIMEOUTS& timeouts) {
  timeouts_ = timeouts;
  return true;
}

bool SerialPosix::GetProperties(COMMPROP& p) {
  termios2 t{};
  if (!GetTermios(fd_, t)) return false;
  p = COMMPROP{};
  p.wPacketLength = sizeof(COMMPROP);
  p.wPacketVersion = 2;
  p.dwServiceMask = 1;            // serial communications
  p.dwMaxBaud = 0x10000000;       // any rate the driver takes
  p.dwProvSubType = 1;            // RS-232
  p.dwProvCapabilities = 0x00FF;  // DTR/DSR, RTS/CTS, XON/XOFF, parity check, time-outs
  p.dwSettableParams = 0x7F;
  p.dwSettableBaud = 0x10000000;
  p.wSettableData = 0x000F;        // 5 to 8 data bits
  p.wSettableStopParity = 0x1F05;  // 1 and 2 stop bits, every parity
  p.dwCurrentRxQueue = 4096;
  p.dwCurrentTxQueue = 4096;
  return true;
}

bool SerialPosix::SetQueueSizes(uint32_t, uint32_t) { return true; }

bool SerialPosix::PurgeQueues(Purge which) {
  const int queue = which == Purge::Rx ? TCIFLUSH : which == Purge::Tx ? TCOFLUSH : TCIOFLUSH;
  if (which != Purge::Tx) received_.Clear();
  return ioctl(fd_, TCFLSH, queue) == 0;
}

// Waits until the descriptor is ready or the deadline passes. False on an
// error or a hang-up; timedOut tells a plain time-out apart.
bool SerialPosix::WaitFor(short events, const std::optional<Clock::time_point>& deadline,
                          bool& timedOut) {
  timedOut = false;
  timespec wait{};
  timespec* waitPtr = nullptr;
  if (deadline) {
    const auto left = *deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
      timedOut = true;
      return true;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    wait.tv_sec = ns / 1000000000;
    wait.tv_nsec = ns % 1000000000;
    waitPtr = &wait;
  }
  pollfd p{fd_, events, 0};
  const int r = ppoll(&p, 1, waitPtr, nullptr);
  if (r < 0) return errno == EINTR;
  if (r == 0) {
    timedOut = true;
    return true;
  }
  if (p.revents & (POLLERR | POLLNVAL)) return false;
  return (p.revents & events) || !(p.revents & POLLHUP);
}

// Each look at the line takes all it holds, so that a record asked for a
// few bytes at a time costs one system call, not one a byte.
IoResult SerialPosix::Read(uint8_t* buffer, size_t n) {
  const ReadPlan plan = PlanRead(timeouts_, n);
  const auto start = Clock::now();
  std::optional<Clock::time_point> totalDeadline;
  if (plan.total) totalDeadline = start + *plan.total;
  size_t got = received_.Take(buffer, n);
  Clock::time_point lastByte = start;
  std::optional<ArrivalEstimate::Sleep> slept;
  bool look = true;
  while (got < n) {
    if (got > 0 && plan.returnAfterFirstByte) break;
    if (look) {
      const ssize_t r = received_.Fill(fd_);
      if (r > 0) {
        got += received_.Take(buffer + got, n - got);
        lastByte = Clock::now();
        arrival_.SetFlowing(true);
        if (slept) arrival_.AfterSleep(slept->awaited, static_cast<size_t>(r));
        slept.reset();
        // A look that left room took all the line held: another finds nothing.
        look = static_cast<size_t>(r) == ReceiveBuffer::kCapacity;
        continue;
      }
      if (r < 0 && errno == EINTR) continue;
      if (r < 0 && errno != EAGAIN) return {false, got};
    }
    look = true;
    if (plan.returnAtOnce) break;
    if (slept) arrival_.SetFlowing(false);  // the line fell silent
    slept.reset();
    std::optional<Clock::time_point> deadline = totalDeadline;
    if (plan.interval && got > 0 && (!deadline || lastByte + *plan.interval < *deadline))
      deadline = lastByte + *plan.interval;
    // An interval time-out must see each byte as it comes.
    if (!plan.interval && !plan.returnAfterFirstByte)
      slept = arrival_.SleepFor(received_.AwaitedOfRecord(n - got));
    if (slept && deadline && *deadline < slept->until) {
      std::this_thread::sleep_until(*deadline);
      slept.reset();  // cut short by the time-out, it tells nothing of lateness
      continue;
    }
    if (slept) {
      std::this_thread::sleep_until(slept->until);
      continue;
    }
    bool timedOut = false;
    if (!WaitFor(POLLIN, deadline, timedOut)) return {false, got};
    if (timedOut) break;
  }
  return {true, got};
}

IoResult SerialPosix::Write(const uint8_t* buffer, size_t n) {
  const auto limit = PlanWrite(timeouts_, n);
  std::optional<Clock::time_point> deadline;
  if (limit) deadline = Clock::now() + *limit;
  // What comes next answers what goes out, and cannot come before it has;
  // a record announced and not read to its end is no longer awaited.
  arrival_.SetFlowing(false);
  received_.Announce(0);
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::write(fd_, buffer + done, n - done);
    if (r > 0) {
      done += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return {false, done};
    bool timedOut = false;
    if (!WaitFor(POLLOUT, deadline, timedOut)) return {false, done};
    if (timedOut) break;
  }
  return {true, done};
}

}  // namespace probelink
