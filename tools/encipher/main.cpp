// korvane-encipher KEY [TEXT]
//
// Prints the enciphered hex text of TEXT under key 1, 2 or 3 (TEXT is taken as UTF-8
// from the command line and enciphered as GBK; a character GBK cannot hold is refused).
// Without TEXT, standard input is read and enciphered byte for byte, as the GBK bytes it
// already is: a final line end is enciphered too (the programs compare deciphered values
// exactly, so "echo 1 |" gives a switch value that matches nothing; use printf).

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "common/text.h"
#include "tools/encipher/encipher.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || std::string(argv[1]).size() != 1 || argv[1][0] < '1' ||
      argv[1][0] > '3') {
    std::fputs("usage: korvane-encipher 1|2|3 [TEXT]   (no TEXT: GBK bytes on stdin, byte for byte)\n", stderr);
    return 2;
  }
  int key = argv[1][0] - '0';
  std::string plain;
  if (argc == 3) {
    auto gbk = korvane::Utf8ToGbkExact(korvane::AsUtf8(argv[2]));
    if (!gbk) {
      std::fputs("korvane-encipher: TEXT is not UTF-8 text that GBK can hold\n", stderr);
      return 1;
    }
    plain = *gbk;
  } else {
    plain.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::cout << korvane::tools::EncipherToHex(key, plain) << '\n';
  return 0;
}
