#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <optional>

// One of the eight built-in ways to rewrite a selection. A small value that converts to and
// from its case, so `RewriteStyle style = RewriteStyle::grammar;` and `switch (style)` work.
// Its stable text form (rawValue) is the case name; it is also its identity in lists.
class RewriteStyle {
public:
    enum Case { Improve, Grammar, Shorter, Longer, Professional, Casual, Simplify, Translate };

    constexpr RewriteStyle(Case value = Improve) : m_value(value) {}
    constexpr operator Case() const { return m_value; }

    // The style's display name ("Fix spelling & grammar"); the translate style names the
    // current target language.
    QString title() const;
    // The display name in the program's own language, as history records keep it.
    QString untranslatedTitle() const;
    // The sentence that tells the model how to rewrite.
    QString instruction() const;
    // The icon name shown for a rewrite in this style.
    QString iconName() const;
    // The case name: "improve", "grammar", …
    QString toString() const;
    QString id() const { return toString(); }

    // The style whose raw value is exactly the text (case-sensitive); nothing otherwise.
    static std::optional<RewriteStyle> fromString(const QString& name);
    // All eight styles in declaration order.
    static QList<RewriteStyle> all();

private:
    Case m_value;
};

Q_DECLARE_METATYPE(RewriteStyle)
