#pragma once

#include "result/ResultViewData.h"

#include <QWidget>

class Clock;
class MarkdownView;
class QLabel;
class QVBoxLayout;

// One turn of a conversation: the user's question (if any) in a bubble at the trailing edge,
// the answer (plain text for rewrites, Markdown otherwise) and the numbered sources under it.
// Updating a turn with a longer answer updates the answer in place.
class TurnView : public QWidget {
    Q_OBJECT

public:
    TurnView(bool plainAnswer, Clock& clock, QWidget* parent = nullptr);

    void setTurn(const ResultViewData::Turn& turn);
    const ResultViewData::Turn& turn() const { return m_turn; }
    MarkdownView* markdownView() const { return m_markdown; }
    QLabel* plainAnswer() const { return m_plain; }
    QLabel* questionLabel() const { return m_question; }
    QWidget* sourcesBox() const { return m_sources; }

private:
    void setSources(const QList<ResultViewData::Source>& sources);

    ResultViewData::Turn m_turn;
    QLabel* m_question;
    MarkdownView* m_markdown = nullptr;
    QLabel* m_plain = nullptr;
    QWidget* m_sources;
};
