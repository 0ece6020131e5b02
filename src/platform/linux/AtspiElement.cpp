#include "platform/linux/AtspiElement.h"

#include "platform/linux/ApplicationScale.h"
#include "platform/linux/AtspiFocus.h"
#include "platform/linux/AtspiLog.h"
#include "platform/linux/AtspiRoles.h"
#include "platform/linux/AtspiStateSearch.h"
#include "platform/linux/AtspiWindowOrigin.h"
#include "platform/linux/DevicePixels.h"

#include <atspi/atspi.h>
#include <cmath>

namespace {

// One reference to a GObject, dropped with the holder.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectRef = std::unique_ptr<T, GObjectUnref>;

template <typename T> GObjectRef<T> adopt(T* object)
{
    return GObjectRef<T>(object);
}

// Runs one bus call that reports errors; nothing when the budget refuses it or it fails.
template <typename F> auto ask(AtspiBudget& budget, F&& call) -> std::optional<decltype(call(nullptr))>
{
    if (!budget.begin())
        return std::nullopt;
    GError* error = nullptr;
    auto result = call(&error);
    budget.end();
    if (error) {
        // An application that cannot answer in time is worth a warning; one that declines a
        // request it does not support (an interface, a coordinate space) is answering normally.
        // The library passes the bus's error on as text only.
        const QString message = QString::fromUtf8(error->message);
        if (message.contains(QLatin1String("reply"), Qt::CaseInsensitive) ||
            message.contains(QLatin1String("timed out"), Qt::CaseInsensitive) ||
            message.contains(QLatin1String("disconnected"), Qt::CaseInsensitive))
            qCWarning(atspiLog) << "Accessibility call failed:" << error->message;
        else
            qCDebug(atspiLog) << "Accessibility call declined:" << error->message;
        g_error_free(error);
        return std::nullopt;
    }
    return result;
}

// Runs one library call that may go to the bus without reporting errors.
template <typename F> auto askQuietly(AtspiBudget& budget, F&& call) -> decltype(call())
{
    if (!budget.begin())
        return {};
    auto result = call();
    budget.end();
    return result;
}

QString fromUtf8(gchar* text)
{
    QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
}

struct Range {
    int start = 0;
    int end = 0;
};

// The first selected range of a text; an empty optional when the call fails, an empty range
// when nothing is selected.
std::optional<Range> selectedRange(AtspiBudget& budget, AtspiText* text)
{
    const auto count = ask(budget, [&](GError** e) { return atspi_text_get_n_selections(text, e); });
    if (!count)
        return std::nullopt;
    if (*count <= 0)
        return Range{};
    const auto range = ask(budget, [&](GError** e) { return atspi_text_get_selection(text, 0, e); });
    if (!range || !*range)
        return std::nullopt;
    const Range result{(*range)->start_offset, (*range)->end_offset};
    g_free(*range);
    return result.end > result.start ? result : Range{};
}

// An element's Text interface with its first selected range.
struct TextSelection {
    GObjectRef<AtspiText> text;
    Range range;
};

// Nothing when the element has no Text interface or its selection cannot be asked for.
std::optional<TextSelection> textSelection(AtspiBudget& budget, AtspiAccessible* accessible)
{
    auto text = askQuietly(budget, [&] { return adopt(atspi_accessible_get_text_iface(accessible)); });
    if (!text)
        return std::nullopt;
    const auto range = selectedRange(budget, text.get());
    if (!range)
        return std::nullopt;
    return TextSelection{std::move(text), *range};
}

// The selected characters; nothing when the call fails.
std::optional<QString> selectedCharacters(AtspiBudget& budget, const TextSelection& selection)
{
    const auto selected = ask(budget, [&](GError** e) {
        return atspi_text_get_text(selection.text.get(), selection.range.start, selection.range.end, e);
    });
    if (!selected)
        return std::nullopt;
    return fromUtf8(*selected);
}

} // namespace

AtspiElement::AtspiElement(AtspiAccessible* accessible, std::shared_ptr<AtspiBudget> budget)
    : m_accessible(accessible), m_budget(std::move(budget))
{}

AtspiElement::~AtspiElement()
{
    g_object_unref(m_accessible);
}

