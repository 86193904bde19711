// SPDX-License-Identifier: GPL-3.0-or-later
// The player's files under faults, through the real programs: the config written back, recordings
// and the tools' output meet links, modes, FIFOs, full disks, other users and other writers.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "files/file_writer.h"
#include "shell/data_folder.h"
#include "shell/exit_status.h"
#include "shell/settings.h"
#include "tools/common/formats.h"

namespace vane {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void put(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

struct Outcome {
  int status = -1;
  std::string err;
};

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vane-files-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
            std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // Another user must reach the folder in the cases run as one.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    put(dir_ / "quit.keys", "# seed 7\n30 ESCAPE\n");
  }

  void TearDown() override {
    if (mounted_) ::umount2(full_.c_str(), MNT_DETACH);
    fs::remove_all(dir_);
  }

  // Runs `command` in the case's folder with umask 022, its stderr kept; cut off after 60 s, so a
  // hang fails rather than blocks the suite.
  Outcome run(const std::string& command) {
    const std::string line = "cd " + dir_.string() + " && umask 022 && timeout 60 " + command +
                             " >" + (dir_ / "out").string() + " 2>" + (dir_ / "err").string();
    const int raw = std::system(line.c_str());
    return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir_ / "err")};
  }

  // The game on the display-less drivers, with the case's config folder, quitting after 30
  // frames of the replay unless the arguments say otherwise.
  Outcome vane(const std::string& arguments, const std::string& user = "") {
    return run(user + "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy " +
               "SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=" + (dir_ / "config").string() +
               " VANE_DATA=" + VANE_DATA_DIR + " " + VANE_PROGRAM + " --window " + arguments);
  }

  // A small tmpfs at `full_`, filled but for what `keep` writes into it first; false where
  // mounting is not permitted.
  bool mountFull(const std::function<void(const fs::path&)>& keep = {}) {
    full_ = dir_ / "full";
    fs::create_directories(full_);
    if (::mount("tmpfs", full_.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) return false;
    mounted_ = true;
    if (keep) keep(full_);
    std::ofstream filler(full_ / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
    return true;
  }

  fs::path config() const { return dir_ / "config" / "vane" / "vane.conf"; }

  fs::path dir_;
  fs::path full_;
  bool mounted_ = false;
};

// Who runs a program when the case needs the file modes to bind: as the superuser they bind
// nobody, so the program then runs as the user nobody (the folder handed to it first). Empty
// when the test runs as an ordinary user already, and "-" when neither is possible.
std::string plainUser(const fs::path& give) {
  if (::geteuid() != 0) return "";
  if (std::system("command -v setpriv >/dev/null") != 0) return "-";
  std::system(("chown -R nobody " + give.string()).c_str());
  return "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
}

constexpr const char* kPlayersConfig = "# mine\nscale = integer\nwindow_mode = fullscreen\n";

// What the write-back does with each shape the config can take. Only a missing file means "no
// config"; anything that cannot be read is left alone with one warning; a link is followed and
// its target replaced whole, keeping its mode; a read-only file or folder is left as it was.
TEST_F(Files, TheConfigWriteBackNeverLosesThePlayersFile) {
  struct Case {
    const char* name;
    std::function<std::string()> arrange;  // returns who runs the game (see plainUser)
    const char* warning;                   // on stderr once, naming the file; "" for none
    std::function<void()> check;
  };
  const auto asIs = [&]() {
    put(config(), kPlayersConfig);
    return std::string();
  };
  const auto untouched = [&]() { EXPECT_EQ(slurp(config()), kPlayersConfig); };
  const auto saved = [](const fs::path& file) {
    const std::string text = slurp(file);
    EXPECT_EQ(text.rfind("# mine\nscale = integer\nwindow_mode = window\nwindow_size = ", 0), 0u)
        << text;
  };
  const Case cases[] = {
      {"missing", [&]() { return std::string(); }, "",
       [&]() {
         EXPECT_NE(slurp(config()).find("window_mode = window\n"), std::string::npos);
         EXPECT_EQ(fs::status(config()).permissions(), static_cast<fs::perms>(0644));
       }},
      {"its mode kept",
       [&]() {
         asIs();
         fs::permissions(config(), static_cast<fs::perms>(0600));
         return std::string();
       },
       "",
       [&]() {
         saved(config());
         EXPECT_EQ(fs::status(config()).permissions(), static_cast<fs::perms>(0600));
       }},
      {"a link into the dotfiles",
       [&]() {
         put(dir_ / "dotfiles" / "vane.conf", kPlayersConfig);
         fs::permissions(dir_ / "dotfiles" / "vane.conf", static_cast<fs::perms>(0640));
         fs::create_directories(config().parent_path());
         fs::create_symlink("../../dotfiles/vane.conf", config());
         return std::string();
       },
       "",
       [&]() {
         EXPECT_TRUE(fs::is_symlink(config()));
         saved(dir_ / "dotfiles" / "vane.conf");
         EXPECT_EQ(fs::status(config()).permissions(), static_cast<fs::perms>(0640));
         EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "dotfiles"), {}), 1);
       }},
      {"read-only",
       [&]() {
         asIs();
         fs::permissions(config(), static_cast<fs::perms>(0444));
         return std::string();
       },
       "vane.conf: is read-only; the window choice was not saved",
       [&]() {
         untouched();
         EXPECT_EQ(fs::status(config()).permissions(), static_cast<fs::perms>(0444));
       }},
      {"in a read-only folder",
       [&]() {
         asIs();
         const std::string user = plainUser(dir_ / "config");
         fs::permissions(config().parent_path(), static_cast<fs::perms>(0555));
         return user;
       },
       "vane.conf: its folder cannot be written: Permission denied", untouched},
      {"unreadable",
       [&]() {
         asIs();
         const std::string user = plainUser(dir_ / "config");
         fs::permissions(config(), fs::perms::none);
         return user;
       },
       "vane.conf: cannot open: Permission denied; the file is left as it is", untouched},
      {"a folder",
       [&]() {
         fs::create_directories(config());
         return std::string();
       },
       "vane.conf: is a folder, not a file", [&]() { EXPECT_TRUE(fs::is_directory(config())); }},
      {"a FIFO",
       [&]() {
         fs::create_directories(config().parent_path());
         EXPECT_EQ(::mkfifo(config().c_str(), 0644), 0);
         return std::string();
       },
       "vane.conf: is not a regular file", [&]() { EXPECT_TRUE(fs::is_fifo(config())); }},
      {"a link to /dev/zero",
       [&]() {
         fs::create_directories(config().parent_path());
         fs::create_symlink("/dev/zero", config());
         return std::string();
       },
       "vane.conf: is not a regular file",
       [&]() { EXPECT_EQ(fs::read_symlink(config()), "/dev/zero"); }},
      {"over the cap",
       [&]() {
         put(config(), kPlayersConfig);
         fs::resize_file(config(), kMaxConfigBytes + 1);
         return std::string();
       },
       "vane.conf: larger than the limit of 1048576 bytes",
       [&]() { EXPECT_EQ(fs::file_size(config()), kMaxConfigBytes + 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_ / "config");
    fs::remove_all(dir_ / "dotfiles");
    const std::string user = c.arrange();
    if (user == "-") continue;
    const Outcome o = vane("--replay quit.keys", user);
    fs::permissions(dir_ / "config" / "vane", fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(o.status, kExitOk) << o.err;
    if (c.warning[0] != '\0') {
      EXPECT_EQ(count(o.err, c.warning), 1u) << o.err;
      EXPECT_EQ(count(o.err, "vane.conf"), 1u) << o.err;
    } else {
      EXPECT_EQ(o.err, "");
    }
    c.check();
  }
}

// A full disk under the config: the write fails, one warning says so, the file stays whole.
TEST_F(Files, AFullDiskLeavesTheConfigAsItWas) {
  if (!mountFull([](const fs::path& full) { put(full / "vane" / "vane.conf", kPlayersConfig); })) {
    GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
  }
  const Outcome o =
      run("env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
          "XDG_CONFIG_HOME=" +
          full_.string() + " VANE_DATA=" + VANE_DATA_DIR + " " + VANE_PROGRAM +
          " --window --replay quit.keys");
  EXPECT_EQ(o.status, kExitOk);
  EXPECT_EQ(count(o.err, "vane.conf: cannot write: No space left on device"), 1u) << o.err;
  EXPECT_EQ(slurp(full_ / "vane" / "vane.conf"), kPlayersConfig);
  EXPECT_EQ(std::distance(fs::directory_iterator(full_ / "vane"), {}), 1) << "nothing left behind";
}

// Two games quitting at the same moment, many times over: the file is always one save or the
// other, whole. The saves are the program's own, run in two processes while a third reads.
TEST_F(Files, TwoGamesSavingAtOnceNeverMixTheConfig) {
  const fs::path file = dir_ / "vane.conf";
  platform::DisplayOptions window;
  window.windowMode = platform::WindowMode::Window;
  window.windowWidth = 1280;
  window.windowHeight = 960;
  platform::DisplayOptions screen;
  screen.windowMode = platform::WindowMode::Fullscreen;
  screen.windowWidth = 1920;
  screen.windowHeight = 1080;
  const std::string header = "# many words of the player's own, long enough to be written slowly\n";
  const std::string asWindow = header + withWindowChoice("", window);
  const std::string asScreen = header + withWindowChoice("", screen);
  put(file, asScreen);
  constexpr int kSaves = 150;
  std::vector<pid_t> savers;
  for (const platform::DisplayOptions& choice : {window, screen}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      std::ostringstream warnings;
      for (int i = 0; i < kSaves; ++i) {
        saveWindowChoice(file, choice, warnings);
        saveWindowChoice(file, choice.windowMode == window.windowMode ? screen : window, warnings);
      }
      std::_Exit(warnings.str().empty() ? 0 : 1);
    }
    savers.push_back(pid);
  }
  int reads = 0;
  int mixed = 0;
  std::vector<int> statuses;
  while (statuses.size() < savers.size()) {
    std::vector<uint8_t> bytes;
    if (files::readDataFile(file.c_str(), 4096, bytes).failure == files::ReadFailure::None) {
      const std::string text(bytes.begin(), bytes.end());
      mixed += text != asWindow && text != asScreen;
      ++reads;
    }
    int status = 0;
    if (::waitpid(-1, &status, WNOHANG) > 0) statuses.push_back(status);
  }
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  for (int status : statuses) EXPECT_EQ(status, 0) << "a save warned";
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2) << "nothing left beside it";
}

