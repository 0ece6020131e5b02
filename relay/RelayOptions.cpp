#include "RelayOptions.h"

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
    if (name == "--pace")
        return toInt(value, 0, 60000, &o.paceMs) ? "" : "--pace needs a number of milliseconds (0-60000)";
    std::string* target = name == "--bind"       ? &o.bind
                          : name == "--db"       ? &o.dbPath
                          : name == "--upstream" ? &o.upstream
                          : name == "--model"    ? &o.model
                          : name == "--scenario" ? &o.scenarioDir
                          : name == "--record"   ? &o.recordPath
                                                 : nullptr;
    if (!target)
        return "unknown option " + name;
    if (value.empty())
        return name + " needs a value";
    *target = value;
    return "";
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
    return "";
}

} // namespace

RelayOptions RelayOptions::parse(const std::vector<std::string>& args)
{
    RelayOptions o;
    for (std::size_t i = 0; i < args.size() && o.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.showHelp = true;
            continue;
        }
        if (arg == "--version") {
            o.showVersion = true;
            continue;
        }
        auto eq = arg.find('=');
        std::string name = arg.substr(0, eq);
        if (eq != std::string::npos)
            o.error = applyValue(o, name, arg.substr(eq + 1));
        else if (i + 1 < args.size())
            o.error = applyValue(o, name, args[++i]);
        else
            o.error = arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unexpected argument " + arg;
    }
    if (o.error.empty() && !o.showHelp && !o.showVersion)
        o.error = checkCombination(o);
    return o;
}

std::string RelayOptions::defaultDbPath(const std::string& xdgDataHome, const std::string& home)
{
    std::string base = !xdgDataHome.empty() && xdgDataHome[0] == '/' ? xdgDataHome : home + "/.local/share";
    return base + "/halvora-relay/relay.db";
}

std::string RelayOptions::helpText()
{
    return R"(Usage: halvora-relay [OPTIONS]

Halvora's account service: browser sign-in, account tokens and the model relay.
Without --upstream it answers model requests with an offline demo.

Options:
  --port N           port to listen on (default 8787; 0 picks a free port)
  --bind ADDR        address to listen on (default 127.0.0.1)
  --db PATH          database file (default $XDG_DATA_HOME/halvora-relay/relay.db)
  --upstream URL     relay model requests to the Messages API at URL (proxy mode);
                     the key is read from the environment variable ANTHROPIC_API_KEY
  --model NAME       model name added to relayed requests (needed with --upstream)
  --pace MS          demo mode: milliseconds between streamed events (default 30)
  --scenario DIR     tests only: answer with the scripted responses in DIR
  --record FILE      tests only (with --scenario): append every request to FILE
  --help             show this text and exit
  --version          show the version and exit

The first line on standard output is "listening on http://ADDRESS:PORT/".
SIGTERM or SIGINT stops the relay.
)";
}
