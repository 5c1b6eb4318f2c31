// ostiva-cli: profile records without the desktop program.
//   dump PROFILE... [--speed V] [--language-file PATH]   one JSON line per profile
//   generate OUT.xml [--seed N] [--speed V] [--pairs N]  one synthetic profile file
//   generate-demo DIR                                     the demo project
//   search DIR [--qi-top L] [--qi-zij L] [--operator T] [--switch T] [--weld T]
//              [--language-file PATH]                     the profiles that meet every criterion
//   report --kind K [--language-file PATH] -o OUT.pdf PROFILE...   the printed pages as PDF
//   report --kind K [--language-file PATH] --compare F1 F2 -o OUT.pdf   one comparison page
//   summary DIR [--speed V] [--format csv|json] [--separator C] [-o FILE] [--language-file PATH]
//                                                         one row per profile: indices, verdict,
//                                                         highest speed within the norm
//   set --field NAME=VALUE [--field NAME=VALUE]... [--language-file PATH] PROFILE...
//                                                         header fields written as the
//                                                         project window saves them
//   --help, --version; COMMAND --help prints that command's usage
// A language file named with --language-file must exist; without it the desktop program's
// current one is read.
#include "cli/RecordJson.h"
#include "cli/SetCommand.h"
#include "cli/SummaryCommand.h"
#ifdef OSTIVA_CLI_REPORT
#include "cli/ReportCommand.h"
#endif
#include "core/IniFile.h"
#include "core/ProfileSearch.h"
#include "core/ProgramFiles.h"
#include "core/ProjectData.h"
#include "testdata/ProfileGenerator.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace ostiva;

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

// The usage of each command, as `COMMAND --help` prints it.
const std::pair<const char*, const char*> kCommandUsage[] = {
    {"dump", "ostiva-cli dump PROFILE... [--speed V] [--language-file PATH]\n"},
    {"generate", "ostiva-cli generate OUT.xml [--seed N] [--speed V] [--pairs N]\n"},
    {"generate-demo", "ostiva-cli generate-demo DIR\n"},
    {"search", "ostiva-cli search DIR [--qi-top LIMIT] [--qi-zij LIMIT] [--operator TEXT]\n"
               "                  [--switch TEXT] [--weld TEXT] [--language-file PATH]\n"},
    {"summary", "ostiva-cli summary DIR [--speed V] [--format csv|json] [--separator C]\n"
                "                  [-o FILE] [--language-file PATH]\n"},
    {"set", "ostiva-cli set --field NAME=VALUE [--field NAME=VALUE]... [--language-file PATH]\n"
            "                  PROFILE...\n"
            "         NAME: Device Datum Tijd Eigenaar Plaats Spoor Km Rail LasType LasSer\n"
            "               LasNr WerkNummer Wissel Snelheid (as dump names them)\n"},
#ifdef OSTIVA_CLI_REPORT
    {"report", "ostiva-cli report --kind K [--language-file PATH] -o OUT.pdf PROFILE...\n"
               "       ostiva-cli report --kind K [--language-file PATH] --compare F1 F2 "
               "-o OUT.pdf\n"},
#endif
};

std::string Usage() {
    std::string usage;
    for (const auto& [command, text] : kCommandUsage)
        usage += (usage.empty() ? "usage: " : "       ") + std::string(text);
    return usage + "       ostiva-cli --help | --version\n";
}

std::string CommandUsage(const std::string& command) {
    for (const auto& [name, text] : kCommandUsage)
        if (command == name)
            return "usage: " + std::string(text);
    return Usage();
}

// `COMMAND --help`: the command's usage on stdout, exit status 0.
struct HelpRequest {
    std::string command;
};

struct UsageError {
    std::string message;
};

// Positional arguments and "--name value" options of one subcommand.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;

    std::optional<std::string> Option(const std::string& name) const {
        std::optional<std::string> value;
        for (const auto& [n, v] : options)
            if (n == name)
                value = v;
        return value;
    }
};

