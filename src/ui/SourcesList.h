#pragma once

#include "model/WebSource.h"

#include <QFrame>

// The numbered list of web pages under an answer: "Sources", then one link per page with its
// number, its title and its host. Activating a link opens the page in the browser.
class SourcesList : public QFrame {
    Q_OBJECT
public:
    explicit SourcesList(const QList<WebSource>& sources, QWidget* parent = nullptr);

    // The second line of a link: the host, or the whole address when it has none.
    static QString hostLine(const QUrl& url);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* link(int number, const WebSource& source);
};
