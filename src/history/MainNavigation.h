#pragma once

#include <QObject>
#include <QUuid>

// What the main window shows on its right side: the stored conversation with selectedID, or,
// when selectedID is null, the new chat whose identity is newChatID. Main thread only; one
// shared instance for the program.
class MainNavigation : public QObject {
    Q_OBJECT
    Q_PROPERTY(QUuid selectedID READ selectedID WRITE setSelectedID NOTIFY selectedIDChanged)
    Q_PROPERTY(QUuid newChatID READ newChatID WRITE setNewChatID NOTIFY newChatIDChanged)

public:
    explicit MainNavigation(QObject* parent = nullptr);

    static MainNavigation& shared();

    // Null when the new chat is shown.
    QUuid selectedID() const { return m_selectedID; }
    void setSelectedID(const QUuid& id);
    QUuid newChatID() const { return m_newChatID; }
    void setNewChatID(const QUuid& id);

    // A fresh identity for the new chat, which is then shown.
    void startNewChat();

Q_SIGNALS:
    void selectedIDChanged();
    void newChatIDChanged();

private:
    QUuid m_selectedID;
    QUuid m_newChatID = QUuid::createUuid();
};
