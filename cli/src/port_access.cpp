#include "port_access.h"

#include "port_route.h"
#include "probelink.h"

namespace probelink_cli {

int OpenError(const std::string& port) {
  const PortRoute route(port);
  if (OpenPort(route.Com()) != 0) return LastOpenError();
  ClosePort(route.Com());
  return 0;
}

}  // namespace probelink_cli
