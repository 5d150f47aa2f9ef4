#pragma once
// A real HTTP/1.1 server on 127.0.0.1 (ephemeral port) for integration tests: it serves a
// folder with byte ranges, gives scripted answers (any status, headers, a body cut off
// midway or dripped byte by byte, an answer that never comes) and records every request head exactly as it
// arrived, header order included, and how many connections were opened.
//
// Requests go through a small recording relay in front of cpp-httplib, since httplib
// keeps request headers sorted by name and so loses the order the client sent them in.
// This header includes nothing of httplib, so GBK-compiled tests can use it.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::testing_support {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent, not decoded
  HeaderList headers;  // in arrival order, names and values as sent
  int connection = 0;  // 1-based number of the connection it came on

  // The first header of that name (ASCII case ignored); empty when there is none.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  std::vector<std::string> HeaderNames() const;
};

struct ScriptedAnswer {
  static constexpr std::size_t kWholeBody = static_cast<std::size_t>(-1);

  int status = 200;  // the reason phrase is the standard one ("Not Found" for 404)
  std::string body{};
  HeaderList headers{};
  // Sends only this many bytes of the body (Content-Length still announces all of it),
  // then drops the connection, or stalls when `stall` is set.
  std::size_t cut_after = kWholeBody;
  // Holds the answer (before the status line, or after `cut_after` bytes of the body)
  // until ReleaseStalls or the server stops.
  bool stall = false;
  // Sends the body one byte at a time, this many milliseconds apart (0: all at once).
  int drip_ms = 0;
};

enum class RangeSupport {
  kHonour,           // 206 with Content-Range; 416 with "bytes */length" past the end
  kIgnore,           // always 200 with the whole file
  kNoContentRange,   // 206 with the range but without a Content-Range header
};

class TestHttpServer {
 public:
  TestHttpServer();   // listening when constructed
  ~TestHttpServer();  // releases stalled answers, closes every connection, stops
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int port() const;
  // "http://127.0.0.1:<port>" followed by `path` ("/a/b.zip").
  std::string Url(std::string_view path) const;

  // GET of a path that has no scripted answer serves the file at that path below
  // `folder` (percent-decoding applied; a missing file or a ".." gives 404 "Not Found").
  void ServeFolder(std::filesystem::path folder, RangeSupport ranges = RangeSupport::kHonour);
  // Answers every request for exactly `path` (query ignored) with `answer`; replaces an
  // earlier script for that path.
  void Script(std::string path, ScriptedAnswer answer);
  // Answers the next `count` requests for `path` with `answer`, then falls back to what
  // answered before (another script or the folder).
  void ScriptNext(std::string path, ScriptedAnswer answer, int count = 1);

  std::vector<RecordedRequest> Requests() const;
  int ConnectionCount() const;
  // Waits until `count` answers are held by their stall (the request has come and the
  // answer waits for ReleaseStalls), at most `seconds`; false when fewer are held by then.
  bool WaitForHeldAnswers(int count, int seconds = 20) const;
  // Releases the answers held now; a stall that begins later holds again.
  void ReleaseStalls();
  // Closes every open connection at once (the client sees the server go away).
  void DropConnections();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace korvane::testing_support
