#include "platform/linux/SecretServiceStore.h"

#include "platform/PlatformLog.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringDecoder>
#include <functional>
#include <libsecret/secret.h>
#include <memory>

namespace {

const char* const kAccount = "default";

// The program's items are matched by their attributes alone, like generic passwords, so the
// schema name does not take part in lookups.
const SecretSchema* schema()
{
    static const SecretSchema schema = {"org.halvora.GenericPassword",
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
                                        {
                                            {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                            {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                            {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
                                        },
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    return &schema;
}

// The longest a keyring call may take. Normally a call takes a few milliseconds; a keyring
// daemon that shows an unlock prompt or hangs would otherwise block the caller indefinitely.
constexpr guint kDeadlineMs = 2000;

// One keyring call, run to completion on a private GLib main context.
//
// libsecret's synchronous functions block without a limit, so the asynchronous ones are used
// with a cancellable and a deadline. The call is started with a private context pushed as the
// thread's default, which makes GDBus deliver its reply there, and only that context is
// iterated until the reply (or the cancellation after the deadline) arrives. Nothing else is
// dispatched meanwhile: neither Qt's events nor other GLib sources of the main context, so
// the wait cannot re-enter the program.
class BoundedCall {
public:
    using Start = std::function<void(GCancellable*, GAsyncReadyCallback, gpointer)>;
    using Finish = std::function<void(GAsyncResult*)>;

    static void run(const Start& start, const Finish& finish)
    {
        BoundedCall call;
        call.m_finish = finish;
        g_main_context_push_thread_default(call.m_context);
        GSource* deadline = g_timeout_source_new(kDeadlineMs);
        g_source_set_callback(deadline, &BoundedCall::cancel, call.m_cancellable, nullptr);
        g_source_attach(deadline, call.m_context);
        start(call.m_cancellable, &BoundedCall::done, &call);
        while (!call.m_done)
            g_main_context_iteration(call.m_context, TRUE);
        g_source_destroy(deadline);
        g_source_unref(deadline);
        g_main_context_pop_thread_default(call.m_context);
    }

private:
    BoundedCall() : m_context(g_main_context_new()), m_cancellable(g_cancellable_new()) {}
    ~BoundedCall()
    {
        g_object_unref(m_cancellable);
        g_main_context_unref(m_context);
    }

    static gboolean cancel(gpointer cancellable)
    {
        g_cancellable_cancel(G_CANCELLABLE(cancellable));
        return G_SOURCE_REMOVE;
    }

    static void done(GObject*, GAsyncResult* result, gpointer self)
    {
        auto* call = static_cast<BoundedCall*>(self);
        call->m_finish(result);
        call->m_done = true;
    }

    GMainContext* m_context;
    GCancellable* m_cancellable;
    Finish m_finish;
    bool m_done = false;
};

// Whether a session bus is there to talk to: an address in the environment, or the bus
// socket in the runtime folder. Without either, GDBus would fall back to launching a bus of
// its own (and with it, on demand, a keyring daemon nobody unlocks).
bool hasSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

// Leaves one warning line for a keyring call that failed, and frees its error. The keyring's
// messages name the call and the bus error, never a secret.
void warnKeyring(const char* what, GError*& error)
{
    if (!error)
        return;
    qCWarning(platformLog) << "Keyring:" << what << "failed:" << error->message;
    g_clear_error(&error);
}

std::optional<QString> decodeUtf8(const char* data, gsize length)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(data, qsizetype(length)));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The Secret Service connection, or none when it does not answer within the deadline.
SecretService* boundedService()
{
    SecretService* service = nullptr;
    BoundedCall::run([](GCancellable* cancellable, GAsyncReadyCallback done,
                        gpointer data) { secret_service_get(SECRET_SERVICE_NONE, cancellable, done, data); },
                     [&](GAsyncResult* result) {
                         GError* error = nullptr;
                         service = secret_service_get_finish(result, &error);
                         warnKeyring("connecting to the Secret Service", error);
                     });
    return service;
}

GHashTable* tokenAttributes(const QByteArray& service)
{
    GHashTable* attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, const_cast<char*>("service"), const_cast<char*>(service.constData()));
    g_hash_table_insert(attributes, const_cast<char*>("account"), const_cast<char*>(kAccount));
    return attributes;
}

// A keyring call without a deadline, for one that waits on the user (an unlock prompt): it
// runs on the main thread's own loop, so nothing waits for it, and ends only when the keyring
// answers. Cancelling the handle cancels the call; its callback is then never run.
struct PromptingCall {
    using Finish = std::function<void(GAsyncResult*)>;
    std::shared_ptr<CancelToken> token;
    // Shared with the cancellation, which may come before or after the keyring's answer.
    std::shared_ptr<GCancellable> cancellable{g_cancellable_new(), g_object_unref};
    Finish finish;

    static TaskHandle start(const std::function<void(GCancellable*, GAsyncReadyCallback, gpointer)>& begin,
                            Finish finish)
    {
        auto* call = new PromptingCall;
        TaskHandle handle = TaskHandle::create(&call->token);
        call->finish = std::move(finish);
        call->token->onCancel([cancellable = call->cancellable] { g_cancellable_cancel(cancellable.get()); });
        begin(call->cancellable.get(), &PromptingCall::done, call);
        return handle;
    }

    // The keyring's answer; after a cancellation it comes as "cancelled" and is dropped.
    static void done(GObject*, GAsyncResult* result, gpointer self)
    {
        std::unique_ptr<PromptingCall> call(static_cast<PromptingCall*>(self));
        if (call->token->isCancelled())
            return;
        call->token->finish();
        call->finish(result);
    }
};

} // namespace

SecretStore::Lookup SecretServiceStore::lookup(const QString& serviceName)
{
    if (!hasSessionBus())
        return {};
    SecretService* service = boundedService();
    if (!service)
        return {};
    const QByteArray name = serviceName.toUtf8();
    GHashTable* attributes = tokenAttributes(name);
    Lookup found;
    // Searching without unlocking: an item in a locked keyring is reported, not opened, since
    // opening it waits for the user.
    BoundedCall::run(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_search(service, schema(), attributes, SECRET_SEARCH_LOAD_SECRETS, cancellable, done, data);
        },
        [&](GAsyncResult* result) {
            GError* error = nullptr;
            GList* items = secret_service_search_finish(service, result, &error);
            warnKeyring("looking up a secret", error);
            if (items) {
                auto* item = SECRET_ITEM(items->data);
                found.locked = secret_item_get_locked(item);
                if (SecretValue* value = found.locked ? nullptr : secret_item_get_secret(item)) {
                    gsize length = 0;
                    const gchar* bytes = secret_value_get(value, &length);
                    found.secret = decodeUtf8(bytes, length);
                    secret_value_unref(value);
                }
            }
            g_list_free_full(items, g_object_unref);
        });
    g_hash_table_unref(attributes);
    g_object_unref(service);
    return found;
}

bool SecretServiceStore::needsUnlock()
{
    if (!hasSessionBus())
        return false;
    SecretService* service = boundedService();
    if (!service)
        return false;
    bool locked = false;
    bool answered = false;
    BoundedCall::run(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_collection_for_alias(service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancellable, done,
                                        data);
        },
        [&](GAsyncResult* result) {
            GError* error = nullptr;
            SecretCollection* collection = secret_collection_for_alias_finish(result, &error);
            answered = error == nullptr;
            // No default keyring yet: storing creates one, which asks the user for a password.
            locked = answered && (!collection || secret_collection_get_locked(collection));
            warnKeyring("finding the default keyring", error);
            if (collection)
                g_object_unref(collection);
        });
    g_object_unref(service);
    return locked;
}

