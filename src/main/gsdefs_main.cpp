// gsdefs: the definition author's tool. Encodes and decodes definition files, checks the six files of a
// folder line by line, and counts their definitions.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "definitions/definition_check.h"
#include "definitions/definition_files.h"
#include "definitions/definition_status.h"
#include "definitions/line_code.h"

namespace {

using grimsweep::kDefinitionFiles;

constexpr const char* kUsage =
    "usage: gsdefs encode [IN [OUT]]   plain lines to a definition file (CR LF line ends)\n"
    "       gsdefs decode [IN [OUT]]   a definition file to plain lines (LF line ends)\n"
    "       gsdefs check DIR           report every malformed line of the six files; exit 1 when any\n"
    "       gsdefs count DIR           count the definitions of the five scanned files\n"
    "IN and OUT default to standard input and output; \"-\" names them too.\n";

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Code(const std::vector<std::string>& args, bool encode) {
    if (args.size() > 4) {
        std::cerr << kUsage;
        return 2;
    }
    std::string input;
    if (args.size() >= 3 && args[2] != "-") {
        auto bytes = ReadWhole(args[2]);
        if (!bytes) {
            std::cerr << "gsdefs: cannot read " << args[2] << "\n";
            return 2;
        }
        input = std::move(*bytes);
    } else {
        input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    const std::string output =
        encode ? grimsweep::EncodeDefinitionText(input) : grimsweep::DecodeDefinitionText(input);
    if (args.size() == 4 && args[3] != "-") {
        std::ofstream out(args[3], std::ios::binary | std::ios::trunc);
        out << output;
        if (!out.flush()) {
            std::cerr << "gsdefs: cannot write " << args[3] << "\n";
            return 2;
        }
        return 0;
    }
    std::cout << output;
    return std::cout.flush() ? 0 : 2;
}

int Check(const std::filesystem::path& folder) {
    int malformed = 0;
    for (const auto& file : kDefinitionFiles) {
        const std::string name(file.name);
        const auto bytes = ReadWhole(folder / name);
        if (!bytes) {
            std::cout << name << ": missing\n";
            ++malformed;
            continue;
        }
        for (const auto& problem : grimsweep::CheckDefinitionFile(file.kind, *bytes)) {
            std::cout << name << ":" << problem.lineNumber << ": " << problem.message << "\n";
            ++malformed;
        }
    }
    if (malformed == 0) {
        std::cout << "all six files are well formed\n";
    }
    return malformed == 0 ? 0 : 1;
}

int Count(const std::filesystem::path& folder) {
    const auto counts = grimsweep::CountDefinitionsWith(
        [&](std::string_view name) { return ReadWhole(folder / std::string(name)); });
    std::cout << "cookies " << counts.cookies << "\n"
              << "executables " << counts.executables << "\n"
              << "registry " << counts.registry << "\n"
              << "files and folders " << counts.filesAndFolders << "\n"
              << "total " << counts.total << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Definition files are bytes: no CR LF translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() >= 2 && (args[1] == "encode" || args[1] == "decode")) {
        return Code(args, args[1] == "encode");
    }
    if (args.size() == 3 && args[1] == "check") {
        return Check(args[2]);
    }
    if (args.size() == 3 && args[1] == "count") {
        return Count(args[2]);
    }
    std::cerr << kUsage;
    return 2;
}
