#pragma once

#include <QString>
#include <QStringList>

// One paragraph of ordinary inline Markdown, about `characters` long: sentences with strong and
// emphasised words, code spans and links, a soft line break now and then (or, without
// `lineBreaks`, a space in its place), never a blank line.
inline QString longParagraph(qsizetype characters, bool lineBreaks = true)
{
    const QStringList sentences = {
        QStringLiteral("The **first point** is that claims need *evidence*, as the `config` file says. "),
        QStringLiteral("See [the guide](https://example.com/guide) for the remaining cases, one by one. "),
        QStringLiteral("A _second_ look shows that `run --fast` and **`run --safe`** differ in one flag only. "),
        QStringLiteral("Plain words follow here, with nothing styled in them at all, to keep the mix honest.\n"),
    };
    QString paragraph;
    for (int i = 0; paragraph.size() < characters; ++i)
        paragraph += sentences[i % sentences.size()];
    paragraph.truncate(characters);
    if (!lineBreaks)
        paragraph.replace(u'\n', u' ');
    return paragraph.trimmed();
}
