#include "mainwindow/HistoryRowDelegate.h"

#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QPainter>

QFont HistoryRowDelegate::captionFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

QSize HistoryRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QFontMetrics text(option.font);
    if (index.data(HeadingRole).toBool())
        return {option.rect.width(), text.height() + 12};
    if (index.data(NoteRole).toBool())
        return {option.rect.width(), text.height() * 3 + 8};
    const QFontMetrics caption(captionFont(option.font));
    return {option.rect.width(), text.height() + 2 + caption.height() + 12};
}

void HistoryRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool dark = Theme::isDark(option.palette);
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    if (selected)
        painter->fillRect(option.rect, Theme::accent(dark).lighter(dark ? 60 : 175));
    const QRect area = option.rect.adjusted(10, 4, -8, -4);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.data(HeadingRole).toBool() || index.data(NoteRole).toBool()) {
        QFont font = index.data(HeadingRole).toBool() ? captionFont(option.font) : option.font;
        font.setBold(index.data(HeadingRole).toBool());
        painter->setFont(font);
        painter->setPen(Theme::secondaryText(dark));
        painter->drawText(area, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, text);
        painter->restore();
        return;
    }
    const QString iconName = index.data(IconNameRole).toString();
    const QPixmap icon = Icons::pixmap(iconName, 16, Theme::accent(dark), painter->device()->devicePixelRatioF());
    painter->drawPixmap(area.left(), area.top() + 2, icon);
    const QRect textArea = area.adjusted(24, 0, 0, 0);
    const QFontMetrics metrics(option.font);
    painter->setFont(option.font);
    painter->setPen(Theme::text(dark));
    painter->drawText(textArea.left(), textArea.top() + metrics.ascent(),
                      metrics.elidedText(text, Qt::ElideRight, textArea.width()));
    const QFont caption = captionFont(option.font);
    const QFontMetrics captionMetrics(caption);
    painter->setFont(caption);
    painter->setPen(Theme::secondaryText(dark));
    painter->drawText(textArea.left(), textArea.top() + metrics.height() + 2 + captionMetrics.ascent(),
                      captionMetrics.elidedText(index.data(SubtitleRole).toString(), Qt::ElideRight, textArea.width()));
    painter->restore();
}
