// The socket side of "gsdefs serve": one HTTP connection at a time on a local address, each request
// answered from the folder's store and the connection closed, until SIGINT or SIGTERM (Ctrl+C or a
// console close on Windows).
#pragma once

#include <string>

#include "update/definition_publisher.h"

namespace grimsweep {

// Serves until asked to stop; prints "listening on http://ADDRESS:PORT" first (the real port when
// `port` is 0). Returns the exit code: 0 after a stop request, 2 when the socket cannot be set up.
int ServeDefinitions(const ServiceFolder& folder, const std::string& address, int port);

} // namespace grimsweep
