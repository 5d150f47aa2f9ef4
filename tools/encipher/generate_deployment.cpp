// korvane-generate-deployment ADDRESSES PROBE_HOST OUTPUT
//
// Build step: reads the deployment's NAME=address lines (UTF-8; "#" starts a comment),
// enciphers each address with key 1 as GBK text and writes a C++ source that defines
// `std::string_view korvane::deploy::NAME()` for each, plus `ProbeHost()`.

#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "common/text.h"
#include "tools/encipher/encipher.h"

namespace {

std::string ReadFile(const char* path, bool* ok) {
  std::ifstream in(path, std::ios::binary);
  *ok = static_cast<bool>(in);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Trim(const std::string& s) {
  auto begin = s.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  auto end = s.find_last_not_of(" \t\r\n");
  return s.substr(begin, end - begin + 1);
}

// A host name goes into the generated source as it stands, so only its own characters pass.
bool IsHostName(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') return false;
  }
  return true;
}

bool IsIdentifier(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])))) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: korvane-generate-deployment ADDRESSES PROBE_HOST OUTPUT\n";
    return 2;
  }
  bool ok = false;
  std::string addresses = ReadFile(argv[1], &ok);
  if (!ok) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::string probe_host = Trim(ReadFile(argv[2], &ok));
  if (!ok || !IsHostName(probe_host)) {
    std::cerr << argv[2] << ": cannot read a host name\n";
    return 1;
  }
  std::ostringstream out;
  out << "// Generated from " << argv[1] << " by korvane-generate-deployment; do not edit.\n"
      << "#include \"deploy/deployment.h\"\n\nnamespace korvane::deploy {\n\n";
  std::istringstream lines(addresses);
  std::string line;
  int line_number = 0;
  while (std::getline(lines, line)) {
    ++line_number;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    auto equals = line.find('=');
    std::string name = equals == std::string::npos ? "" : Trim(line.substr(0, equals));
    if (!IsIdentifier(name)) {
      std::cerr << argv[1] << ":" << line_number << ": expected NAME=address\n";
      return 1;
    }
    auto gbk = korvane::Utf8ToGbkExact(korvane::AsUtf8(Trim(line.substr(equals + 1))));
    if (!gbk) {
      std::cerr << argv[1] << ":" << line_number << ": the address is not UTF-8 that GBK can hold\n";
      return 1;
    }
    out << "std::string_view " << name << "() { return \""
        << korvane::tools::EncipherToHex(1, *gbk) << "\"; }\n";
  }
  out << "\nstd::string_view ProbeHost() { return \"" << probe_host << "\"; }\n"
      << "\n}  // namespace korvane::deploy\n";
  std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file ? 0 : 1;
}
