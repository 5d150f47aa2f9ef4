#include "tests/support/own_network.h"

#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace korvane::testing_support {
namespace {

bool WriteProcFile(const char* file, const std::string& text) {
  std::ofstream out(file);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

// The same user inside as outside, so that files keep their owner; the capabilities the
// namespace gives are used to bring the loopback up, then dropped, so that this process
// is refused what its user is refused (a read-only file stays read-only).
bool EnterOwnNetwork() {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) return false;
  bool up = WriteProcFile("/proc/self/setgroups", "deny") &&
            WriteProcFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1") &&
            WriteProcFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq loopback{};
  std::strncpy(loopback.ifr_name, "lo", IFNAMSIZ - 1);
  up = up && fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &loopback) == 0;
  loopback.ifr_flags = static_cast<short>(loopback.ifr_flags | IFF_UP);
  up = up && ::ioctl(fd, SIOCSIFFLAGS, &loopback) == 0;
  if (fd >= 0) ::close(fd);
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
  ::syscall(SYS_capset, &header, none);
  // Past unshare there is no way back: a network without its loopback fails every run,
  // and says why here.
  if (!up) std::fprintf(stderr, "own_network: the loopback of the test's own network is not up\n");
  return up;
}

// Before main, while the process has one thread, as a user namespace needs.
const bool kOwnNetwork = EnterOwnNetwork();

}  // namespace

bool HasOwnNetwork() { return kOwnNetwork; }

}  // namespace korvane::testing_support
