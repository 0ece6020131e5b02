#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QTextDocumentFragment>
#include <QUrl>

// The small Markdown subset that answers are shown in: headings, bullet and numbered list items,
// fenced code blocks and paragraphs, each block's text then styled inline (emphasis, strong,
// code spans, links). Everything else stays plain text. Parsing is cheap enough to run again on
// every streamed delta of an answer.
class MarkdownText {
public:
    // One block of an answer, compared and hashed by kind and payload.
    struct Block {
        enum class Kind { Heading, Bullet, Numbered, Code, Paragraph };

        Kind kind = Kind::Paragraph;
        // The heading, item or paragraph text, or the code of a code block.
        QString text;
        // The heading level (1 to 6) or the bullet's indent; 0 for the other kinds.
        int level = 0;
        // The numbered item's marker, such as "12." or "2)"; empty for the other kinds.
        QString marker;

        static Block heading(int level, const QString& text) { return {Kind::Heading, text, level, {}}; }
        static Block bullet(const QString& text, int indent) { return {Kind::Bullet, text, indent, {}}; }
        static Block numbered(const QString& marker, const QString& text) { return {Kind::Numbered, text, 0, marker}; }
        static Block code(const QString& code) { return {Kind::Code, code, 0, {}}; }
        static Block paragraph(const QString& text) { return {Kind::Paragraph, text, 0, {}}; }

        int indent() const { return kind == Kind::Bullet ? level : 0; }

        friend bool operator==(const Block&, const Block&) = default;
    };

    // A place where parsing can start again when more text is added at the end: the start of a
    // line before which every block is finished, and how many blocks come before it.
    struct Checkpoint {
        qsizetype offset = 0;
        qsizetype blockCount = 0;
    };

    // Splits an answer into blocks in one pass over its lines. Pure; linear in the input.
    static QList<Block> parse(QStringView markdown);
    // The blocks of `markdown` from `from` on, where `from` is a checkpoint of an earlier parse of
    // a text that `markdown` begins with: the blocks before it are those of the earlier parse.
    // `last` receives the last checkpoint of `markdown`.
    static QList<Block> parse(QStringView markdown, Checkpoint from, Checkpoint* last);

    // One block's text with its inline styling. Line breaks are kept; text the inline parser
    // cannot take comes back unstyled. Images are shown by their alternative text and never
    // loaded. Links keep their target as the anchor; ask canOpenLink before following one.
    // Needs a QGuiApplication; the result is a single paragraph, lines split by U+2028.
    static QTextDocumentFragment inlineText(const QString& text);

    // Whether a link from an answer may be handed to the desktop to open: only web addresses
    // (http, https with a host) and mail addresses (mailto). Answer text is untrusted, so
    // everything else, the program's own scheme included, is refused.
    static bool canOpenLink(const QUrl& url);
};

Q_DECLARE_TYPEINFO(MarkdownText::Block, Q_RELOCATABLE_TYPE);

size_t qHash(const MarkdownText::Block& block, size_t seed = 0);
