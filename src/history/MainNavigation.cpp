#include "history/MainNavigation.h"

MainNavigation::MainNavigation(QObject* parent) : QObject(parent) {}

MainNavigation& MainNavigation::shared()
{
    static MainNavigation* const navigation = new MainNavigation;
    return *navigation;
}

void MainNavigation::setSelectedID(const QUuid& id)
{
    if (id == m_selectedID)
        return;
    m_selectedID = id;
    Q_EMIT selectedIDChanged();
}

void MainNavigation::setNewChatID(const QUuid& id)
{
    if (id == m_newChatID)
        return;
    m_newChatID = id;
    Q_EMIT newChatIDChanged();
}

void MainNavigation::startNewChat()
{
    setNewChatID(QUuid::createUuid());
    setSelectedID(QUuid());
}
