#include "tools/demo_server/site_server.h"

#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <fstream>
#include <string>
#include <thread>

#include <httplib.h>

#include "common/text.h"
#include "platform/services/byte_range.h"

namespace korvane::tools {
namespace {

namespace fs = std::filesystem;
using platform::ByteRange;
using platform::ContentRange;
using platform::ParseByteRange;
using platform::RangeRequest;
using platform::UnsatisfiedContentRange;

// The file a decoded request path names below `folder` (a folder's index.html); empty when
// the path leaves it or names no regular file.
fs::path FileBelow(const fs::path& folder, const std::string& gbk_path) {
  const fs::path relative = fs::path(GbkToUtf8(gbk_path)).relative_path();
  for (const fs::path& part : relative) {
    if (part == "..") return {};
  }
  fs::path file = folder / relative;
  std::error_code error;
  if (fs::is_directory(file, error)) file /= "index.html";
  return fs::is_regular_file(file, error) ? file : fs::path();
}

struct ContentType {
  const char* ending;
  const char* type;
};

// The pages of the catalogue and the ads are GBK, as the player's scraper reads them.
constexpr ContentType kContentTypes[] = {
    {".html", "text/html; charset=GBK"}, {".htm", "text/html; charset=GBK"},
    {".png", "image/png"},               {".gif", "image/gif"},
    {".jpg", "image/jpeg"},              {".mp4", "video/mp4"},
    {".txt", "text/plain"},
};

const char* ContentTypeOf(const fs::path& file) {
  const std::string ending = file.extension().string();
  for (const ContentType& known : kContentTypes) {
    if (ending == known.ending) return known.type;
  }
  return "application/octet-stream";
}

std::string ReadBytes(const fs::path& file, std::size_t first, std::size_t count) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(first));
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

}  // namespace

class SiteServer::Impl {
 public:
  explicit Impl(fs::path folder) : folder_(std::move(folder)) {
    // One connection carries every block of a download. httplib writes an answer's head
    // and body apart: with Nagle's algorithm the body would wait for the client's delayed
    // acknowledgement, about 40 ms a block. Accepted sockets inherit the option.
    server_.set_keep_alive_max_count(100000);
    server_.set_tcp_nodelay(true);
    // httplib's default shares the port with any other listener (SO_REUSEPORT): a port
    // that is taken must stay taken. Only a restart over old connections is allowed.
    server_.set_socket_options([](socket_t socket) {
      int yes = 1;
      ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      if (log_) log_(request.target, response.status);
    });
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      Answer(request, response);
    });
  }

  void SetRequestLog(RequestLog log) { log_ = std::move(log); }

  int Bind(int port) {
    bound_ = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                       : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    return bound_;
  }

  bool Serve() {
    if (bound_ <= 0) return false;
    serving_ = true;
    if (!stop_requested_) server_.listen_after_bind();
    serving_ = false;
    return true;
  }

  // httplib's stop does nothing before its loop runs, so a stop that comes early waits
  // for the loop (it starts at once) or keeps it from starting.
  void Stop() {
    stop_requested_ = true;
    while (serving_ && !server_.is_running()) std::this_thread::yield();
    server_.stop();
  }

 private:
  void Answer(const httplib::Request& request, httplib::Response& response) {
    // The ranges are answered here; httplib would cut them out of the answer once more
    // (and states a range past the end in its Content-Range).
    const_cast<httplib::Request&>(request).ranges.clear();
    response.set_header("Cache-Control", "no-store, no-cache");
    response.set_header("Pragma", "no-cache");
    response.set_header("Accept-Ranges", "bytes");
    const fs::path file = FileBelow(folder_, request.path);
    std::error_code error;
    const std::size_t length = file.empty() ? 0 : fs::file_size(file, error);
    if (file.empty() || error) {
      response.status = 404;
      response.set_content("Not Found", "text/plain");
      return;
    }
    const char* type = ContentTypeOf(file);
    ByteRange range{0, length == 0 ? 0 : length - 1};
    switch (ParseByteRange(request.get_header_value("Range"), length, &range)) {
      case RangeRequest::kPastTheEnd:
        response.status = 416;
        response.set_header("Content-Range", UnsatisfiedContentRange(length));
        return;
      case RangeRequest::kSatisfiable:
        response.status = 206;
        response.set_header("Content-Range", ContentRange(range, length));
        response.set_content(ReadBytes(file, range.first, range.last - range.first + 1), type);
        return;
      case RangeRequest::kNone:
        response.status = 200;
        response.set_content(ReadBytes(file, 0, length), type);
        return;
    }
  }

  fs::path folder_;
  RequestLog log_;
  httplib::Server server_;
  int bound_ = -1;
  std::atomic<bool> serving_{false};
  std::atomic<bool> stop_requested_{false};
};

SiteServer::SiteServer(fs::path folder) : impl_(std::make_unique<Impl>(std::move(folder))) {}
SiteServer::~SiteServer() = default;
void SiteServer::SetRequestLog(RequestLog log) { impl_->SetRequestLog(std::move(log)); }
int SiteServer::Bind(int port) { return impl_->Bind(port); }
bool SiteServer::Serve() { return impl_->Serve(); }
void SiteServer::Stop() { impl_->Stop(); }

int PortOfAddress(std::string_view address) {
  const std::size_t host = address.find("://");
  address.remove_prefix(host == std::string_view::npos ? 0 : host + 3);
  address = address.substr(0, address.find('/'));
  const std::size_t colon = address.rfind(':');
  if (colon == std::string_view::npos) return 80;
  int port = 0;
  std::from_chars(address.data() + colon + 1, address.data() + address.size(), port);
  return port;
}

}  // namespace korvane::tools
