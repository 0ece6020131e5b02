#pragma once

// What the app controller needs of the account: whether the user is signed in, and a refresh
// of the account's state from the account service (which reports its outcome itself).
class AccountStatus {
public:
    virtual ~AccountStatus() = default;

    virtual bool hasToken() const = 0;
    // Starts a refresh and returns at once.
    virtual void refresh() = 0;
};
