#include "update/wizard/update_source.h"

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/core/config_files.h"

namespace korvane::update {
namespace {

Text FetchKey2Text(platform::HttpClient& http, std::string_view address) {
  return DecipherHexTextKey2(TextUpToZero(http.HttpGetBytes(address, platform::kControlFileLimits)));
}

}  // namespace

BuiltInAddresses DeployedAddresses() {
  return {deploy::UpdateControlBase(), deploy::UpdateListFolder()};
}

UpdateSource ChooseUpdateSourceFrom(platform::HttpClient& http, const BuiltInAddresses& addresses,
                                    std::string_view program_folder) {
  UpdateSource source;
  source.installation_id = DecipherHexTextKey3(
      platform::ReadConfigValue(program_folder, platform::kUidKey));
  source.uid_base =
      DecipherHexTextKey1(addresses.control_base) + "uid/" + source.installation_id + "/";
  source.update_switch =
      FetchKey2Text(http, DecipherHexTextKey1(addresses.control_base) + Text(kUpdateSwitchPath));
  source.home_address = FetchKey2Text(http, source.uid_base + Text(kHomeAddressPath));
  // Two separate tests, as the switch has two sources; at most one can hold.
  if (source.update_switch == kUpdateFromBuiltInFolder) {
    source.update_base = DecipherHexTextKey1(addresses.update_list_folder);
  }
  if (source.update_switch == kUpdateFromHome) {
    source.update_base = source.home_address + Text(kHomeUpdateFolder);
  }
  return source;
}

}  // namespace korvane::update
