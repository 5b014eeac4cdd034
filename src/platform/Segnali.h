#pragma once

#include <functional>

namespace velmora {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that a program asked to
// end by the system ends in order (the database closes and commits). Installed after the
// database client is loaded, whose engine sets handlers of its own.
void gestisciSegnaliTermine(std::function<void()> termina);

}  // namespace velmora
