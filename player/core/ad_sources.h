#pragma once
// Where each ad finds what it shows, by its switches: one table a switch, one row a value
// that shows something. A value with no row shows nothing. A row's box switch, when it
// has one, must read `remote::kBoxOn` too; each user says when it reads that switch.

#include <array>
#include <cstddef>
#include <string_view>

#include "player/core/remote_files.h"

namespace korvane::player {

// The pause, exit and corner ads: the page the ad window or the engine is pointed at.
struct AdSource {
  std::string_view switch_value;
  const RemoteFile* page;
  const RemoteFile* box_switch;  // nullptr: none is asked
};

// The text ads: the files of one label, whose holders keep its address, caption and tip.
struct TextAdFiles {
  const RemoteFile* address;
  const RemoteFile* caption;
  const RemoteFile* tip;
};
// Labels 1 and 2.
using TextAdTexts = std::array<TextAdFiles, 2>;

// Which labels show, with whose texts. Start-up fetches the shown labels' files address
// first, then caption, then tip; a press on a label opens its address whether it shows
// or not, and opens nothing without texts.
struct TextAdRow {
  std::string_view switch_value;
  const TextAdTexts* texts;  // nullptr: none
  std::array<bool, 2> shown;
  const RemoteFile* box_switch;  // nullptr: none is asked
};

namespace ads {
using namespace remote;
// clang-format off
inline constexpr AdSource kPauseAd[] = {
    {kControlServerAd, &kPauseAdPage,     nullptr},
    {kBoxAd,           &kBoxPauseAdPage,  nullptr}};
inline constexpr AdSource kExitAd[] = {
    {kControlServerAd, &kExitAdPage,      nullptr},
    {kBoxAd,           &kBoxExitAdPage,   &kExitAdBoxSwitch}};
inline constexpr AdSource kCornerAd[] = {
    {kControlServerAd, &kCornerAdPage,    nullptr},
    {kBoxAd,           &kBoxCornerAdPage, &kCornerAdBoxSwitch}};

inline constexpr TextAdTexts kControlServerTexts = {{
    {&kTextAd1Address,    &kTextAd1Caption,    &kTextAd1Tip},
    {&kTextAd2Address,    &kTextAd2Caption,    &kTextAd2Tip}}};
inline constexpr TextAdTexts kBoxTexts = {{
    {&kBoxTextAd1Address, &kBoxTextAd1Caption, &kBoxTextAd1Tip},
    {&kBoxTextAd2Address, &kBoxTextAd2Caption, &kBoxTextAd2Tip}}};
inline constexpr TextAdRow kTextAds[] = {
    {kNoTextAds,   nullptr,              {false, false}, nullptr},
    {kTextAd1Only, &kControlServerTexts, {true,  false}, nullptr},
    {kTextAd2Only, &kControlServerTexts, {false, true},  nullptr},
    {kBothTextAds, &kControlServerTexts, {true,  true},  nullptr},
    {kBoxTextAds,  &kBoxTexts,           {true,  true},  &kTextAdBoxSwitch}};
// clang-format on
}  // namespace ads

// The row of a switch's table for the switch's value; nullptr when none matches.
template <typename Row, std::size_t N>
const Row* RowFor(const Row (&rows)[N], std::string_view switch_value) {
  for (const Row& row : rows) {
    if (row.switch_value == switch_value) return &row;
  }
  return nullptr;
}

// Whether a box switch, fetched now, lets its ad show; true without one.
bool BoxSwitchAllows(RemoteFiles& remote, const RemoteFile* box_switch);

}  // namespace korvane::player
