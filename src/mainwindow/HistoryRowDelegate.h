#pragma once

#include <QStyledItemDelegate>

// Draws the sidebar's rows: a group heading, or a conversation with its kind's icon in the
// accent colour beside its title and, smaller and dimmer, its subtitle.
class HistoryRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum Role { IdRole = Qt::UserRole, SubtitleRole, IconNameRole, HeadingRole, NoteRole };

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static QFont captionFont(const QFont& base);
};
