#pragma once
// Whether a session can be shared on this machine at all: an IPv4 interface
// that is up, on which the session's multicast socket opens. The session
// layer would fail on such a machine without a word; this says why.
#include <string>

namespace platform::link {

// True when at least one interface takes the socket; otherwise false with a
// sentence for the debug log in `problem`.
bool networkCanShareSession(std::string* problem);

}  // namespace platform::link
