// gsdefs: the definition author's tool. Encodes and decodes definition files, checks the six files of a
// folder line by line, counts their definitions, publishes update records into a folder, serves that
// folder as a local definition service for Live Update, and renders it as a static site for nginx.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
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
#include "main/bounded_log.h"
#include "main/definition_server.h"
#include "main/site_folder.h"
#include "platform/signatures.h"
#include "update/definition_publisher.h"
#include "update/definition_signing.h"
#include "update/definition_site.h"

namespace {

using grimsweep::kDefinitionFiles;

constexpr const char* kUsage =
    "usage: gsdefs encode [IN [OUT]]   plain lines to a definition file (CR LF line ends)\n"
    "       gsdefs decode [IN [OUT]]   a definition file to plain lines (LF line ends)\n"
    "       gsdefs check DIR           report every malformed line of the six files; exit 1 when any\n"
    "       gsdefs count DIR           count the definitions of the five scanned files\n"
    "       gsdefs keygen KEYFILE      make a signing key pair (ECDSA P-256), write it to KEYFILE and print\n"
    "                                  the DefinitionKey= line for Grimsweep.ini's [Services] section\n"
    "       gsdefs publish DIR DATE [--key KEYFILE]\n"
    "                                  store the records on standard input (KIND|ADD|BODY or\n"
    "                                  KIND|DEL|BODY, plain) as published on DATE (9/1/2006 4:00:00 PM);\n"
    "                                  none when a line is malformed or holds \"@\" or DEL, which would\n"
    "                                  travel as the separators \"=\" and \"|\". With --key every answer\n"
    "                                  of the service is signed again; without, it is served unsigned\n"
    "       gsdefs serve DIR [--port N] [--address A] [--log-limit BYTES]\n"
    "                                  answer Live Update from DIR over HTTP (127.0.0.1:8080); the\n"
    "                                  submissions go to DIR/getData.log, which is renamed getData.log.1\n"
    "                                  (replacing the one before) when it would pass BYTES (4 MiB)\n"
    "       gsdefs site DIR SITE [--port N]\n"
    "                                  render every answer of DIR as files under SITE, with SITE/nginx.conf\n"
    "                                  for \"nginx -p SITE -c nginx.conf\" on 127.0.0.1:N (8080); run again\n"
    "                                  after each publication: the site is replaced in one step\n"
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

// Writes a whole file beside its place and moves it there, so that no reader sees half of it.
bool ReplaceWhole(const std::filesystem::path& path, std::string_view text) {
    const std::filesystem::path pending = path.string() + ".new";
    {
        std::ofstream out(pending, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(pending, path, error);
    return !error;
}

int Keygen(const std::filesystem::path& keyFile) {
    if (std::filesystem::exists(keyFile)) {
        std::cerr << "gsdefs: " << keyFile.string() << " exists; a key is never overwritten\n";
        return 2;
    }
    const auto pair = grimsweep::MakePlatformSignatures()->MakeKeyPair();
    if (!pair) {
        std::cerr << "gsdefs: the system could not make a key pair\n";
        return 2;
    }
    {
        std::ofstream out(keyFile, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::cerr << "gsdefs: cannot write " << keyFile.string() << "\n";
            return 2;
        }
    }
    // Only its owner may read the private key (where the file system keeps such rights).
    std::error_code ignored;
    std::filesystem::permissions(
        keyFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ignored);
    std::ofstream out(keyFile, std::ios::binary | std::ios::trunc);
    out << grimsweep::KeyFileText(*pair);
    if (!out.flush()) {
        std::cerr << "gsdefs: cannot write " << keyFile.string() << "\n";
        return 2;
    }
    std::cout << grimsweep::DefinitionKeyLine(*pair) << "\n";
    return std::cout.flush() ? 0 : 2;
}

// Appends to the store in one write, so that a failed publish leaves no part of its records behind; with a
// key, the signed answers for every date are made before anything is written.
int Publish(const std::filesystem::path& folder, const std::string& date,
            const std::optional<std::string>& keyFile) {
    const std::filesystem::path signaturesPath = folder / std::string(grimsweep::kSignaturesFile);
    std::optional<grimsweep::P256KeyPair> key;
    if (keyFile) {
        const auto text = ReadWhole(*keyFile);
        key = text ? grimsweep::ParseKeyFile(*text) : std::nullopt;
        if (!key) {
            std::cerr << "gsdefs: " << *keyFile << " is no key file of gsdefs keygen; nothing published\n";
            return 2;
        }
    } else if (std::filesystem::exists(signaturesPath)) {
        std::cerr << "gsdefs: " << folder.string()
                  << " is published signed: publish with --key KEYFILE; nothing published\n";
        return 2;
    }
    const std::string input(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>{});
    std::string error;
    const auto lines = grimsweep::PublicationLines(date, input, error);
    if (!lines) {
        std::cerr << "gsdefs: " << error << "; nothing published\n";
        return 2;
    }
    const std::filesystem::path storePath = folder / std::string(grimsweep::kPublishedFile);
    std::optional<std::string> signatures;
    if (key) {
        const auto signer = grimsweep::MakePlatformSignatures();
        signatures = grimsweep::SignatureLines(
            grimsweep::ReadPublications(ReadWhole(storePath).value_or("") + *lines), *signer, *key);
        if (!signatures) {
            std::cerr << "gsdefs: the key in " << *keyFile << " cannot sign; nothing published\n";
            return 2;
        }
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::ofstream out(storePath, std::ios::binary | std::ios::app);
    out << *lines;
    if (!out.flush()) {
        std::cerr << "gsdefs: cannot write to " << folder.string() << "\n";
        return 2;
    }
    if (signatures && !ReplaceWhole(signaturesPath, *signatures)) {
        std::cerr << "gsdefs: published, but cannot write " << signaturesPath.string()
                  << ": clients that check signatures refuse the update until it is published again\n";
        return 2;
    }
    return 0;
}

// The submission log's size before it is rotated.
constexpr std::uintmax_t kDefaultLogLimit = 4 * 1024 * 1024;

// A whole decimal number in [low, high], or nothing.
std::optional<std::uintmax_t> NumberIn(const std::string& text, std::uintmax_t low, std::uintmax_t high) {
    std::uintmax_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The options after the first `fixed` arguments, "--name value" each; nothing (with the usage shown)
// for an option not in `known` or one without its value.
std::optional<std::map<std::string, std::string>> Options(const std::vector<std::string>& args,
                                                          std::size_t fixed,
                                                          std::initializer_list<std::string_view> known) {
    std::map<std::string, std::string> options;
    for (std::size_t i = fixed; i < args.size(); i += 2) {
        if (i + 1 >= args.size() || std::find(known.begin(), known.end(), args[i]) == known.end()) {
            std::cerr << kUsage;
            return std::nullopt;
        }
        options[args[i]] = args[i + 1];
    }
    return options;
}

// The --port option (or 8080), from `lowest` up; nothing, with the reason shown, for anything else.
std::optional<int> PortOption(const std::map<std::string, std::string>& options, int lowest) {
    const auto found = options.find("--port");
    if (found == options.end()) {
        return 8080;
    }
    const auto port = NumberIn(found->second, static_cast<std::uintmax_t>(lowest), 65535);
    if (!port) {
        std::cerr << "gsdefs: not a port: " << found->second << "\n";
        return std::nullopt;
    }
    return static_cast<int>(*port);
}

grimsweep::ServiceFolder FolderReader(const std::filesystem::path& folder) {
    return {[folder](std::string_view name) { return ReadWhole(folder / std::string(name)); }, {}, {}};
}

// The modification times and sizes of the files the service answers from.
std::string FolderVersion(const std::filesystem::path& folder) {
    std::string version;
    for (std::string_view name :
         {grimsweep::kPublishedFile, grimsweep::kSignaturesFile, grimsweep::kLocalizationFile}) {
        std::error_code error;
        const auto path = folder / std::string(name);
        const auto time = std::filesystem::last_write_time(path, error).time_since_epoch().count();
        version += std::to_string(time) + ":" + std::to_string(std::filesystem::file_size(path, error)) + ";";
    }
    return version;
}

int Serve(const std::vector<std::string>& args) {
    const auto options = Options(args, 3, {"--port", "--address", "--log-limit"});
    const auto port = options ? PortOption(*options, 0) : std::nullopt;
    if (!port) {
        return 2;
    }
    const std::string address = options->contains("--address") ? options->at("--address") : "127.0.0.1";
    std::uintmax_t logLimit = kDefaultLogLimit;
    if (options->contains("--log-limit")) {
        const auto limit = NumberIn(options->at("--log-limit"), 1, UINTMAX_MAX);
        if (!limit) {
            std::cerr << "gsdefs: not a size in bytes: " << options->at("--log-limit") << "\n";
            return 2;
        }
        logLimit = *limit;
    }
    const std::filesystem::path folder = args[2];
    grimsweep::BoundedLog log(folder / std::string(grimsweep::kDataLogFile), logLimit);
    grimsweep::ServiceFolder service = FolderReader(folder);
    service.append = [&log](std::string_view name, std::string_view text) {
        return name == grimsweep::kDataLogFile && log.Append(text);
    };
    service.version = [folder] { return FolderVersion(folder); };
    return grimsweep::ServeDefinitions(service, address, *port);
}

int Site(const std::vector<std::string>& args) {
    const auto options = Options(args, 4, {"--port"});
    // nginx listens on the port its configuration names: the system cannot choose one.
    const auto port = options ? PortOption(*options, 1) : std::nullopt;
    if (!port) {
        return 2;
    }
    const std::filesystem::path folder = args[2];
    if (!std::filesystem::exists(folder / std::string(grimsweep::kPublishedFile))) {
        std::cerr << "gsdefs: " << folder.string() << " holds no publications; no site rendered\n";
        return 2;
    }
    std::string error;
    if (!grimsweep::ReplaceSite(args[3], grimsweep::RenderSiteContent(FolderReader(folder)), "nginx.conf",
                                grimsweep::NginxConfig(*port), error)) {
        std::cerr << "gsdefs: " << error << "\n";
        return 2;
    }
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
    if (args.size() == 3 && args[1] == "keygen") {
        return Keygen(args[2]);
    }
    if (args.size() == 4 && args[1] == "publish") {
        return Publish(args[2], args[3], std::nullopt);
    }
    if (args.size() == 6 && args[1] == "publish" && args[4] == "--key") {
        return Publish(args[2], args[3], args[5]);
    }
    if (args.size() >= 3 && args[1] == "serve") {
        return Serve(args);
    }
    if (args.size() >= 4 && args[1] == "site") {
        return Site(args);
    }
    std::cerr << kUsage;
    return 2;
}
