#include "app/cli/CliOptions.h"

namespace {

// Reads the value after an option; records an error when it is missing.
std::optional<QString> valueAfter(const QStringList& arguments, int& index, QString& error)
{
    if (index + 1 >= arguments.size()) {
        error = QStringLiteral("%1 needs a value").arg(arguments[index]);
        return std::nullopt;
    }
    return arguments[++index];
}

void parseStyle(CliOptions& options, const QString& text)
{
    options.style = RewriteStyle::fromString(text);
    if (!options.style)
        options.error = QStringLiteral("unknown style: %1").arg(text);
}

void parseServer(CliOptions& options, const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        options.error = QStringLiteral("not a server address: %1").arg(text);
    else
        options.server = url;
}

void parseOne(CliOptions& options, const QStringList& arguments, int& i)
{
    const QString& arg = arguments[i];
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
        options.help = true;
    else if (arg == QLatin1String("--version"))
        options.version = true;
    else if (arg == QLatin1String("--deep"))
        options.deep = true;
    else if (arg == QLatin1String("--json"))
        options.json = true;
    else if (arg == QLatin1String("--style")) {
        if (auto value = valueAfter(arguments, i, options.error))
            parseStyle(options, *value);
    } else if (arg == QLatin1String("--mode"))
        options.modeName = valueAfter(arguments, i, options.error);
    else if (arg == QLatin1String("--question"))
        options.question = valueAfter(arguments, i, options.error);
    else if (arg == QLatin1String("--server")) {
        if (auto value = valueAfter(arguments, i, options.error))
            parseServer(options, *value);
    } else if (arg.startsWith(QLatin1Char('-')) || !options.actionName.isEmpty())
        options.error = QStringLiteral("unexpected argument: %1").arg(arg);
    else
        options.actionName = arg;
}

std::optional<AIAction> rewriteAction(const CliOptions& options, const QList<WritingMode>& modes, QString* problem)
{
    if (!options.modeName)
        return AIAction::rewrite(options.style.value_or(RewriteStyle::Improve));
    for (const WritingMode& mode : modes) {
        if (mode.name == *options.modeName)
            return AIAction::custom(mode);
    }
    *problem = QStringLiteral("no writing mode named %1").arg(*options.modeName);
    return std::nullopt;
}

} // namespace

CliOptions CliOptions::parse(const QStringList& arguments)
{
    CliOptions options;
    for (int i = 1; i < arguments.size() && options.error.isEmpty(); ++i)
        parseOne(options, arguments, i);
    if (options.error.isEmpty() && !options.help && !options.version && options.actionName.isEmpty())
        options.error = QStringLiteral("no action given");
    if (options.error.isEmpty() && options.style && options.modeName)
        options.error = QStringLiteral("--style and --mode exclude each other");
    return options;
}

QStringList CliOptions::actionNames()
{
    return {"rewrite", "explain", "translate", "chat", "research", "search", "ask"};
}

std::optional<AIAction> CliOptions::action(const QList<WritingMode>& modes, QString* problem) const
{
    if ((style || modeName) && actionName != QLatin1String("rewrite")) {
        *problem = QStringLiteral("--style and --mode belong to rewrite");
        return std::nullopt;
    }
    if (actionName == QLatin1String("rewrite"))
        return rewriteAction(*this, modes, problem);
    if (actionName == QLatin1String("ask") && !question) {
        *problem = QStringLiteral("ask needs --question");
        return std::nullopt;
    }
    static const QHash<QString, AIAction> fixed{{"explain", AIAction::explain()},
                                                {"translate", AIAction::translate()},
                                                {"research", AIAction::research()},
                                                {"search", AIAction::webSearch()},
                                                {"ask", AIAction::ask()}};
    if (actionName == QLatin1String("chat"))
        return AIAction::chat(deep);
    if (fixed.contains(actionName))
        return fixed.value(actionName);
    *problem = QStringLiteral("unknown action: %1").arg(actionName);
    return std::nullopt;
}

QString CliOptions::helpText()
{
    QStringList styles;
    for (const RewriteStyle& style : RewriteStyle::all())
        styles << QStringLiteral("  %1  %2").arg(style.toString(), -13).arg(style.title());
    return QStringLiteral(
               "Usage: halvora-cli ACTION [--style STYLE | --mode NAME] [--question TEXT] [--deep]\n"
               "                  [--server URL] [--json]\n"
               "Reads the selection from standard input and writes the answer as it arrives.\n\n"
               "Actions: %1\n\nStyles (rewrite --style):\n%2\n\n"
               "  --mode NAME      rewrite with one of your writing modes\n"
               "  --question TEXT  a question about the selection (needed by ask)\n"
               "  --deep           chat with web research\n"
               "  --server URL     the account service address\n"
               "  --json           every event and the result as JSON lines\n\n"
               "Exit codes: 0 done, 2 signed out, 3 service or model error, 4 network error, 130 interrupted.\n")
        .arg(actionNames().join(QStringLiteral(", ")), styles.join(QLatin1Char('\n')));
}
