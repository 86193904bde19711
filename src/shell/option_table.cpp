// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a command line over an option table with getopt_long, and the table's --help lines.
#include "shell/option_table.h"

#include <getopt.h>
#ifdef _WIN32
#include <windows.h>
// After windows.h, which declares its types.
#include <shellapi.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vane {

namespace {

using Fault = ParsedArguments::Fault;

// getopt_long's code for the long form of the table's option `i`, above every letter.
constexpr int kLongCode = 256;

std::string longForm(const OptionSpec& spec) {
  std::string form = "--";
  form += spec.name;
  return form;
}

// True when `given` ("--name" or "--name=value") names the option in full: getopt_long would
// take any unambiguous abbreviation, which would make a later option break scripts that use one.
bool namedInFull(const std::string& given, const OptionSpec& spec) {
  const std::string form = longForm(spec);
  return given.compare(0, form.size(), form) == 0 &&
         (given.size() == form.size() || given[form.size()] == '=');
}

const OptionSpec* withLetter(std::span<const OptionSpec> table, int letter) {
  for (const OptionSpec& spec : table) {
    if (spec.letter != 0 && spec.letter == letter) return &spec;
  }
  return nullptr;
}

// The option a code of getopt_long stands for: a long form's or a letter's.
const OptionSpec* optionFor(std::span<const OptionSpec> table, int code) {
  if (code >= kLongCode && static_cast<size_t>(code - kLongCode) < table.size()) {
    return &table[static_cast<size_t>(code - kLongCode)];
  }
  return withLetter(table, code);
}

// What getopt_long reads: the table's long forms and letters, and an argv of its own.
struct GetoptInput {
  std::vector<std::string> names;
  std::vector<option> longOptions;
  std::string letters = "+:";  // stop at the first operand; report a missing value as ':'
  std::vector<std::string> words;
  std::vector<char*> argv;

  GetoptInput(std::span<const OptionSpec> table, const std::vector<std::string>& args) {
    names.reserve(table.size());
    for (size_t i = 0; i < table.size(); ++i) {
      const OptionSpec& spec = table[i];
      names.emplace_back(spec.name);
      const int hasArg = spec.value.empty() ? no_argument : required_argument;
      longOptions.push_back(
          option{names.back().c_str(), hasArg, nullptr, kLongCode + static_cast<int>(i)});
      if (spec.letter != 0) {
        letters += spec.letter;
        if (!spec.value.empty()) letters += ':';
      }
    }
    longOptions.push_back(option{nullptr, 0, nullptr, 0});
    words.emplace_back("program");
    words.insert(words.end(), args.begin(), args.end());
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
  }
  int argc() const { return static_cast<int>(words.size()); }
};

}  // namespace

ParsedArguments parseArguments(std::span<const OptionSpec> table,
                               const std::vector<std::string>& args) {
  ParsedArguments parsed;
  GetoptInput input(table, args);
  // getopt_long keeps its place in globals: an optind of 0 starts it afresh (glibc, musl and
  // mingw-w64 alike), an opterr of 0 keeps its own messages off stderr.
  optind = 0;
  opterr = 0;
  for (;;) {
    const int at = optind == 0 ? 1 : optind;  // the word being read, for a long form
    const int code = getopt_long(input.argc(), input.argv.data(), input.letters.c_str(),
                                 input.longOptions.data(), nullptr);
    if (code == -1) break;
    const std::string word = at < input.argc() ? input.words[static_cast<size_t>(at)] : "";
    const bool longWord = word.rfind("--", 0) == 0;
    const OptionSpec* spec =
        code == '?' || code == ':' ? optionFor(table, optopt) : optionFor(table, code);
    if (spec != nullptr && longWord && !namedInFull(word, *spec)) spec = nullptr;
    if (spec == nullptr) {
      parsed.fault = Fault::Unknown;
      parsed.culprit = longWord || optopt == 0 ? word : std::string{'-', static_cast<char>(optopt)};
      break;
    }
    if (code == '?' || code == ':') {
      parsed.fault = code == ':' ? Fault::MissingValue : Fault::UnwantedValue;
      parsed.culprit = longWord ? longForm(*spec) : std::string{'-', spec->letter};
      break;
    }
    parsed.options.push_back(GivenOption{spec, optarg != nullptr ? optarg : ""});
  }
  if (parsed.fault == Fault::None) {
    for (int i = optind; i < input.argc(); ++i) {
      parsed.operands.push_back(input.words[static_cast<size_t>(i)]);
    }
  }
  return parsed;
}

std::string faultText(const ParsedArguments& parsed) {
  switch (parsed.fault) {
    case Fault::None:
      return {};
    case Fault::Unknown:
      return "unknown option " + parsed.culprit;
    case Fault::MissingValue:
      return "missing value after " + parsed.culprit;
    case Fault::UnwantedValue:
      return parsed.culprit + " takes no value";
  }
  return {};
}

std::string optionLines(std::span<const OptionSpec> table) {
  constexpr size_t kHelpColumn = 23;
  std::string text;
  for (const OptionSpec& spec : table) {
    std::string line = "  ";
    if (spec.letter != 0) line += std::string{'-', spec.letter} + ", ";
    line += longForm(spec);
    if (!spec.value.empty()) {
      line += ' ';
      line += spec.value;
    }
    // Forms too wide for the column get a line of their own.
    if (line.size() + 2 > kHelpColumn) {
      text += line + '\n';
      line.clear();
    }
    line.resize(kHelpColumn, ' ');
    text += line;
    text += spec.help;
    text += '\n';
  }
  return text;
}

std::optional<int> helpOrFault(const char* program, const char* usage,
                               std::span<const OptionSpec> table, const ParsedArguments& parsed) {
  if (parsed.fault != Fault::None) {
    std::fprintf(stderr, "%s: %s\n%s", program, faultText(parsed).c_str(), usage);
    return 2;
  }
  for (const GivenOption& given : parsed.options) {
    if (given.spec->name == "help") {
      std::printf("%s\nOptions:\n%s", usage, optionLines(table).c_str());
      return 0;
    }
  }
  return std::nullopt;
}

std::optional<long long> decimalNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE) return std::nullopt;
  return v;
}

#ifdef _WIN32
std::vector<std::string> programArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
    arg.pop_back();  // the closing NUL
    args.push_back(arg);
  }
  LocalFree(wide);
  return args;
}
#else
std::vector<std::string> programArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}
#endif

}  // namespace vane
