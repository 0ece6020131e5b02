#include "actions/AIAction.h"

#include <QCoreApplication>

AIAction AIAction::rewrite(RewriteStyle style)
{
    return AIAction(Case::rewrite, style);
}

AIAction AIAction::custom(const WritingMode& mode)
{
    return AIAction(Case::custom, mode);
}

AIAction AIAction::chat(bool deep)
{
    return AIAction(Case::chat, deep);
}

std::optional<RewriteStyle> AIAction::style() const
{
    if (const auto* style = std::get_if<RewriteStyle>(&m_payload))
        return *style;
    return std::nullopt;
}

std::optional<WritingMode> AIAction::writingMode() const
{
    if (const auto* mode = std::get_if<WritingMode>(&m_payload))
        return *mode;
    return std::nullopt;
}

bool AIAction::isDeep() const
{
    const auto* deep = std::get_if<bool>(&m_payload);
    return m_case == Case::chat && deep && *deep;
}

QString AIAction::title() const
{
    switch (m_case) {
    case Case::rewrite:
        return std::get<RewriteStyle>(m_payload).title();
    case Case::custom:
        return std::get<WritingMode>(m_payload).name;
    case Case::chat:
        return isDeep() ? QCoreApplication::translate("AIAction", "Deep research")
                        : QCoreApplication::translate("AIAction", "Chat");
    case Case::explain:
        return QCoreApplication::translate("AIAction", "Explain");
    case Case::translate:
        return QCoreApplication::translate("AIAction", "Translate");
    case Case::research:
        return QCoreApplication::translate("AIAction", "Research");
    case Case::webSearch:
        return QCoreApplication::translate("AIAction", "Web search");
    case Case::ask:
        return QCoreApplication::translate("AIAction", "Ask AI");
    }
    return {};
}

QString AIAction::symbol() const
{
    switch (m_case) {
    case Case::rewrite:
        return std::get<RewriteStyle>(m_payload).symbol();
    case Case::custom:
        return QStringLiteral("text.badge.checkmark");
    case Case::chat:
        return isDeep() ? QStringLiteral("books.vertical") : QStringLiteral("bubble.left.and.text.bubble.right");
    case Case::explain:
        return QStringLiteral("lightbulb");
    case Case::translate:
        return QStringLiteral("character.bubble");
    case Case::research:
        return QStringLiteral("books.vertical");
    case Case::webSearch:
        return QStringLiteral("globe");
    case Case::ask:
        return QStringLiteral("sparkles");
    }
    return {};
}

bool AIAction::isWeb() const
{
    return m_case == Case::research || m_case == Case::webSearch || isDeep();
}

QString AIAction::openingStatus() const
{
    if (isWeb())
        return QCoreApplication::translate("AIAction", "Searching the web…");
    if (isRewriting())
        return QCoreApplication::translate("AIAction", "Rewriting…");
    return QCoreApplication::translate("AIAction", "Thinking…");
}

QString AIAction::historyKindName() const
{
    switch (m_case) {
    case Case::rewrite:
    case Case::custom:
        return QStringLiteral("rewrite");
    case Case::chat:
        return QStringLiteral("chat");
    case Case::explain:
        return QStringLiteral("explain");
    case Case::translate:
        return QStringLiteral("translate");
    case Case::research:
        return QStringLiteral("research");
    case Case::webSearch:
        return QStringLiteral("search");
    case Case::ask:
        return QStringLiteral("ask");
    }
    return {};
}

std::optional<QString> AIAction::historyStyle() const
{
    if (const std::optional<RewriteStyle> rewrite = style())
        return rewrite->untranslatedTitle();
    if (isRewriting())
        return title();
    return std::nullopt;
}
