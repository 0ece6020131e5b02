#pragma once

#include "actions/AIAction.h"

#include <QList>
#include <QString>
#include <QUrl>

// What the result view shows of one conversation, as plain data: the action and the selection
// it started from, the turns so far, and whether the model is working or has failed.
struct ResultViewData {
    struct Source {
        QString title;
        QUrl url;
    };
    struct Turn {
        QString question;
        QString answer;
        QList<Source> sources;
    };
    // The remedy offered with an error.
    enum class Fix { Retry, SignIn };

    AIAction action;
    QString selectionText;
    QString appName;
    bool isEditable = false;
    QList<Turn> turns;
    bool isStreaming = false;
    QString status;
    QString errorMessage;
    Fix errorFix = Fix::Retry;
    // An Ask conversation before its first question.
    bool needsFirstQuestion = false;
    bool canFollowUp = false;

    // The latest answer is empty (nothing to copy or put in place yet).
    bool latestAnswerEmpty() const { return turns.isEmpty() || turns.last().answer.trimmed().isEmpty(); }
};
