#pragma once
// Message boxes as decisions: the buttons a box offers, its icon and the answer, each an
// enum. The answers keep the system's button codes (1 OK ... 7 No), which scripts use.

#include <optional>
#include <span>
#include <string_view>

#include "common/text.h"

namespace korvane::platform::ui {

enum class MessageBoxButtons { kOk, kOkCancel, kAbortRetryIgnore, kYesNoCancel, kYesNo, kRetryCancel };
enum class MessageBoxIcon { kNone, kError, kQuestion, kWarning, kInformation };
enum class MessageBoxAnswer { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

struct MessageBoxStyle {
  MessageBoxButtons buttons = MessageBoxButtons::kOk;
  MessageBoxIcon icon = MessageBoxIcon::kNone;
};

struct MessageBoxRequest {
  Text text;
  Text title;
  MessageBoxStyle style;
};

// The answers of a box's buttons, in the order they are shown.
std::span<const MessageBoxAnswer> ButtonAnswers(MessageBoxButtons buttons);
// A box closed without a button answers as its Cancel button, or as its only button;
// the others cannot be closed that way (nullopt).
std::optional<MessageBoxAnswer> CloseAnswer(MessageBoxButtons buttons);

// Names in the dump: "ok_cancel", "question", "cancel".
std::string_view ButtonsName(MessageBoxButtons buttons);
std::string_view IconName(MessageBoxIcon icon);
std::string_view AnswerName(MessageBoxAnswer answer);

}  // namespace korvane::platform::ui
