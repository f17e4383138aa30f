#include "port_problems.h"

#include <probelink.h>

#include <cerrno>

namespace quillon {
namespace {

QString DeviceOf(int com) {
  char path[4096];
  return PortDevice(com, path, sizeof path) > 0 ? QString::fromLocal8Bit(path) : QString();
}

}  // namespace

void PortProblems::Note(int com, int error) {
  const QString device = DeviceOf(com);
  QString text;
  if (error == EACCES || error == EPERM)
    text = QStringLiteral(
               "COM%1 (%2) exists, but you are not allowed to open it. Serial ports belong to "
               "the group \"dialout\": add yourself to it (for example with \"sudo adduser "
               "$USER dialout\"), then log out and in again.")
               .arg(com)
               .arg(device);
  else if (error == EBUSY)
    text = QStringLiteral("COM%1 (%2) is in use by another program. Close that program, then "
                          "search again.")
               .arg(com)
               .arg(device);
  if (text.isEmpty() || told_.contains(device) || untold_.contains(text)) return;
  told_.insert(device);
  untold_.append(text);
}

QString PortProblems::TakeUntold() {
  const QString text = untold_.join(QStringLiteral("\n\n"));
  untold_.clear();
  return text;
}

}  // namespace quillon
