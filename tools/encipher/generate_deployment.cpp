// korvane-generate-deployment ADDRESSES TEXTS PROBE_HOST OUTPUT
//
// Build step: reads the deployment's NAME=value lines (UTF-8; "#" starts a comment) and
// writes a C++ source that defines `std::string_view korvane::deploy::NAME()` for each:
// an address of ADDRESSES as its key-1 hex text, a text of TEXTS as its GBK bytes; plus
// `ProbeHost()`.

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

// Every byte as an octal escape: the literal holds the GBK bytes whatever the compiler's
// execution character set.
std::string OctalLiteral(const std::string& bytes) {
  std::string literal;
  for (unsigned char byte : bytes) {
    literal += '\\';
    literal += static_cast<char>('0' + (byte >> 6));
    literal += static_cast<char>('0' + ((byte >> 3) & 7));
    literal += static_cast<char>('0' + (byte & 7));
  }
  return literal;
}

enum class ValueForm { kKey1HexText, kGbkBytes };

// Writes one constant a NAME=value line of `path`; false (reported) on a faulty line.
bool WriteConstants(const char* path, ValueForm form, std::ostream& out) {
  bool ok = false;
  std::istringstream lines(ReadFile(path, &ok));
  if (!ok) {
    std::cerr << path << ": cannot read\n";
    return false;
  }
  std::string line;
  int line_number = 0;
  while (std::getline(lines, line)) {
    ++line_number;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    auto equals = line.find('=');
    std::string name = equals == std::string::npos ? "" : Trim(line.substr(0, equals));
    if (!IsIdentifier(name)) {
      std::cerr << path << ":" << line_number << ": expected NAME=value\n";
      return false;
    }
    auto gbk = korvane::Utf8ToGbkExact(korvane::AsUtf8(Trim(line.substr(equals + 1))));
    if (!gbk) {
      std::cerr << path << ":" << line_number << ": the value is not UTF-8 that GBK can hold\n";
      return false;
    }
    const std::string value =
        form == ValueForm::kKey1HexText ? korvane::tools::EncipherToHex(1, *gbk) : OctalLiteral(*gbk);
    out << "std::string_view " << name << "() { return \"" << value << "\"; }\n";
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: korvane-generate-deployment ADDRESSES TEXTS PROBE_HOST OUTPUT\n";
    return 2;
  }
  bool ok = false;
  std::string probe_host = Trim(ReadFile(argv[3], &ok));
  if (!ok || !IsHostName(probe_host)) {
    std::cerr << argv[3] << ": cannot read a host name\n";
    return 1;
  }
  std::ostringstream out;
  out << "// Generated from " << argv[1] << " and " << argv[2]
      << " by korvane-generate-deployment; do not edit.\n"
      << "#include \"deploy/deployment.h\"\n\nnamespace korvane::deploy {\n\n";
  if (!WriteConstants(argv[1], ValueForm::kKey1HexText, out)) return 1;
  out << "\n";
  if (!WriteConstants(argv[2], ValueForm::kGbkBytes, out)) return 1;
  out << "\nstd::string_view ProbeHost() { return \"" << probe_host << "\"; }\n"
      << "\n}  // namespace korvane::deploy\n";
  std::ofstream file(argv[4], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file ? 0 : 1;
}
