// halvora-relay: Halvora's account service (sign-in and model relay).
#include "RelayOptions.h"
#include "RelayServer.h"
#include "UserCommand.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

std::atomic<bool> serverDone{false};

// Waits for SIGTERM or SIGINT (blocked in every thread) and stops the server. A signal can
// arrive before the server has begun listening, when a stop request would be lost, so the
// request is repeated until run() has returned. SIGUSR1 only ends the watcher.
std::thread startSignalWatcher(const sigset_t& signals, RelayServer& server)
{
    return std::thread([signals, &server] {
        int received = 0;
        sigwait(&signals, &received);
        if (received == SIGUSR1)
            return;
        std::cerr << "halvora-relay: stopping" << std::endl;
        while (!serverDone.load()) {
            server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    RelayOptions options = RelayOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.showHelp) {
        std::cout << RelayOptions::helpText();
        return 0;
    }
    if (options.showVersion) {
        std::cout << "halvora-relay " << HALVORA_VERSION << "\n";
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "halvora-relay: " << options.error << "\nTry 'halvora-relay --help'.\n";
        return 2;
    }
    if (!options.userCommand.empty())
        return UserCommand::run(options, std::cin, std::cout, std::cerr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGTERM, SIGINT, SIGUSR1})
        sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const char* key = std::getenv("ANTHROPIC_API_KEY");
    RelayServer server(options, key ? key : "");
    std::string error;
    if (!server.start(&error)) {
        std::cerr << "halvora-relay: " << error << "\n";
        return 1;
    }
    std::cout << "listening on " << server.baseUrl() << std::endl;
    std::thread watcher = startSignalWatcher(signals, server);
    server.run();
    serverDone = true;
    pthread_kill(watcher.native_handle(), SIGUSR1);
    watcher.join();
    return 0;
}
