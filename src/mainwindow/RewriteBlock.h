#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

// One titled block of a rewrite's record: a heading with a Copy button above the text, which
// sits on the surface colour when emphasised. copy() puts the text on the clipboard.
class RewriteBlock : public QWidget {
    Q_OBJECT
public:
    RewriteBlock(const QString& title, const QString& text, bool emphasised, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    QString text() const { return m_text; }
    // Shows "Copied" with a check mark instead of "Copy".
    void setCopied(bool copied);
    bool isCopied() const { return m_copied; }
    QToolButton* copyButton() const { return m_copy; }

Q_SIGNALS:
    void copyRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void restyle();

    QString m_title;
    QString m_text;
    bool m_emphasised;
    bool m_copied = false;
    QLabel* m_body = nullptr;
    QToolButton* m_copy = nullptr;
};