AccessibilityElementRef AtspiElement::wrap(AtspiAccessible* accessible) const
{
    if (!accessible)
        return {};
    return std::make_shared<AtspiElement>(accessible, m_budget);
}

void AtspiElement::setMessagingTimeout(double seconds)
{
    m_budget->setTimeoutMs(std::max(1, int(std::lround(seconds * 1000))));
}

AccessibilityElementRef AtspiElement::focusedElement()
{
    return wrap(AtspiFocus::find(m_accessible, *m_budget));
}

// One search request for the elements in the editable state (Chromium's text fields carry the
// state without the editing interface, so the state alone tells); browsers' documents answer
// it, and without it nothing is found.
AccessibilityElementRef AtspiElement::selectedEditableDescendant()
{
    AtspiStateSearch::Matches matches =
        AtspiStateSearch::find(m_accessible, ATSPI_STATE_EDITABLE, maxEditableMatches, *m_budget);
    AtspiAccessible* found = nullptr;
    for (AtspiAccessible* match : matches.elements) {
        const auto selection = textSelection(*m_budget, match);
        if (selection && selection->range.end > selection->range.start) {
            found = ATSPI_ACCESSIBLE(g_object_ref(match));
            break;
        }
    }
    AtspiStateSearch::release(matches);
    if (!matches.error.isEmpty())
        qCDebug(atspiLog) << "Accessibility search for editable elements failed:" << matches.error;
    return wrap(found);
}

AccessibilityElementRef AtspiElement::parent()
{
    const auto parent = ask(*m_budget, [&](GError** e) { return atspi_accessible_get_parent(m_accessible, e); });
    if (!parent || !*parent)
        return {};
    // The desktop is the parent of every application, not an element of one.
    if (atspi_accessible_get_role(*parent, nullptr) == ATSPI_ROLE_DESKTOP_FRAME) {
        g_object_unref(*parent);
        return {};
    }
    return wrap(*parent);
}

bool AtspiElement::hasState(int state)
{
    auto states = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_state_set(m_accessible)); });
    return states && atspi_state_set_contains(states.get(), AtspiStateType(state));
}

// The element itself counts: an editable document is its own nearest editable container.
AccessibilityElementRef AtspiElement::editableAncestor()
{
    if (hasState(ATSPI_STATE_EDITABLE))
        return wrap(ATSPI_ACCESSIBLE(g_object_ref(m_accessible)));
    AccessibilityElementRef current = parent();
    for (int depth = 1; current && depth < maxEditableDepth; ++depth) {
        if (static_cast<AtspiElement&>(*current).hasState(ATSPI_STATE_EDITABLE))
            return current;
        current = current->parent();
    }
    return {};
}

std::optional<QString> AtspiElement::selectedText()
{
    const auto selection = textSelection(*m_budget, m_accessible);
    if (!selection)
        return std::nullopt;
    if (selection->range.end <= selection->range.start)
        return QString();
    return selectedCharacters(*m_budget, *selection);
}

std::optional<QString> AtspiElement::role()
{
    const auto role = ask(*m_budget, [&](GError** e) { return int(atspi_accessible_get_role(m_accessible, e)); });
    if (!role)
        return std::nullopt;
    auto states = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_state_set(m_accessible)); });
    const bool singleLine = states && atspi_state_set_contains(states.get(), ATSPI_STATE_SINGLE_LINE);
    const bool multiLine = states && atspi_state_set_contains(states.get(), ATSPI_STATE_MULTI_LINE);
    const auto name = ask(*m_budget, [&](GError** e) { return atspi_accessible_get_role_name(m_accessible, e); });
    return AtspiRoles::name(*role, singleLine, multiLine, name ? fromUtf8(*name) : QString());
}

std::optional<QString> AtspiElement::value()
{
    auto text = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_text_iface(m_accessible)); });
    if (!text)
        return std::nullopt;
    const auto count = ask(*m_budget, [&](GError** e) { return atspi_text_get_character_count(text.get(), e); });
    if (!count)
        return std::nullopt;
    const auto whole = ask(*m_budget, [&](GError** e) { return atspi_text_get_text(text.get(), 0, *count, e); });
    if (!whole)
        return std::nullopt;
    return fromUtf8(*whole);
}

