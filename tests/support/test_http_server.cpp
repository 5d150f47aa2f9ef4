#include "tests/support/test_http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include <httplib.h>

#include "common/text.h"
#include "platform/services/byte_range.h"
#include "tests/support/loopback.h"

namespace korvane::testing_support {
namespace {

// The relay hands httplib the client's Range header under this name: httplib would
// otherwise cut the ranges out of our bodies a second time.
constexpr char kRelayedRangeHeader[] = "X-Test-Relayed-Range";

std::string Trim(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Request heads are read off the client's byte stream as they pass: a head ends at an
// empty line, and a body of Content-Length bytes follows it.
class HeadParser {
 public:
  // Feeds bytes from the client; returns the bytes to pass on to httplib.
  std::string Feed(std::string_view bytes, std::vector<RecordedRequest>* heads) {
    std::string out;
    while (!bytes.empty()) {
      if (body_left_ > 0) {
        std::size_t take = std::min(body_left_, bytes.size());
        out.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        body_left_ -= take;
        continue;
      }
      buffer_.append(bytes);
      bytes = {};
      std::size_t end = buffer_.find("\r\n\r\n");
      if (end == std::string::npos) break;
      std::string head = buffer_.substr(0, end);
      std::string rest = buffer_.substr(end + 4);
      buffer_.clear();
      out += Relay(head, heads);
      pending_ = std::move(rest);
      bytes = pending_;
    }
    return out;
  }

 private:
  std::string Relay(const std::string& head, std::vector<RecordedRequest>* heads) {
    RecordedRequest request;
    std::istringstream lines(head);
    std::string line;
    std::getline(lines, line);
    std::string request_line = Trim(line);
    std::istringstream words(request_line);
    words >> request.method >> request.target;
    std::string relayed = request_line + "\r\n";
    body_left_ = 0;
    while (std::getline(lines, line)) {
      std::size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      std::string name = line.substr(0, colon);
      std::string value = Trim(std::string_view(line).substr(colon + 1));
      request.headers.emplace_back(name, value);
      if (EqualsNoCase(name, "Content-Length")) body_left_ = std::stoull("0" + value);
      relayed += (EqualsNoCase(name, "Range") ? kRelayedRangeHeader : name) + ": " + value + "\r\n";
    }
    heads->push_back(std::move(request));
    return relayed + "\r\n";
  }

  std::string buffer_;
  std::string pending_;
  std::size_t body_left_ = 0;
};

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (EqualsNoCase(key, name)) return value;
  return {};
}

bool RecordedRequest::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(),
                     [&](const auto& header) { return EqualsNoCase(header.first, name); });
}

std::vector<std::string> RecordedRequest::HeaderNames() const {
  std::vector<std::string> names;
  for (const auto& header : headers) names.push_back(header.first);
  return names;
}

