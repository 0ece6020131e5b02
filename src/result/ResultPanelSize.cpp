#include "result/ResultPanelSize.h"

#include "platform/Preferences.h"

#include <QRegularExpression>
#include <cmath>

QString ResultPanelSize::key()
{
    return QStringLiteral("resultPanelSize");
}

QSizeF ResultPanelSize::read(const Preferences& defaults)
{
    const QVariant stored = defaults.value(key());
    if (stored.typeId() == QMetaType::QString) {
        const std::optional<QSizeF> size = parse(stored.toString());
        if (size && size->width() >= minimumWidth && size->height() >= minimumHeight)
            return *size;
    }
    return {defaultWidth, defaultHeight};
}

void ResultPanelSize::write(Preferences& defaults, const QSizeF& size)
{
    defaults.setValue(key(), format(size));
}

QString ResultPanelSize::format(const QSizeF& size)
{
    return QStringLiteral("{%1, %2}").arg(size.width(), 0, 'g', 15).arg(size.height(), 0, 'g', 15);
}

std::optional<QSizeF> ResultPanelSize::parse(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*\{\s*([-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*,\s*)"
                       R"(([-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*\}\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double width = match.captured(1).toDouble();
    const double height = match.captured(2).toDouble();
    if (!std::isfinite(width) || !std::isfinite(height))
        return std::nullopt;
    return QSizeF(width, height);
}
