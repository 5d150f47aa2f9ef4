#pragma once
// RangeDownloader fetches one HTTP resource into a local file in fixed-size byte ranges,
// one request per block on one HTTP object (and so one connection). It resumes at the
// length the local file already has, appends each answered range, takes a file the
// server has no more bytes for (416) as complete only when it is the resource (its
// length and its last block agree) and else fetches it afresh, gives up on a block
// that takes too long, can be told to stop, reports after every block and once at the
// end, and leaves its outcome in Outcome and that outcome's text in StatusText
// (download_status.h), where only kComplete ("下载完毕") means the file is complete.
// Everything runs on the calling thread.
//
// Set-up before a transfer: Init, SetLocalFile, SetUrl, SetBlockSize, then Download.
// While a transfer runs (from inside its routines, or from code that runs while it
// waits) Init, the setters and Download are refused and Abort asks it to stop.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "common/text.h"
#include "platform/core/clock.h"
#include "platform/services/files.h"
#include "platform/services/http_request.h"
#include "update/download/content_range.h"
#include "update/download/download_status.h"

namespace korvane::update {

// Routines handed to the downloader; their four arguments are 32-bit integers and
// texts. A text argument is the downloader's own text and valid during the call only:
// a routine that keeps it copies it.
using DownloadProgressRoutine = std::function<void(
    std::string_view local_path, std::int32_t total_length, std::int32_t speed_kb_per_second,
    std::int32_t percent)>;
using DownloadFinishedRoutine = std::function<void(
    std::string_view url, std::int32_t http_status, std::string_view status_text,
    std::int32_t percent)>;

class RangeDownloader {
 public:
  // A new downloader: every number 0, every text empty, no HTTP object, no routine.
  RangeDownloader(platform::HttpRequestFactory& http, platform::FileSystem& files,
                  const platform::Clock& clock);
  // Destroy: Close, then release the HTTP object.
  ~RangeDownloader();
  RangeDownloader& operator=(const RangeDownloader&) = delete;

  // A second downloader with the same values that shares this one's HTTP object.
  std::unique_ptr<RangeDownloader> Copy() const;
  // Stops a transfer and returns to the state of a new downloader; Init may run again.
  void Close();
  // Creates the HTTP object and takes the routines (either may be empty); 10240-byte
  // blocks. Refused (false, nothing changes) once initialised or while busy.
  bool Init(DownloadProgressRoutine progress, DownloadFinishedRoutine finished);
  // Blocks of `kilobytes` KB (low 8 bits; 0 counts as 4), 10 ms allowed per byte.
  void SetBlockSize(int kilobytes);
  void SetUrl(std::string_view url, std::string_view referer);
  bool SetLocalFile(std::string_view path);
  // One whole transfer; true exactly when it ends with "下载完毕".
  bool Download();
  void ResetCounters();
  // Calls the finished routine with the address, the last answer's status, StatusText
  // and the percent done.
  void Report();
  // During a transfer: cancels the pending request and asks the transfer to stop.
  void Abort();

  DownloadOutcome Outcome() const { return outcome_; }
  // The outcome's text (download_status.h), or an HTTP error answer's reason phrase.
  const Text& StatusText() const { return status_text_; }
  const Text& Url() const { return url_; }
  const Text& Referer() const { return referer_; }
  const Text& LocalPath() const { return local_path_; }
  bool Initialised() const { return initialised_; }
  bool Busy() const { return busy_; }
  std::int32_t BlockSize() const { return block_size_; }
  std::int32_t TimeoutMs() const { return timeout_ms_; }
  std::int32_t BytesDone() const { return bytes_done_; }
  std::int32_t TotalLength() const { return total_length_; }

 private:
  struct Transfer;
  enum class BlockEnd { kNextBlock, kTransferEnded };
  enum class LastBlock { kAgrees, kDiffers, kNoAnswer };

  RangeDownloader(const RangeDownloader&) = default;

  bool Refuse(DownloadOutcome outcome);
  void Finish(DownloadOutcome outcome);
  void RunTransfer(platform::OpenedFile& file);
  BlockEnd FetchBlock(Transfer& transfer);
  void SendRangeRequest(std::int64_t first, std::int64_t last);
  bool AwaitAnswer(std::int64_t sent_at);
  // The answer's Content-Range; absent when the answer has none.
  std::optional<ContentRange> AnsweredRange() const;
  BlockEnd TakeRange(Transfer& transfer);
  BlockEnd TakeUnsatisfiable(Transfer& transfer);
  LastBlock CheckLastBlock(Transfer& transfer, std::int64_t length);
  bool EmptyLocalFile(Transfer& transfer);
  BlockEnd TakeUnknownLength(Transfer& transfer, std::string_view body);
  bool AcceptTotal(double total);
  bool WriteBody(Transfer& transfer, std::string_view body);
  void ReportProgress(const Transfer& transfer);
  std::int32_t Percent() const;

  platform::HttpRequestFactory* http_factory_;
  platform::FileSystem* files_;
  const platform::Clock* clock_;

  std::shared_ptr<platform::HttpRequest> http_object_;
  bool initialised_ = false;
  Text url_;
  Text referer_;
  std::int32_t timeout_ms_ = 0;
  DownloadOutcome outcome_ = DownloadOutcome::kStopped;
  Text status_text_;
  Text local_path_;
  bool busy_ = false;
  std::int32_t bytes_done_ = 0;
  DownloadProgressRoutine progress_routine_;
  DownloadFinishedRoutine finished_routine_;
  std::int32_t total_length_ = 0;
  bool abort_flag_ = false;
  std::int32_t block_size_ = 0;
};

}  // namespace korvane::update
