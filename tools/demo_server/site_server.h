#pragma once
// The demo operator's web server: serves the files below one folder over HTTP/1.1 on
// 127.0.0.1, as the operator's site serves the remote control files and the update.
// GET only; a "Range: bytes=..." request is answered 206 with Content-Range, or 416
// "bytes */N" when it starts past the end; every answer says not to cache it. A request
// path is the GBK bytes of a file's path below the folder (percent-encoded on the wire);
// a folder's path is answered with its index.html. The type follows the file's ending:
// pages as GBK HTML, pictures and clips as themselves, anything else as bytes.

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

namespace korvane::tools {

// The port an address names ("http://127.0.0.1:18930/" -> 18930); 80 when it names none.
// A deployment's built-in address gives the port the programs look for the site on.
int PortOfAddress(std::string_view address);

class SiteServer {
 public:
  explicit SiteServer(std::filesystem::path folder);
  ~SiteServer();
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;

  // Called after each answer with the request's target as sent (GBK bytes, percent-encoded)
  // and the answer's status. Set before Serve.
  using RequestLog = std::function<void(const std::string& target, int status)>;
  void SetRequestLog(RequestLog log);

  // Binds 127.0.0.1:`port` (0: a free port). The bound port, or -1 when it is taken.
  int Bind(int port);
  // Answers requests until Stop; false when nothing was bound.
  bool Serve();
  // From any thread.
  void Stop();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace korvane::tools
