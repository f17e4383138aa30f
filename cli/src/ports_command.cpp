#include "commands.h"
#include "electronics.h"
#include "exit_status.h"
#include "port_access.h"
#include "port_folder.h"

namespace probelink_cli {
namespace {

std::string ComName(int com) { return "COM" + std::to_string(com); }

Document Optional(const std::optional<std::string>& text) {
  return text ? Document(*text) : Document();
}

// The model of the electronics answering at a port, or null.
Document Probe(const std::string& port) {
  try {
    Session session(port);
    return session.Identify().model;
  } catch (const Failure&) {
    return nullptr;
  }
}

Document DeviceRow(const std::string& device, bool probe) {
  const std::vector<int> coms = ComsOf(device);
  const std::string port = coms.empty() ? device : ComName(coms.front());
  const int error = OpenError(port);
  Document row = {
      {"device", device},
      {"by_id", Optional(StableName(device))},
      {"port", coms.empty() ? Document() : Document(port)},
      {"assigned",
       coms.empty() ? Document() : Document(IsAssigned(coms.front()) ? "link" : "built-in")},
      {"open", error ? ProblemWord(error) : "ok"}};
  if (probe) row["electronics"] = error ? nullptr : Probe(port);
  return row;
}

void List(const Invocation& invocation) {
  Document rows = Document::array();
  for (const std::string& device : SerialDevices())
    rows.push_back(DeviceRow(device, invocation.probe));
  PrintDocument(std::cout, {{"ports", rows}}, invocation.json);
}

// A device that keeps its stable name is found again whatever socket it is
// plugged into; its kernel name follows the plug order.
void AssignPort(const Invocation& invocation) {
  const int com = *ComNumber(invocation.assign[0]);
  const fs::path given = fs::absolute(invocation.assign[1]).lexically_normal();
  std::error_code error;
  if (!fs::exists(given, error))
    throw Failure(kUsageError, given.string() +
                                   " does not exist: plug the adapter in, then "
                                   "see probelink-cli ports for its name");
  const std::string device = StableName(given).value_or(given.string());
  for (const int other : ComsOf(device))
    if (other != com && IsAssigned(other))
      throw Failure(kUsageError, device + " is " + ComName(other) +
                                     " already: unassign it first (probelink-cli ports "
                                     "--unassign " +
                                     ComName(other) + ")");
  const Document replaced = IsAssigned(com) ? Document(DeviceOf(com)) : Document();
  Assign(com, device);
  const int openError = OpenError(ComName(com));
  PrintDocument(std::cout,
                {{"port", ComName(com)},
                 {"device", device},
                 {"replaced", replaced},
                 {"link", LinkOf(com).string()},
                 {"open", openError ? ProblemWord(openError) : "ok"}},
                invocation.json);
}

void UnassignPort(const Invocation& invocation) {
  const int com = *ComNumber(invocation.unassign);
  const Document was = IsAssigned(com) ? Document(DeviceOf(com)) : Document();
  Unassign(com);
  PrintDocument(std::cout, {{"port", ComName(com)}, {"unassigned", was}, {"device", DeviceOf(com)}},
                invocation.json);
}

}  // namespace

void Ports(const Invocation& invocation) {
  if (!invocation.assign.empty())
    AssignPort(invocation);
  else if (!invocation.unassign.empty())
    UnassignPort(invocation);
  else
    List(invocation);
}

}  // namespace probelink_cli
