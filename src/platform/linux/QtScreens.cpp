#include "platform/linux/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

ScreenInfo QtScreens::info(const QScreen& screen)
{
    return {QRectF(screen.geometry()), QRectF(screen.availableGeometry())};
}

QList<ScreenInfo> QtScreens::screens()
{
    QList<ScreenInfo> result;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        result.append(info(*primary));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            result.append(info(*screen));
    }
    return result;
}

// The screen of this program's active window when it has one, else the one under the pointer.
std::optional<ScreenInfo> QtScreens::mainScreen()
{
    const QWindow* window = QGuiApplication::focusWindow();
    const QScreen* screen = window ? window->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return info(*screen);
}

QPointF QtScreens::cursorPosition()
{
    return QCursor::pos();
}
