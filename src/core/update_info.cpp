// SPDX-License-Identifier: MIT

#include "core/update_info.h"

#include "core/ascii_text.h"
#include "core/error.h"
#include "core/unicode_text.h"

#include <algorithm>
#include <map>

namespace zr {
namespace {

constexpr std::size_t kPrintableLength = 200;
constexpr std::size_t kDigestLength = 64;
constexpr std::size_t kMaxFiles = 64;

std::vector<std::string_view> splitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

bool isSectionHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

bool isBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

bool isControl(char c) {
  return static_cast<unsigned char>(c) < 32 || c == 127;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view trimControls(std::string_view text) {
  while (!text.empty() && isBlankOrControl(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlankOrControl(text.back()))
    text.remove_suffix(1);
  return text;
}

// One or more groups of digits joined by single dots.
bool isDottedNumber(std::string_view text) {
  bool digitBefore = false;
  for (char c : text) {
    if (isDigit(c))
      digitBefore = true;
    else if (c == '.' && digitBefore)
      digitBefore = false;
    else
      return false;
  }
  return digitBefore;
}

[[noreturn]] void refuseLine(const char* section, std::string_view line, const char* why) {
  std::string text = "Refused ";
  text += section;
  text += " line \"";
  text += printableText(line);
  text += "\": ";
  text += why;
  throw Error(text);
}

// The scheme of an absolute address in lower case with the host that follows
// "//"; empty when the address has no such form.
struct AddressStart {
  std::string scheme;
  std::string_view host;
};

AddressStart addressStart(std::string_view address) {
  const std::size_t separator = address.find("://");
  if (separator == std::string_view::npos)
    return {};
  std::string_view authority = address.substr(separator + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  return {toLowerAscii(address.substr(0, separator)), authority.substr(0, authority.rfind(':'))};
}

bool isControlCode(char32_t code) {
  return code < 32 || (code >= 127 && code <= 159);
}

// Refuses a line that would not show as it is: its name reaches the status
// window and the disk, where a control or a bidirectional override could make
// it look like another name.
void checkPrintable(const char* section, const std::string& line) {
  for (std::size_t at = 0; at < line.size();) {
    const CodePoint point = readCodePoint(line, at);
    if (!point.valid)
      refuseLine(section, line, "it is not UTF-8 text.");
    if (isControlCode(point.value))
      refuseLine(section, line, "it holds a control character.");
    if (!isPrintableCodePoint(point.value))
      refuseLine(section, line,
                 "it holds a character that does not print, such as a bidirectional control.");
    at += point.length;
  }
}

UpdateFile checkFileLine(const std::string& line, bool overHttps) {
  checkPrintable("[FILES]", line);
  const AddressStart start = addressStart(line);
  if (start.host.empty() || (start.scheme != "http" && start.scheme != "https"))
    refuseLine("[FILES]", line, "it is not an http or https address.");
  if (overHttps && start.scheme != "https")
    refuseLine("[FILES]", line,
               "it is not an https address, but the update information came over https.");
  std::string name = documentName(line);
  if (name.empty() || name == "." || name == "..")
    refuseLine("[FILES]", line, "it does not end in a file name.");
  return {line, std::move(name), {}};
}

std::map<std::string, std::string> readDigests(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> digests;
  for (const std::string& line : lines) {
    const std::size_t equals = line.rfind('=');
    const std::string_view digest = equals == std::string::npos
                                        ? std::string_view()
                                        : std::string_view(line).substr(equals + 1);
    if (equals == 0 || digest.size() != kDigestLength ||
        !std::all_of(digest.begin(), digest.end(), isHexDigit))
      refuseLine("[SHA256]", line, "it is not a file name, \"=\" and 64 hexadecimal digits.");
    digests[line.substr(0, equals)] = toLowerAscii(digest);
  }
  return digests;
}

} // namespace

UpdateInfo readUpdateInfo(std::string_view text) {
  UpdateInfo info;
  std::string section;
  for (std::string_view line : splitLines(text)) {
    if (isSectionHeader(line)) {
      section = toUpperAscii(line);
      info.hasDigests = info.hasDigests || section == "[SHA256]";
    } else if (section == "[VERSION]") {
      if (!line.empty())
        info.version = line;
    } else if (section == "[FILES]") {
      if (!line.empty())
        info.files.emplace_back(line);
    } else if (section == "[NOTES]") {
      info.notes.emplace_back(line);
    } else if (section == "[SHA256]") {
      if (!line.empty())
        info.digests.emplace_back(line);
    }
  }
  return info;
}

UpdateOffer readUpdateOffer(std::string_view text, bool overHttps) {
  UpdateInfo info = readUpdateInfo(text);
  const std::string_view version = trimControls(info.version);
  if (version.empty())
    throw Error("The update information holds no version.");
  if (!isDottedNumber(version))
    refuseLine("[VERSION]", info.version, "it is not a dotted number such as 2.1.2.29.");

  UpdateOffer offer;
  offer.version = version;
  offer.notes = std::move(info.notes);
  offer.verified = info.hasDigests;
  if (info.files.size() > kMaxFiles)
    throw Error("The update information lists " + std::to_string(info.files.size()) +
                " files; an update has at most " + std::to_string(kMaxFiles) + ".");
  const std::map<std::string, std::string> digests = readDigests(info.digests);
  for (const std::string& line : info.files) {
    UpdateFile file = checkFileLine(line, overHttps);
    if (const auto digest = digests.find(file.name); digest != digests.end())
      file.sha256 = digest->second;
    else if (offer.verified)
      throw Error("The [SHA256] section holds no digest for " + printableText(file.name) +
                  ", so it could never be downloaded.");
    offer.files.push_back(std::move(file));
  }
  return offer;
}

std::string documentName(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  const std::size_t separator = address.find("://");
  const std::size_t authorityStart = separator == std::string_view::npos ? 0 : separator + 3;
  if (address.find('/', authorityStart) == std::string_view::npos)
    return {};
  return std::string(address.substr(address.rfind('/') + 1));
}

bool isUpdateOnOffer(std::string_view currentVersion, std::string_view offeredVersion) {
  const std::string current = toUpperAscii(currentVersion);
  const std::string offered = toUpperAscii(offeredVersion);
  return trimControls(current) != trimControls(offered);
}

std::string printableText(std::string_view text) {
  constexpr char kHex[] = "0123456789ABCDEF";
  const auto appendHex = [&](std::string& result, char32_t code, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
      result += kHex[(code >> shift) & 15];
  };
  std::string result;
  std::size_t at = 0;
  while (at < text.size() && at < kPrintableLength) {
    const CodePoint point = readCodePoint(text, at);
    if (!point.valid || (point.value < 128 && isControl(static_cast<char>(point.value)))) {
      result += "\\x";
      appendHex(result, static_cast<unsigned char>(text[at]), 2);
    } else if (!isPrintableCodePoint(point.value)) {
      result += "\\u";
      appendHex(result, point.value, point.value > 0xFFFF ? 6 : 4);
    } else {
      result.append(text.substr(at, point.length));
    }
    at += point.length;
  }
  if (at < text.size())
    result += "...";
  return result;
}

} // namespace zr
