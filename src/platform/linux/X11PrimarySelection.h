#pragma once

#include "platform/Clock.h"
#include "platform/PrimarySelection.h"
#include "platform/linux/X11Connection.h"

#include <QByteArray>
#include <QObject>
#include <memory>

class QDeadlineTimer;

// The PRIMARY selection over a connection of its own. The XFIXES extension reports every claim
// of the selection; each is stamped with the monotonic time it arrived, read on the Qt event loop
// and once more, after a round trip to the server, whenever freshness is asked. The text comes
// as UTF8_STRING (STRING for owners without it) into a hidden window's property, waiting at
// most conversionTimeoutMs for the owner; an owner that answers with an incremental transfer
// offers more than PrimarySelection::maxLength and is not read.
class X11PrimarySelection : public QObject, public PrimarySelection {
    Q_OBJECT

public:
    static constexpr int conversionTimeoutMs = 250;

    // Null without an X connection or without the XFIXES extension.
    static std::shared_ptr<X11PrimarySelection> create(std::unique_ptr<X11Connection> connection,
                                                       Clock& clock = Clock::system());
    ~X11PrimarySelection() override;

    std::optional<qint32> ownerClaimedSince(qint64 sinceMs) override;
    std::optional<QString> text() override;

private:
    X11PrimarySelection(std::unique_ptr<X11Connection> connection, int fixesEventBase, Clock& clock);
    void readEvents();
    // The converted bytes; nothing when refused, too large or late. *refused tells a refusal.
    std::optional<QByteArray> convert(unsigned long target, const QDeadlineTimer& deadline, bool* refused);
    bool waitForConversion(unsigned long target, const QDeadlineTimer& deadline, bool* refused);
    std::optional<QByteArray> takeProperty();

    std::unique_ptr<X11Connection> m_x11;
    int m_fixesEventBase;
    Clock& m_clock;
    unsigned long m_window = 0;
    unsigned long m_property = 0;
    std::optional<qint64> m_claimedAtMs;
};
