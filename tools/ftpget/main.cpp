// ftpget: connects to an FTP server with the updater's own client, logs in,
// lists a folder (raw lines and the parsed name, size and date) and optionally
// downloads files, printing the client's status texts on the way. A download
// is checked against the size the listing shows, as the updater does; the
// server is asked with SIZE only without a listing or a readable size there.

#include "base/StrUtils.h"
#include "ftp/IdException.h"
#include "ftp/IdFTP.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const char* const Usage = "usage: ftpget [options] HOST [FOLDER]\n"
                          "  -u USER       account name (default: anonymous)\n"
                          "  -p PASSWORD   password (default: the FTPGET_PASSWORD environment variable)\n"
                          "  -P            passive mode (default: active, as the updater uses)\n"
                          "  -n PORT       control port (default: 21)\n"
                          "  -g NAME       download NAME from FOLDER (repeatable)\n"
                          "  -o DIR        folder to download into (default: the current folder)\n"
                          "  -s            no listing, only the downloads\n";

struct Options {
    std::string host;
    std::string folder;
    std::string user = "anonymous";
    std::string password;
    bool passive = false;
    bool listing = true;
    int port = 21;
    std::vector<std::string> downloads;
    std::string into = ".";
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int portNumber(const std::string& text) {
    const int port = base::StrToIntDef(text, 0);
    if (port < 1 || port > 65535)
        throw UsageError("the port must be a number from 1 to 65535, not \"" + text + "\"");
    return port;
}

// A -g name is written below -o as it is: anything but a plain file name
// could place the file elsewhere.
std::string plainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\\r\n") != std::string::npos)
        throw UsageError("-g takes a plain file name, not \"" + name + "\"");
    return name;
}

Options parseArguments(int argc, char** argv) {
    Options options;
    if (const char* password = std::getenv("FTPGET_PASSWORD"))
        options.password = password;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError(argument + " needs a value");
            return argv[++i];
        };
        if (argument == "-u")
            options.user = value();
        else if (argument == "-p")
            options.password = value();
        else if (argument == "-P")
            options.passive = true;
        else if (argument == "-s")
            options.listing = false;
        else if (argument == "-n")
            options.port = portNumber(value());
        else if (argument == "-g")
            options.downloads.push_back(plainFileName(value()));
        else if (argument == "-o")
            options.into = value();
        else if (!argument.empty() && argument[0] == '-')
            throw UsageError("unknown option " + argument);
        else
            positional.push_back(argument);
    }
    if (positional.empty() || positional.size() > 2)
        throw UsageError("give a host and at most one folder");
    options.host = positional[0];
    if (positional.size() == 2)
        options.folder = positional[1];
    return options;
}

// Messages of the client may span lines ending in CR LF; print them as plain lines.
std::string plain(std::string text) {
    std::string result;
    for (char c : text)
        if (c != '\r')
            result += c;
    while (!result.empty() && result.back() == '\n')
        result.pop_back();
    return result;
}

std::string formatDate(base::TDateTime value) {
    if (value == 0)
        return "(no date)";
    const base::DateParts date = base::DecodeDate(value);
    const base::TimeParts time = base::DecodeTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", date.year, date.month, date.day, time.hour,
                  time.minute);
    return text;
}

void printListing(ftp::TIdFTP& client) {
    client.ListDirectory(nullptr);
    const std::vector<std::string>& lines = client.ListLines;
    std::cout << "listing: " << lines.size() << " lines\n";
    for (const std::string& line : lines)
        std::cout << "  " << line << '\n';
    const ftp::TIdFTPListItems& items = client.ListingItems();
    std::cout << "entries: " << items.Count() << '\n';
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const ftp::TIdFTPListItem item = items[i];
        std::cout << "  " << item.EntryName << (item.EntryKind == ftp::fekDirectory ? "/" : "") << "  "
                  << item.EntrySize << "  " << formatDate(item.ModifiedAt) << '\n';
    }
}

// The sizes the last listing shows, by name.
std::unordered_map<std::string, std::int64_t> listedSizes(ftp::TIdFTPListItems& items) {
    std::unordered_map<std::string, std::int64_t> sizes;
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const ftp::TIdFTPListItem item = items[i];
        sizes.emplace(item.EntryName, item.EntrySize);
    }
    return sizes;
}

// What failed, in words: the step and the client's message (with the
// server's reply code when the server refused).
std::string failureText(const std::string& step, const std::exception& error) {
    std::string text = "while " + step + ": ";
    if (const auto* refused = dynamic_cast<const ftp::EIdProtocolReplyError*>(&error))
        return text + "the server answered " + std::to_string(refused->ReplyErrorCode()) + ": " + plain(error.what());
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return text + "out of memory";
    return text + plain(error.what());
}

void run(const Options& options, std::string& step) {
    ftp::TIdFTP client;
    client.Host = options.host;
    client.Port = options.port;
    client.Username = options.user;
    client.Password = options.password;
    client.Passive = options.passive;
    client.OnStatus = [](ftp::TIdComponent*, ftp::TIdStatus, const std::string& text) {
        std::cout << "status: " << text << '\n';
    };
    step = "connecting to " + options.host + " port " + std::to_string(options.port) + " and logging in";
    client.OpenSession();
    std::cout << "system: " << client.SystemDescription << '\n';
    if (!options.folder.empty()) {
        step = "changing to the folder " + options.folder;
        client.ChangeDirectory(options.folder);
    }
    std::unordered_map<std::string, std::int64_t> sizes;
    if (options.listing) {
        step = "listing the folder";
        printListing(client);
        sizes = listedSizes(client.ListingItems());
    }
    for (const std::string& name : options.downloads) {
        step = "downloading " + name;
        const auto listed = sizes.find(name);
        std::int64_t size = listed != sizes.end() ? listed->second : -1;
        if (size < 0)
            size = client.RemoteFileSize(name);
        const std::filesystem::path target = std::filesystem::path(options.into) / name;
        client.Download(name, target, true, false, size);
        std::cout << "downloaded " << name << ": " << std::filesystem::file_size(target) << " bytes (server size "
                  << size << ")\n";
    }
    client.CloseSession();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseArguments(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "ftpget: " << error.what() << '\n' << Usage;
        return 2;
    }
    std::string step = "starting";
    try {
        run(options, step);
        return 0;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "ftpget: error: " << failureText(step, error) << '\n';
        return 1;
    }
}
