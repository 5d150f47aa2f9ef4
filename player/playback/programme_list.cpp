#include "player/playback/programme_list.h"

#include "common/number.h"
#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"
#include "player/core/ad_sources.h"
#include "player/core/player_config.h"
#include "player/playback/pause_play_toggle.h"

namespace korvane::player {

void ProgrammeList::LoadPauseAdPage() {
  if (const AdSource* source = RowFor(ads::kPauseAd, globals_.pause_ad_switch)) {
    Engine().SetPauseAdAddress(platform::GatedAddress(remote_.Fetch(*source->page), platform::AddressUse::kPauseAd));
  }
}

void ProgrammeList::SetEpisodeAddress(int k) {
  const std::vector<Text>& addresses = globals_.episode_addresses;
  if (k < 1 || k > static_cast<int>(addresses.size())) return;
  Engine().SetMediaAddress(platform::GatedAddress(addresses[k - 1], platform::AddressUse::kEpisode));
}

void ProgrammeList::RebuildPlaylist() {
  PlayerGlobals& g = globals_;
  MainWindowControls c = main_window_.Controls();
  platform::ui::PlaybackEngine engine = c.player;
  c.playlist.Clear();
  g.episode_addresses.clear();
  engine.PrepareEpisodeChange();
  g.title_row_index = c.playlist.AddItem(-1, g.film_title);
  // Each link's address and name are the copies taken on its own page.
  for (const platform::RegexMatch& link : g.episode_link_matches) {
    g.episode_addresses.push_back(platform::MatchGetSubmatchText(link, 2));
    c.playlist.AddItem(g.title_row_index, platform::MatchGetSubmatchText(link, 4));
  }
  c.playlist.Expand(g.title_row_index);
  engine.Stop();
  LoadPauseAdPage();
  c.playlist.SetCurrentSelection(g.title_row_index + 1);
  const int k = c.playlist.CurrentSelection();
  if (k < 1 || k > static_cast<int>(g.episode_addresses.size())) return;
  SetEpisodeAddress(k);
  engine.Play();
  main_window_.ShowPlayerView();
  c.playlist.SetVisible(true);
  SetButtonClickToPause(ui_, c.pause_play_button, program_folder_);
  c.status_label.SetCaption("正在播放 [" + g.film_title + "]...");
  SetHint(ui_, c.status_label, "正在播放[" + g.film_title + "] 高清版");
}

void ProgrammeList::Bind() {
  static constexpr ui::HandlerRow<ProgrammeList> kHandlers[] = {
      {"LoadCataloguePlaylist", &ProgrammeList::LoadCataloguePlaylist},
      {"LoadFindPlaylist", &ProgrammeList::LoadFindPlaylist},
      {"OnPlaylistItemActivated", &ProgrammeList::OnPlaylistItemActivated},
      {"OnPreviousEpisodeClicked", &ProgrammeList::OnPreviousEpisodeClicked},
      {"OnNextEpisodeClicked", &ProgrammeList::OnNextEpisodeClicked},
      {"OnPausePlayClicked", &ProgrammeList::OnPausePlayClicked},
  };
  ui::BindHandlers(ui_, *this, kHandlers);
}

void ProgrammeList::OnPlaylistItemActivated() {
  MainWindowControls c = main_window_.Controls();
  platform::ui::PlaybackEngine engine = c.player;
  const int selected = c.playlist.CurrentSelection();
  if (selected == globals_.title_row_index) return;
  const int parent = c.playlist.GetParent(selected);
  engine.PrepareEpisodeChange();
  if (selected == parent) return;
  engine.Stop();
  LoadPauseAdPage();
  const int k = selected - parent;
  // Out of range the engine resumes what it holds.
  SetEpisodeAddress(k);
  engine.Play();
  SetButtonClickToPause(ui_, c.pause_play_button, program_folder_);
}

void ProgrammeList::StepEpisode(int step) {
  MainWindowControls c = main_window_.Controls();
  platform::ui::PlaybackEngine engine = c.player;
  c.playlist.SetCurrentSelection(c.playlist.CurrentSelection() + step);
  engine.PrepareEpisodeChange();
  const int k = c.playlist.CurrentSelection();
  // The list selects nothing for a number it lacks: the move ends on what was played.
  if (k <= 0 || k > static_cast<int>(globals_.episode_addresses.size())) {
    c.playlist.SetCurrentSelection(globals_.playing_index);
    return;
  }
  engine.Stop();
  engine.Stop();
  LoadPauseAdPage();
  SetEpisodeAddress(k);
  globals_.playing_index = k;
  engine.Play();
}

void ProgrammeList::OnPausePlayClicked() {
  MainWindowControls c = main_window_.Controls();
  globals_.button_setting = platform::ReadConfigValue(program_folder_, kButtonKey);
  const double action = ToNumber(globals_.button_setting);
  if (NumbersEqual(action, 1)) {
    SetButtonClickToPause(ui_, c.pause_play_button, program_folder_);
    c.player.Play();
  } else if (NumbersEqual(action, 2)) {
    SetButtonClickToPlay(ui_, c.pause_play_button, program_folder_);
    c.player.Pause();
    LoadPauseAdPage();
  }
}

}  // namespace korvane::player