TaskHandle SecretServiceStore::unlockAndLoad(const QString& serviceName,
                                             std::function<void(std::optional<QString>)> done)
{
    const QByteArray service = serviceName.toUtf8();
    return PromptingCall::start(
        [service](GCancellable* cancellable, GAsyncReadyCallback ready, gpointer data) {
            secret_password_lookup(schema(), cancellable, ready, data, "service", service.constData(), "account",
                                   kAccount, nullptr);
        },
        [done = std::move(done)](GAsyncResult* result) {
            GError* error = nullptr;
            SecretValue* value = secret_password_lookup_binary_finish(result, &error);
            warnKeyring("unlocking and reading a secret", error);
            std::optional<QString> secret;
            if (value) {
                gsize length = 0;
                const gchar* bytes = secret_value_get(value, &length);
                secret = decodeUtf8(bytes, length);
                secret_value_unref(value);
            }
            done(secret);
        });
}

TaskHandle SecretServiceStore::unlockAndSave(const QString& serviceName, const QString& value,
                                             std::function<void(bool)> done)
{
    const QByteArray service = serviceName.toUtf8();
    const QByteArray secret = value.trimmed().toUtf8();
    return PromptingCall::start(
        [service, secret](GCancellable* cancellable, GAsyncReadyCallback ready, gpointer data) {
            secret_password_store(schema(), SECRET_COLLECTION_DEFAULT, service.constData(), secret.constData(),
                                  cancellable, ready, data, "service", service.constData(), "account", kAccount,
                                  nullptr);
        },
        [done = std::move(done)](GAsyncResult* result) {
            GError* error = nullptr;
            const bool stored = secret_password_store_finish(result, &error);
            warnKeyring("unlocking and storing a secret", error);
            done(stored);
        });
}

bool SecretServiceStore::save(const QString& serviceName, const QString& value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return remove(serviceName);
    if (!hasSessionBus()) {
        qCWarning(platformLog) << "Keyring: no session bus; the secret is kept for this session only";
        return false;
    }
    const QByteArray service = serviceName.toUtf8();
    const QByteArray secret = trimmed.toUtf8();
    bool stored = false;
    // Storing with the same attributes replaces the existing item's secret, so a second save
    // updates rather than duplicates.
    BoundedCall::run(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_password_store(schema(), SECRET_COLLECTION_DEFAULT, service.constData(), secret.constData(),
                                  cancellable, done, data, "service", service.constData(), "account", kAccount,
                                  nullptr);
        },
        [&](GAsyncResult* result) {
            GError* error = nullptr;
            stored = secret_password_store_finish(result, &error);
            warnKeyring("storing a secret", error);
        });
    return stored;
}

bool SecretServiceStore::remove(const QString& service)
{
    if (!hasSessionBus())
        return false;
    const QByteArray name = service.toUtf8();
    bool removed = false;
    BoundedCall::run(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_password_clear(schema(), cancellable, done, data, "service", name.constData(), "account", kAccount,
                                  nullptr);
        },
        [&](GAsyncResult* result) {
            GError* error = nullptr;
            secret_password_clear_finish(result, &error);
            // Clearing reports false without an error when there was no item: that is success.
            removed = error == nullptr;
            warnKeyring("removing a stored item", error);
        });
    return removed;
}
