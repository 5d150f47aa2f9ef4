#pragma once
// The real player in one process (headless, virtual time) with a quiet start served:
// the home address, every switch "0" and a provider name. Remote files are served by
// their table entries. A fetch's later answer can differ from its first, and the network
// can go after start-up's probe, as between start-up and the corner ad's own fetches.

#include <map>
#include <optional>
#include <string>

#include "player/player_program.h"
#include "tests/player/headless_player.h"
#include "tools/encipher/encipher.h"

namespace korvane::player::testing {

inline constexpr char kHome[] = "http://home.test/";
inline constexpr char kProvider[] = "演示影院";

// The table's answers; an address given a later answer gives it from its second fetch on.
class ChangingHttp final : public platform::HttpClient {
 public:
  explicit ChangingHttp(platform::testing::ScriptedHttpClient& answers) : answers_(answers) {}
  void AnswerLater(std::string address, std::string body) { later_[std::move(address)] = std::move(body); }
  std::string HttpGetBytes(std::string_view address, const platform::FetchLimits& limits) override {
    std::string body = answers_.HttpGetBytes(address, limits);
    if (auto later = later_.find(address); later != later_.end()) {
      answers_.Answer(later->first, later->second);
      later_.erase(later);
    }
    return body;
  }

 private:
  platform::testing::ScriptedHttpClient& answers_;
  std::map<std::string, std::string, std::less<>> later_;
};

// Resolves as its table does for the first `answered` lookups, then nothing: the network
// has gone.
class NetworkGoesAway final : public platform::NameResolver {
 public:
  explicit NetworkGoesAway(platform::NameResolver& resolver) : resolver_(resolver) {}
  void GoAfter(int lookups) { left_ = lookups; }
  Text HostNameToIp(std::string_view host_name) override {
    if (left_ && (*left_)-- <= 0) return {};
    return resolver_.HostNameToIp(host_name);
  }

 private:
  platform::NameResolver& resolver_;
  std::optional<int> left_;
};

class AdPlayer : public HeadlessPlayer {
 public:
  AdPlayer() {
    using namespace remote;
    for (const auto& [file, value] : std::vector<std::pair<const RemoteFile*, Text>>{
             {&kHomeAddress, kHome}, {&kTextAdSwitch, "0"}, {&kPauseAdSwitch, "0"}, {&kExitAdSwitch, "0"},
             {&kProviderName, kProvider}, {&kVersionFlag, "no"}, {&kCornerAdSwitch, "0"}}) {
      Serve(*file, value);
    }
  }

  // The file's address as the program builds it (an empty installation id), below `home`
  // for the box files.
  Text AddressOf(const RemoteFile& file, const Text& home = kHome) {
    PlayerGlobals globals;
    RemoteFiles files(http_, DeployedConstants(), globals);
    globals.uid_base = files.MakeUidBase("");
    globals.home_address = home;
    return files.AddressOf(file);
  }
  static std::string BodyOf(const RemoteFile& file, const Text& value) {
    return file.form == RemoteForm::kKey2 ? tools::EncipherToHex(2, value) : value;
  }
  void Serve(const RemoteFile& file, const Text& value) { http_.Answer(AddressOf(file), BodyOf(file, value)); }
  void ServeLater(const RemoteFile& file, const Text& value) { changing_http_.AnswerLater(AddressOf(file), BodyOf(file, value)); }
  int FetchCount(const RemoteFile& file, const Text& home = kHome) { return http_.FetchCount(AddressOf(file, home)); }

  // The user leaves by the options menu's exit item.
  void Exit() {
    script_.Add("click", {"主界面选项按钮"});
    script_.Add("menu", {" 退出"});
  }
  void Advance(int ms) { script_.Add("advance", {std::to_string(ms)}); }
  // A check that runs only while the program still runs.
  void Check(std::function<void()> check) { script_.Call(std::move(check)); }

  std::optional<ui::Window> WindowNamed(std::string_view name) {
    for (const ui::Window& window : InspectionOf(ui_).Windows()) {
      if (window.Name() == name) return window;
    }
    return std::nullopt;
  }
  const PlayerGlobals& Globals() { return program_->Globals(); }

  // Runs the program to its end; its exit code (124: still running when the script ran out).
  int RunToEnd() {
    program_.emplace(ad_services_);
    return program_->PlayerEntry();
  }

  ChangingHttp changing_http_{http_};
  NetworkGoesAway resolver_after_start_{resolver_};
  PlayerServices ad_services_{ui_, folder_.files(), changing_http_, resolver_after_start_, events_, shell_, settings_,
                              DeployedConstants(), "probe.test"};
  std::optional<PlayerProgram> program_;
};

}  // namespace korvane::player::testing
