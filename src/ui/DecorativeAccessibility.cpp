#include "ui/DecorativeAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char* const decorativeProperty = "halvoraDecorative";

// A decorative widget's accessible object: nameless and never showing.
class DecorativeInterface : public QAccessibleWidget {
public:
    explicit DecorativeInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.focusable = false;
        return state;
    }
    QString text(QAccessible::Text) const override { return QString(); }
};

QAccessibleInterface* decorativeFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(decorativeProperty).toBool())
        return new DecorativeInterface(widget);
    return nullptr;
}

} // namespace

void DecorativeAccessibility::hide(QWidget* widget)
{
    static const bool installed = [] {
        QAccessible::installFactory(decorativeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(decorativeProperty, true);
}