// Writers that read the file, add a line and write it back take turns under the writer's lock:
// no line is lost, however the two processes meet.
TEST_F(Files, WritersTakeTurnsSoNoLineIsLost) {
  const fs::path file = dir_ / "lines";
  constexpr int kLines = 200;
  std::vector<pid_t> writers;
  for (const char* who : {"a", "b"}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      bool ok = true;
      for (int i = 0; i < kLines && ok; ++i) {
        files::FileWriter writer;
        std::vector<uint8_t> bytes;
        ok = writer.open(file.string());
        files::readDataFile(file.c_str(), size_t{1} << 20, bytes);
        const std::string text = std::string(bytes.begin(), bytes.end()) + who + "\n";
        ok = ok && writer.write(text) && writer.commit();
      }
      std::_Exit(ok ? 0 : 1);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(status, 0);
  }
  const std::string text = slurp(file);
  EXPECT_EQ(count(text, "a\n"), size_t{kLines});
  EXPECT_EQ(count(text, "b\n"), size_t{kLines});
}

// Where `--record` cannot write, it says so before the window opens (status 2); a file that is
// there is replaced only by a whole recording, once the run has ended; a recording lost at the end
// is status 1. Nothing is left beside the file.
TEST_F(Files, ARecordingReplacesItsFileOnlyWhenTheRunEnds) {
  constexpr const char* kOld = "# seed 1\n5 LEFT\n";
  put(dir_ / "old.keys", kOld);
  put(dir_ / "read-only.keys", kOld);
  fs::permissions(dir_ / "read-only.keys", static_cast<fs::perms>(0444));
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0644), 0);
  for (const char* name : kDataFiles) put(dir_ / "broken" / name, "not data");
  struct Case {
    const char* name;
    std::string arguments;
    int status;
    const char* said;
    const char* file;  // what must hold kOld afterwards; "" for none
  };
  const Case cases[] = {
      {"to /dev/full", "--record /dev/full", kExitBadCommandLine,
       "vane: /dev/full: is not a regular file", ""},
      {"to a FIFO", "--record fifo", kExitBadCommandLine, "fifo: is not a regular file", ""},
      {"replaying a FIFO", "--replay fifo --record old.keys", kExitBadCommandLine,
       "fifo: is not a regular file", "old.keys"},
      {"to a read-only file", "--record read-only.keys", kExitBadCommandLine,
       "read-only.keys: is read-only", "read-only.keys"},
      {"into the file replayed", "--replay old.keys --record ./old.keys", kExitBadCommandLine,
       "old.keys: is the run being replayed", "old.keys"},
      {"without data", "--replay quit.keys --record old.keys --data broken", kExitBadData,
       "ERROR:", "old.keys"},
      {"over an old one", "--replay quit.keys --record old.keys", kExitOk, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome o = vane(c.arguments);
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_NE(o.err.find(c.said), std::string::npos) << o.err;
    if (c.file[0] != '\0') {
      EXPECT_EQ(slurp(dir_ / c.file), kOld);
    }
  }
  // A version-2 replay of the 29 frames that ran, ended by the Escape before frame 30.
  const std::string recorded = slurp(dir_ / "old.keys");
  EXPECT_EQ(recorded.rfind("# seed 7\n# vane replay 2\n", 0), 0u) << recorded;
  EXPECT_NE(recorded.find("\n# start boot\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\n# end 29 score -1\n30 ESCAPE  # the run ended here\n"),
            std::string::npos)
      << recorded;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
  }
}