// A language file named on the command line must be there: a mistyped name would otherwise
// read every caption and limit as "Error".
std::string ExplicitLanguageFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw UsageError{"language file " + path + " does not exist"};
    if (!std::filesystem::is_regular_file(path, ec) || !std::ifstream(path).good())
        throw UsageError{"language file " + path + " cannot be read"};
    return path;
}

Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& known) {
    Arguments a;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help")
            throw HelpRequest{argv[1]};
        if (arg.rfind("--", 0) != 0 && arg != "-o") {
            a.positional.push_back(arg);
            continue;
        }
        bool isKnown = false;
        for (const std::string& k : known)
            isKnown = isKnown || k == arg;
        if (!isKnown)
            throw UsageError{"unknown option " + arg};
        if (i + 1 >= argc)
            throw UsageError{"option " + arg + " needs a value"};
        a.options.emplace_back(arg, argv[++i]);
        if (arg == "--language-file")
            ExplicitLanguageFile(a.options.back().second);
    }
    return a;
}

int WholeNumber(const std::string& text, const std::string& option, int lo, int hi) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
        throw UsageError{option + " needs a whole number from " + std::to_string(lo) + " to " +
                         std::to_string(hi)};
    return value;
}

// A quality limit: a decimal number, so that a mistyped one is not silently read as 0.
std::string DecimalLimit(const std::string& text, const std::string& option) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        throw UsageError{option + " needs a decimal number"};
    return text;
}

// The table must not replace a profile of the folder, nor become one (a zq*.xml beside them),
// under whatever name the folder or the file is given.
void RefuseToNameProfile(const std::string& output, const std::string& directory) {
    const ProfileClash clash = ClashWithProfiles(output, directory);
    if (!clash.replaced.empty())
        throw UsageError{"-o " + output + " names the profile " + clash.replaced};
    if (clash.becomesProfile)
        throw UsageError{"-o " + output + " would be a profile of " + directory};
}

std::filesystem::path ExecutableDirectory(const char* argv0) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

// The language file the desktop program beside this tool would use now (for an installed
// program: the user's settings and copies, or the files in ../share/ostiva).
std::string DefaultLanguageFile(const char* argv0) {
    const std::filesystem::path folder = ExecutableDirectory(argv0);
    const std::string program = (folder / "ostiva").string();
    const bool writable = FolderWritable(folder.string());
    const std::string user = UserConfigFolder();
    const IniFile settings(ReadableProgramFile(SettingsFilePath(program), writable, user));
    return ReadableProgramFile(
        LanguageFilePath(program, settings.ReadString("Software", "Language", "EN")), writable,
        user);
}

// The language file a command reads: the one named on the command line, else the program's own.
// Throws IniError when the program's own cannot be found.
std::string LanguageFileOf(const Arguments& a, const char* argv0) {
    const std::string named = a.Option("--language-file").value_or("");
    return named.empty() ? DefaultLanguageFile(argv0) : named;
}

// LanguageFileOf, or nullopt after saying on stderr why there is none.
std::optional<std::string> LanguageFileOrSayWhy(const Arguments& a, const char* argv0) {
    try {
        return LanguageFileOf(a, argv0);
    } catch (const IniError& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return std::nullopt;
    }
}

int Dump(int argc, char** argv) {
    const Arguments a = ParseArguments(argc, argv, {"--speed", "--language-file"});
    if (a.positional.empty())
        throw UsageError{"dump needs at least one profile file"};
    const std::string speed = a.Option("--speed").value_or("");
    int status = 0;
    const std::optional<std::string> languageFile = LanguageFileOrSayWhy(a, argv[0]);
    if (!languageFile)
        return kExitFailure;
    for (const std::string& path : a.positional) {
        try {
            const TProjectData record(path, speed, *languageFile);
            std::cout << cli::RecordToJson(record) << "\n";
        } catch (const IniError& e) {
            std::cerr << "ostiva-cli: " << path << ": " << e.what() << "\n";
            status = kExitFailure;
        }
    }
    return status;
}

