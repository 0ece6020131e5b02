#pragma once

#include "app/Updater.h"

class QWidget;

// Tells the user what a check for updates found: up to date, a newer version with its notes
// and a Download button that opens its address, an error, or that updates come with the
// package manager. The dialog does not block the program.
class UpdateDialog {
public:
    static void show(const Updater::Outcome& outcome, const QString& currentVersion, QWidget* parent = nullptr);
    // The main text for an outcome.
    static QString text(const Updater::Outcome& outcome, const QString& currentVersion);
};
