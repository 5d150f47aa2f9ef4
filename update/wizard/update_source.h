#pragma once
// Where the update list lives: the update switch on the control server names the source,
// and any other value no update (the updater then ends silently).

#include <optional>
#include <string_view>

#include "common/text.h"
#include "platform/services/http.h"

namespace korvane::update {

// The two remote files, key 2: the switch below the control server and the home address
// below the installation's base.
inline constexpr std::string_view kUpdateSwitchPath = "zongkong/update/updatekg.txt";
inline constexpr std::string_view kHomeAddressPath = "zhuye.txt";
// The update switch's values: the built-in update list folder, or the home address +
// `kHomeUpdateFolder`.
inline constexpr std::string_view kUpdateFromBuiltInFolder = "1";
inline constexpr std::string_view kUpdateFromHome = "2";
inline constexpr std::string_view kHomeUpdateFolder = "playercenter/update/";

// The updater's built-in addresses, key-1 enciphered hex texts.
struct BuiltInAddresses {
  std::string_view control_base;
  std::string_view update_list_folder;
};

// The deployment's own addresses.
BuiltInAddresses DeployedAddresses();

struct UpdateSource {
  Text installation_id;
  Text uid_base;
  Text update_switch;
  Text home_address;
  // The folder address of the update list and the file archives; empty when the switch
  // names no source.
  std::optional<Text> update_base;
};

// Reads the installation id from the program folder's Config.ini and makes both fetches
// (the switch and the home address) before testing the switch.
UpdateSource ChooseUpdateSourceFrom(platform::HttpClient& http, const BuiltInAddresses& addresses,
                                    std::string_view program_folder);

}  // namespace korvane::update
