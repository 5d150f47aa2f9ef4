#pragma once
// The deployment's built-in data, generated at build time from the deployment folder.
// Addresses are key-1 enciphered hex texts; the programs decipher them when they need them.
// Texts are GBK and plain.

#include <string_view>

namespace korvane::deploy {

std::string_view PlayerControlBase();
std::string_view PlayerUidPrefix();
std::string_view PlayerSiteAddress();
std::string_view PlayerChatPrefix();
std::string_view UpdateControlBase();
std::string_view UpdateListFolder();

// The about window's lines on the operator's two companion programs: role and version.
std::string_view CompanionProgram1();
std::string_view CompanionProgram2();

// Plain host name of the network probe.
std::string_view ProbeHost();

}  // namespace korvane::deploy
