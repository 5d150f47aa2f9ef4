#pragma once
// Reading the values of a window layout (JSON): each read checks its type and reports a
// fault as a LayoutError that names the window and the place.

#include <initializer_list>
#include <map>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/layout.h"

namespace korvane::platform::ui {

class LayoutValues {
 public:
  using json = nlohmann::json;

  explicit LayoutValues(std::string_view window_name) : window_name_(window_name) {}

  [[noreturn]] void Fail(std::string_view where, std::string_view message) const;
  // Every key of `object` is among `allowed` or `more`.
  void CheckKeys(const json& object, std::string_view where, std::initializer_list<std::string_view> allowed,
                 std::span<const std::string_view> more = {}) const;
  Text ReadText(const json& value, std::string_view where) const;
  int ReadInt(const json& value, std::string_view where) const;
  bool ReadBool(const json& value, std::string_view where) const;
  std::vector<Text> ReadTexts(const json& value, std::string_view where) const;
  // "0xBBGGRR" (the programs' colour layout), a number, or "default".
  Colour ReadColour(const json& value, std::string_view where) const;
  Font ReadFont(const json& value, std::string_view where) const;
  Rect ReadRect(const json& value, std::string_view where) const;

  template <typename Enum>
  Enum ReadChoice(const json& value, std::string_view where,
                  std::initializer_list<std::pair<std::string_view, Enum>> choices) const {
    if (value.is_string()) {
      for (const auto& [name, choice] : choices) {
        if (value.get_ref<const std::string&>() == name) return choice;
      }
    }
    Fail(where, "unknown value " + value.dump());
  }

 protected:
  const std::string& WindowName() const { return window_name_; }

 private:
  std::string window_name_;
};

// The keys of one control, as its kind's descriptor reads them.
struct LayoutFields {
  const LayoutValues& values;
  const nlohmann::json& object;
  std::string_view where;
};

}  // namespace korvane::platform::ui
