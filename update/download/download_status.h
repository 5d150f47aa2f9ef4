#pragma once
// How a transfer ended, and the one table from each outcome to the text that it leaves in
// `RangeDownloader::StatusText` and hands to the finished routine. An HTTP error answer
// leaves its own reason phrase ("Not Found") instead of a text of the table.

#include <array>
#include <cstddef>
#include <string_view>

namespace korvane::update {

enum class DownloadOutcome {
  kStopped,  // stopped after a block, or no transfer yet: empty text
  kComplete,
  kNotInitialised,
  kAlreadyDownloading,
  kLocalFileUnopenable,
  kTimedOut,
  kAbortedByUser,
  kRangesUnsupported,
  kLengthUnknown,
  // A file is only ever called complete when its bytes are known to be the resource's,
  // so an answer that does not fit the request ends the transfer before anything is written.
  kRangeMismatch,
  kBodyLengthMismatch,
  kTotalChanged,
  kLocalLengthMismatch,
  kLocalFileUnwritable,
  // Positions are 32-bit: a resource of 2 GB or more cannot be fetched.
  kTooLarge,
  kHttpError,  // the answer's reason phrase
};

inline constexpr std::array<std::string_view, static_cast<std::size_t>(DownloadOutcome::kHttpError)>
    kOutcomeTexts = {
        "",
        "下载完毕",
        "没有初始化",
        "正在下载中……",
        "本地文件无法打开",
        "数据下载超时，建议重试。",
        "用户中止了下载",
        "服务器不支持断点续传！",
        "文件长度未知！",
        "服务器返回的数据范围不符！",
        "服务器返回的数据长度不符！",
        "服务器上的文件已改变，请重试。",
        "本地文件与服务器文件长度不符！",
        "本地文件写入失败",
        "文件超过2GB，无法下载！",
};

// The table's text of `outcome`; empty for kHttpError, whose text is the answer's.
constexpr std::string_view OutcomeText(DownloadOutcome outcome) {
  const auto index = static_cast<std::size_t>(outcome);
  return index < kOutcomeTexts.size() ? kOutcomeTexts[index] : std::string_view();
}

}  // namespace korvane::update
