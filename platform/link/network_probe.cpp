#include "platform/link/network_probe.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::link {
namespace {

// The discovery group and port every peer of a session listens on.
constexpr const char* kSessionGroup = "224.76.78.75";
constexpr std::uint16_t kSessionPort = 20808;

// Opens the session's multicast socket on one interface as the session layer
// does (shared port, joined group), then closes it. An errno on failure.
int tryMulticastSocket(in_addr interfaceAddress) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return errno;
  int error = 0;
  const int yes = 1;
  sockaddr_in bound{};
  bound.sin_family = AF_INET;
  bound.sin_port = htons(kSessionPort);
  bound.sin_addr.s_addr = htonl(INADDR_ANY);
  ip_mreq membership{};
  ::inet_pton(AF_INET, kSessionGroup, &membership.imr_multiaddr);
  membership.imr_interface = interfaceAddress;
  if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &interfaceAddress, sizeof interfaceAddress) != 0 ||
      ::bind(fd, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) != 0) {
    error = errno;
  }
  ::close(fd);
  return error;
}

}  // namespace

bool networkCanShareSession(std::string* problem) {
  ifaddrs* interfaces = nullptr;
  if (::getifaddrs(&interfaces) != 0) {
    if (problem != nullptr) *problem = std::string("cannot list the network interfaces: ") + std::strerror(errno);
    return false;
  }
  bool anyUp = false;
  std::string refusal;
  for (const ifaddrs* i = interfaces; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_UP) == 0)
      continue;
    anyUp = true;
    const in_addr address = reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr;
    const int error = tryMulticastSocket(address);
    if (error == 0) {
      ::freeifaddrs(interfaces);
      return true;
    }
    if (refusal.empty()) refusal = std::string(i->ifa_name) + ": " + std::strerror(error);
  }
  ::freeifaddrs(interfaces);
  if (problem != nullptr) {
    *problem = anyUp ? "cannot open the session socket (" + refusal + ")"
                     : std::string("no network interface is up");
  }
  return false;
}

}  // namespace platform::link
