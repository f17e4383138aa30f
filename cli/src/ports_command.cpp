#include <filesystem>

#include "commands.h"
#include "electronics.h"
#include "exit_status.h"
#include "port_access.h"

namespace probelink_cli {
namespace {

namespace fs = std::filesystem;

// The model of the electronics answering on COMn, or null.
Document Probe(int com) {
  try {
    Session session(com);
    return session.Identify().model;
  } catch (const Failure&) {
    return nullptr;
  }
}

Document PortRow(int com, bool probe) {
  const std::string device = DeviceOf(com);
  std::error_code ignored;
  const int error = OpenError(com);
  Document row = {{"port", ComName(com)},
                  {"device", device},
                  {"target", nullptr},
                  {"exists", fs::exists(device, ignored)},
                  {"open", error ? ProblemWord(error) : "ok"}};
  if (fs::is_symlink(device, ignored)) row["target"] = fs::read_symlink(device, ignored).string();
  if (probe) row["electronics"] = error ? nullptr : Probe(com);
  return row;
}

}  // namespace

void Ports(const Invocation& invocation) {
  Document rows = Document::array();
  for (int com = kFirstCom; com <= kLastCom; ++com) rows.push_back(PortRow(com, invocation.probe));
  PrintDocument(std::cout, {{"ports", rows}}, invocation.json);
}

}  // namespace probelink_cli
