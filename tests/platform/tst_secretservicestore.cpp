#include "platform/linux/SecretServiceStore.h"
#include "support/TestRows.h"

#include <QTest>
#include <libsecret/secret.h>

// The token item in the real Secret Service of the private test session.

namespace {

// The keyring items of the account token and of the key that earlier versions stored.
const QString tokenItem = QStringLiteral("Halvora.account-token");
const QString legacyItem = QStringLiteral("Halvora.anthropic-api-key");

const SecretSchema* testSchema()
{
    static const SecretSchema schema = {"org.halvora.test.GenericPassword",
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
                                        {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
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

int itemCount(const QString& service)
{
    GError* error = nullptr;
    GList* items = secret_password_search_sync(testSchema(), SECRET_SEARCH_ALL, nullptr, &error, "service",
                                               service.toUtf8().constData(), "account", "default", nullptr);
    g_clear_error(&error);
    const int count = int(g_list_length(items));
    g_list_free_full(items, g_object_unref);
    return count;
}

bool storeBytes(const QString& service, const QByteArray& bytes)
{
    SecretValue* value = secret_value_new(bytes.constData(), bytes.size(), "application/octet-stream");
    GError* error = nullptr;
    const bool stored =
        secret_password_store_binary_sync(testSchema(), SECRET_COLLECTION_DEFAULT, "test item", value, nullptr, &error,
                                          "service", service.toUtf8().constData(), "account", "default", nullptr);
    g_clear_error(&error);
    secret_value_unref(value);
    return stored;
}

} // namespace

class TestSecretServiceStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("No session bus: run inside scripts/with-session");
    }

    void init()
    {
        QVERIFY(SecretServiceStore().remove(tokenItem));
        QVERIFY(SecretServiceStore().remove(legacyItem));
    }

    void cleanupTestCase() { init(); }

    void savesTrimmedToken_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("stored");

        addRow("plain", "hv_abc123", "hv_abc123");
        addRow("spaces and a trailing newline", "  hv_abc123 \n", "hv_abc123");
        addRow("non-ASCII", "tök€n", "tök€n");
    }

    void savesTrimmedToken()
    {
        QFETCH(QString, token);
        QFETCH(QString, stored);
        QVERIFY(SecretServiceStore().save(tokenItem, token));
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::optional<QString>(stored));
    }

    void blankSaveDeletes_data()
    {
        QTest::addColumn<bool>("itemExists");
        addRow("existing item", true);
        addRow("no item", false);
    }

    void blankSaveDeletes()
    {
        QFETCH(bool, itemExists);
        if (itemExists)
            QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_old")));
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral(" \n\t ")));
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::nullopt);
        QCOMPARE(itemCount(tokenItem), 0);
    }

    void savingTwiceKeepsOneItem()
    {
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_first")));
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_second")));
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_second")));
        QCOMPARE(itemCount(tokenItem), 1);
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::optional<QString>(QStringLiteral("hv_second")));
    }

    void nonUtf8ItemLoadsAsNone()
    {
        QVERIFY(storeBytes(tokenItem, QByteArray("hv_\xff\xfe", 5)));
        QCOMPARE(itemCount(tokenItem), 1);
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::nullopt);
    }

    void removesTheLegacyItemOnly()
    {
        QVERIFY(storeBytes(legacyItem, "sk-old"));
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_keep")));
        QVERIFY(SecretServiceStore().remove(legacyItem));
        QCOMPARE(itemCount(legacyItem), 0);
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::optional<QString>(QStringLiteral("hv_keep")));
    }
};

QTEST_GUILESS_MAIN(TestSecretServiceStore)
#include "tst_secretservicestore.moc"
