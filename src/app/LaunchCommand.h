#pragma once

#include <QStringList>
#include <QUrl>

// What a start of the program asks of the running instance: show the actions for the current
// selection (--show-actions), open a halvora: address (a sign-in callback or "open"), or, with
// neither, bring the program forward (the reopen request).
struct LaunchCommand {
    enum class Kind { Reopen, ShowActions, OpenMainWindow, AccountCallback };
    Kind kind = Kind::Reopen;
    QUrl url;

    // Reads the arguments after the program's name. Anything that is not a halvora: address
    // or --show-actions is left out.
    static LaunchCommand fromArguments(const QStringList& arguments);
    // The command for one address: "open" opens the main window, every other address of the
    // scheme belongs to the account.
    static LaunchCommand fromUrl(const QUrl& url);
};
