#pragma once
// Starting programs, opening addresses and ending processes, as the programs ask the
// shell to. Results are values: false or 0 when nothing happened.

#include <string_view>

#include "common/text.h"

namespace korvane::platform {

// The one scheme besides http and https that OpenUrl hands to the desktop: the
// customer-service chat link.
inline constexpr char kChatLinkScheme[] = "tencent";

class Shell {
 public:
  virtual ~Shell() = default;
  // "open" (ASCII case ignored) starts the program at the core path `file` with no
  // arguments and does not wait; any other verb does nothing.
  virtual bool RunShellVerb(std::string_view verb, std::string_view file) = 0;
  // Opens an http, https or chat-link address with the desktop's default handler.
  // Addresses come from the network, so every other scheme is refused.
  virtual bool OpenUrl(std::string_view address) = 0;
  // Ends every process (of this user, the caller excepted) whose executable's file name
  // is exactly `file_name`; the number ended.
  virtual int EndProcessByName(std::string_view file_name) = 0;
  // The running program's file name, without its folder.
  virtual Text GetProgramFileName() = 0;
};

}  // namespace korvane::platform
