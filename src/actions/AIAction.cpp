#include "actions/AIAction.h"

#include <QCoreApplication>

AIAction AIAction::rewrite(RewriteStyle style)
{
    return AIAction(Case::Rewrite, style);
}

AIAction AIAction::custom(const WritingMode& mode)
{
    return AIAction(Case::Custom, mode);
}

AIAction AIAction::chat(bool deep)
{
    return AIAction(Case::Chat, deep);
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
    return m_case == Case::Chat && deep && *deep;
}

QString AIAction::title() const
{
    switch (m_case) {
    case Case::Rewrite:
        return std::get<RewriteStyle>(m_payload).title();
    case Case::Custom:
        return std::get<WritingMode>(m_payload).name;
    case Case::Chat:
        return isDeep() ? QCoreApplication::translate("AIAction", "Deep research")
                        : QCoreApplication::translate("AIAction", "Chat");
    case Case::Explain:
        return QCoreApplication::translate("AIAction", "Explain");
    case Case::Translate:
        return QCoreApplication::translate("AIAction", "Translate");
    case Case::Research:
        return QCoreApplication::translate("AIAction", "Research");
    case Case::WebSearch:
        return QCoreApplication::translate("AIAction", "Web search");
    case Case::Ask:
        return QCoreApplication::translate("AIAction", "Ask AI");
    }
    return {};
}

QString AIAction::iconName() const
{
    switch (m_case) {
    case Case::Rewrite:
        return std::get<RewriteStyle>(m_payload).iconName();
    case Case::Custom:
        return QStringLiteral("text-check");
    case Case::Chat:
        return isDeep() ? QStringLiteral("accessories-dictionary") : QStringLiteral("conversation");
    case Case::Explain:
        return QStringLiteral("dialog-information");
    case Case::Translate:
        return QStringLiteral("preferences-desktop-locale");
    case Case::Research:
        return QStringLiteral("accessories-dictionary");
    case Case::WebSearch:
        return QStringLiteral("applications-internet");
    case Case::Ask:
        return QStringLiteral("sparkles");
    }
    return {};
}

bool AIAction::isWeb() const
{
    return m_case == Case::Research || m_case == Case::WebSearch || isDeep();
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
    case Case::Rewrite:
    case Case::Custom:
        return QStringLiteral("rewrite");
    case Case::Chat:
        return QStringLiteral("chat");
    case Case::Explain:
        return QStringLiteral("explain");
    case Case::Translate:
        return QStringLiteral("translate");
    case Case::Research:
        return QStringLiteral("research");
    case Case::WebSearch:
        return QStringLiteral("search");
    case Case::Ask:
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
