#include "common/cipher.h"

#include <gtest/gtest.h>

#include "common/cipher_keys.h"
#include "tools/encipher/encipher.h"

namespace korvane {
namespace {

using tools::EncipherToHex;

TEST(HexToInt, Examples) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {{"", 0},     {"FF", 255}, {"ff", 255},        {"1F", 31},
               {"G", -2},   {"1G", 14},  {"G1", -31},        {"GG", -34},
               {"\r\n", -34}, {"FFFFFFFF", -1}, {"7FFFFFFF", 2147483647}, {"80000000", INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(HexToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(HexTextToBytes, PairValues) {
  // Each pair as the decipher routine sees it: digit/digit, invalid/digit,
  // digit/invalid (h = 0 and h > 0), invalid/invalid.
  EXPECT_EQ(HexTextToBytes("4a"), "\x4A");
  EXPECT_EQ(HexTextToBytes("x5"), "\xE5");
  EXPECT_EQ(HexTextToBytes("0x"), "\xFE");
  EXPECT_EQ(HexTextToBytes("3x"), std::string(1, static_cast<char>(0x30 - 2)));
  EXPECT_EQ(HexTextToBytes("\r\n"), "\xDE");
  EXPECT_EQ(HexTextToBytes("ABC"), "\xAB") << "an odd last byte is ignored";
}

TEST(Rc4, PublishedVectors) {
  EXPECT_EQ(tools::BytesToHex(Rc4("Key", "Plaintext")), "BBF316E8D940AF0AD3");
  EXPECT_EQ(tools::BytesToHex(Rc4("Wiki", "pedia")), "1021BF0420");
  EXPECT_EQ(tools::BytesToHex(Rc4("Secret", "Attack at dawn")), "45A01F645FC35B383552544B9BF5");
}

TEST(Rc4, OnlyTheFirst256KeyBytesTakePart) {
  std::string key(256, 'k');
  EXPECT_EQ(Rc4(key + "tail", "some data"), Rc4(key + "other", "some data"));
}

TEST(CipherKeys, HaveTheDeployedLengthsInBytesAndCharacters) {
  // Keys 1 and 2 mix ASCII with double-byte characters; key 3 is ASCII only.
  struct KeyShape {
    std::string_view key;
    std::size_t bytes;
    std::size_t characters;
  } shapes[] = {{embedded::CipherKey1(), 638, 487},
                {embedded::CipherKey2(), 637, 584},
                {embedded::CipherKey3(), 637, 637}};
  for (const KeyShape& shape : shapes) {
    EXPECT_EQ(shape.key.size(), shape.bytes);
    std::size_t characters = 0;
    for (std::size_t at = 0; at < shape.key.size(); at += GbkCharLength(shape.key, at)) ++characters;
    EXPECT_EQ(characters, shape.characters);
    EXPECT_EQ(shape.key.find('\0'), std::string_view::npos);
    EXPECT_EQ(GbkToUtf8(shape.key).find(u8"\uFFFD"), std::u8string::npos) << "valid GBK";
  }
}

using Decipher = Text (*)(std::string_view);
struct KeyCase {
  int key;
  Decipher decipher;
};

class DecipherTest : public testing::TestWithParam<KeyCase> {
 protected:
  std::string Encipher(std::string_view plain) { return EncipherToHex(GetParam().key, plain); }
  Text Decipher(std::string_view hex) { return GetParam().decipher(hex); }
};

TEST_P(DecipherTest, RoundTripsGbkText) {
  for (std::string plain : {"1", "http://127.0.0.1:18930/", "开", "正在播放 [片名]"}) {
    EXPECT_EQ(Decipher(Encipher(plain)), plain);
  }
}

TEST_P(DecipherTest, EmptyOddAndLowerCaseInput) {
  EXPECT_EQ(Decipher(""), "");
  std::string hex = Encipher("up");
  EXPECT_EQ(Decipher(hex + "A"), "up") << "odd length: last byte ignored";
  std::string lower;
  for (char c : hex) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(Decipher(lower), "up");
}

TEST_P(DecipherTest, LineEndsAfterTheHexText) {
  std::string hex = Encipher("1");
  EXPECT_EQ(Decipher(hex + "\n"), "1") << "a single LF makes the length odd";
  // CR LF is one more pair (0xDE), deciphered with the next key-stream byte.
  Text with_crlf = Decipher(hex + "\r\n");
  std::string expected_extra = Rc4(CipherKey(GetParam().key), std::string("\x00\xDE", 2)).substr(1);
  if (expected_extra[0] == '\0') {
    EXPECT_EQ(with_crlf, "1");
  } else {
    EXPECT_EQ(with_crlf, "1" + expected_extra);
  }
}

TEST_P(DecipherTest, StopsAtAZeroInThePlainText) {
  EXPECT_EQ(Decipher(Encipher(std::string("ab\0cd", 5))), "ab");
}

INSTANTIATE_TEST_SUITE_P(Keys, DecipherTest,
                         testing::Values(KeyCase{1, DecipherHexTextKey1},
                                         KeyCase{2, DecipherHexTextKey2},
                                         KeyCase{3, DecipherHexTextKey3}),
                         [](const auto& info) { return "Key" + std::to_string(info.param.key); });

TEST(Decipher, KeysDiffer) {
  std::string hex = EncipherToHex(2, "1");
  EXPECT_EQ(DecipherHexTextKey2(hex), "1");
  EXPECT_NE(DecipherHexTextKey1(hex), "1");
  EXPECT_NE(DecipherHexTextKey3(hex), "1");
}

}  // namespace
}  // namespace korvane
