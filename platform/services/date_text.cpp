#include "platform/services/files.h"

#include <string>

namespace korvane::platform {

// Only trailing zero parts of the time are left out; a zero before a non-zero part stays.
Text DateText(const FileDate& date) {
  auto number = [](int value) { return std::to_string(value); };
  Text text = number(date.year) + "年" + number(date.month) + "月" + number(date.day) + "日";
  if (date.second != 0) return text + number(date.hour) + "时" + number(date.minute) + "分" + number(date.second) + "秒";
  if (date.minute != 0) return text + number(date.hour) + "时" + number(date.minute) + "分";
  if (date.hour != 0) return text + number(date.hour) + "时";
  return text;
}

}  // namespace korvane::platform
