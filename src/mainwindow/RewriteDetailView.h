#pragma once

#include "history/HistoryStore.h"

#include <QLocale>
#include <QScrollArea>

class RewriteBlock;

// The record of one rewrite: when it was made, the original text and the rewrite, each with
// a Copy button that shows "Copied" until the other block is copied.
class RewriteDetailView : public QScrollArea {
    Q_OBJECT
public:
    explicit RewriteDetailView(const HistoryStore::Conversation& conversation, QWidget* parent = nullptr);

    // The last answer, trimmed; empty when there is none.
    static QString result(const HistoryStore::Conversation& conversation);
    // The date with the month abbreviated and the time without seconds, in the user's locale.
    static QString when(const QDateTime& moment, const QLocale& locale = QLocale());
    // The title of the block copied last; empty before any copy.
    QString copied() const { return m_copied; }
    RewriteBlock* original() const { return m_original; }
    RewriteBlock* rewrite() const { return m_rewrite; }
    QString heading() const;
    QString subheading() const;

private:
    static QString mediumDateFormat(const QLocale& locale);
    static QString shortTimeFormat(const QLocale& locale);
    QWidget* buildHeader(QWidget* parent);
    void copy(RewriteBlock* block);

    HistoryStore::Conversation m_conversation;
    QString m_copied;
    RewriteBlock* m_original = nullptr;
    RewriteBlock* m_rewrite = nullptr;
};