TEST_F(Files, ARecordingLostToAFullDiskIsStatusOneAndTheOldFileStays) {
  if (!mountFull([](const fs::path& full) { put(full / "run.keys", "# seed 1\n5 LEFT\n"); })) {
    GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
  }
  const Outcome o = vane("--replay quit.keys --record full/run.keys");
  EXPECT_EQ(o.status, kExitNotRecorded) << o.err;
  EXPECT_EQ(count(o.err, "run.keys: cannot write: No space left on device; the recording is lost"),
            1u)
      << o.err;
  EXPECT_EQ(slurp(full_ / "run.keys"), "# seed 1\n5 LEFT\n");
}

// The tools' output: /dev/full is refused by name, a full disk is named, status 1 both, and a
// file that was there stays whole.
TEST_F(Files, ToolsSayWhenTheirOutputIsLostAndKeepTheOldFile) {
  const std::string data = VANE_DATA_DIR;
  ASSERT_EQ(run(std::string(VANE_SPR) + " unpack " + data + "/eb.spr eb").status, 0);
  ASSERT_EQ(run(std::string(VANE_SND) + " unpack " + data + "/1.snd effects").status, 0);
  constexpr const char* kOld = "the old file";
  const bool full = mountFull([&](const fs::path& at) {
    for (const char* name : {"eb.spr", "1.snd", "run.trace"}) put(at / name, kOld);
  });
  struct Case {
    std::string command;
    const char* said;
    const char* file;  // under the full disk, holding kOld afterwards
  };
  const std::string sim = std::string(VANE_SIM) + " --seed 1 --frames 3 ";
  const Case cases[] = {
      {std::string(VANE_SPR) + " pack eb /dev/full", "vane-spr: /dev/full: is not a regular file",
       ""},
      {sim + "--trace /dev/full", "vane-sim: /dev/full: is not a regular file", ""},
      {std::string(VANE_SPR) + " pack eb full/eb.spr", "full/eb.spr: cannot write: No space left",
       "eb.spr"},
      {std::string(VANE_SND) + " pack effects full/1.snd",
       "full/1.snd: cannot write: No space left", "1.snd"},
      {sim + "--trace full/run.trace", "run.trace: cannot write: No space left", "run.trace"},
      {sim + "--png full/pictures", "frame-000001.png: cannot write: No space left", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    if (c.command.find("full/") != std::string::npos && !full) continue;
    const Outcome o = run(c.command);
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_EQ(count(o.err, c.said), 1u) << o.err;
    EXPECT_EQ(count(o.err, "\n"), 1u) << o.err;
    if (c.file[0] != '\0') {
      EXPECT_EQ(slurp(full_ / c.file), kOld);
    }
  }
}

// The failures nothing can go on from end each program with one line and its documented status,
// never an abort: memory running out while a large sprite file loads (`ulimit -v`), file
// descriptors running out (named so, not as a missing file), an unusable TMPDIR, a working
// directory that was deleted.
TEST_F(Files, OutOfMemoryAndAFailingFileSystemEndWithOneLine) {
  // Four opaque frames of 1900 x 2000 pixels: a sprite file of 29 MB, under the cap, that takes
  // twice that to load.
  tools::Picture picture;
  picture.width = 1900;
  picture.height = 2000;
  picture.pixels.assign(size_t{1900} * 2000, 0x1234);
  picture.opaque.assign(picture.pixels.size(), 1);
  const SpriteFrame frame = tools::encodeFrame(picture);
  fs::create_directories(dir_ / "big");
  for (const char* name : kDataFiles) {
    fs::copy_file(fs::path(VANE_DATA_DIR) / name, dir_ / "big" / name);
  }
  ASSERT_EQ(tools::writeFile((dir_ / "big" / "player.spr").string(),
                             tools::spriteFileBytes({frame, frame, frame, frame})),
            "");
  fs::create_directories(dir_ / "gone");
  struct Case {
    const char* name;
    std::string command;
    int status;
    const char* said;
  };
  // Enough memory for each program with the data the build makes, not for the large file.
  const std::string tight = "ulimit -v 65536 && ";
  const std::string quiet = "env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " +
                            std::string("XDG_CONFIG_HOME=") + (dir_ / "config").string() + " ";
  const std::string sim = std::string(VANE_SIM) + " --seed 1 --frames 2 ";
  const Case cases[] = {
      {"vane, out of memory", "sh -c '" + tight + quiet + VANE_PROGRAM + " --data big'",
       kExitSystemFailure, "vane: out of memory while loading player.spr"},
      {"vane-sim, out of memory", "sh -c '" + tight + sim + "--data big'", kExitSystemFailure,
       "vane-sim: out of memory while loading player.spr"},
      {"vane-spr, out of memory", "sh -c '" + tight + VANE_SPR + " unpack big/player.spr frames'",
       1, "vane-spr: out of memory"},
      {"vane, out of file descriptors",
       "sh -c 'cd " VANE_DATA_DIR " && exec 3<&- 4<&- 5<&- 6<&- 7<&- 8<&- 9<&- && ulimit -n 4 && "
       "exec " +
           quiet + VANE_PROGRAM + "'",
       kExitBadData, "ERROR: player.spr: cannot open: Too many open files"},
      {"vane-sim, no TMPDIR", "env TMPDIR=" + (dir_ / "none").string() + " " + sim + "--data none",
       kExitSystemFailure, "vane-sim: cannot make an empty data folder: No such file or directory"},
      {"vane-sim in a deleted folder",
       "sh -c 'cd gone && rmdir ../gone && exec " + sim + "--data " + VANE_DATA_DIR + "'", kExitOk,
       ""},
      {"vane --record in a deleted folder",
       "sh -c 'mkdir gone && cd gone && rmdir ../gone && exec " + quiet + VANE_PROGRAM +
           " --record run.keys'",
       kExitBadCommandLine, "vane: run.keys: No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's shadow memory alone is larger than any limit worth testing.
    if (c.command.find("ulimit") != std::string::npos) continue;
#endif
    const Outcome o = run(c.command);
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_NE(o.err.find(c.said), std::string::npos) << o.err;
    EXPECT_LE(count(o.err, "\n"), 1u) << o.err;
  }
}

}  // namespace
}  // namespace vane
