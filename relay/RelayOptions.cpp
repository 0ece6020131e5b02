#include "RelayOptions.h"

#include <arpa/inet.h>
#include <charconv>

namespace {

bool toInt(const std::string& text, int min, int max, int* out)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return false;
    *out = value;
    return true;
}

// Applies one option that takes a value; returns an error text or an empty string.
std::string applyValue(RelayOptions& o, const std::string& name, const std::string& value)
{
    if (name == "--port")
        return toInt(value, 0, 65535, &o.port) ? "" : "--port needs a number from 0 to 65535";
    if (name == "--max-streams")
        return toInt(value, 0, 10000, &o.maxStreams) ? "" : "--max-streams needs a number from 0 to 10000";
    if (name == "--requests-per-minute")
        return toInt(value, 0, 1000000, &o.requestsPerMinute)
                   ? ""
                   : "--requests-per-minute needs a number from 0 to 1000000";
    if (name == "--pace")
        return toInt(value, 0, 60000, &o.paceMs) ? "" : "--pace needs a number of milliseconds (0-60000)";
    std::string* target = name == "--bind"       ? &o.bind
                          : name == "--db"       ? &o.dbPath
                          : name == "--upstream" ? &o.upstream
                          : name == "--model"    ? &o.model
                          : name == "--scenario" ? &o.scenarioDir
                          : name == "--record"   ? &o.recordPath
                          : name == "--tls-cert" ? &o.tlsCert
                          : name == "--tls-key"  ? &o.tlsKey
                                                 : nullptr;
    if (!target)
        return "unknown option " + name;
    if (value.empty())
        return name + " needs a value";
    *target = value;
    return "";
}

bool isKnown(const std::string& name)
{
    for (const char* known : {"--port", "--pace", "--bind", "--db", "--upstream", "--model", "--scenario", "--record",
                              "--tls-cert", "--tls-key", "--max-streams", "--requests-per-minute"}) {
        if (name == known)
            return true;
    }
    return false;
}

std::string checkCombination(const RelayOptions& o)
{
    if (!o.upstream.empty() && o.model.empty())
        return "--upstream needs --model NAME";
    if (!o.upstream.empty() && !o.scenarioDir.empty())
        return "--upstream and --scenario cannot be combined";
    if (!o.recordPath.empty() && o.scenarioDir.empty())
        return "--record is only available with --scenario";
    if (!o.upstream.empty() && o.upstream.rfind("http://", 0) != 0 && o.upstream.rfind("https://", 0) != 0)
        return "--upstream needs an http:// or https:// address";
    if (o.tlsCert.empty() != o.tlsKey.empty())
        return "--tls-cert and --tls-key go together";
    if (o.behindTlsProxy && !o.tlsCert.empty())
        return "--behind-tls-proxy and --tls-cert cannot be combined";
    if (o.behindTlsProxy && !o.accounts)
        return "--behind-tls-proxy needs --accounts";
    if (!RelayOptions::isLoopbackAddress(o.bind) && (!o.accounts || (o.tlsCert.empty() && !o.behindTlsProxy)))
        return "--bind " + o.bind +
               " lets other computers in: it needs --accounts, and --tls-cert with --tls-key (or "
               "--behind-tls-proxy when a reverse proxy in front of the relay speaks HTTPS)";
    return "";
}

// `user COMMAND [EMAIL]` at the front of the arguments; returns the index of the first option.
std::size_t parseUserCommand(RelayOptions& o, const std::vector<std::string>& args)
{
    if (args.empty() || args[0] != "user")
        return 0;
    o.userCommand = args.size() > 1 ? args[1] : "";
    bool known =
        o.userCommand == "add" || o.userCommand == "remove" || o.userCommand == "list" || o.userCommand == "passwd";
    if (!known) {
        o.error = "user needs one of add, remove, list, passwd";
        return args.size();
    }
    if (o.userCommand == "list")
        return 2;
    if (args.size() < 3 || args[2].empty() || args[2].rfind("--", 0) == 0) {
        o.error = "user " + o.userCommand + " needs an e-mail address";
        return args.size();
    }
    o.userEmail = args[2];
    return 3;
}

} // namespace

