// SPDX-License-Identifier: MIT

#include "core/data_file.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core_test_support.h"
#include "support/small_disk.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zr {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const DateTime kMoment = test::at(2024, 7, 3, 9, 5, 7);

std::string readError(const std::string& path) {
  try {
    readDataFile(path);
  } catch (const UnreadableFileError& error) {
    return error.what();
  }
  return "";
}

std::string replaceError(DataFile& file, std::string_view content) {
  try {
    file.replace(content);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

mode_t modeOf(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Something other than a regular file where a data file belongs: never read (a named
// pipe must not block the start, a device must not be read until memory runs out),
// never written over, moved aside whole.
TEST(DataFileTest, AnythingButARegularFileIsRefusedAndMovedAside) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
    const char* reason;
    bool regular = false;
  };
  const Case cases[] = {
      {"named pipe (world-writable)",
       [](const std::string& path) {
         ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
         ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
       },
       "it is a named pipe, not a file"},
      {"folder", [](const std::string& path) { fs::create_directory(path); },
       "it is a folder, not a file"},
      {"link to a device", [](const std::string& path) { fs::create_symlink("/dev/zero", path); },
       "it is a device, not a file"},
      {"socket",
       [](const std::string& path) {
         const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         path.copy(address.sun_path, sizeof address.sun_path - 1);
         ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
         ::close(socket);
       },
       "it is a socket, not a file"},
      {"file larger than 256 MiB",
       [](const std::string& path) {
         writeFile(path, "");
         fs::resize_file(path, kMaxDataFileSize + 1); // sparse: takes no room
       },
       "it is larger than 256 MiB", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::TemporaryFolder folder;
    const std::string path = folder.file("Reminders.dat");
    c.make(path);
    const mode_t before = modeOf(path);

    EXPECT_EQ(readError(path), "Unable to read " + path + ": " + c.reason);
    DataFile file(path);
    if (!c.regular) {
      EXPECT_EQ(replaceError(file, "new"), "Unable to write to " + path + ": " + c.reason);
    }
    EXPECT_EQ(modeOf(path), before);

    const std::string kept = file.keepAside(kMoment, false);
    EXPECT_EQ(kept, path + ".unreadable-20240703-090507");
    EXPECT_EQ(modeOf(kept) & S_IFMT, before & S_IFMT);
    if (!S_ISLNK(modeOf(kept))) { // a link's own mode means nothing
      EXPECT_FALSE(modeOf(kept) & S_IWOTH);
    }
    EXPECT_EQ(replaceError(file, "new"), "");
    EXPECT_EQ(readFile(path), "new");
  }
  struct stat zero {};
  ASSERT_EQ(::stat("/dev/zero", &zero), 0);
  EXPECT_TRUE(S_ISCHR(zero.st_mode));
}

// A file that was read but did not make sense is copied, and stays in place for
// the next save to replace; the copy is private to those who could read it.
TEST(DataFileTest, FileThatWasReadIsCopiedAsideNeverWorldWritable) {
  const test::TemporaryFolder folder;
  const std::string path = folder.file("Reminders.dat");
  writeFile(path, "not a reminders file");
  fs::permissions(path, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                            ~fs::perms::others_exec); // 0666
  DataFile file(path);
  const mode_t oldMask = ::umask(0);
  const std::string first = file.keepAside(kMoment, true);
  const std::string second = file.keepAside(kMoment, true); // the same second: a name of its own
  ::umask(oldMask);
  EXPECT_EQ(first, path + ".unreadable-20240703-090507");
  EXPECT_EQ(second, path + ".unreadable-20240703-090507-2");
  for (const std::string& kept : {first, second}) {
    EXPECT_EQ(readFile(kept), "not a reminders file");
    EXPECT_EQ(modeOf(kept) & (S_IWGRP | S_IWOTH), 0u);
  }
  EXPECT_EQ(readFile(path), "not a reminders file");
  EXPECT_EQ(replaceError(file, "saved"), "");
  EXPECT_EQ(readFile(path), "saved");
}

// Runs the work in a child process as the user nobody and returns what it returned,
// so that the root-owned files of the test are another user's files.
std::string asNobody(const std::function<std::string()>& work) {
  const passwd* nobody = ::getpwnam("nobody");
  int channel[2];
  if (!nobody || ::pipe(channel) != 0)
    return "no user nobody";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result = "cannot become nobody";
    if (::setgroups(0, nullptr) == 0 &&
        ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) == 0 &&
        ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) == 0)
      result = work();
    [[maybe_unused]] const auto written = ::write(channel[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[512];
  for (ssize_t count; (count = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<std::size_t>(count));
  ::close(channel[0]);
  ::waitpid(child, nullptr, 0);
  return result;
}

// A reminders file left owned by root with mode 0600 (one run under sudo): the user's
// program cannot read it, so it is moved aside where the folder allows; where it
// does not, every save is refused with what to do, and the file stays whole.
TEST(DataFileTest, FileAnotherUserOwnsIsMovedAsideOrNeverWrittenOver) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "acting as another user's file needs root to make the file and drop to nobody";
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  for (const bool folderWritable : {true, false}) {
    SCOPED_TRACE(folderWritable ? "folder nobody may write" : "folder nobody may not write");
    const test::TemporaryFolder folder;
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    if (folderWritable) {
      ASSERT_EQ(::chown(folder.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    const std::string path = folder.file("Reminders.dat");
    writeFile(path, "root's reminders");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);

    const std::string result = asNobody([&] {
      std::string seen = readError(path) + "\n";
      DataFile file(path);
      seen += file.keepAside(kMoment, false) + "\n";
      seen += replaceError(file, "nobody's list") + "\n";
      seen += replaceError(file, "nobody's list");
      return seen;
    });
    const std::string kept = path + ".unreadable-20240703-090507";
    const std::string refused =
        path + " could not be read and could not be kept aside, so nothing is saved over it. "
               "Every save reads it again and goes ahead once it can be read (fix its "
               "permissions) or once it is moved away.";
    if (folderWritable) {
      EXPECT_EQ(result, "Unable to read " + path + ": File access denied\n" + kept + "\n\n");
      EXPECT_EQ(readFile(kept), "root's reminders");
      EXPECT_EQ(readFile(path), "nobody's list");
    } else {
      EXPECT_EQ(result,
                "Unable to read " + path + ": File access denied\n\n" + refused + "\n" + refused);
      EXPECT_EQ(readFile(path), "root's reminders");
      // Every look reads it again: still unreadable, the refusal stands; once its
      // permissions are fixed, it reads as new to the program and the refusal is gone
      // (the write then meets only the folder nobody may write to).
      const auto lookAfterRefusal = [&] {
        return asNobody([&] {
          DataFile file(path);
          file.keepAside(kMoment, false);
          try {
            const DataFile::Outside outside = file.lookOutside();
            return (outside.state == DataFile::Outside::State::Changed ? "changed: " : "? ") +
                   outside.content + "\n" + replaceError(file, "merged list");
          } catch (const Error& error) {
            return std::string(error.what());
          }
        });
      };
      EXPECT_EQ(lookAfterRefusal(), "Unable to read " + path + ": File access denied\n" + refused);
      fs::permissions(path, fs::perms::others_read, fs::perm_options::add);
      EXPECT_EQ(lookAfterRefusal(),
                "changed: root's reminders\nUnable to write to " + path + ": File access denied");
      fs::permissions(path, fs::perms::others_read, fs::perm_options::remove);
      // Once the user has moved it away, saving goes on.
      fs::rename(path, folder.file("moved.dat"));
      ASSERT_EQ(::chown(folder.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
      EXPECT_EQ(asNobody([&] {
                  DataFile file(path);
                  file.keepAside(kMoment, false); // nothing there now to keep
                  return replaceError(file, "nobody's list");
                }),
                "");
    }
  }
}

TEST(DataFileTest, SaveOnAFullDiskNamesTheFileAndKeepsTheOldOne) {
  const test::TemporaryFolder folder;
  const test::SmallDisk disk(folder.path().string(), 64 * 1024);
  if (!disk.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  const std::string path = folder.file("Reminders.dat");
  writeFile(path, "old content");
  ASSERT_TRUE(disk.fill());
  DataFile file(path);
  EXPECT_EQ(replaceError(file, std::string(100000, 'r')),
            "Unable to write to " + path + ": Disk full");
  EXPECT_EQ(readFile(path), "old content");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

// A save killed in the middle leaves its temporary file; the next start removes
// those of its own files that are older than itself, and nothing else.
TEST(DataFileTest, LeftoversOfAKilledSaveAreRemovedAndNothingElse) {
  const test::TemporaryFolder folder;
  const test::TemporaryFolder linkedFolder;
  const std::string path = folder.file("Reminders.dat");
  writeFile(path, "old content");

  // A file-size limit kills the saving process part way through its write.
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const rlimit small{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &small);
    replaceFileContent(path, std::string(1000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);

  const std::string settings = folder.file("ZRDorvel.ini");
  writeFile(linkedFolder.file("ZRDorvel.ini"), "[System]");
  fs::create_symlink(linkedFolder.file("ZRDorvel.ini"), settings);
  const std::string others[] = {
      folder.file("Reminders.dat.zrdorvel-save-12345"), folder.file("Reminders.dat.backup"),
      folder.file("Reminders.dat.Ab3xYz"), folder.file("Other.dat.zrdorvel-save-Ab3xYz")};
  for (const std::string& other : others)
    writeFile(other, "keep");
  writeFile(linkedFolder.file("ZRDorvel.ini.zrdorvel-save-Qw12Er"), "old save");
  const auto started = std::chrono::system_clock::now();
  // One written after the start, stamped well after it (file times are coarse).
  const std::string underWay = folder.file("Reminders.dat.zrdorvel-save-N3wer0");
  writeFile(underWay, "a save under way");
  fs::last_write_time(underWay, fs::file_time_type::clock::now() + std::chrono::minutes(1));
  bool killedSaveLeftOne = false;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    killedSaveLeftOne = killedSaveLeftOne || (name.starts_with("Reminders.dat.zrdorvel-save-") &&
                                              name.size() == 34 && entry.path() != underWay);
  }
  EXPECT_TRUE(killedSaveLeftOne);

  removeLeftoverSaves(path, started);
  removeLeftoverSaves(settings, started);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder.path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Other.dat.zrdorvel-save-Ab3xYz", "Reminders.dat",
                                            "Reminders.dat.Ab3xYz", "Reminders.dat.backup",
                                            "Reminders.dat.zrdorvel-save-12345",
                                            "Reminders.dat.zrdorvel-save-N3wer0", "ZRDorvel.ini"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(linkedFolder.path()), fs::directory_iterator()),
            1);
  EXPECT_EQ(readFile(path), "old content");
}

} // namespace
} // namespace zr