class TestHttpServer::Impl {
 public:
  Impl() {
    inner_port_ = server_.bind_to_any_port("127.0.0.1");
    server_.set_keep_alive_max_count(100000);
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      Answer(request, response);
    });
    if (inner_port_ > 0) {
      inner_thread_ = std::thread([this] { server_.listen_after_bind(); });
      // httplib's stop does nothing before its loop runs, so a server stopped too early
      // would never stop: wait for the loop (it starts at once).
      while (!server_.is_running()) std::this_thread::yield();
    }
    listen_fd_ = ListenOnLoopback(0, 64, &port_);
    accept_thread_ = std::thread([this] { AcceptLoop(); });
  }

  ~Impl() {
    ReleaseStalls();
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      stall_released_.notify_all();
    }
    ::shutdown(listen_fd_, SHUT_RDWR);
    accept_thread_.join();
    CloseFd(listen_fd_);
    DropConnections();
    for (std::thread& relay : relays_) relay.join();
    server_.stop();
    if (inner_thread_.joinable()) inner_thread_.join();
  }

  int port() const { return port_; }

  void ServeFolder(std::filesystem::path folder, RangeSupport ranges) {
    std::lock_guard lock(mutex_);
    folder_ = std::move(folder);
    ranges_ = ranges;
  }

  void Script(std::string path, ScriptedAnswer answer) {
    std::lock_guard lock(mutex_);
    scripts_[std::move(path)] = std::move(answer);
  }

  void ScriptNext(std::string path, ScriptedAnswer answer, int count) {
    std::lock_guard lock(mutex_);
    auto& queue = next_scripts_[std::move(path)];
    for (int i = 0; i < count; ++i) queue.push_back(answer);
  }

  std::vector<RecordedRequest> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  int ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_;
  }

  bool WaitForHeldAnswers(int count, int seconds) const {
    std::unique_lock lock(mutex_);
    return held_changed_.wait_for(lock, std::chrono::seconds(seconds), [&] { return held_ >= count; });
  }

  void ReleaseStalls() {
    std::lock_guard lock(mutex_);
    ++stall_generation_;
    stall_released_.notify_all();
  }

  void DropConnections() {
    std::lock_guard lock(mutex_);
    for (int fd : open_fds_) ::shutdown(fd, SHUT_RDWR);
  }

 private:
  void AcceptLoop() {
    for (;;) {
      int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) return;
      std::lock_guard lock(mutex_);
      if (stopping_) {
        ::close(client);
        return;
      }
      int number = ++connections_;
      relays_.emplace_back([this, client, number] { Relay(client, number); });
    }
  }

  void Relay(int client, int number) {
    int upstream = ConnectToLoopback(inner_port_);
    {
      std::lock_guard lock(mutex_);
      open_fds_.push_back(client);
      if (upstream >= 0) open_fds_.push_back(upstream);
    }
    HeadParser parser;
    char buffer[65536];
    bool open = upstream >= 0;
    while (open) {
      pollfd fds[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) break;
      if (fds[0].revents != 0) {
        ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        std::vector<RecordedRequest> heads;
        std::string relayed = parser.Feed(std::string_view(buffer, static_cast<std::size_t>(got)), &heads);
        {
          std::lock_guard lock(mutex_);
          for (RecordedRequest& head : heads) {
            head.connection = number;
            requests_.push_back(std::move(head));
          }
        }
        open = SendAll(upstream, relayed);
      }
      if (open && fds[1].revents != 0) {
        ssize_t got = ::recv(upstream, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        open = SendAll(client, std::string_view(buffer, static_cast<std::size_t>(got)));
      }
    }
    std::lock_guard lock(mutex_);
    std::erase(open_fds_, client);
    std::erase(open_fds_, upstream);
    ::close(client);
    if (upstream >= 0) ::close(upstream);
  }

  void WaitForRelease() {
    std::unique_lock lock(mutex_);
    int generation = stall_generation_;
    ++held_;
    held_changed_.notify_all();
    stall_released_.wait(lock, [&] { return stall_generation_ != generation || stopping_; });
    --held_;
  }

  // Waits `ms` unless the server stops first; false when it stops.
  bool Pause(int ms) {
    std::unique_lock lock(mutex_);
    return !stall_released_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping_; });
  }

  void Answer(const httplib::Request& request, httplib::Response& response) {
    std::optional<ScriptedAnswer> script;
    std::filesystem::path folder;
    RangeSupport ranges;
    {
      std::lock_guard lock(mutex_);
      if (auto next = next_scripts_.find(request.path); next != next_scripts_.end() && !next->second.empty()) {
        script = next->second.front();
        next->second.erase(next->second.begin());
      } else if (auto found = scripts_.find(request.path); found != scripts_.end()) {
        script = found->second;
      }
      folder = folder_;
      ranges = ranges_;
    }
    if (script) return Play(*script, response);
    ServeFile(folder, ranges, request, response);
  }

  void Play(const ScriptedAnswer& script, httplib::Response& response) {
    if (script.stall && script.cut_after == ScriptedAnswer::kWholeBody) WaitForRelease();
    response.status = script.status;
    std::string content_type = "application/octet-stream";
    for (const auto& [name, value] : script.headers) {
      if (EqualsNoCase(name, "Content-Type")) content_type = value;
      else response.set_header(name, value);
    }
    if (script.drip_ms > 0) {
      response.set_content_provider(
          script.body.size(), content_type,
          [this, script](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            return Pause(script.drip_ms) && sink.write(script.body.data() + offset, 1);
          });
      return;
    }
    if (script.cut_after == ScriptedAnswer::kWholeBody) {
      response.set_content(script.body, content_type);
      return;
    }
    // Announces the whole body, sends part of it, then stalls or gives up: httplib closes
    // the connection when the provider fails.
    response.set_content_provider(
        script.body.size(), content_type,
        [this, script](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          std::size_t cut = std::min(script.cut_after, script.body.size());
          if (offset < cut) {
            sink.write(script.body.data() + offset, cut - offset);
            return true;
          }
          if (script.stall) WaitForRelease();
          return false;
        });
  }

  static void ServeFile(const std::filesystem::path& folder, RangeSupport ranges,
                        const httplib::Request& request, httplib::Response& response) {
    std::filesystem::path relative = std::filesystem::path(request.path).relative_path();
    bool escapes = std::any_of(relative.begin(), relative.end(), [](const auto& part) { return part == ".."; });
    std::ifstream file;
    if (!folder.empty() && !escapes) file.open(folder / relative, std::ios::binary);
    if (!file || std::filesystem::is_directory(folder / relative)) {
      response.status = 404;
      response.set_content("<html><body>404 Not Found</body></html>", "text/html");
      return;
    }
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string range_value = request.get_header_value(kRelayedRangeHeader);
    if (range_value.empty() || ranges == RangeSupport::kIgnore) {
      response.status = 200;
      response.set_content(content, "application/octet-stream");
      return;
    }
    platform::ByteRange range{};
    switch (platform::ParseByteRange(range_value, content.size(), &range)) {
      case platform::RangeRequest::kPastTheEnd:
        response.status = 416;
        response.set_header("Content-Range", platform::UnsatisfiedContentRange(content.size()));
        return;
      case platform::RangeRequest::kNone:
        response.status = 200;
        response.set_content(content, "application/octet-stream");
        return;
      case platform::RangeRequest::kSatisfiable:
        break;
    }
    response.status = 206;
    if (ranges == RangeSupport::kHonour) {
      response.set_header("Content-Range", platform::ContentRange(range, content.size()));
    }
    response.set_content(content.substr(range.first, range.last - range.first + 1),
                         "application/octet-stream");
  }

  httplib::Server server_;
  int inner_port_ = 0;
  std::thread inner_thread_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::thread accept_thread_;

  mutable std::mutex mutex_;
  std::condition_variable stall_released_;
  int stall_generation_ = 0;
  int held_ = 0;  // answers waiting in a stall
  mutable std::condition_variable held_changed_;
  bool stopping_ = false;
  std::vector<std::thread> relays_;
  std::vector<int> open_fds_;
  int connections_ = 0;
  std::vector<RecordedRequest> requests_;
  std::map<std::string, ScriptedAnswer> scripts_;
  std::map<std::string, std::vector<ScriptedAnswer>> next_scripts_;
  std::filesystem::path folder_;
  RangeSupport ranges_ = RangeSupport::kHonour;
};

