#pragma once
// The player's program-wide values: made by the start code before any window exists,
// freed by the finaliser, used by the window thread alone. The remote values are the
// texts of the remote control files (remote_files.h names which file fills which).

#include <memory>
#include <vector>

#include "common/text.h"
#include "platform/services/regex.h"
#include "platform/services/single_instance.h"

namespace korvane::player {

struct PlayerGlobals {
  // The installation id, deciphered, and the per-installation base built on it.
  Text uid;
  Text uid_base;

  Text catalogue_page;
  Text find_page;
  Text home_address;
  Text text_ad_switch;
  Text pause_ad_switch;
  Text exit_ad_switch;
  Text provider_name;
  Text version_flag;
  Text text_ad1_address;
  Text text_ad1_caption;
  Text text_ad1_tip;
  Text text_ad2_address;
  Text text_ad2_caption;
  Text text_ad2_tip;
  Text text_ad_box_switch;
  Text box_text_ad1_address;
  Text box_text_ad2_address;
  Text box_text_ad1_caption;
  Text box_text_ad2_caption;
  Text box_text_ad1_tip;
  Text box_text_ad2_tip;
  Text corner_ad_switch;
  Text corner_ad_box_switch;
  Text exit_ad_box_switch;
  Text exit_ad_page;
  Text service_qq;

  // Held until the process ends, so that a later start with the same home address finds it.
  std::unique_ptr<platform::NamedEvent> single_instance_event;

  // The scraper's expressions and their last matches, and the played episodes' addresses.
  std::unique_ptr<platform::CompiledRegex> title_regex;
  std::unique_ptr<platform::CompiledRegex> episode_link_regex;
  std::unique_ptr<platform::CompiledRegex> status_regex;
  std::vector<platform::RegexMatch> title_matches;
  std::vector<platform::RegexMatch> episode_link_matches;
  std::vector<platform::RegexMatch> status_matches;
  std::vector<Text> episode_addresses;

  // The last title page's text (shared with the browser that showed it, never null) and
  // the film found on it.
  std::shared_ptr<const Text> loaded_page_text = std::make_shared<const Text>();
  Text film_title;
  // The programme list: its title item, the item previous or next last played, and the
  // toggle's `Button` value as read at its last click.
  int title_row_index = 0;
  int playing_index = 0;
  Text button_setting;
  // Ticks left before the corner ad shows itself.
  int corner_ad_countdown = 0;
};

// Makes every value empty: no expression compiled, no match, no address.
void InitPlayerGlobals(PlayerGlobals& globals);
// Destroys the expressions and every match, and releases every text. The single-instance
// event stays: only the end of the process lets its name go.
void FreePlayerGlobals(PlayerGlobals& globals);

}  // namespace korvane::player
