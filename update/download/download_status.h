#pragma once
// The texts that a transfer leaves in `RangeDownloader::StatusText`. Besides these, an
// HTTP error answer leaves its own reason phrase ("Not Found"), and a transfer that was
// stopped after a block leaves empty text.

#include <string_view>

namespace korvane::update::download_status {

inline constexpr std::string_view kComplete = "下载完毕";
inline constexpr std::string_view kNotInitialised = "没有初始化";
inline constexpr std::string_view kAlreadyDownloading = "正在下载中……";
inline constexpr std::string_view kLocalFileUnopenable = "本地文件无法打开";
inline constexpr std::string_view kTimedOut = "数据下载超时，建议重试。";
inline constexpr std::string_view kAbortedByUser = "用户中止了下载";
inline constexpr std::string_view kRangesUnsupported = "服务器不支持断点续传！";
inline constexpr std::string_view kLengthUnknown = "文件长度未知！";

// A file is only ever called complete when its bytes are known to be the resource's, so
// an answer that does not fit the request ends the transfer before anything is written.
inline constexpr std::string_view kRangeMismatch = "服务器返回的数据范围不符！";
inline constexpr std::string_view kBodyLengthMismatch = "服务器返回的数据长度不符！";
inline constexpr std::string_view kTotalChanged = "服务器上的文件已改变，请重试。";
inline constexpr std::string_view kLocalLengthMismatch = "本地文件与服务器文件长度不符！";
inline constexpr std::string_view kLocalFileUnwritable = "本地文件写入失败";
// Positions are 32-bit: a resource of 2 GB or more cannot be fetched.
inline constexpr std::string_view kTooLarge = "文件超过2GB，无法下载！";

}  // namespace korvane::update::download_status
