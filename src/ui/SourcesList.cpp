#include "ui/SourcesList.h"

#include "ui/HeadingAccessibility.h"
#include "ui/LinkOpener.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* smallLabel(const QString& text, qreal scale, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

SourcesList::SourcesList(const QList<WebSource>& sources, QWidget* parent) : QFrame(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(4);
    QLabel* heading = smallLabel(tr("Sources"), 0.85, this);
    QFont semibold = heading->font();
    semibold.setWeight(QFont::DemiBold);
    heading->setFont(semibold);
    HeadingAccessibility::mark(heading);
    column->addWidget(heading);
    for (int i = 0; i < sources.size(); ++i)
        column->addWidget(link(i + 1, sources[i]));
}

QString SourcesList::hostLine(const QUrl& url)
{
    return url.host().isEmpty() ? url.toString() : url.host();
}

QWidget* SourcesList::link(int number, const WebSource& source)
{
    // A flat button keeps the link reachable by keyboard and readable as one element.
    auto* button = new QPushButton(this);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setAccessibleName(tr("Source %1: %2").arg(number).arg(source.title));
    button->setToolTip(source.url.toString());
    auto* row = new QHBoxLayout(button);
    row->setContentsMargins(2, 2, 2, 2);
    QLabel* marker = smallLabel(QString::number(number) + QLatin1Char('.'), 1.0, button);
    QFont digits = marker->font();
    digits.setStyleHint(QFont::Monospace);
    digits.setFamily(QStringLiteral("monospace"));
    marker->setFont(digits);
    row->addWidget(marker, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    auto* title = new QLabel(source.title, button);
    title->setTextFormat(Qt::PlainText);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    texts->addWidget(title);
    texts->addWidget(smallLabel(hostLine(source.url), 0.75, button));
    row->addLayout(texts, 1);
    button->setMinimumHeight(row->sizeHint().height());
    const QUrl url = source.url;
    connect(button, &QPushButton::clicked, this, [url] { LinkOpener::open(url); });
    return button;
}

void SourcesList::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::border(Theme::isDark(palette())), 1));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}