// Both attributes are written the same way here. A read-only text view may still offer the
// editing interface (and claim success for every edit while changing nothing), so the editable
// state must be set as well.
bool AtspiElement::isSettable(Attribute)
{
    return isEditableText() && hasState(ATSPI_STATE_EDITABLE);
}

bool AtspiElement::isEditableText()
{
    auto editable =
        askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_editable_text_iface(m_accessible)); });
    return bool(editable);
}

// Deletes the selected range and inserts at its start. Without a selection nothing is written.
bool AtspiElement::setSelectedText(const QString& text)
{
    if (!isSettable(Attribute::SelectedText))
        return false;
    auto textIface = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_text_iface(m_accessible)); });
    auto editable =
        askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_editable_text_iface(m_accessible)); });
    if (!textIface || !editable)
        return false;
    const auto range = selectedRange(*m_budget, textIface.get());
    if (!range || range->end <= range->start)
        return false;
    const auto deleted = ask(*m_budget, [&](GError** e) {
        return atspi_editable_text_delete_text(editable.get(), range->start, range->end, e);
    });
    if (!deleted || !*deleted)
        return false;
    const QByteArray utf8 = text.toUtf8();
    const auto inserted = ask(*m_budget, [&](GError** e) {
        return atspi_editable_text_insert_text(editable.get(), range->start, utf8.constData(), utf8.size(), e);
    });
    return inserted && *inserted;
}

// Offsets count characters here (the toolkits that embed objects count them so).
std::optional<std::vector<AccessibilityElementRef>> AtspiElement::selectedEmbeddedElements()
{
    const auto selection = textSelection(*m_budget, m_accessible);
    if (!selection)
        return std::nullopt;
    std::vector<AccessibilityElementRef> elements;
    if (selection->range.end <= selection->range.start)
        return elements;
    const auto selected = selectedCharacters(*m_budget, *selection);
    if (!selected)
        return std::nullopt;
    const QList<uint> characters = selected->toUcs4();
    if (characters.count(0xFFFC) > maxEmbedded)
        return std::nullopt;
    auto hypertext = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_hypertext_iface(m_accessible)); });
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (characters[i] != 0xFFFC)
            continue;
        if (!hypertext)
            return std::nullopt;
        auto element = embeddedAt(hypertext.get(), selection->range.start + int(i));
        if (!element)
            return std::nullopt;
        elements.push_back(std::move(*element));
    }
    return elements;
}

// The element behind the embedded object at offset: null when it holds no text, nothing when
// it cannot be told.
std::optional<AccessibilityElementRef> AtspiElement::embeddedAt(AtspiHypertext* hypertext, int offset)
{
    const auto index = ask(*m_budget, [&](GError** e) { return atspi_hypertext_get_link_index(hypertext, offset, e); });
    if (!index || *index < 0)
        return std::nullopt;
    const auto link = ask(*m_budget, [&](GError** e) { return atspi_hypertext_get_link(hypertext, *index, e); });
    if (!link || !*link)
        return std::nullopt;
    GObjectRef<AtspiHyperlink> held(*link);
    const auto object = ask(*m_budget, [&](GError** e) { return atspi_hyperlink_get_object(held.get(), 0, e); });
    if (!object || !*object)
        return std::nullopt;
    AccessibilityElementRef element = wrap(*object);
    auto text = askQuietly(*m_budget, [&] {
        return adopt(atspi_accessible_get_text_iface(static_cast<AtspiElement&>(*element).m_accessible));
    });
    return text ? element : nullptr;
}

// The extents of a range: asked as a whole, or as its first and last characters where a toolkit
// answers only for single characters (GTK 4) or gives the range no height. Extents without a
// height are passed on only when the characters give nothing better.
std::optional<QRectF> AtspiElement::rangeExtents(AtspiText* text, int start, int end, int coordType)
{
    const auto rect = ask(*m_budget, [&](GError** e) {
        return atspi_text_get_range_extents(text, start, end, AtspiCoordType(coordType), e);
    });
    std::optional<QRectF> reported;
    if (rect && *rect) {
        reported = QRectF((*rect)->x, (*rect)->y, (*rect)->width, (*rect)->height);
        g_free(*rect);
        if (reported->height() > 0)
            return reported;
    }
    const auto first = characterExtents(text, start, coordType);
    const auto joined = first ? rangeFromCharacters(first, characterExtents(text, end - 1, coordType)) : std::nullopt;
    return joined ? joined : reported;
}

