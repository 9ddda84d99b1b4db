// campus-demo-services: the fake school services on a loopback port, for the demo run and for
// trying the client by hand.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "fakes/FakeSchoolServices.h"

namespace {

struct Options {
    int port = 0;
    std::optional<std::string> sampleDir;
    bool untilEof = false;
};

void printUsage(std::ostream& out) {
    out << "usage: campus-demo-services [--port N] [--sample-dir DIR] [--until-eof]\n"
           "  Serves the demo school services on 127.0.0.1 until SIGINT or SIGTERM\n"
           "  (with --until-eof also when standard input ends).\n";
}

std::optional<int> parsePort(std::string_view text) {
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || port > 65535)
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (text.empty() || port > 65535)
        return std::nullopt;
    return port;
}

// Returns nothing after printing the reason when the arguments cannot be used.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            const auto port = parsePort(argv[++i]);
            if (!port) {
                std::cerr << "campus-demo-services: not a port: " << argv[i] << "\n";
                return std::nullopt;
            }
            options.port = *port;
        } else if (arg == "--sample-dir" && hasValue) {
            options.sampleDir = argv[++i];
        } else if (arg == "--until-eof") {
            options.untilEof = true;
        } else if (arg == "--help" || arg == "-h") {
            printUsage(std::cout);
            std::exit(0);
        } else {
            std::cerr << "campus-demo-services: unknown or incomplete argument: " << arg << "\n";
            printUsage(std::cerr);
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parseArguments(argc, argv);
    if (!options)
        return 2;

    // Block the stop signals before any thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        fakes::FakeSchoolServices services(options->sampleDir
                                               ? std::filesystem::path(*options->sampleDir)
                                               : fakes::FakeSchoolServices::defaultSampleDir());
        services.start(options->port);
        std::cout << "campus demo services on " << services.baseUrl() << " (share service "
                  << services.shareServiceBase() << ")" << std::endl;

        if (options->untilEof) {
            std::thread([] {
                char buffer[256];
                while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
                }
                ::kill(::getpid(), SIGTERM);
            }).detach();
        }
        int received = 0;
        sigwait(&stopSignals, &received);
        services.stop();
    } catch (const std::exception& error) {
        std::cerr << "campus-demo-services: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