RelayOptions RelayOptions::parse(const std::vector<std::string>& args)
{
    RelayOptions o;
    for (std::size_t i = parseUserCommand(o, args); i < args.size() && o.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.showHelp = true;
            continue;
        }
        if (arg == "--accounts" || arg == "--behind-tls-proxy") {
            (arg == "--accounts" ? o.accounts : o.behindTlsProxy) = true;
            continue;
        }
        if (arg == "--version") {
            o.showVersion = true;
            continue;
        }
        auto eq = arg.find('=');
        std::string name = arg.substr(0, eq);
        if (!isKnown(name))
            o.error = arg.rfind("--", 0) == 0 ? "unknown option " + name : "unexpected argument " + arg;
        else if (eq != std::string::npos)
            o.error = applyValue(o, name, arg.substr(eq + 1));
        else if (i + 1 < args.size())
            o.error = applyValue(o, name, args[++i]);
        else
            o.error = arg + " needs a value";
    }
    if (o.error.empty() && !o.showHelp && !o.showVersion && o.userCommand.empty())
        o.error = checkCombination(o);
    return o;
}

std::string RelayOptions::defaultDbPath(const std::string& xdgDataHome, const std::string& home)
{
    std::string base = !xdgDataHome.empty() && xdgDataHome[0] == '/' ? xdgDataHome : home + "/.local/share";
    return base + "/halvora-relay/relay.db";
}

// Only addresses written as numbers count: a name such as 127.example.com could stand for any address.
bool RelayOptions::isLoopbackAddress(const std::string& address)
{
    in_addr v4{};
    if (::inet_pton(AF_INET, address.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    return address == "::1" || address == "localhost";
}

std::string RelayOptions::helpText()
{
    return R"(Usage: halvora-relay [OPTIONS]
       halvora-relay user add|passwd EMAIL [--db PATH|URL]
       halvora-relay user remove EMAIL [--db PATH|URL]
       halvora-relay user list [--db PATH|URL]

Halvora's account service: browser sign-in, account tokens and the model relay.
Without --upstream it answers model requests with an offline demo.

Options:
  --port N           port to listen on (default 8787; 0 picks a free port)
  --bind ADDR        address to listen on (default 127.0.0.1); any other address
                     than this computer's needs --accounts and TLS
  --db PATH|URL      database file (default $XDG_DATA_HOME/halvora-relay/relay.db),
                     or postgresql://... to share users and sessions between relays
  --accounts         sign-in asks for the e-mail and password of a user added with
                     "halvora-relay user add" (without it, anyone on this computer
                     signs in with an e-mail address alone)
  --tls-cert FILE    serve HTTPS with this certificate chain (PEM)
  --tls-key FILE     the certificate's private key (PEM)
  --behind-tls-proxy a reverse proxy in front of the relay speaks HTTPS to clients
                     and sets X-Forwarded-For; the relay itself speaks HTTP
  --max-streams N    model requests one user may have open at once (0: no limit;
                     default 8 with --accounts, otherwise no limit)
  --requests-per-minute N
                     model requests one user may start per minute (0: no limit;
                     default 60 with --accounts, otherwise no limit)
  --upstream URL     relay model requests to the Messages API at URL (proxy mode);
                     the key is read from the environment variable ANTHROPIC_API_KEY
  --model NAME       model name added to relayed requests (needed with --upstream)
  --pace MS          demo mode: milliseconds between streamed events (default 30)
  --scenario DIR     tests only: answer with the scripted responses in DIR
  --record FILE      tests only (with --scenario): append every request to FILE
  --help             show this text and exit
  --version          show the version and exit

The first line on standard output is "listening on http://ADDRESS:PORT/"
(https:// with --tls-cert). SIGTERM or SIGINT stops the relay.

"user add" and "user passwd" read the password from the terminal without showing
it, or one line from standard input. "user remove" and "user passwd" end the
user's sessions at once, on every relay that shares the database.
)";
}