std::optional<QRectF> AtspiElement::characterExtents(AtspiText* text, int offset, int coordType)
{
    const auto character = ask(*m_budget, [&](GError** e) {
        return atspi_text_get_character_extents(text, offset, AtspiCoordType(coordType), e);
    });
    if (!character || !*character)
        return std::nullopt;
    const QRectF box((*character)->x, (*character)->y, (*character)->width, (*character)->height);
    g_free(*character);
    return box;
}

std::optional<QRectF> AtspiElement::rangeFromCharacters(const std::optional<QRectF>& first,
                                                        const std::optional<QRectF>& last)
{
    if (!first || !last || first->height() <= 0 || last->height() <= 0)
        return std::nullopt;
    return first->united(*last);
}

// Screen coordinates have the origin at the top-left of the root window on every toolkit
// (window coordinates do not); they are device pixels, or the application's own scaled pixels
// for a toolkit that scales itself. A toolkit that knows no screen coordinates gives window
// coordinates, placed where the X server has the window. The selection logic gets logical pixels.
std::optional<QRectF> AtspiElement::selectedTextBounds()
{
    const auto selection = textSelection(*m_budget, m_accessible);
    if (!selection || selection->range.end <= selection->range.start)
        return std::nullopt;
    AtspiText* const text = selection->text.get();
    const Range& range = selection->range;
    const auto onScreen = rangeExtents(text, range.start, range.end, ATSPI_COORD_TYPE_SCREEN);
    // Selected characters have a height; extents without one (KTextEditor's, which also lie
    // beside the text) say nothing about where the text is, and the pill goes to the pointer.
    if (onScreen && onScreen->height() <= 0)
        return std::nullopt;
    const auto pid = ask(*m_budget, [&](GError** e) { return atspi_accessible_get_process_id(m_accessible, e); });
    const auto window = pid ? windowSize() : std::nullopt;
    const double scale = window ? ApplicationScale::of(*pid, *window) : 1.0;
    const auto scaled = [scale](const QRectF& r) { return QRectF(r.topLeft() * scale, r.size() * scale); };
    if (onScreen)
        return DevicePixels::toLogical(scaled(*onScreen));
    if (!window)
        return std::nullopt;
    const auto inWindow = rangeExtents(text, range.start, range.end, ATSPI_COORD_TYPE_WINDOW);
    const auto origin = inWindow ? AtspiWindowOrigin::of(*pid, *window * scale) : std::nullopt;
    if (!origin)
        return std::nullopt;
    return DevicePixels::toLogical(scaled(*inWindow).translated(*origin));
}

// The size of the top-level window: the ancestor whose parent is the application.
std::optional<QSizeF> AtspiElement::windowSize()
{
    GObjectRef<AtspiAccessible> current(ATSPI_ACCESSIBLE(g_object_ref(m_accessible)));
    for (int depth = 0; depth < maxWindowDepth; ++depth) {
        const auto parent = ask(*m_budget, [&](GError** e) { return atspi_accessible_get_parent(current.get(), e); });
        if (!parent || !*parent)
            return std::nullopt;
        GObjectRef<AtspiAccessible> up(*parent);
        if (atspi_accessible_get_role(up.get(), nullptr) == ATSPI_ROLE_APPLICATION)
            return extentsSize(current.get());
        current = std::move(up);
    }
    return std::nullopt;
}

std::optional<QSizeF> AtspiElement::extentsSize(AtspiAccessible* window)
{
    auto component = askQuietly(*m_budget, [&] { return adopt(atspi_accessible_get_component_iface(window)); });
    if (!component)
        return std::nullopt;
    const auto extents = ask(*m_budget, [&](GError** e) {
        return atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, e);
    });
    if (!extents || !*extents)
        return std::nullopt;
    const QSizeF size((*extents)->width, (*extents)->height);
    g_free(*extents);
    return size;
}

// The desktop's accessibility support is one switch for every application (turned on by the
// user's choice in the settings); there is nothing to ask of a single application.
void AtspiElement::enableManualAccessibility() {}
