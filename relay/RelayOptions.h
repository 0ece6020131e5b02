#pragma once

#include <string>
#include <vector>

// The relay's command line. `parse` never exits; main() acts on `showHelp`, `showVersion`
// and `error`.
struct RelayOptions {
    static constexpr int defaultPort = 8787;

    int port = defaultPort;
    std::string bind = "127.0.0.1";
    std::string dbPath;          // empty: $XDG_DATA_HOME/halvora-relay/relay.db
    std::string upstream;        // proxy mode when set
    std::string model;           // model name added to proxied requests
    std::string scenarioDir;     // scenario mode when set (tests only)
    std::string recordPath;      // scenario mode: one JSON line per received request
    int paceMs = 30;             // demo mode: delay between events
    bool accounts = false;       // sign-in needs a user added with `user add` and the password
    bool behindTlsProxy = false; // a TLS-terminating reverse proxy forwards every request
    std::string tlsCert;         // serve HTTPS with this certificate chain (PEM) ...
    std::string tlsKey;          // ... and this private key (PEM)
    // Per-user limits on model requests (0: none). Unset (-1), they apply only with accounts.
    int maxStreams = -1;        // at once
    int requestsPerMinute = -1; // started per minute
    static constexpr int defaultMaxStreams = 8;
    static constexpr int defaultRequestsPerMinute = 60;
    // `halvora-relay user add|remove|list|passwd [EMAIL]`: manage users instead of serving.
    std::string userCommand;
    std::string userEmail;
    bool showHelp = false;
    bool showVersion = false;
    std::string error;

    static RelayOptions parse(const std::vector<std::string>& args);
    static std::string helpText();
    // The default database path for the given environment values (either may be empty).
    static std::string defaultDbPath(const std::string& xdgDataHome, const std::string& home);
    // Whether an address to listen on is reachable only from this computer.
    static bool isLoopbackAddress(const std::string& address);
};
