// SPDX-License-Identifier: GPL-3.0-or-later
// Every program's options: --help lists its table, the manual page and the README name the same
// options, and what the table does not hold is refused with the usage.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Program {
  const char* name;
  const char* path;
  const char* manPage;  // in packaging/man, nullptr for a program that is not installed
};

const Program kPrograms[] = {
    {"vane", VANE_PROGRAM, "vane.6"},     {"vane-sim", VANE_SIM, "vane-sim.1"},
    {"vane-bot", VANE_BOT, nullptr},      {"vane-forge", VANE_FORGE, "vane-forge.1"},
    {"vane-spr", VANE_SPR, "vane-spr.1"}, {"vane-snd", VANE_SND, "vane-snd.1"},
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome run(const std::string& program, const std::string& arguments) {
  const fs::path dir = fs::temp_directory_path();
  const std::string tag = std::to_string(::getpid());
  const fs::path out = dir / ("vane-options-out-" + tag);
  const fs::path err = dir / ("vane-options-err-" + tag);
  const std::string command = "env -u DISPLAY timeout 60 " + program + " " + arguments + " >" +
                              out.string() + " 2>" + err.string() + " </dev/null";
  const int raw = std::system(command.c_str());
  Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
  fs::remove(out);
  fs::remove(err);
  return o;
}

// The long options named in `text`, each written `dashes` and a name of letters, digits and
// `hyphen`s ("--png-every"; in a manual page "\-\-png\-every").
std::set<std::string> longOptions(const std::string& text, const std::string& dashes,
                                  const std::string& hyphen) {
  std::set<std::string> names;
  for (size_t at = text.find(dashes); at != std::string::npos; at = text.find(dashes, at)) {
    at += dashes.size();
    std::string name;
    while (at < text.size()) {
      if (std::isalnum(static_cast<unsigned char>(text[at])) != 0) {
        name += text[at++];
      } else if (!name.empty() && text.compare(at, hyphen.size(), hyphen) == 0) {
        name += '-';
        at += hyphen.size();
      } else {
        break;
      }
    }
    if (!name.empty()) names.insert(name);
  }
  return names;
}

// The options of --help's "Options:" list.
std::set<std::string> helpOptions(const std::string& help) {
  const size_t from = help.find("\nOptions:\n");
  const size_t to = help.find("\n\n", from + 1);
  return longOptions(help.substr(from, to - from), "--", "-");
}

// The options a manual page documents: its synopsis and the tags of its lists.
std::set<std::string> manPageOptions(const std::string& page) {
  std::istringstream lines(page);
  std::string documented;
  bool synopsis = false;
  bool tag = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(".SH", 0) == 0) synopsis = line == ".SH SYNOPSIS";
    if (synopsis || tag) documented += line + "\n";
    tag = line == ".TP";
  }
  return longOptions(documented, "\\-\\-", "\\-");
}

TEST(OptionTables, HelpListsTheTableAndTheManualPageAndTheReadmeTheSameOptions) {
  const std::string readme = slurp(fs::path(VANE_SOURCE_DIR) / "README.md");
  for (const Program& p : kPrograms) {
    const Outcome o = run(p.path, "--help");
    EXPECT_EQ(o.status, 0) << p.name;
    EXPECT_EQ(o.out.rfind(std::string("usage: ") + p.name, 0), 0u) << p.name << ":\n" << o.out;
    EXPECT_TRUE(o.err.empty()) << p.name << ": " << o.err;
    const std::set<std::string> listed = helpOptions(o.out);
    EXPECT_TRUE(listed.contains("help")) << p.name;
    if (p.manPage != nullptr) {
      const std::string page = slurp(fs::path(VANE_SOURCE_DIR) / "packaging/man" / p.manPage);
      EXPECT_EQ(manPageOptions(page), listed) << p.manPage << " and " << p.name << " --help";
    }
    for (const std::string& option : listed) {
      EXPECT_NE(readme.find("--" + option), std::string::npos)
          << "README.md does not name " << p.name << " --" << option;
    }
  }
}

// An option outside the table, an abbreviated one and a value for an option that takes none are
// each named on stderr with the usage, status 2, nothing on stdout.
TEST(OptionTables, WhatTheTableDoesNotHoldIsRefusedWithTheUsage) {
  for (const Program& p : kPrograms) {
    for (const char* bad : {"--no-such-option", "--hel", "--help=please"}) {
      const Outcome o = run(p.path, bad);
      EXPECT_EQ(o.status, 2) << p.name << " " << bad;
      EXPECT_TRUE(o.out.empty()) << p.name << " " << bad << ": " << o.out;
      EXPECT_NE(o.err.find(std::string(bad).substr(0, std::string(bad).find('='))),
                std::string::npos)
          << p.name << " " << bad << ": " << o.err;
      EXPECT_NE(o.err.find("usage: "), std::string::npos) << p.name << " " << bad << ": " << o.err;
    }
  }
}

TEST(OptionTables, VaneBotRefusesEachNumberItCannotUseByName) {
  struct Case {
    const char* arguments;
    const char* named;
  };
  const Case cases[] = {
      {"x 1 1 10", "SEED"},
      {"4294967296 1 1 10", "SEED"},
      {"1 3 1 10", "STAGE"},
      {"1 1 0 10", "SHIP"},
      {"1 1 1 0", "FRAMES"},
      {"1 1 1 10x", "FRAMES"},
      {"1 1 1 99999999999999999999", "FRAMES"},
      {"--wander 1 -3", "FRAMES"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(VANE_BOT, c.arguments);
    EXPECT_EQ(o.status, 2) << c.arguments;
    EXPECT_TRUE(o.out.empty()) << c.arguments;
    EXPECT_EQ(o.err.rfind(std::string("vane-bot: ") + c.named + " must be", 0), 0u)
        << c.arguments << ": " << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << c.arguments << ": one line, " << o.err;
  }
}

}  // namespace