TestHttpServer::TestHttpServer() : impl_(std::make_unique<Impl>()) {}
TestHttpServer::~TestHttpServer() = default;

int TestHttpServer::port() const { return impl_->port(); }

std::string TestHttpServer::Url(std::string_view path) const {
  return LoopbackUrl(impl_->port(), std::string(path));
}

void TestHttpServer::ServeFolder(std::filesystem::path folder, RangeSupport ranges) {
  impl_->ServeFolder(std::move(folder), ranges);
}

void TestHttpServer::Script(std::string path, ScriptedAnswer answer) {
  impl_->Script(std::move(path), std::move(answer));
}

void TestHttpServer::ScriptNext(std::string path, ScriptedAnswer answer, int count) {
  impl_->ScriptNext(std::move(path), std::move(answer), count);
}

std::vector<RecordedRequest> TestHttpServer::Requests() const { return impl_->Requests(); }
int TestHttpServer::ConnectionCount() const { return impl_->ConnectionCount(); }
bool TestHttpServer::WaitForHeldAnswers(int count, int seconds) const {
  return impl_->WaitForHeldAnswers(count, seconds);
}
void TestHttpServer::ReleaseStalls() { impl_->ReleaseStalls(); }
void TestHttpServer::DropConnections() { impl_->DropConnections(); }

}  // namespace korvane::testing_support
