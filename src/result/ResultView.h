#pragma once

#include "result/ResultViewData.h"

#include <QList>
#include <QWidget>

class Clock;
class GrowingTextField;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QuoteButton;
class ResultFooter;
class ResultHeader;
class TurnView;
class WritingModeStore;

// The content of the result panel: the header, the quoted selection, the question field of an
// Ask conversation, the turns, a status line with Stop (Ctrl+.) while the model works, an error
// line with its remedy, and the footer. It shows a ResultViewData and reports what the user does
// through its signals; each new data updates the widgets in place, so a streaming answer only
// updates its own turn, and keeps its end in view unless the reader has scrolled up. Escape
// closes the panel.
class ResultView : public QWidget {
    Q_OBJECT

public:
    ResultView(const ResultViewData& data, Clock& clock, WritingModeStore& modes, QWidget* parent = nullptr);

    void setData(const ResultViewData& data);
    const ResultViewData& data() const { return m_data; }
    // Empties the question fields after a question was accepted.
    void clearQuestionFields();

    ResultHeader* header() const { return m_header; }
    QuoteButton* quote() const { return m_quote; }
    GrowingTextField* questionField() const { return m_questionField; }
    QList<TurnView*> turnViews() const { return m_turns; }
    QWidget* statusLine() const { return m_statusLine; }
    QWidget* errorLine() const { return m_errorLine; }
    QPushButton* remedyButton() const { return m_remedy; }
    ResultFooter* footer() const { return m_footer; }

Q_SIGNALS:
    void rewriteRequested(const AIAction& action);
    void continueRequested();
    // A question typed in the Ask field or the follow-up field.
    void questionSubmitted(const QString& text);
    void stopRequested();
    void retryRequested();
    void signInRequested();
    void copyRequested();
    void replaceRequested();
    // Escape.
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeStatusLine();
    QWidget* makeErrorLine();
    void updateTurns();
    void updateLines();
    void updateIcons();
    void followTheEnd();
    void scrollToLastTurn();
    void scrollToEnd();

    Clock& m_clock;
    ResultViewData m_data;
    ResultHeader* m_header;
    QScrollArea* m_scroll;
    QVBoxLayout* m_column;
    QuoteButton* m_quote;
    GrowingTextField* m_questionField;
    QList<TurnView*> m_turns;
    QWidget* m_statusLine;
    QLabel* m_statusText = nullptr;
    QWidget* m_errorLine;
    QLabel* m_errorIcon = nullptr;
    QLabel* m_errorText = nullptr;
    QPushButton* m_remedy = nullptr;
    ResultFooter* m_footer = nullptr;
    QWidget* m_footerDivider = nullptr;
    bool m_followingEnd = true;
    bool m_adjustingScroll = false;
};
