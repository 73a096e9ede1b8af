#include "frontend/command_line.h"

#ifdef _WIN32
const char kPathSeparator = '\\';
#else
const char kPathSeparator = '/';
#endif

std::string buildUsageText(const std::string& programName) {
  static const char* const kSyntaxLines[] = {
      " [-from <MM/DD/YYYY | DD/MM/YYYY>]",
      " [-to <MM/DD/YYYY | DD/MM/YYYY>]",
      " [-a \"Account Name\"]",
      " [-D decimalSymbol]",
      " [-d [day | month]]",
      " [-y <2 | 4(default)>]",
      " [-s dateSeparatorSymbol]",
      " [-h <: | . | ,>]",
      " [-c]",
      " [-r]",
      " [-l \"QMX Database location\"]",
      " [-o \"CSVOutputFilename.csv\"]",
      " [-q \"QIFOutputFilename.qif\"]",
  };
  static const char* const kHelpLines[] = {
      "Use -a to specify only one account to export (default is all)",
      "Use -D to specify the single character decimal symbol",
      "Use -d to specify date format:",
      "  - day for DD/MM/YYYY",
      "  - month for MM/DD/YYYY (default)",
      "Use -y to specify using 2 digit or 4 digit (default) for year",
      "Use -s to specify the single character date separator symbol",
      "Use -h to specify time format",
      "  - : for HH:MM",
      "  - . for HH.MM",
      "  - , for HH,MM",
      "Use -c to export only cleared transactions",
      "Use -r to export only reconciled transactions",
  };
  std::string text = "\nProgram build date: January 15, 2003.\n\nSyntax:\n";
  text += programName;
  text += "\n";
  for (const char* line : kSyntaxLines) {
    text += line;
    text += "\n";
  }
  text += "\n";
  for (const char* line : kHelpLines) {
    text += line;
    text += "\n";
  }
  text += "\n";
  text += "Example:\n";
  text += programName;
  text += " -from 28/02/2001 -to 13/04/2001 -d day -D . -c";
  text += " -a \"US Checking\"";
  text += " -l \"C:\\Program Files\\Palm\\UserId\\Backup\\\"\n";
  text += "Use -u to write texts as UTF-8 (default is the handheld's own characters)\n";
  return text;
}

bool isHelpRequest(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1)
    return false;
  const std::string& argument = arguments[0];
  return (!argument.empty() && argument[0] == '?') || (argument.size() > 1 && argument[1] == '?') ||
         argument == "--help";
}

bool isVersionRequest(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 && arguments[0] == "--version";
}

namespace {

// The first character of a symbol value; an empty value gives empty.
std::string firstCharacter(const std::string& value) {
  return value.substr(0, 1);
}

}  // namespace

void parseSwitches(const std::vector<std::string>& arguments, CommandLine& commandLine) {
  RunOptions& options = commandLine.options;
  size_t i = 0;
  while (i < arguments.size()) {
    const std::string& name = arguments[i];
    if (name == "-c") {
      options.clearedOnly = true;
      ++i;
      continue;
    }
    if (name == "-r") {
      options.reconciledOnly = true;
      ++i;
      continue;
    }
    if (name == "-u") {
      options.utf8Output = true;
      ++i;
      continue;
    }
    static const char* const kValueSwitches[] = {"-from", "-to", "-a", "-D", "-d", "-y",
                                                 "-s",    "-h",  "-o", "-q", "-l"};
    bool takesValue = false;
    for (const char* candidate : kValueSwitches)
      takesValue = takesValue || name == candidate;
    if (!takesValue) {
      ++i;  // an unrecognised switch or a stray value
      continue;
    }
    if (i + 1 >= arguments.size())
      break;  // a value switch at the end has no value
    const std::string& value = arguments[i + 1];
    if (name == "-from") {
      commandLine.fromText = value;
    } else if (name == "-to") {
      commandLine.toText = value;
    } else if (name == "-a") {
      options.accountName = value;
    } else if (name == "-D") {
      options.decimalSymbol = firstCharacter(value);
    } else if (name == "-d") {
      if (value == "day")
        options.monthFirst = false;
      if (value == "month")
        options.monthFirst = true;
    } else if (name == "-y") {
      if (value == "2")
        options.twoDigitYear = true;
      if (value == "4")
        options.twoDigitYear = false;
    } else if (name == "-s") {
      options.dateSeparator = firstCharacter(value);
    } else if (name == "-h") {
      options.timeSeparator = firstCharacter(value);
    } else if (name == "-o") {
      commandLine.csvFileName = value;
      commandLine.writeCsvFile = true;
    } else if (name == "-q") {
      commandLine.qifFileName = value;
      commandLine.writeQifFile = true;
    } else if (name == "-l") {
      commandLine.databaseFolder = value;
    }
    i += 2;
  }
}

void ensureTrailingSeparator(std::string& folder) {
  if (!folder.empty() && folder.back() != kPathSeparator)
    folder += kPathSeparator;
}
