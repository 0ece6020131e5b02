#pragma once
#include "actions/AIAction.h"

#include <QStringList>
#include <QUrl>
#include <optional>

// The command line of halvora-cli: ACTION [--style STYLE | --mode NAME] [--question TEXT]
// [--deep] [--server URL] [--json], or --help / --version.
struct CliOptions {
    QString actionName;
    std::optional<RewriteStyle> style;
    std::optional<QString> modeName;
    std::optional<QString> question;
    bool deep = false;
    std::optional<QUrl> server;
    bool json = false;
    bool help = false;
    bool version = false;
    QString error; // why the command line is unusable; empty when it is fine

    static CliOptions parse(const QStringList& arguments);
    // The action the options name; modes are looked up by name among the given ones.
    std::optional<AIAction> action(const QList<WritingMode>& modes, QString* problem) const;
    static QString helpText();
    static QStringList actionNames();
};
