// The texts and tools the model is sent for each action. The wording is the program's
// instruction to the model: change it only on purpose, never in passing.
#include "actions/AIAction.h"
#include "actions/Translation.h"

#include <QJsonObject>

namespace {

using Wording::Text;

QString rewriteOutputRule()
{
    return QStringLiteral("Output only the rewritten text, exactly as it should replace the original: no preamble, no "
                          "quotes, no explanation. Keep the original language. Preserve line breaks, lists and "
                          "Markdown unless the instruction requires changing them.");
}

QString customModePrompt(const WritingMode& mode)
{
    // The name and the rules go in as the user wrote them, without escaping.
    return QStringLiteral("Rewrite the selected text following the user's writing mode \"") + mode.name +
           QStringLiteral("\". Its rules:\n<writing_mode>\n") + mode.instructions +
           QStringLiteral("\n</writing_mode>\nFollow these rules exactly. Keep the meaning and the facts; don't add or "
                          "remove information the rules don't call for.\n") +
           rewriteOutputRule();
}

QString wrappedSelection(const QString& selection)
{
    return QStringLiteral("<selected_text>\n") + selection + QStringLiteral("\n</selected_text>");
}

QJsonObject tool(const char* type, const char* name, int maxUses)
{
    return QJsonObject{
        {QStringLiteral("type"), QLatin1String(type)},
        {QStringLiteral("name"), QLatin1String(name)},
        {QStringLiteral("max_uses"), maxUses},
    };
}

} // namespace

QString AIAction::systemPrompt() const
{
    if (m_case != Case::Chat)
        return Wording::text(Text::PopupPreamble) + instructionPrompt();
    const QString chatPrompt = Wording::text(Text::ChatPrompt);
    if (!isDeep())
        return chatPrompt;
    return chatPrompt + QStringLiteral(" Research this message with web search, and fetch pages when you need detail. "
                                       "Prefer recent, authoritative sources and cite them.");
}

// The part of a pill action's system prompt that follows the popup preamble.
QString AIAction::instructionPrompt() const
{
    switch (m_case) {
    case Case::Rewrite:
        return QStringLiteral("Rewrite the selected text. ") + std::get<RewriteStyle>(m_payload).instruction() +
               QLatin1Char('\n') + rewriteOutputRule();
    case Case::Custom:
        return customModePrompt(std::get<WritingMode>(m_payload));
    case Case::Explain:
        return QStringLiteral(
            "Explain what the selected text means in plain language. Define jargon, acronyms and references, and add "
            "the context a smart non-expert would need. Match length to the selection: a short paragraph or a few "
            "bullets for a short selection, more for dense material. Use Markdown.");
    case Case::Translate:
        return Translation::instruction() +
               QStringLiteral(" Output only the translation: no preamble, no notes, no quotes. Keep names, numbers "
                              "and formatting. Translate naturally, not word for word.");
    case Case::Research:
        return QStringLiteral(
            "Research the selected text using web search, and fetch pages when you need detail. Produce a "
            "well-organized brief in Markdown with these sections: Summary, Key facts, Background, Different "
            "perspectives (only if there are real disagreements), and Open questions. Prefer recent, authoritative "
            "sources and cite them.");
    case Case::WebSearch:
        return QStringLiteral(
            "Search the web for the selected text and give a short, direct answer that summarizes what current "
            "sources say. Lead with the answer, then a few supporting bullets. Cite your sources. Use Markdown.");
    case Case::Ask:
        return QStringLiteral(
            "They have a question about the selection. Answer it directly, using the selected text as the main "
            "context and your own knowledge where useful. Be concise. Use Markdown.");
    case Case::Chat:
        break;
    }
    return {};
}

QString AIAction::firstUserMessage(const QString& selection, const std::optional<QString>& question) const
{
    switch (m_case) {
    case Case::Rewrite:
    case Case::Custom:
        return wrappedSelection(selection);
    case Case::Chat:
        return question.value_or(selection);
    case Case::Explain:
        return wrappedSelection(selection) + QStringLiteral("\n\nExplain this.");
    case Case::Translate:
        return wrappedSelection(selection) + QStringLiteral("\n\nTranslate this.");
    case Case::Research:
        return wrappedSelection(selection) + QStringLiteral("\n\nResearch this.");
    case Case::WebSearch:
        return wrappedSelection(selection) + QStringLiteral("\n\nSearch the web for this.");
    case Case::Ask:
        return wrappedSelection(selection) + QStringLiteral("\n\n") + question.value_or(QString());
    }
    return {};
}

QJsonArray AIAction::tools() const
{
    if (m_case == Case::WebSearch)
        return {tool("web_search_20260209", "web_search", 3)};
    if (isWeb())
        return {tool("web_search_20260209", "web_search", 8), tool("web_fetch_20260209", "web_fetch", 5)};
    return {};
}
