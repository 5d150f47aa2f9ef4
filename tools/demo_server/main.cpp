// korvane-demo-server FOLDER [PORT]
// korvane-demo-server --port
//
// Serves FOLDER as the demo operator's site on 127.0.0.1 until it is ended (SIGTERM,
// Ctrl-C). Without PORT it listens on the port of the built-in control server address,
// where the programs of this build look for the site. "--port" prints that port and ends.
// Prints one line for each request it answers: "GET TARGET STATUS", the target as sent.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "tools/demo_server/site_server.h"

namespace {

bool ParsePort(const char* text, int* port) {
  const std::string_view digits(text);
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), *port);
  return error == std::errc() && end == digits.data() + digits.size() && *port > 0 && *port < 65536;
}

}  // namespace

int main(int argc, char** argv) {
  const int deployment_port =
      korvane::tools::PortOfAddress(korvane::DecipherHexTextKey1(korvane::deploy::UpdateControlBase()));
  if (argc == 2 && std::string_view(argv[1]) == "--port") {
    std::printf("%d\n", deployment_port);
    return 0;
  }
  int port = deployment_port;
  if (argc < 2 || argc > 3 || (argc == 3 && !ParsePort(argv[2], &port))) {
    std::fputs("usage: korvane-demo-server FOLDER [PORT] | korvane-demo-server --port\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  if (!std::filesystem::is_directory(folder)) {
    std::fprintf(stderr, "korvane-demo-server: %s is not a folder\n", argv[1]);
    return 1;
  }
  korvane::tools::SiteServer server(folder);
  server.SetRequestLog([](const std::string& target, int status) {
    std::printf("GET %s %d\n", target.c_str(), status);
    std::fflush(stdout);
  });
  if (server.Bind(port) < 0) {
    std::fprintf(stderr, "korvane-demo-server: port %d on 127.0.0.1 is taken\n", port);
    return 1;
  }
  std::printf("korvane-demo-server: serving %s at http://127.0.0.1:%d/\n", argv[1], port);
  std::fflush(stdout);
  server.Serve();
  return 0;
}
