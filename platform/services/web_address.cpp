#include "platform/services/web_address.h"

#include <functional>
#include <iterator>
#include <iostream>
#include <mutex>
#include <unordered_set>

#include "platform/services/shell.h"

namespace korvane::platform {
namespace {

// What each use is called in the log and the scheme it takes besides http and https.
struct UseRule {
  std::string_view name;
  std::string_view extra_scheme;
};

constexpr UseRule kUseRules[] = {
    {"browser", ""},   {"ad view", ""}, {"pause-ad", ""},      {"episode", "qvod"},
    {"open", ""},      {"chat link", kChatLinkScheme}, {"start page", ""},
};

static_assert(std::size(kUseRules) == static_cast<std::size_t>(AddressUse::kStartPage) + 1);

const UseRule& RuleOf(AddressUse use) { return kUseRules[static_cast<std::size_t>(use)]; }

bool IsSchemeByte(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

// The address taken apart: its scheme, and whether "//" and a host follow it. Every
// delimiter looked for lies below 0x40, where no GBK trail byte does, so searching the
// bytes never finds half a character.
struct AddressParts {
  std::string_view scheme;
  bool has_host = false;
};

AddressParts Parse(std::string_view address) {
  const std::size_t colon = address.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeByte(address[i], i == 0)) return {};
  }
  std::string_view rest = address.substr(colon + 1);
  const bool has_host = rest.starts_with("//") && rest.size() > 2 && rest.find_first_of("/?#", 2) != 2;
  return {address.substr(0, colon), has_host};
}

bool IsCleanByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte > 0x20 && byte != 0x7F;
}

bool Allowed(std::string_view address, const UseRule& rule) {
  if (address.size() > kMaximumAddressBytes) return false;
  for (char c : address) {
    if (!IsCleanByte(c)) return false;
  }
  const AddressParts parts = Parse(address);
  if (!parts.has_host) return false;
  return EqualsNoCase(parts.scheme, "http") || EqualsNoCase(parts.scheme, "https") ||
         (!rule.extra_scheme.empty() && EqualsNoCase(parts.scheme, rule.extra_scheme));
}

// The address as one line of the log: control bytes written as \xHH, cut after the
// longest address that could pass, at a character boundary.
std::string LogForm(std::string_view address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text shown;
  std::size_t at = 0;
  while (at < address.size() && at < kMaximumAddressBytes) {
    const std::size_t length = GbkCharLength(address, at);
    const auto byte = static_cast<unsigned char>(address[at]);
    if (length == 1 && (byte < 0x20 || byte == 0x7F)) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0x0F];
    } else {
      shown.append(address.substr(at, length));
    }
    at += length;
  }
  if (at < address.size()) shown += "...";
  return std::string(AsChars(GbkToUtf8(shown)));
}

// True the first time this address is refused for this use. A player runs for hours on
// pages a hostile server may fill with ever new addresses, so the memory of refusals is
// bounded: once full it starts afresh, and an old refusal may be logged once more.
bool FirstRefusal(std::string_view address, AddressUse use) {
  constexpr std::size_t kRemembered = 4096;
  static std::mutex mutex;
  static std::unordered_set<std::size_t> refused;
  const std::size_t key = std::hash<std::string_view>()(address) * 31 + static_cast<std::size_t>(use);
  std::lock_guard lock(mutex);
  if (refused.size() >= kRemembered && !refused.contains(key)) refused.clear();
  return refused.insert(key).second;
}

}  // namespace

Text GatedAddress(std::string_view address, AddressUse use) {
  const UseRule& rule = RuleOf(use);
  if (address.empty() || Allowed(address, rule)) return Text(address);
  if (FirstRefusal(address, use)) std::cerr << rule.name << " address refused: " << LogForm(address) << "\n";
  return {};
}

bool HasWebScheme(std::string_view address) {
  const AddressParts parts = Parse(address);
  return parts.has_host && (EqualsNoCase(parts.scheme, "http") || EqualsNoCase(parts.scheme, "https"));
}

}  // namespace korvane::platform
