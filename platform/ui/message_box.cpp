#include "platform/ui/message_box.h"

#include <algorithm>
#include <array>
#include <vector>

namespace korvane::platform::ui {
namespace {

using enum MessageBoxAnswer;

struct ButtonsEntry {
  MessageBoxButtons buttons;
  std::string_view name;
  std::vector<MessageBoxAnswer> answers;
};

const std::array<ButtonsEntry, 6>& ButtonsTable() {
  static const std::array<ButtonsEntry, 6> table{{
      {MessageBoxButtons::kOk, "ok", {kOk}},
      {MessageBoxButtons::kOkCancel, "ok_cancel", {kOk, kCancel}},
      {MessageBoxButtons::kAbortRetryIgnore, "abort_retry_ignore", {kAbort, kRetry, kIgnore}},
      {MessageBoxButtons::kYesNoCancel, "yes_no_cancel", {kYes, kNo, kCancel}},
      {MessageBoxButtons::kYesNo, "yes_no", {kYes, kNo}},
      {MessageBoxButtons::kRetryCancel, "retry_cancel", {kRetry, kCancel}},
  }};
  return table;
}

const ButtonsEntry& EntryOf(MessageBoxButtons buttons) {
  const auto& table = ButtonsTable();
  return *std::find_if(table.begin(), table.end(), [&](const ButtonsEntry& entry) { return entry.buttons == buttons; });
}

struct AnswerEntry {
  MessageBoxAnswer answer;
  std::string_view name;
};

constexpr AnswerEntry kAnswers[] = {{kOk, "ok"},         {kCancel, "cancel"}, {kAbort, "abort"}, {kRetry, "retry"},
                                    {kIgnore, "ignore"}, {kYes, "yes"},       {kNo, "no"}};

struct IconEntry {
  MessageBoxIcon icon;
  std::string_view name;
};

constexpr IconEntry kIcons[] = {{MessageBoxIcon::kNone, "none"},
                                {MessageBoxIcon::kError, "error"},
                                {MessageBoxIcon::kQuestion, "question"},
                                {MessageBoxIcon::kWarning, "warning"},
                                {MessageBoxIcon::kInformation, "information"}};

}  // namespace

std::span<const MessageBoxAnswer> ButtonAnswers(MessageBoxButtons buttons) { return EntryOf(buttons).answers; }

std::optional<MessageBoxAnswer> CloseAnswer(MessageBoxButtons buttons) {
  std::span<const MessageBoxAnswer> answers = ButtonAnswers(buttons);
  if (answers.size() == 1) return answers.front();
  if (std::find(answers.begin(), answers.end(), kCancel) != answers.end()) return kCancel;
  return std::nullopt;
}

std::string_view ButtonsName(MessageBoxButtons buttons) { return EntryOf(buttons).name; }

std::string_view IconName(MessageBoxIcon icon) {
  for (const IconEntry& entry : kIcons) {
    if (entry.icon == icon) return entry.name;
  }
  return "?";
}

std::string_view AnswerName(MessageBoxAnswer answer) {
  for (const AnswerEntry& entry : kAnswers) {
    if (entry.answer == answer) return entry.name;
  }
  return "?";
}

}  // namespace korvane::platform::ui