// Prints the names of the profiles of DIR that meet every criterion given, in the order the
// project window lists them, and names each profile that could not be read on stderr. Exit
// status 0 when one met them, 1 when none did.
int Search(int argc, char** argv) {
    const Arguments a = ParseArguments(
        argc, argv,
        {"--qi-top", "--qi-zij", "--operator", "--switch", "--weld", "--language-file"});
    if (a.positional.size() != 1)
        throw UsageError{"search needs one project directory"};
    SearchCriteria c;
    if (const auto limit = a.Option("--qi-top")) {
        c.qiTopOn = true;
        c.qiTopLimit = DecimalLimit(*limit, "--qi-top");
    }
    if (const auto limit = a.Option("--qi-zij")) {
        c.qiZijOn = true;
        c.qiZijLimit = DecimalLimit(*limit, "--qi-zij");
    }
    const struct {
        const char* option;
        bool SearchCriteria::*on;
        std::string SearchCriteria::*text;
    } texts[] = {{"--operator", &SearchCriteria::operatorOn, &SearchCriteria::operatorText},
                 {"--switch", &SearchCriteria::switchOn, &SearchCriteria::switchText},
                 {"--weld", &SearchCriteria::weldNumberOn, &SearchCriteria::weldNumberText}};
    for (const auto& t : texts) {
        if (const auto text = a.Option(t.option)) {
            c.*t.on = true;
            c.*t.text = *text;
        }
    }
    const std::string& directory = a.positional[0];
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::cerr << "ostiva-cli: " << directory << " is not a directory\n";
        return kExitFailure;
    }
    std::optional<SearchResult> found;
    try {
        found =
            SearchProfiles(directory, ListProfileFiles(directory), c, LanguageFileOf(a, argv[0]));
    } catch (const IniError& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return kExitFailure;
    }
    for (const std::string& name : found->found)
        std::cout << name << "\n";
    for (const UnreadableProfile& file : found->unreadable)
        std::cerr << "ostiva-cli: " << file.name << " could not be read: " << file.message << "\n";
    return found->found.empty() ? kExitFailure : 0;
}

// Rewrites header fields of each profile as the project window's Save would after the same
// typing. Exit status 0 when every profile was written, 1 when one was not (each named on
// stderr, left as it was).
int Set(int argc, char** argv) {
    const Arguments a = ParseArguments(argc, argv, {"--field", "--language-file"});
    std::vector<cli::FieldValue> fields;
    for (const auto& [name, value] : a.options) {
        if (name != "--field")
            continue;
        try {
            fields.push_back(cli::ParseFieldAssignment(value));
        } catch (const cli::FieldError& e) {
            throw UsageError{e.what()};
        }
    }
    if (fields.empty())
        throw UsageError{"set needs at least one --field NAME=VALUE"};
    if (a.positional.empty())
        throw UsageError{"set needs at least one profile file"};
    const std::optional<std::string> languageFile = LanguageFileOrSayWhy(a, argv[0]);
    if (!languageFile)
        return kExitFailure;
    return cli::SetHeaderFields(fields, a.positional, *languageFile, std::cerr);
}

// The profiles of DIR as one table. Exit status 0 when every profile was read, 1 when one was
// not (its row is still written, with the message).
int Summary(int argc, char** argv) {
    const Arguments a =
        ParseArguments(argc, argv, {"--speed", "--format", "--separator", "-o", "--language-file"});
    if (a.positional.size() != 1)
        throw UsageError{"summary needs one project directory"};
    cli::SummaryRequest r;
    r.directory = a.positional[0];
    if (const auto speed = a.Option("--speed")) {
        WholeNumber(*speed, "--speed", 0, 100000);
        r.speed = *speed;
    }
    const std::string format = a.Option("--format").value_or("csv");
    if (format != "csv" && format != "json")
        throw UsageError{"--format needs csv or json"};
    r.json = format == "json";
    if (const auto separator = a.Option("--separator")) {
        if (separator->size() != 1 ||
            std::string_view("\"\r\n").find((*separator)[0]) != std::string_view::npos)
            throw UsageError{"--separator needs one character other than a quote or line end"};
        r.separator = (*separator)[0];
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(r.directory, ec)) {
        std::cerr << "ostiva-cli: " << r.directory << " is not a directory\n";
        return kExitFailure;
    }
    if (const auto output = a.Option("-o")) {
        if (output->empty())
            throw UsageError{"-o needs a file name"};
        RefuseToNameProfile(*output, r.directory);
        r.output = *output;
    }
    try {
        r.languageFile = LanguageFileOf(a, argv[0]);
        return cli::WriteSummary(r, std::cout, std::cerr);
    } catch (const IniError& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return kExitFailure;
    }
}

