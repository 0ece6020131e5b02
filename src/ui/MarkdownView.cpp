#include "ui/MarkdownView.h"

#include "platform/Clock.h"
#include "ui/MarkdownBlockView.h"

#include <QResizeEvent>

MarkdownView::MarkdownView(QWidget* parent) : MarkdownView(Clock::system(), parent) {}

MarkdownView::MarkdownView(Clock& clock, QWidget* parent) : QWidget(parent), m_clock(clock)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void MarkdownView::setMarkdown(const QString& markdown)
{
    if (markdown == m_markdown && !m_dirty)
        return;
    m_markdown = markdown;
    m_dirty = true;
    scheduleUpdate();
}

void MarkdownView::scheduleUpdate()
{
    if (m_pendingUpdate.isActive())
        return;
    const qint64 wait = qMax<qint64>(0, m_lastUpdateMs + frameMs - m_clock.monotonicMs());
    m_pendingUpdate = m_clock.after(int(wait), [this] { flush(); });
}

void MarkdownView::flush()
{
    m_pendingUpdate.cancel();
    if (!m_dirty)
        return;
    m_dirty = false;
    m_lastUpdateMs = m_clock.monotonicMs();
    // A streamed answer grows at its end: the blocks before the last checkpoint stay as they are.
    const MarkdownText::Checkpoint from = m_markdown.startsWith(m_parsed) ? m_checkpoint : MarkdownText::Checkpoint();
    m_parsed = m_markdown;
    apply(MarkdownText::parse(m_markdown, from, &m_checkpoint), from.blockCount);
    scheduleJoin();
}

void MarkdownView::rebuild()
{
    m_pendingUpdate.cancel();
    m_dirty = false;
    qDeleteAll(m_views);
    m_views.clear();
    m_heights.clear();
    m_blocks.clear();
    m_parsed = m_markdown;
    apply(MarkdownText::parse(m_markdown, {}, &m_checkpoint), 0);
    scheduleJoin();
}

void MarkdownView::scheduleJoin()
{
    m_pendingJoin = m_clock.after(joinDelayMs, [this] { joinPieces(); });
}

void MarkdownView::joinPieces()
{
    int firstJoined = -1;
    for (int i = int(m_views.size()) - 1; i >= 0; --i) {
        if (m_views[i]->joinPieces())
            firstJoined = i;
    }
    if (firstJoined >= 0)
        layoutFrom(firstJoined);
}

void MarkdownView::apply(const QList<MarkdownText::Block>& tail, qsizetype kept)
{
    const qsizetype count = kept + tail.size();
    qsizetype firstChanged = count;
    QList<MarkdownBlockView*> created;
    for (qsizetype i = kept; i < count; ++i) {
        const MarkdownText::Block& block = tail[i - kept];
        if (i < m_blocks.size() && m_blocks[i] == block)
            continue;
        firstChanged = qMin(firstChanged, i);
        ++m_blockUpdates;
        if (i < m_views.size() && m_views[i]->accepts(block)) {
            m_views[i]->setBlock(block);
            continue;
        }
        auto* view = new MarkdownBlockView(block, this);
        if (i < m_views.size())
            delete std::exchange(m_views[i], view);
        else
            m_views.append(view);
        created.append(view);
    }
    while (m_views.size() > count)
        delete m_views.takeLast();
    m_blocks.resize(kept);
    m_blocks.append(tail);
    m_heights.resize(m_views.size());
    layoutFrom(int(firstChanged));
    // Shown once placed: a widget shown before it has a size first sizes itself to its hint.
    for (MarkdownBlockView* view : created)
        view->show();
}

void MarkdownView::layoutFrom(int index)
{
    const int width = this->width();
    int y = 0;
    if (index > 0 && index <= m_views.size()) {
        const QWidget* previous = m_views[index - 1];
        y = previous->geometry().bottom() + 1 + blockSpacing;
    }
    for (int i = index; i < m_views.size(); ++i) {
        MarkdownBlockView* view = m_views[i];
        y += view->topMargin();
        m_heights[i] = view->heightForWidth(width);
        view->setGeometry(0, y, width, m_heights[i]);
        y += m_heights[i] + blockSpacing;
    }
    updateGeometry();
}

int MarkdownView::contentHeight(int width) const
{
    if (m_views.isEmpty())
        return 0;
    if (width == this->width()) {
        const QWidget* last = m_views.last();
        return last->geometry().bottom() + 1;
    }
    int height = 0;
    for (const MarkdownBlockView* view : m_views)
        height += view->topMargin() + view->heightForWidth(width) + blockSpacing;
    return height - blockSpacing;
}

int MarkdownView::heightForWidth(int width) const
{
    return contentHeight(width);
}

QSize MarkdownView::sizeHint() const
{
    const int width = qMax(this->width(), 300);
    return {width, contentHeight(width)};
}

// Only a new width changes how the blocks wrap; a new height is the parent following ours.
void MarkdownView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        layoutFrom(0);
}
