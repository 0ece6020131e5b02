#pragma once

#include "model/WebSource.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>
#include <optional>

// One question (absent for an opening turn that has none) and the model's answer to it, as the
// result panel and the chat hold it while it streams: the sources the answer cited and the ones
// its search found are kept apart until the turn is listed or saved.
struct ConversationTurn {
    QUuid id = QUuid::createUuid();
    std::optional<QString> question;
    QString answer;
    // A chat turn asked with web research.
    bool deep = false;
    QList<WebSource> citedSources;
    QList<WebSource> foundSources;

    // The cited sources, or the first few found ones when nothing was cited.
    QList<WebSource> sources() const;
    bool operator==(const ConversationTurn& other) const = default;
};

Q_DECLARE_METATYPE(ConversationTurn)
