// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zr {

// What the update information file holds: the version, the absolute addresses
// of the files to download, the release notes (one entry per line) and the
// lines of the optional [SHA256] section.
struct UpdateInfo {
  std::string version;
  std::vector<std::string> files;
  std::vector<std::string> notes;
  bool hasDigests = false; // a [SHA256] header was seen
  std::vector<std::string> digests;
};

// Reads the update information text. Lines end at CR LF, LF or CR, and a NUL
// byte ends the text. A line that starts with "[" and ends with "]" opens a
// section (letter case of a-z ignored); content lines are taken as they stand:
// under [VERSION] the last non-empty line wins, under [FILES] every non-empty
// line is an address, under [NOTES] every line is a note, under [SHA256] every
// non-empty line is a digest line; anything else is ignored.
UpdateInfo readUpdateInfo(std::string_view text);

// One file of an update, ready to download.
struct UpdateFile {
  std::string address;
  std::string name;   // the document name of the address: the downloaded copy's name
  std::string sha256; // 64 lower-case hexadecimal digits; empty when none is listed
};

// An update on offer whose every line has passed the checks of readUpdateOffer.
struct UpdateOffer {
  std::string version; // a dotted number such as "2.1.2.29"
  std::vector<UpdateFile> files;
  std::vector<std::string> notes;
  bool verified = false; // a [SHA256] section was present: every file needs its digest
};

// Reads the update information text and refuses it, with a zr::Error naming
// the line at fault, when the version is missing or is not a dotted number
// (blanks and control characters around it aside); when there are more than 64
// [FILES] lines; when a [FILES] line is not UTF-8, holds a character that does
// not print (a C0 or C1 control, a bidirectional control, any other format
// character; see isPrintableCodePoint), is not an http or https address (only
// https when the information came over https, so that no file is fetched with
// less protection), or has a document name that is empty, "." or ".."; when a
// [SHA256] line is not "<document name>=<64 hexadecimal digits>"; or when a
// [SHA256] section is there but holds no digest for a file (the first such
// file is named), since that file could never be downloaded.
UpdateOffer readUpdateOffer(std::string_view text, bool overHttps);

// The document name of a web address: the text after the last "/" of its path,
// without the query or the fragment, as it is written (escapes stay as they
// are, so a name never leads into another folder). Empty without a path.
std::string documentName(std::string_view address);

// Whether the version on offer differs from the running one. Only the letter
// case of a-z and characters with codes 0 to 32 at either end are ignored; the
// versions are not ordered, so any other difference counts as an update.
bool isUpdateOnOffer(std::string_view currentVersion, std::string_view offeredVersion);

// Server text made safe for a message or a log line: C0 controls, DEL and
// bytes that are not UTF-8 become \xNN escapes, other code points that do not
// print (C1 controls, bidirectional controls...) \uXXXX escapes, and text
// beyond 200 bytes is cut off with "...".
std::string printableText(std::string_view text);

} // namespace zr
