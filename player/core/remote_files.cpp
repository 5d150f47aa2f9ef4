#include "player/core/remote_files.h"

#include "common/cipher.h"
#include "deploy/deployment.h"

namespace korvane::player {

BuiltInConstants DeployedConstants() {
  return {deploy::PlayerControlBase(), deploy::PlayerUidPrefix(), deploy::PlayerChatPrefix()};
}

Text RemoteFiles::ControlBase() const { return DecipherHexTextKey1(constants_.control_constant); }

Text RemoteFiles::MakeUidBase(std::string_view uid) const {
  return DecipherHexTextKey1(constants_.uid_constant) + Text(uid) + "/";
}

Text RemoteFiles::AddressOf(const RemoteFile& file) const {
  switch (file.base) {
    case RemoteBase::kControl:
      return ControlBase() + Text(file.path);
    case RemoteBase::kUid:
      return globals_.uid_base + Text(file.path);
    case RemoteBase::kHome:
      break;
  }
  return globals_.home_address + Text(file.path);
}

Text RemoteFiles::Read(const RemoteFile& file) const {
  Text value = platform::ToText(http_.HttpGetBytes(AddressOf(file), platform::kControlFileLimits));
  return file.form == RemoteForm::kKey2 ? DecipherHexTextKey2(value) : value;
}

Text RemoteFiles::Fetch(const RemoteFile& file) {
  Text value = Read(file);
  if (file.holder != nullptr) globals_.*file.holder = value;
  return value;
}

}  // namespace korvane::player