int Generate(int argc, char** argv) {
    const Arguments a = ParseArguments(argc, argv, {"--seed", "--speed", "--pairs"});
    if (a.positional.size() != 1)
        throw UsageError{"generate needs one output file"};
    testdata::GeneratorOptions o;
    if (const auto seed = a.Option("--seed"))
        o.seed = static_cast<std::uint32_t>(WholeNumber(*seed, "--seed", 0, 2147483647));
    if (const auto speed = a.Option("--speed"))
        o.speed = *speed;
    if (const auto pairs = a.Option("--pairs"))
        o.pairs = WholeNumber(*pairs, "--pairs", 0, 1000000);
    testdata::WriteProfileFile(a.positional[0], o);
    return 0;
}

int GenerateDemo(int argc, char** argv) {
    const Arguments a = ParseArguments(argc, argv, {});
    if (a.positional.size() != 1)
        throw UsageError{"generate-demo needs one directory"};
    testdata::GenerateDemoProject(a.positional[0]);
    return 0;
}

#ifdef OSTIVA_CLI_REPORT
// The PDF must not replace one of the files it is made from, under whatever name (a link, a
// path through another folder) that file is given.
void RefuseToOverwriteInput(const std::string& output, const std::vector<std::string>& profiles,
                            const std::optional<std::string>& language) {
    std::vector<std::string> inputs = profiles;
    if (language)
        inputs.push_back(*language);
    for (const std::string& input : inputs) {
        std::error_code ec;
        if (std::filesystem::equivalent(output, input, ec))
            throw UsageError{"-o " + output + " names the input file " + input};
    }
}

int Report(int argc, char** argv) {
    cli::ReportRequest r;
    std::optional<std::string> kind, output, language;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        std::optional<std::string>* value = arg == "--kind"            ? &kind
                                            : arg == "-o"              ? &output
                                            : arg == "--language-file" ? &language
                                                                       : nullptr;
        if (arg == "--help")
            throw HelpRequest{"report"};
        if (value) {
            if (i + 1 >= argc)
                throw UsageError{"option " + arg + " needs a value"};
            *value = argv[++i];
        } else if (arg == "--compare") {
            r.compare = true;
        } else if (arg.rfind("-", 0) == 0) {
            throw UsageError{"unknown option " + arg};
        } else {
            r.profiles.push_back(arg);
        }
    }
    if (!kind)
        throw UsageError{"report needs --kind"};
    r.kind = WholeNumber(*kind, "--kind", 0, 8);
    if (!output || output->empty())
        throw UsageError{"report needs -o OUT.pdf"};
    r.output = *output;
    if (r.compare && r.profiles.size() != 2)
        throw UsageError{"report --compare needs two profile files"};
    if (r.profiles.empty())
        throw UsageError{"report needs at least one profile file"};
    if (language)
        ExplicitLanguageFile(*language);
    RefuseToOverwriteInput(r.output, r.profiles, language);
    try {
        r.languageFile = language ? *language : DefaultLanguageFile(argv[0]);
    } catch (const IniError& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return kExitFailure;
    }
    return cli::WriteReport(r);
}
#endif

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "--help") {
            std::cout << Usage() << "Profile records of rail welds without the desktop program.\n";
            return 0;
        }
        if (command == "--version") {
            std::cout << "ostiva-cli " OSTIVA_VERSION "\n";
            return 0;
        }
        if (command == "dump")
            return Dump(argc, argv);
        if (command == "generate")
            return Generate(argc, argv);
        if (command == "generate-demo")
            return GenerateDemo(argc, argv);
        if (command == "search")
            return Search(argc, argv);
        if (command == "set")
            return Set(argc, argv);
        if (command == "summary")
            return Summary(argc, argv);
#ifdef OSTIVA_CLI_REPORT
        if (command == "report")
            return Report(argc, argv);
#endif
        throw UsageError{command.empty() ? "no command given" : "unknown command " + command};
    } catch (const HelpRequest& h) {
        std::cout << CommandUsage(h.command);
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "ostiva-cli: " << e.message << "\n" << Usage();
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return kExitFailure;
    }
}
