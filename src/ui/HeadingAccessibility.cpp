#include "ui/HeadingAccessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QTextDocumentFragment>

namespace {

const char* const headingProperty = "halvoraHeading";

// A label's accessible object with the heading role; its name is the label's plain text.
class HeadingInterface : public QAccessibleWidget {
public:
    explicit HeadingInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::Heading) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const QLabel*>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty())
            return label->textFormat() == Qt::PlainText ? label->text()
                                                        : QTextDocumentFragment::fromHtml(label->text()).toPlainText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* headingFactory(const QString&, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(headingProperty).toBool())
        return new HeadingInterface(label);
    return nullptr;
}

} // namespace

void HeadingAccessibility::mark(QLabel* label)
{
    static const bool installed = [] {
        QAccessible::installFactory(headingFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(headingProperty, true);
}
