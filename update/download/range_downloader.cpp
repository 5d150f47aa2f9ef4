#include "update/download/range_downloader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "platform/services/wait_pump.h"
#include "update/download/content_range.h"
#include "update/download/download_status.h"

namespace korvane::update {
namespace {

constexpr std::int32_t kInitialBlockSize = 10240;
constexpr int kBlockSizeForZero = 4;  // kilobytes
constexpr int kStatusPartial = 206;
constexpr int kStatusUnsatisfiable = 416;
constexpr int kWaitSliceMs = 1000;
// Positions, counters and lengths are 32-bit signed numbers.
constexpr double kLengthLimit = 2147483648.0;

// 10 ms for each byte of a block.
std::int32_t TimeoutFor(std::int32_t block_size) {
  return static_cast<std::int32_t>(block_size / 0.1);
}

// KB per second as a block of `block_size` bytes in `elapsed_ms` would give it.
std::int32_t SpeedOf(std::int32_t block_size, std::int64_t elapsed_ms) {
  if (elapsed_ms <= 0) return 0;
  return static_cast<std::int32_t>(block_size / 1.024 / static_cast<double>(elapsed_ms));
}

}  // namespace

struct RangeDownloader::Transfer {
  platform::OpenedFile& file;
  std::int32_t range_start = 0;
  std::int32_t percent = 0;
  std::int64_t sent_at = 0;
  bool started_afresh = false;
};

RangeDownloader::RangeDownloader(platform::HttpRequestFactory& http, platform::FileSystem& files,
                                 const platform::Clock& clock)
    : http_factory_(&http), files_(&files), clock_(&clock) {}

RangeDownloader::~RangeDownloader() { Close(); }

std::unique_ptr<RangeDownloader> RangeDownloader::Copy() const {
  return std::unique_ptr<RangeDownloader>(new RangeDownloader(*this));
}

void RangeDownloader::Close() {
  Abort();
  http_object_.reset();
  initialised_ = false;
  busy_ = false;
  abort_flag_ = false;
  timeout_ms_ = 0;
  bytes_done_ = 0;
  total_length_ = 0;
  block_size_ = 0;
  progress_routine_ = nullptr;
  finished_routine_ = nullptr;
  local_path_.clear();
  Finish(DownloadOutcome::kStopped);
  referer_.clear();
  url_.clear();
}

bool RangeDownloader::Init(DownloadProgressRoutine progress, DownloadFinishedRoutine finished) {
  if (initialised_ || busy_) return false;
  std::shared_ptr<platform::HttpRequest> http_object = http_factory_->CreateHttpRequest();
  if (!http_object) return false;
  http_object_ = std::move(http_object);
  initialised_ = true;
  busy_ = false;
  progress_routine_ = std::move(progress);
  finished_routine_ = std::move(finished);
  total_length_ = 0;
  abort_flag_ = false;
  block_size_ = kInitialBlockSize;
  timeout_ms_ = TimeoutFor(block_size_);
  return true;
}

void RangeDownloader::SetBlockSize(int kilobytes) {
  if (!initialised_ || busy_) return;
  int counted = kilobytes & 0xFF;
  if (counted == 0) counted = kBlockSizeForZero;
  block_size_ = counted * 1024;
  timeout_ms_ = TimeoutFor(block_size_);
}

void RangeDownloader::SetUrl(std::string_view url, std::string_view referer) {
  if (!initialised_ || busy_) return;
  url_ = Text(url);
  referer_ = Text(referer);
}

bool RangeDownloader::SetLocalFile(std::string_view path) {
  if (!initialised_ || busy_) return false;
  local_path_ = Text(path);
  return true;
}

bool RangeDownloader::Download() {
  if (!initialised_) return Refuse(DownloadOutcome::kNotInitialised);
  if (busy_) return Refuse(DownloadOutcome::kAlreadyDownloading);
  std::unique_ptr<platform::OpenedFile> file =
      files_->OpenFile(local_path_, platform::OpenMode::kWrite);
  if (!file) return Refuse(DownloadOutcome::kLocalFileUnopenable);
  RunTransfer(*file);
  file.reset();  // closed before the finished routine runs, which may use the file
  Report();
  ResetCounters();
  return outcome_ == DownloadOutcome::kComplete;
}

bool RangeDownloader::Refuse(DownloadOutcome outcome) {
  Finish(outcome);
  Report();
  return false;
}

void RangeDownloader::Finish(DownloadOutcome outcome) {
  outcome_ = outcome;
  status_text_ = Text(OutcomeText(outcome));
}

void RangeDownloader::RunTransfer(platform::OpenedFile& file) {
  const std::int64_t local_length = file.GetOpenFileLength();
  busy_ = true;
  Finish(DownloadOutcome::kStopped);
  abort_flag_ = false;
  if (static_cast<double>(local_length) >= kLengthLimit) {
    Finish(DownloadOutcome::kTooLarge);
    return;
  }
  bytes_done_ = static_cast<std::int32_t>(local_length);
  file.SeekToFileEnd();
  Transfer transfer{file, bytes_done_};
  while (FetchBlock(transfer) == BlockEnd::kNextBlock) {
  }
}

RangeDownloader::BlockEnd RangeDownloader::FetchBlock(Transfer& transfer) {
  // 64-bit, since the range a last block asks for may reach past 2 GB.
  SendRangeRequest(transfer.range_start,
                   static_cast<std::int64_t>(transfer.range_start) + block_size_ - 1);
  transfer.sent_at = clock_->NowMs();
  if (!AwaitAnswer(transfer.sent_at)) return BlockEnd::kTransferEnded;

  const int answer_status = http_object_->Status();
  if (answer_status > 299 && answer_status != kStatusUnsatisfiable) {
    outcome_ = DownloadOutcome::kHttpError;
    status_text_ = http_object_->StatusText();
    return BlockEnd::kTransferEnded;
  }
  if (answer_status == kStatusPartial) return TakeRange(transfer);
  if (answer_status == kStatusUnsatisfiable) return TakeUnsatisfiable(transfer);
  Finish(DownloadOutcome::kRangesUnsupported);
  return BlockEnd::kTransferEnded;
}

void RangeDownloader::SendRangeRequest(std::int64_t first, std::int64_t last) {
  http_object_->Open("GET", url_, true);
  http_object_->SetRequestHeader("Referer", referer_);
  http_object_->SetRequestHeader("Accept", "*/*");
  http_object_->SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  http_object_->SetRequestHeader("Range",
                                 "bytes=" + std::to_string(first) + "-" + std::to_string(last));
  http_object_->SetRequestHeader("Content-Type", "application/octet-stream");
  http_object_->SetRequestHeader("Pragma", "no-cache");
  http_object_->SetRequestHeader("Cache-Control", "no-cache");
  http_object_->Send();
}

bool RangeDownloader::AwaitAnswer(std::int64_t sent_at) {
  // Completion is tested first: an answer that is there is taken even when the time
  // allowed has passed. Each pass blocks in the HTTP object for up to a second; the whole
  // block is one wait for the windows, so the wait cursor stays until the answer is in.
  const platform::WaitScope wait;
  while (http_object_->ReadyState() != platform::HttpReadyState::kComplete) {
    if (clock_->NowMs() - sent_at > timeout_ms_) {
      http_object_->Abort();
      Finish(DownloadOutcome::kTimedOut);
      return false;
    }
    if (abort_flag_) {
      Finish(DownloadOutcome::kAbortedByUser);
      return false;
    }
    http_object_->WaitForResponse(kWaitSliceMs);
  }
  return true;
}

RangeDownloader::BlockEnd RangeDownloader::TakeRange(Transfer& transfer) {
  const std::string body = http_object_->ResponseBody();
  const std::optional<ContentRange> answered = AnsweredRange();
  if (!answered) return TakeUnknownLength(transfer, body);
  const ContentRange& range = *answered;
  if (range.total && !AcceptTotal(*range.total)) return BlockEnd::kTransferEnded;
  // A range that is stated must be the one asked for, also when the length is not stated:
  // bytes kept from a misplaced answer would be resumed after as if they were in place.
  if (range.total || range.first) {
    if (!range.first || *range.first != transfer.range_start || range.last < *range.first ||
        (range.total && range.last >= *range.total)) {
      Finish(DownloadOutcome::kRangeMismatch);
      return BlockEnd::kTransferEnded;
    }
    if (static_cast<double>(body.size()) != range.last - *range.first + 1) {
      Finish(DownloadOutcome::kBodyLengthMismatch);
      return BlockEnd::kTransferEnded;
    }
  }
  if (!range.total) return TakeUnknownLength(transfer, body);
  if (!WriteBody(transfer, body)) return BlockEnd::kTransferEnded;
  total_length_ = static_cast<std::int32_t>(*range.total);
  bytes_done_ = static_cast<std::int32_t>(range.last) + 1;
  transfer.range_start = bytes_done_;
  transfer.percent = Percent();
  ReportProgress(transfer);
  if (bytes_done_ == total_length_) {
    Finish(DownloadOutcome::kComplete);
    return BlockEnd::kTransferEnded;
  }
  return abort_flag_ ? BlockEnd::kTransferEnded : BlockEnd::kNextBlock;
}

RangeDownloader::BlockEnd RangeDownloader::TakeUnsatisfiable(Transfer& transfer) {
  // The server has no bytes from the range's start on. The local file is complete only
  // when it is as long as the resource and its last block is the resource's; any other
  // local file (left by an earlier run, or written by something else) is not this
  // resource: it is emptied, and fetched afresh once per transfer.
  const std::optional<ContentRange> range = AnsweredRange();
  const std::optional<double> total = range ? range->total : std::nullopt;
  if (total && !AcceptTotal(*total)) {
    EmptyLocalFile(transfer);
    return BlockEnd::kTransferEnded;
  }
  const std::int64_t local_length = transfer.file.GetOpenFileLength();
  if (total && *total == static_cast<double>(local_length)) {
    const LastBlock check = CheckLastBlock(transfer, local_length);
    if (check == LastBlock::kAgrees) {
      total_length_ = static_cast<std::int32_t>(local_length);
      bytes_done_ = total_length_;
      transfer.percent = Percent();
      ReportProgress(transfer);
      Finish(DownloadOutcome::kComplete);
      return BlockEnd::kTransferEnded;
    }
    if (check == LastBlock::kNoAnswer) {
      EmptyLocalFile(transfer);  // the outcome stays the failed answer's
      return BlockEnd::kTransferEnded;
    }
  }
  if (!EmptyLocalFile(transfer)) return BlockEnd::kTransferEnded;
  if (local_length > 0 && !transfer.started_afresh) {
    transfer.started_afresh = true;
    transfer.range_start = 0;
    transfer.percent = 0;
    bytes_done_ = 0;
    total_length_ = 0;
    return abort_flag_ ? BlockEnd::kTransferEnded : BlockEnd::kNextBlock;
  }
  if (!total) return TakeUnknownLength(transfer, {});
  Finish(DownloadOutcome::kLocalLengthMismatch);
  return BlockEnd::kTransferEnded;
}

// A zip archive ends with its central directory, which holds every entry's CRC and
// sizes: another version of an archive differs in its last block.
RangeDownloader::LastBlock RangeDownloader::CheckLastBlock(Transfer& transfer,
                                                           std::int64_t length) {
  if (length == 0) return LastBlock::kAgrees;
  const std::int64_t first = std::max<std::int64_t>(0, length - block_size_);
  SendRangeRequest(first, length - 1);
  transfer.sent_at = clock_->NowMs();
  if (!AwaitAnswer(transfer.sent_at)) return LastBlock::kNoAnswer;
  if (http_object_->Status() != kStatusPartial) return LastBlock::kDiffers;
  const std::optional<ContentRange> range = AnsweredRange();
  if (!range || !range->first || *range->first != static_cast<double>(first) ||
      range->last != static_cast<double>(length - 1) ||
      (range->total && *range->total != static_cast<double>(length))) {
    return LastBlock::kDiffers;
  }
  const std::string body = http_object_->ResponseBody();
  const auto block_length = static_cast<std::size_t>(length - first);
  return body.size() == block_length && transfer.file.ReadBytes(first, block_length) == body
             ? LastBlock::kAgrees
             : LastBlock::kDiffers;
}

bool RangeDownloader::EmptyLocalFile(Transfer& transfer) {
  if (transfer.file.GetOpenFileLength() == 0 || transfer.file.Truncate()) return true;
  Finish(DownloadOutcome::kLocalFileUnwritable);
  return false;
}

std::optional<ContentRange> RangeDownloader::AnsweredRange() const {
  const Text header = http_object_->GetResponseHeader("Content-Range");
  if (header.empty()) return std::nullopt;
  ContentRange range = ReadContentRange(header);
  // The length is known from the first block on; a later answer need not state it again.
  if (!range.total && total_length_ != 0) range.total = total_length_;
  return range;
}

RangeDownloader::BlockEnd RangeDownloader::TakeUnknownLength(Transfer& transfer,
                                                             std::string_view body) {
  // Without a stated length nothing can tell the file complete. The body is kept as it
  // came, and the counters stay where they were.
  if (!WriteBody(transfer, body)) return BlockEnd::kTransferEnded;
  ReportProgress(transfer);
  Finish(DownloadOutcome::kLengthUnknown);
  return BlockEnd::kTransferEnded;
}

bool RangeDownloader::AcceptTotal(double total) {
  if (total >= kLengthLimit) {
    Finish(DownloadOutcome::kTooLarge);
    return false;
  }
  if (total_length_ != 0 && total != total_length_) {
    Finish(DownloadOutcome::kTotalChanged);
    return false;
  }
  return true;
}

bool RangeDownloader::WriteBody(Transfer& transfer, std::string_view body) {
  if (body.empty() || transfer.file.WriteBytes(body)) return true;
  Finish(DownloadOutcome::kLocalFileUnwritable);
  return false;
}

void RangeDownloader::ReportProgress(const Transfer& transfer) {
  const std::int32_t speed = SpeedOf(block_size_, clock_->NowMs() - transfer.sent_at);
  if (progress_routine_) progress_routine_(local_path_, total_length_, speed, transfer.percent);
}

std::int32_t RangeDownloader::Percent() const {
  if (total_length_ == 0) return 0;
  return static_cast<std::int32_t>(bytes_done_ * 100.0 / total_length_);
}

void RangeDownloader::ResetCounters() {
  busy_ = false;
  abort_flag_ = false;
  bytes_done_ = 0;
  total_length_ = 0;
}

void RangeDownloader::Report() {
  if (!finished_routine_) return;
  const std::int32_t answer_status = http_object_ ? http_object_->Status() : 0;
  finished_routine_(url_, answer_status, status_text_, Percent());
}

void RangeDownloader::Abort() {
  if (!busy_) return;
  abort_flag_ = true;
  http_object_->Abort();
}

}  // namespace korvane::update
