#pragma once

#include "common/TaskHandle.h"
#include "ui/MarkdownText.h"

#include <QList>
#include <QWidget>

class Clock;
class MarkdownBlockView;

// Shows a Markdown answer as a column of block widgets, 8 points apart, filling the width.
// While an answer streams, setMarkdown may be called for every delta: the text is parsed at most
// once per frame, from the start of the last block that can still change when the new text
// extends the old one; the new blocks are compared with the shown ones, and only the blocks
// that changed (normally the last) are updated; the rest keep their widgets and positions.
// A long block shows in pieces while it grows; once the text has rested for a while, each block
// is shown whole again, so that a selection can run through all of it.
class MarkdownView : public QWidget {
    Q_OBJECT

public:
    static constexpr int blockSpacing = 8;
    static constexpr int frameMs = 16;
    static constexpr int joinDelayMs = 1000;

    explicit MarkdownView(QWidget* parent = nullptr);
    MarkdownView(Clock& clock, QWidget* parent = nullptr);

    // Takes a new answer text; the view follows within one frame.
    void setMarkdown(const QString& markdown);
    const QString& markdown() const { return m_markdown; }
    // Applies a pending text now instead of at the next frame.
    void flush();
    // Throws every block widget away and builds them again (what a naive view would do).
    void rebuild();

    const QList<MarkdownText::Block>& blocks() const { return m_blocks; }
    QList<MarkdownBlockView*> blockViews() const { return m_views; }
    // How many block widgets were created or updated since the view was made.
    int blockUpdates() const { return m_blockUpdates; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {100, 0}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void scheduleUpdate();
    void scheduleJoin();
    void joinPieces();
    // Shows the blocks `tail` after the first `kept` blocks, which stay as they are.
    void apply(const QList<MarkdownText::Block>& tail, qsizetype kept);
    void layoutFrom(int index);
    int contentHeight(int width) const;

    Clock& m_clock;
    QString m_markdown;
    // The text the blocks were parsed from, and where a parse of a longer text can start again.
    QString m_parsed;
    MarkdownText::Checkpoint m_checkpoint;
    QList<MarkdownText::Block> m_blocks;
    QList<MarkdownBlockView*> m_views;
    QList<int> m_heights;
    TaskHandle m_pendingUpdate;
    TaskHandle m_pendingJoin;
    qint64 m_lastUpdateMs = -frameMs;
    bool m_dirty = false;
    int m_blockUpdates = 0;
};
