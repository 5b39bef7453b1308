// SPDX-License-Identifier: MIT

#include "core/update_info.h"

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
};

class ReadUpdateInfo : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadUpdateInfo, FillsVersionFilesAndNotes) {
  const ReadCase& c = GetParam();
  const UpdateInfo info = readUpdateInfo(c.text);
  EXPECT_EQ(info.version, c.version);
  EXPECT_EQ(info.files, c.files);
  EXPECT_EQ(info.notes, c.notes);
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

} // namespace
} // namespace zr
