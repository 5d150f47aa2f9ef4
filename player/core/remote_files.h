#pragma once
// Every remote control file of the player, declared once in one table: its path, the base
// it lies under, its form and the global that holds its value; below the table, the
// values each switch file is tested for (what they lead to is in ad_sources.h). The
// fetches go through one HTTP client, so they share its kept-alive connection.
//
// Bases: the control server (the control constant, deciphered anew for every file named
// under it), the per-installation base `UidBase` and the home address `HomeAddress`.
// Forms: key 2 (the body is hex text enciphered with key 2) or plain (the body is the
// value, GBK, nothing trimmed). Either way only the bytes before a zero byte count.

#include <string_view>

#include "common/text.h"
#include "platform/services/http.h"
#include "player/core/player_globals.h"

namespace korvane::player {

enum class RemoteBase { kControl, kUid, kHome };
enum class RemoteForm { kKey2, kPlain };

struct RemoteFile {
  std::string_view path;
  RemoteBase base;
  RemoteForm form;
  Text PlayerGlobals::*holder;  // nullptr: the value goes straight to its reader
};

namespace remote {
using B = RemoteBase;
using F = RemoteForm;
using G = PlayerGlobals;
// clang-format off
inline constexpr RemoteFile kCataloguePage    {"pianku.txt",                   B::kUid,     F::kKey2,  &G::catalogue_page};
inline constexpr RemoteFile kFindPage         {"zhaopian.txt",                 B::kUid,     F::kKey2,  &G::find_page};
inline constexpr RemoteFile kHomeAddress      {"zhuye.txt",                    B::kUid,     F::kKey2,  &G::home_address};
inline constexpr RemoteFile kTextAdSwitch     {"zongkong/ads/adskg.txt",       B::kControl, F::kKey2,  &G::text_ad_switch};
inline constexpr RemoteFile kPauseAdSwitch    {"zongkong/ads/qvodkg.txt",      B::kControl, F::kKey2,  &G::pause_ad_switch};
inline constexpr RemoteFile kExitAdSwitch     {"zongkong/ads/ttkg.txt",        B::kControl, F::kKey2,  &G::exit_ad_switch};
inline constexpr RemoteFile kProviderName     {"box/js/ads/name.txt",          B::kHome,    F::kPlain, &G::provider_name};
inline constexpr RemoteFile kVersionFlag      {"zongkong/ver/ver20121229.txt", B::kControl, F::kKey2,  &G::version_flag};
inline constexpr RemoteFile kTextAd1Address   {"zongkong/ads/ads1dz.txt",      B::kControl, F::kKey2,  &G::text_ad1_address};
inline constexpr RemoteFile kTextAd1Caption   {"zongkong/ads/ads1rn.txt",      B::kControl, F::kKey2,  &G::text_ad1_caption};
inline constexpr RemoteFile kTextAd1Tip       {"zongkong/ads/ads1ts.txt",      B::kControl, F::kKey2,  &G::text_ad1_tip};
inline constexpr RemoteFile kTextAd2Address   {"zongkong/ads/ads2dz.txt",      B::kControl, F::kKey2,  &G::text_ad2_address};
inline constexpr RemoteFile kTextAd2Caption   {"zongkong/ads/ads2rn.txt",      B::kControl, F::kKey2,  &G::text_ad2_caption};
inline constexpr RemoteFile kTextAd2Tip       {"zongkong/ads/ads2ts.txt",      B::kControl, F::kKey2,  &G::text_ad2_tip};
inline constexpr RemoteFile kTextAdBoxSwitch  {"box/js/ads/wzkg.txt",          B::kHome,    F::kPlain, &G::text_ad_box_switch};
inline constexpr RemoteFile kBoxTextAd1Address{"box/js/ads/ads1dz.txt",        B::kHome,    F::kPlain, &G::box_text_ad1_address};
inline constexpr RemoteFile kBoxTextAd2Address{"box/js/ads/ads2dz.txt",        B::kHome,    F::kPlain, &G::box_text_ad2_address};
inline constexpr RemoteFile kBoxTextAd1Caption{"box/js/ads/ads1rn.txt",        B::kHome,    F::kPlain, &G::box_text_ad1_caption};
inline constexpr RemoteFile kBoxTextAd2Caption{"box/js/ads/ads2rn.txt",        B::kHome,    F::kPlain, &G::box_text_ad2_caption};
inline constexpr RemoteFile kBoxTextAd1Tip    {"box/js/ads/ads1ts.txt",        B::kHome,    F::kPlain, &G::box_text_ad1_tip};
inline constexpr RemoteFile kBoxTextAd2Tip    {"box/js/ads/ads2ts.txt",        B::kHome,    F::kPlain, &G::box_text_ad2_tip};
inline constexpr RemoteFile kCornerAdSwitch   {"zongkong/ads/ytkg.txt",        B::kControl, F::kKey2,  &G::corner_ad_switch};
inline constexpr RemoteFile kCornerAdBoxSwitch{"box/js/ads/ytkg.txt",          B::kHome,    F::kPlain, &G::corner_ad_box_switch};
inline constexpr RemoteFile kCornerAdPage     {"zongkong/ads/ytad.txt",        B::kControl, F::kKey2,  nullptr};
inline constexpr RemoteFile kBoxCornerAdPage  {"box/js/ads/ytad.txt",          B::kHome,    F::kPlain, nullptr};
inline constexpr RemoteFile kExitAdBoxSwitch  {"box/js/ads/ttkg.txt",          B::kHome,    F::kPlain, &G::exit_ad_box_switch};
inline constexpr RemoteFile kExitAdPage       {"zongkong/ads/ttad.txt",        B::kControl, F::kKey2,  &G::exit_ad_page};
inline constexpr RemoteFile kBoxExitAdPage    {"box/js/ads/ttad.txt",          B::kHome,    F::kPlain, &G::exit_ad_page};
inline constexpr RemoteFile kPauseAdPage      {"zongkong/ads/qvodad.txt",      B::kControl, F::kKey2,  nullptr};
inline constexpr RemoteFile kBoxPauseAdPage   {"box/js/ads/qvodad.txt",        B::kHome,    F::kPlain, nullptr};
inline constexpr RemoteFile kServiceQq        {"box/js/ads/kefuqq.txt",        B::kHome,    F::kPlain, &G::service_qq};
// clang-format on

// The values the switches above are tested for, each a whole text, byte for byte; any
// other text, empty included, matches none of its switch's values.
// kVersionFlag: a newer version is out.
inline constexpr std::string_view kNewVersion = "up";
// kTextAdSwitch: which labels show the control server's texts, or both the box's.
inline constexpr std::string_view kNoTextAds = "0";
inline constexpr std::string_view kTextAd1Only = "1";
inline constexpr std::string_view kTextAd2Only = "2";
inline constexpr std::string_view kBothTextAds = "3";
inline constexpr std::string_view kBoxTextAds = "ok";
// kPauseAdSwitch, kExitAdSwitch and kCornerAdSwitch: the ad's page is the control
// server's or the box's.
inline constexpr std::string_view kControlServerAd = "1";
inline constexpr std::string_view kBoxAd = "2";
// kTextAdBoxSwitch, kCornerAdBoxSwitch and kExitAdBoxSwitch: the box's ad on or off.
inline constexpr std::string_view kBoxOn = "开";
inline constexpr std::string_view kBoxOff = "关";
}  // namespace remote

// The statistics page below the control server; the installation id follows it.
inline constexpr std::string_view kStatisticsPagePath = "zongkong/tongji/azltj.html?";

// The player's built-in constants, key-1 enciphered hex texts.
struct BuiltInConstants {
  std::string_view control_constant;
  std::string_view uid_constant;
  // The customer-service chat link up to the number, "...?uin=".
  std::string_view chat_prefix;
};

// The deployment's own constants.
BuiltInConstants DeployedConstants();

class RemoteFiles {
 public:
  RemoteFiles(platform::HttpClient& http, BuiltInConstants constants, PlayerGlobals& globals)
      : http_(http), constants_(constants), globals_(globals) {}

  // The control server's base address, deciphered anew at every call.
  Text ControlBase() const;
  // The per-installation prefix, the installation id and "/".
  Text MakeUidBase(std::string_view uid) const;
  Text AddressOf(const RemoteFile& file) const;
  // Fetches the file and reads its value by its form; nothing is stored.
  Text Read(const RemoteFile& file) const;
  // Reads the file and, when it has a holder, replaces the held value. Gives the value.
  Text Fetch(const RemoteFile& file);

 private:
  platform::HttpClient& http_;
  BuiltInConstants constants_;
  PlayerGlobals& globals_;
};

}  // namespace korvane::player
