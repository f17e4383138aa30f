#include "scripted_device.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>

ScriptedDevice::ScriptedDevice(const testsupport::PtyPair& pty)
    : pty_(pty), thread_([this] { Serve(); }) {}

ScriptedDevice::~ScriptedDevice() {
  stop_ = true;
  thread_.join();
}

void ScriptedDevice::Expect(Bytes request, Bytes reply) {
  std::lock_guard lock(mutex_);
  answerSyncs_ = false;
  steps_.push_back({std::move(request), std::move(reply)});
}

void ScriptedDevice::AnswerSyncs(bool answer) {
  std::lock_guard lock(mutex_);
  answerSyncs_ = answer;
}

bool ScriptedDevice::WaitReceived(size_t n, std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard lock(mutex_);
      if (log_.size() >= n) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

Bytes ScriptedDevice::Received() const {
  std::lock_guard lock(mutex_);
  return log_;
}

void ScriptedDevice::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

std::string ScriptedDevice::Problems() const {
  std::lock_guard lock(mutex_);
  if (!steps_.empty() && problems_.empty())
    return std::to_string(steps_.size()) + " expected request(s) never came";
  return problems_;
}

void ScriptedDevice::Serve() {
  while (!stop_) {
    pollfd p{pty_.MasterFd(), POLLIN, 0};
    if (poll(&p, 1, 5) <= 0) continue;
    uint8_t buffer[512];
    const ssize_t r = ::read(pty_.MasterFd(), buffer, sizeof buffer);
    if (r <= 0) continue;
    std::lock_guard lock(mutex_);
    log_.insert(log_.end(), buffer, buffer + r);
    pending_.insert(pending_.end(), buffer, buffer + r);
    Match();
  }
}

void ScriptedDevice::Match() {
  while (!pending_.empty()) {
    if (steps_.empty()) {
      if (answerSyncs_ && pending_.front() == 0x80) pty_.Write({0x90});
      pending_.erase(pending_.begin());
      continue;
    }
    Step& step = steps_.front();
    if (pending_.size() < step.request.size()) return;
    if (!std::equal(step.request.begin(), step.request.end(), pending_.begin())) {
      problems_ += "unexpected request; ";
      steps_.clear();
      pending_.clear();
      return;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(step.request.size()));
    if (!step.reply.empty()) pty_.Write(step.reply);
    steps_.pop_front();
  }
}

Bytes DataReply(const Bytes& data) {
  Bytes reply(4 + data.size() + 2, 0);
  reply[0] = 0x90;
  std::copy(data.begin(), data.end(), reply.begin() + 4);
  unsigned sum = 0;
  for (size_t i = 0; i < 4 + data.size(); ++i) sum += reply[i];
  reply[4 + data.size()] = static_cast<uint8_t>(sum);
  reply[5 + data.size()] = static_cast<uint8_t>(sum >> 8);
  return reply;
}

Bytes Reply16(uint16_t value) {
  return DataReply({static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

Bytes Reply32(uint32_t value) {
  return DataReply({static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                    static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
}
