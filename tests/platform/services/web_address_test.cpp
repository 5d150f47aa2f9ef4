#include "platform/services/web_address.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::platform {
namespace {

constexpr AddressUse kEveryUse[] = {AddressUse::kBrowser, AddressUse::kAdView, AddressUse::kPauseAd,
                                    AddressUse::kEpisode, AddressUse::kOpen,   AddressUse::kChatLink,
                                    AddressUse::kStartPage};

// Which uses an address may serve: every use, none, or only the one named.
enum class Passes { kEverywhere, kNowhere, kEpisodeOnly, kChatLinkOnly };

struct GateCase {
  std::string address;
  Passes passes;
};

bool Expected(Passes passes, AddressUse use) {
  switch (passes) {
    case Passes::kEverywhere: return true;
    case Passes::kNowhere: return false;
    case Passes::kEpisodeOnly: return use == AddressUse::kEpisode;
    case Passes::kChatLinkOnly: return use == AddressUse::kChatLink;
  }
  return false;
}

TEST(AddressGate, PassesOnlyCleanAddressesOfTheSchemesOfTheirUse) {
  const std::string longest = "http://a.test/" + std::string(kMaximumAddressBytes - 14, 'x');
  const GateCase cases[] = {
      {"http://home.test/", Passes::kEverywhere},
      {"HTTPS://home.test/a?soft", Passes::kEverywhere},
      {"http://127.0.0.1:18930/zongkong/x.html?id=7&type=tv#top", Passes::kEverywhere},
      // GBK bytes pass, a trail byte 0x5C ("\") included: they go out percent-encoded.
      {"http://home.test/\xD6\xD0\xCE\xC4/\x95\x5C.html", Passes::kEverywhere},
      {longest, Passes::kEverywhere},
      {longest + "x", Passes::kNowhere},
      {"qvod://123456|ABCDEF|\xB5\xDA" "1\xBC\xAF.rmvb|", Passes::kEpisodeOnly},
      {"tencent://message/?uin=123&Site=\xD1\xDD&Menu=yes", Passes::kChatLinkOnly},
      {"http://a\r\nb", Passes::kNowhere},
      {"http://home.test/\n", Passes::kNowhere},
      {std::string("http://home.test/\0x", 19), Passes::kNowhere},
      {"http://home.test/a b", Passes::kNowhere},
      {"http://home.test/\ta", Passes::kNowhere},
      {"http://home.test/\x7F", Passes::kNowhere},
      {"javascript:alert(1)", Passes::kNowhere},
      {"JavaScript://home.test/%0Aalert(1)", Passes::kNowhere},
      {"file:///etc/passwd", Passes::kNowhere},
      {"data:text/html,<script>alert(1)</script>", Passes::kNowhere},
      {"about:blank", Passes::kNowhere},
      {"/etc/passwd", Passes::kNowhere},
      {"c:\\boot.ini", Passes::kNowhere},
      {"--help", Passes::kNowhere},
      {"?soft", Passes::kNowhere},
      {"http:home.test", Passes::kNowhere},
      {"http://", Passes::kNowhere},
      {"http:///etc/passwd", Passes::kNowhere},
      {"http:\\\\home.test\\", Passes::kNowhere},
      {"ht tp://home.test/", Passes::kNowhere},
      {"\x8F\x3A//home.test/", Passes::kNowhere},
      {"httpx://home.test/", Passes::kNowhere},
      {"qvodx://123|a|", Passes::kNowhere},
  };
  for (const GateCase& c : cases) {
    for (AddressUse use : kEveryUse) {
      SCOPED_TRACE(testing::Message() << c.address << " for use " << static_cast<int>(use));
      EXPECT_EQ(GatedAddress(c.address, use), Expected(c.passes, use) ? c.address : Text());
    }
  }
}

TEST(AddressGate, EmptyTextIsNoRefusalAndEachRefusalIsLoggedOncePerUse) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(GatedAddress("", AddressUse::kBrowser), "");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(GatedAddress("javascript:once(\r\n)", AddressUse::kBrowser), "");
    EXPECT_EQ(GatedAddress("javascript:once(\r\n)", AddressUse::kOpen), "");
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log,
            "browser address refused: javascript:once(\\x0D\\x0A)\n"
            "open address refused: javascript:once(\\x0D\\x0A)\n");
}

// A page may hold ever new bad addresses for hours: the refusals remembered for the log are
// bounded, so after many others the first is logged again.
TEST(AddressGate, TheRefusalsRememberedForTheLogAreBounded) {
  testing::internal::CaptureStderr();
  const Text first = "javascript:first()";
  GatedAddress(first, AddressUse::kEpisode);
  for (int i = 0; i < 10000; ++i) GatedAddress("javascript:" + std::to_string(i), AddressUse::kEpisode);
  GatedAddress(first, AddressUse::kEpisode);
  const std::string log = testing::internal::GetCapturedStderr();
  std::size_t logged = 0;
  for (std::size_t at = log.find("javascript:first()"); at != std::string::npos;
       at = log.find("javascript:first()", at + 1)) {
    ++logged;
  }
  EXPECT_EQ(logged, 2u);
}

TEST(AddressGate, FetchesNeedOnlyTheWebSchemeAndAHost) {
  const std::pair<std::string_view, bool> cases[] = {
      {"http://a.test/up date/\xD6\xD0.zip", true}, {"HTTPS://a.test", true}, {"http://", false},
      {"box/js/ads/name.txt", false}, {"ftp://a.test/", false}, {"", false},
  };
  for (const auto& [address, fetched] : cases) EXPECT_EQ(HasWebScheme(address), fetched) << address;
}

}  // namespace
}  // namespace korvane::platform
