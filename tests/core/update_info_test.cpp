// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/unicode_text.h"
#include "core/update_info.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zr {
namespace {

using Lines = std::vector<std::string>;

struct ReadCase {
  const char* name;
  std::string text;
  std::string version;
  Lines files;
  Lines notes;
  Lines digests = {};
};

class ReadUpdateInfo : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadUpdateInfo, FillsVersionFilesAndNotes) {
  const ReadCase& c = GetParam();
  const UpdateInfo info = readUpdateInfo(c.text);
  EXPECT_EQ(info.version, c.version);
  EXPECT_EQ(info.files, c.files);
  EXPECT_EQ(info.notes, c.notes);
  EXPECT_EQ(info.digests, c.digests);
}

const ReadCase kReadCases[] = {
    {"Typical",
     "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\nhttp://h/ZRDorvelSetup.exe\r\n[NOTES]\r\nOne\r\nTwo\r\n",
     "2.1.3.0",
     {"http://h/ZRDorvelSetup.exe"},
     {"One", "Two"}},
    {"HeadersInAnyLetterCase",
     "[Version]\n2.0\n[files]\nhttp://h/a\n[notes]\nn\n",
     "2.0",
     {"http://h/a"},
     {"n"}},
    {"HeaderWithBlankIsContent",
     "[NOTES]\n[VERSION] \n [FILES]\n",
     "",
     {},
     {"[VERSION] ", " [FILES]"}},
    {"LinesBeforeFirstHeaderAndUnderOtherHeadersIgnored",
     "2.0\nhttp://x\n[OTHER]\n3.0\n[VERSION]\n4.0\n[OTHER]\n5.0\n",
     "4.0",
     {},
     {}},
    {"LastNonEmptyVersionWinsEmptyDoesNotClear", "[VERSION]\n1.0\n2.0\n\n", "2.0", {}, {}},
    {"RepeatedSectionsGoOnInFileOrder",
     "[VERSION]\n1\n[FILES]\na\n[VERSION]\n2\n[FILES]\nb\n",
     "2",
     {"a", "b"},
     {}},
    {"EmptyFileLinesSkippedEmptyNotesKept",
     "[FILES]\n\na\n\n[NOTES]\nx\n\n\ny",
     "",
     {"a"},
     {"x", "", "", "y"}},
    {"LineEndsCrLfLfAndCr", "[NOTES]\ra\r\nb\nc\r\rd", "", {}, {"a", "b", "c", "", "d"}},
    {"ContentTakenAsItStands",
     "[VERSION]\n 2.0\t\n[NOTES]\n  ; not a comment  ",
     " 2.0\t",
     {},
     {"  ; not a comment  "}},
    {"NulEndsTheText", std::string("[NOTES]\na\nb\0c\nd", 15), "", {}, {"a", "b"}},
    {"NoVersionSection", "<html>error page</html>\n", "", {}, {}},
    {"DigestSectionInAnyLetterCase",
     "[FILES]\nhttp://h/a\n[sha256]\na=1\n\nb=2\n[NOTES]\nn\n",
     "",
     {"http://h/a"},
     {"n"},
     {"a=1", "b=2"}},
    {"EmptyText", "", "", {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadUpdateInfo, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsUpdateOnOffer, ComparesTextIgnoringCaseAndSurroundingControls) {
  struct Case {
    const char* current;
    const char* offered;
    bool update;
  };
  const Case cases[] = {
      {"2.1.2.29", "2.1.2.29", false},
      {"2.1.2.29", " 2.1.2.29", false},
      {"2.1.2.29", "2.1.2.29\t", false},
      {"2.1.2.29", "\x01 2.1.2.29\r", false},
      {"2.1.2.29b", "2.1.2.29B", false},
      {"2.1.2.29", "2.1.2.3", true},
      {"2.1.2.29", "2.1.2.029", true},
      {"2.1.2.29", "2.1.2.30", true},
      {"2.1.2.29", "", true},
      {"", "", false},
      {"2.1 .2.29", "2.1.2.29", true},
      {"2.1.2.29\xe4", "2.1.2.29\xc4", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isUpdateOnOffer(c.current, c.offered), c.update)
        << "current \"" << c.current << "\" offered \"" << c.offered << "\"";
}

// The message of the zr::Error that readUpdateOffer throws; empty when it accepts the text.
std::string refusal(const std::string& text, bool overHttps = false) {
  try {
    readUpdateOffer(text, overHttps);
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

TEST(ReadUpdateOffer, RefusesHostileFileLinesNamingThem) {
  struct Case {
    std::string line;
    const char* why;
    bool overHttps = false;
  };
  const Case cases[] = {
      {"http://h/ZRDorvelSetup.exe\t/home/user/.bashrc", "it holds a control character."},
      {"http://h/x.exe\x1b[2J", "it holds a control character."},
      {"http://h/x\x7f.exe", "it holds a control character."},
      {"http://h/x\xc2\x85.exe", "it holds a control character."},
      {"http://h/Invoice\xe2\x80\xaegpj.exe",
       "it holds a character that does not print, such as a bidirectional control."},
      {"http://h/a\xe2\x81\xa6"
       "b.exe",
       "it holds a character that does not print, such as a bidirectional control."},
      {"http://h/a\xe2\x80\x8b"
       "b.exe",
       "it holds a character that does not print, such as a bidirectional control."},
      {"http://h/a\xef\xbb\xbf.exe",
       "it holds a character that does not print, such as a bidirectional control."},
      {"http://h/a\xee\x80\x80.exe",
       "it holds a character that does not print, such as a bidirectional control."},
      {"http://h/caf\xe9.exe", "it is not UTF-8 text."},
      {"http://h/a\xc0\xaf.exe", "it is not UTF-8 text."},
      {"http://h/a\xed\xa0\x80.exe", "it is not UTF-8 text."},
      {"http://h/", "it does not end in a file name."},
      {"http://h/.", "it does not end in a file name."},
      {"http://h/a/..", "it does not end in a file name."},
      {"http://h/a/..?name=x.exe", "it does not end in a file name."},
      {"http://h#/x.exe", "it does not end in a file name."},
      {"http://h", "it does not end in a file name."},
      {"ftp://h/x.exe", "it is not an http or https address."},
      {"file:///home/user/.bashrc", "it is not an http or https address."},
      {"ZRDorvelSetup.exe", "it is not an http or https address."},
      {"/tmp/ZRDorvelSetup.exe", "it is not an http or https address."},
      {" http://h/x.exe", "it is not an http or https address."},
      {"http://user@/x.exe", "it is not an http or https address."},
      {"http://h/x.exe", "it is not an https address, but the update information came over https.",
       true},
  };
  for (const Case& c : cases) {
    const std::string text = "[VERSION]\n2.2\n[FILES]\nhttps://h/fine.exe\n" + c.line + "\n";
    EXPECT_EQ(refusal(text, c.overHttps),
              "Refused [FILES] line \"" + printableText(c.line) + "\": " + c.why)
        << printableText(c.line);
  }
}

TEST(ReadUpdateOffer, NamesEachFileAfterItsAddressAsWritten) {
  const UpdateOffer offer = readUpdateOffer("[VERSION]\n2.2\n[FILES]\n"
                                            "HTTPS://h/dir/ZRDorvelSetup.exe?v=2#top\n"
                                            "https://user:secret@h:8443/%2e%2e\n"
                                            "https://h/a%2Fb.txt\n",
                                            true);
  ASSERT_EQ(offer.files.size(), 3u);
  EXPECT_EQ(offer.files[0].address, "HTTPS://h/dir/ZRDorvelSetup.exe?v=2#top");
  EXPECT_EQ(offer.files[0].name, "ZRDorvelSetup.exe");
  EXPECT_EQ(offer.files[1].name, "%2e%2e");
  EXPECT_EQ(offer.files[2].name, "a%2Fb.txt");
  EXPECT_FALSE(offer.verified);
  EXPECT_EQ(offer.files[0].sha256, "");
}

TEST(ReadUpdateOffer, TakesOnlyADottedNumberAsTheVersion) {
  const struct {
    std::string text;
    std::string versionOrError;
  } cases[] = {
      {"[VERSION]\n2.1.2.29\n", "2.1.2.29"},
      {"[VERSION]\n 2.1.2.29\t\r\n", "2.1.2.29"},
      {"[VERSION]\n3\n", "3"},
      {"<html><body>Sign in to the network</body></html>",
       "The update information holds no version."},
      {"[VERSION]\n \t\n", "The update information holds no version."},
      {"[VERSION]\n<b>9.9</b>\n",
       "Refused [VERSION] line \"<b>9.9</b>\": it is not a dotted number such as 2.1.2.29."},
      {"[VERSION]\n2.1.2.29b\n",
       "Refused [VERSION] line \"2.1.2.29b\": it is not a dotted number such as 2.1.2.29."},
      {"[VERSION]\n2..1\n",
       "Refused [VERSION] line \"2..1\": it is not a dotted number such as 2.1.2.29."},
      {"[VERSION]\n.2\n",
       "Refused [VERSION] line \".2\": it is not a dotted number such as 2.1.2.29."},
      {"[VERSION]\n2.\n",
       "Refused [VERSION] line \"2.\": it is not a dotted number such as 2.1.2.29."},
      {"[VERSION]\n2.1 .2\n",
       "Refused [VERSION] line \"2.1 .2\": it is not a dotted number such as 2.1.2.29."},
  };
  for (const auto& c : cases) {
    const std::string error = refusal(c.text);
    EXPECT_EQ(error.empty() ? readUpdateOffer(c.text, false).version : error, c.versionOrError)
        << c.text;
  }
}

TEST(ReadUpdateOffer, GivesEachFileItsPublishedDigest) {
  const std::string digestA(64, 'A');
  const std::string digestB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
  const UpdateOffer offer =
      readUpdateOffer("[VERSION]\n2.2\n[FILES]\nhttp://h/a.exe\nhttp://h/x/b=c.txt\nhttp://h/d\n"
                      "[SHA256]\na.exe=" +
                          digestA + "\nb=c.txt=" + digestB + "\nunlisted=" + digestB +
                          "\nd=" + std::string(64, '0') + "\n",
                      false);
  EXPECT_TRUE(offer.verified);
  ASSERT_EQ(offer.files.size(), 3u);
  EXPECT_EQ(offer.files[0].sha256, std::string(64, 'a'));
  EXPECT_EQ(offer.files[1].name, "b=c.txt");
  EXPECT_EQ(offer.files[1].sha256, digestB);
  EXPECT_EQ(offer.files[2].sha256, std::string(64, '0'));

  EXPECT_TRUE(readUpdateOffer("[VERSION]\n2.2\n[SHA256]\n", false).verified);
}

// A file without its digest could never be downloaded; the check says so at once.
TEST(ReadUpdateOffer, RefusesAnEmptyOrPartialDigestSection) {
  const std::string digest(64, '0');
  const std::string files = "[VERSION]\n2.2\n[FILES]\nhttp://h/a.exe\nhttp://h/x/b.txt\n";
  EXPECT_EQ(refusal(files + "[SHA256]\n"),
            "The [SHA256] section holds no digest for a.exe, so it could never be downloaded.");
  EXPECT_EQ(refusal(files + "[SHA256]\na.exe=" + digest + "\nc.txt=" + digest + "\n"),
            "The [SHA256] section holds no digest for b.txt, so it could never be downloaded.");
  EXPECT_EQ(refusal(files), "");
}

TEST(ReadUpdateOffer, TakesAtMost64Files) {
  std::string text = "[VERSION]\n2.2\n[FILES]\n";
  for (int i = 0; i < 64; ++i)
    text += "http://h/f" + std::to_string(i) + ".bin\n";
  EXPECT_EQ(readUpdateOffer(text, false).files.size(), 64u);
  EXPECT_EQ(refusal(text + "\n\nhttp://h/one-more.bin\n"),
            "The update information lists 65 files; an update has at most 64.");
  for (int i = 0; i < 20000; ++i)
    text += "http://h/g.bin\n";
  EXPECT_EQ(refusal(text), "The update information lists 20064 files; an update has at most 64.");
}

TEST(ReadUpdateOffer, RefusesMalformedDigestLines) {
  const std::string why = "\": it is not a file name, \"=\" and 64 hexadecimal digits.";
  for (const std::string& line :
       {"a.exe=" + std::string(63, '0'), "a.exe=" + std::string(65, '0'),
        "a.exe=" + std::string(63, '0') + "g", "=" + std::string(64, '0'),
        "a.exe " + std::string(64, '0'), "a.exe=" + std::string(64, '0') + " "})
    EXPECT_EQ(refusal("[VERSION]\n2\n[SHA256]\n" + line + "\n"),
              "Refused [SHA256] line \"" + line + why)
        << line;
}

TEST(DocumentName, IsTheLastPathPartAsWritten) {
  const struct {
    const char* address;
    const char* name;
  } cases[] = {
      {"http://h/a/b.exe", "b.exe"},
      {"http://h/a/b.exe?v=2/x#top/y", "b.exe"},
      {"http://h/a/b.exe#f", "b.exe"},
      {"http://h/a%2Fb", "a%2Fb"},
      {"http://h/a/", ""},
      {"http://h", ""},
      {"http://h?q=/x", ""},
      {"https://u:p@h:1/version.dat", "version.dat"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(documentName(c.address), c.name) << c.address;
}

TEST(PrintableText, EscapesControlsAndCutsLongText) {
  EXPECT_EQ(printableText("a\tb\x1b[1m\x7f\r\n\xc3\xa4"), "a\\x09b\\x1B[1m\\x7F\\x0D\\x0A\xc3\xa4");
  EXPECT_EQ(printableText("Invoice\xe2\x80\xaegpj.exe"), "Invoice\\u202Egpj.exe");
  EXPECT_EQ(printableText("a\xc2\x9b"
                          "1m\xe9\xf3\xa0\x80\x81"),
            "a\\u009B1m\\xE9\\u0E0001");
  EXPECT_EQ(printableText(std::string(199, 'x') + "\xc3\xa4z"),
            std::string(199, 'x') + "\xc3\xa4...");
  EXPECT_EQ(printableText(std::string(200, 'x')), std::string(200, 'x'));
  EXPECT_EQ(printableText(std::string(201, 'x')), std::string(200, 'x') + "...");
}

TEST(UnicodeText, TellsTheCodePointsThatDoNotPrint) {
  const struct {
    char32_t code;
    bool printable;
  } cases[] = {
      {U'A', true},     {0x00E4, true},  {0x00A0, true},   {0x0085, false},   {0x00AD, false},
      {0x200E, false},  {0x2028, false}, {0x202A, false},  {0x202E, false},   {0x202F, true},
      {0x2066, false},  {0x2069, false}, {0x2070, true},   {0xD800, false},   {0xE000, false},
      {0xF8FF, false},  {0xF900, true},  {0xFDD0, false},  {0xFFFD, true},    {0xFFFE, false},
      {0x1FFFF, false}, {0x1F600, true}, {0xE0041, false}, {0x10FFFF, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(isPrintableCodePoint(c.code), c.printable)
        << std::hex << static_cast<std::uint32_t>(c.code);
  EXPECT_TRUE(isPrintableUtf8("Stra\xc3\x9f"
                              "e \xf0\x9f\x98\x80"));
  EXPECT_FALSE(isPrintableUtf8("\xf0\x9f\x98"));
  EXPECT_FALSE(isPrintableUtf8("\xe0\x80\xaf"));
  EXPECT_FALSE(isPrintableUtf8("\xf4\x90\x80\x80"));
}

} // namespace
} // namespace zr
