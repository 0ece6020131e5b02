#pragma once

#include "actions/RewriteStyle.h"
#include "actions/WritingMode.h"
#include "common/Wording.h"

#include <QJsonArray>
#include <QMetaType>
#include <QString>
#include <optional>
#include <variant>

// What the user asked the program to do with a selection: one of eight cases, some with a
// payload (the rewrite style, the writing mode, whether a chat researches the web). A plain
// value; two actions are equal when their cases and payloads are equal. It is never stored:
// history keeps a kind name and a style text instead.
//
// Besides the display title and icon name it knows what the model is sent for it: the system
// prompt, the first user message wrapped around the selection and the server tools.
class AIAction {
public:
    // The cases, in the order of their tags 0 to 7.
    enum class Case { Rewrite, Custom, Chat, Explain, Translate, Research, WebSearch, Ask };

    // A plain chat; a value is needed for QVariant and queued signals.
    AIAction() = default;

    static AIAction rewrite(RewriteStyle style);
    static AIAction custom(const WritingMode& mode);
    static AIAction chat(bool deep);
    static AIAction explain() { return AIAction(Case::Explain); }
    static AIAction translate() { return AIAction(Case::Translate); }
    static AIAction research() { return AIAction(Case::Research); }
    static AIAction webSearch() { return AIAction(Case::WebSearch); }
    static AIAction ask() { return AIAction(Case::Ask); }

    Case actionCase() const { return m_case; }
    int tag() const { return static_cast<int>(m_case); }
    // The payloads: present only for their own case.
    std::optional<RewriteStyle> style() const;
    std::optional<WritingMode> writingMode() const;
    // True only for a chat with web research.
    bool isDeep() const;

    // Display title: the style's or mode's name, or "Chat", "Explain", "Ask AI", …
    QString title() const;
    // Name of the icon shown for the action.
    QString iconName() const;

    // rewrite and custom: the answer replaces the selection, and there are no follow-ups.
    bool isRewriting() const { return m_case == Case::Rewrite || m_case == Case::Custom; }
    // research, webSearch and a deep chat: they carry the web tools.
    bool isWeb() const;
    bool allowsFollowUps() const { return !isRewriting(); }
    // Every action but ask starts its first turn as soon as it is chosen; ask waits for a question.
    bool runsAtOnce() const { return m_case != Case::Ask; }
    // Status shown when a turn starts: "Rewriting…", "Searching the web…" or "Thinking…".
    QString openingStatus() const;
    // The history kind this action is recorded under: "rewrite", "chat", "search", …
    QString historyKindName() const;
    // The history style: the title for rewriting actions, nothing for the others.
    std::optional<QString> historyStyle() const;

    // The system prompt.
    QString systemPrompt() const;
    // The first user message of a conversation about the selection. Later questions are sent alone.
    QString firstUserMessage(const QString& selection, const std::optional<QString>& question = std::nullopt) const;
    // The server tools for the request, each {"type", "name", "max_uses"}; often empty.
    QJsonArray tools() const;

    friend bool operator==(const AIAction&, const AIAction&) = default;

private:
    using Payload = std::variant<std::monostate, RewriteStyle, WritingMode, bool>;
    explicit AIAction(Case actionCase, Payload payload = {}) : m_case(actionCase), m_payload(std::move(payload)) {}

    QString instructionPrompt() const;

    Case m_case = Case::Chat;
    Payload m_payload = false;
};

Q_DECLARE_METATYPE(AIAction)
