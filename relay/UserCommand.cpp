#include "UserCommand.h"

#include "AuthParsing.h"
#include "Database.h"
#include "PasswordHash.h"
#include "RelayOptions.h"
#include "Schema.h"
#include "UserStore.h"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace UserCommand {

namespace {

std::string readLine(std::istream& in)
{
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// One line typed on the terminal with echo turned off.
std::string askHidden(const char* prompt, std::istream& in, std::ostream& err)
{
    err << prompt << std::flush;
    termios saved{};
    bool hidden = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hidden) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line = readLine(in);
    if (hidden)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    err << "\n";
    return line;
}

// The new password, or an empty string after explaining why there is none.
std::string readPassword(std::istream& in, std::ostream& err)
{
    std::string password;
    if (&in == &std::cin && ::isatty(STDIN_FILENO)) {
        password = askHidden("New password: ", in, err);
        if (askHidden("Repeat the password: ", in, err) != password) {
            err << "halvora-relay: the passwords differ\n";
            return {};
        }
    } else {
        password = readLine(in);
    }
    if (password.size() < PasswordHash::minLength || password.size() > PasswordHash::maxLength) {
        err << "halvora-relay: a password needs " << PasswordHash::minLength << " to " << PasswordHash::maxLength
            << " characters\n";
        return {};
    }
    return password;
}

std::string day(std::int64_t seconds)
{
    std::time_t t = std::time_t(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

int list(UserStore& users, std::ostream& out, std::ostream& err)
{
    bool failed = false;
    auto all = users.all(&failed);
    if (failed) {
        err << "halvora-relay: cannot read the users\n";
        return 1;
    }
    for (const auto& u : all)
        out << u.email << "\tadded " << day(u.createdAt) << (u.passwordHash.empty() ? "\tno password" : "") << "\n";
    return 0;
}

int report(UserStore::Change change, const std::string& email, const std::string& done, std::ostream& out,
           std::ostream& err)
{
    switch (change) {
    case UserStore::Change::Ok:
        out << done << "\n";
        return 0;
    case UserStore::Change::Exists:
        err << "halvora-relay: " << email << " already has a password; change it with 'user passwd'\n";
        return 1;
    case UserStore::Change::Unknown:
        err << "halvora-relay: there is no user " << email << "\n";
        return 1;
    case UserStore::Change::Failed:
        break;
    }
    err << "halvora-relay: the database refused the change\n";
    return 1;
}

} // namespace

int run(const RelayOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    std::string location = options.dbPath;
    if (location.empty()) {
        const char* data = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        location = RelayOptions::defaultDbPath(data ? data : "", home ? home : "");
    }
    std::string error;
    auto db = Database::open(location, &error);
    if (!db || !Schema::migrate(*db, &error)) {
        err << "halvora-relay: " << error << "\n";
        return 1;
    }
    UserStore users(*db);
    if (options.userCommand == "list")
        return list(users, out, err);
    const std::string email = UserStore::normalizedEmail(options.userEmail);
    if (!AuthParsing::isValidEmail(email)) {
        err << "halvora-relay: " << options.userEmail << " is not an e-mail address\n";
        return 1;
    }
    if (options.userCommand == "remove")
        return report(users.remove(email), email, "removed " + email + "; their sessions have ended", out, err);
    std::string password = readPassword(in, err);
    if (password.empty())
        return 1;
    std::string hash = PasswordHash::make(password);
    if (hash.empty()) {
        err << "halvora-relay: not enough memory to hash the password\n";
        return 1;
    }
    if (options.userCommand == "add")
        return report(users.add(email, hash), email, "added " + email, out, err);
    return report(users.setPassword(email, hash), email,
                  "changed the password of " + email + "; their sessions have ended", out, err);
}

} // namespace UserCommand
