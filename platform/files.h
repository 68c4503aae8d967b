// Files, paths and the user's folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

constexpr const char* kFolderNotInCodePageText =
    "This tool's folder holds characters that this system's code page cannot represent, and it "
    "has no short name.\rInstall the package in a folder whose name this code page can hold.";

// A path the system gives in UTF-16, as the tool can use it in the code
// page: the path itself when it comes through exactly; otherwise its short
// (8.3) form when that does (the package's ANSI programs open it as they
// open the long one); otherwise nothing: refused. Where a volume makes no
// short names, the short form is the long path again, and is refused.
std::optional<std::string> ChoosePath(const std::string& longPath, bool longExact,
                                      const std::string& shortPath, bool shortExact);

// The machine types of a PE header that the tool tells apart.
enum : std::uint16_t {
  kMachineX86 = 0x14C,
  kMachineAmd64 = 0x8664,
  kMachineArm64 = 0xAA64,
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // True for an existing entry that is not a directory; false for an empty
  // name. Relative names are looked up in the current directory.
  virtual bool FileExists(const std::string& name) = 0;
  // Full path of the running program's file, read in UTF-16, as ChoosePath
  // gives it: nullopt when the code page holds neither it nor its short form.
  virtual std::optional<std::string> OwnExecutablePath() = 0;
  // The same path in UTF-8, exactly as the system has it.
  virtual std::string OwnExecutableUtf8() = 0;
  // The current user's desktop directory, as ChoosePath gives it; empty
  // when the system has none.
  virtual std::optional<std::string> DesktopFolder() = 0;
  // Text of the system's code page in UTF-8.
  virtual std::string ToUtf8(const std::string& text) = 0;
  // The system folder (System32), where the programs the tool starts are
  // taken from, without a trailing backslash.
  virtual std::string SystemFolder() = 0;
  // True when byte starts a double-byte character in the system's ANSI
  // code page (932, 936, 949, 950): the byte after it is part of the same
  // character, even when it reads as a backslash.
  virtual bool IsLeadByte(unsigned char byte) = 0;
  // Up to count bytes of a file from offset (fewer at its end); false when
  // the file cannot be opened or read.
  virtual bool ReadBytes(const std::string& path, std::uint64_t offset, std::size_t count,
                         std::string* bytes) = 0;
  // The system folder of the running Windows' own architecture, where the
  // spooler loads port monitors from (reached through Sysnative from a
  // 32-bit program on 64-bit Windows), without a trailing backslash.
  virtual std::string NativeSystemFolder() = 0;
  // The PE machine type the running Windows' own programs are built for.
  virtual std::uint16_t NativeMachine() = 0;
  // Writes data to a file, replacing it only when the whole of data is
  // written: on any failure the file keeps what it held, and nothing else is
  // left behind. Raises ESystemError with the system's text when the file
  // cannot be written.
  virtual void WriteFile(const std::string& path, const std::string& data) = 0;
};

// Everything up to and including the last backslash or colon; empty when
// there is none. The forward slash is not a separator, and neither is the
// second byte of a double-byte character.
std::string ExtractFilePath(const std::string& path, IFileSystem& files);
// Everything after the last backslash or colon; the whole path when none.
std::string ExtractFileName(const std::string& path, IFileSystem& files);
// The first byte of text that is one of the characters in set (single-byte
// characters only, never inside a double-byte character); npos when none.
std::string::size_type FindFirstCharacter(const std::string& text, const char* set,
                                          IFileSystem& files);

// The machine field of a program's or library's PE header: the DOS
// header's e_lfanew, the "PE\0\0" signature, then the machine. 0 for a
// file that cannot be read or is no PE image.
std::uint16_t PeMachine(IFileSystem& files, const std::string& path);

// A program of the system folder by its file name ("net.exe").
std::string SystemProgram(IFileSystem& files, const std::string& fileName);

// The tool's own folder: its executable's directory, trailing backslash
// included. The package's other programs and its driver lie there.
// nullopt when the code page cannot hold it (kFolderNotInCodePageText).
std::optional<std::string> OwnFolder(IFileSystem& files);
// The same folder in UTF-8, exactly, for what goes to the wide API.
std::string OwnFolderUtf8(IFileSystem& files);

// Equal when the case of the letters A to Z is ignored, as Windows compares
// printer and value names; a double-byte character (whose second byte may
// read as a letter) matches only as it is.
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b, IFileSystem& files);

}  // namespace qv
