// SPDX-License-Identifier: GPL-3.0-or-later
// A program's options as one table: read from the command line with getopt_long, and its --help.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vane {

// One row of a program's table; the program tells its options apart by `id`.
struct OptionSpec {
  int id;
  std::string_view name;   // given as --name (never abbreviated)
  std::string_view value;  // what its value is ("DIR", "fit|integer"); empty when it takes none
  std::string_view help;   // its line in --help
  char letter = 0;         // also given as -letter, 0 for none
};

struct GivenOption {
  const OptionSpec* spec;
  std::string value;
};

struct ParsedArguments {
  enum class Fault { None, Unknown, MissingValue, UnwantedValue };
  std::vector<GivenOption> options;   // in the order given
  std::vector<std::string> operands;  // the other arguments, in order, from the first on
  Fault fault = Fault::None;
  std::string culprit;  // the argument at fault as given ("-x", "--bogus"), or "--name"
};

// Reads `args` (the program's name left out) up to the first argument that is no option, or
// past "--"; stops at the first fault.
ParsedArguments parseArguments(std::span<const OptionSpec> table,
                               const std::vector<std::string>& args);

// The fault as one line: "unknown option -x", "missing value after --scale", "--mute takes no
// value"; empty without one.
std::string faultText(const ParsedArguments& parsed);

// One line per option for --help: its forms and value, then what it does, aligned in columns.
std::string optionLines(std::span<const OptionSpec> table);

// What a tool does before its work: for a fault, "<program>: <fault>" and `usage` on stderr,
// status 2; for --help (the option named "help"), `usage` and the option lines on stdout, status
// 0; otherwise nothing, and no status.
std::optional<int> helpOrFault(const char* program, const char* usage,
                               std::span<const OptionSpec> table, const ParsedArguments& parsed);

// The program's arguments after its name, as UTF-8. Windows hands `argv` over in the system's
// ANSI code page, so there they are read again from the wide command line.
std::vector<std::string> programArguments(int argc, char** argv);

// A decimal number filling all of `text` that fits a long long (as strtoll reads it), or nothing.
std::optional<long long> decimalNumber(const std::string& text);

}  // namespace vane
