// Every export starts by selecting its port's line; the line stays alive for
// the call even if another thread closes the port meanwhile.
#pragma once

#include "port_table.h"

namespace probelink {

template <class Operation>
int32_t WithLine(int32_t port, Operation&& operation) {
  const std::shared_ptr<Transport> line = PortTable::Instance().Select(port);
  return operation(*line);
}

}  // namespace probelink
