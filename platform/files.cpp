#include "platform/files.h"

#include <cstring>

namespace qv {
namespace {

// Calls visit(position, byte) for the first byte of every character, in
// order; the trail byte of a double-byte character is skipped.
template <typename Visit>
void ForEachCharacter(const std::string& text, IFileSystem& files, Visit visit) {
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!visit(i, byte)) return;
    if (i + 1 < text.size() && files.IsLeadByte(byte)) ++i;
  }
}

std::string::size_type LastDelimiter(const std::string& path, IFileSystem& files) {
  std::string::size_type last = std::string::npos;
  ForEachCharacter(path, files, [&](std::string::size_type i, unsigned char c) {
    if (c == '\\' || c == ':') last = i;
    return true;
  });
  return last;
}

}  // namespace

std::string ExtractFilePath(const std::string& path, IFileSystem& files) {
  const auto pos = LastDelimiter(path, files);
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileName(const std::string& path, IFileSystem& files) {
  const auto pos = LastDelimiter(path, files);
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string::size_type FindFirstCharacter(const std::string& text, const char* set,
                                          IFileSystem& files) {
  std::string::size_type found = std::string::npos;
  ForEachCharacter(text, files, [&](std::string::size_type i, unsigned char c) {
    if (c == 0 || std::strchr(set, c) == nullptr) return true;
    found = i;
    return false;
  });
  return found;
}

std::uint16_t PeMachine(IFileSystem& files, const std::string& path) {
  const auto little = [](const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
      value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
  };
  std::string dos, pe;
  if (!files.ReadBytes(path, 0, 64, &dos) || dos.size() < 64 || dos.compare(0, 2, "MZ") != 0) {
    return 0;
  }
  if (!files.ReadBytes(path, little(dos, 0x3C, 4), 6, &pe) || pe.size() < 6 ||
      pe.compare(0, 4, std::string("PE\0\0", 4)) != 0) {
    return 0;
  }
  return static_cast<std::uint16_t>(little(pe, 4, 2));
}

std::string SystemProgram(IFileSystem& files, const std::string& fileName) {
  std::string folder = files.SystemFolder();
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + fileName;
}

std::optional<std::string> ChoosePath(const std::string& longPath, bool longExact,
                                      const std::string& shortPath, bool shortExact) {
  if (longExact) return longPath;
  if (shortExact) return shortPath;
  return std::nullopt;
}

std::optional<std::string> OwnFolder(IFileSystem& files) {
  const std::optional<std::string> path = files.OwnExecutablePath();
  if (!path) return std::nullopt;
  return ExtractFilePath(*path, files);
}

std::string OwnFolderUtf8(IFileSystem& files) {
  const std::string path = files.OwnExecutableUtf8();
  return path.substr(0, path.find_last_of("\\:") + 1);
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b, IFileSystem& files) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (std::string::size_type i = 0; i < a.size(); ++i) {
    if (files.IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace qv
