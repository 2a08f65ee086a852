#include "Auth/AuthStore.h"
#include "Auth/TokenSigner.h"
#include "Notifications/DeviceStore.h"
#include "SampleDocuments.h"
#include "ServerContext.h"
#include "ServerProcess.h"
#include "Storage/Database.h"
#include "Storage/PrivateFile.h"
#include "Storage/SecretHash.h"
#include "TestServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

namespace {
int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Every regular file under `dir`.
QStringList filesUnder(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

// Runs the test under a permissive umask, as a careless shell would start the server.
class PermissiveUmask {
public:
    PermissiveUmask() : previous_(::umask(022)) {}
    ~PermissiveUmask() { ::umask(previous_); }

private:
    mode_t previous_;
};
} // namespace

// The data dir: modes whatever the umask, and the token secret in a file of its own.
class DataDirTest : public QObject {
    Q_OBJECT

    QString uploadText(TestServer& server, const QString& token, const QByteArray& text) {
        const auto started = server.api(
            "POST", "/api/v2/uploads/document/initiate", token,
            {{"filename", "notes.txt"}, {"file_size", int(text.size())}, {"content_type", "text/plain"}});
        const QString documentId = started.json().value("document_id").toString();
        server.send("PUT", started.json().value("presigned_url").toString(), text,
                    {{"Content-Type", "text/plain"}});
        server.api("POST", "/api/v2/uploads/document/complete", token,
                   {{"document_id", documentId},
                    {"s3_key", started.json().value("s3_key")},
                    {"skip_syllabus_extraction", true}});
        return documentId;
    }

private slots:
    void modesUnderAPermissiveUmask() {
        const PermissiveUmask umask;
        TestServer server;
        QVERIFY(server.start());
        const QString token = server.sessionToken(server.signUp("modes@example.com", "password-1"));
        uploadText(server, token, "Osmosis is the diffusion of water across a membrane.");
        QCOMPARE(server.api("POST", "/api/tts/speak", token, {{"text", "Good morning."}}).status, 200);

        const QDir dir(server.dataDir());
        for (const QString& directory : {QString("."), QString("storage"), QString("media")})
            QCOMPARE(modeOf(dir.filePath(directory)), 0700);
        const QStringList required = {"orbelo.sqlite", "orbelo.sqlite-wal", "orbelo.sqlite-shm",
                                      "token-secret",  "admin-token",       "server-key.pem"};
        for (const QString& name : required) {
            QVERIFY2(QFile::exists(dir.filePath(name)), qPrintable(name));
            QCOMPARE(modeOf(dir.filePath(name)), 0600);
        }
        const QStringList uploads = filesUnder(dir.filePath("storage"));
        const QStringList media = filesUnder(dir.filePath("media"));
        QCOMPARE(uploads.size(), 1);
        QCOMPARE(media.size(), 1);
        for (const QString& file : uploads + media)
            QCOMPARE(modeOf(file), 0600);
    }

    void looseModesOfAnOlderDataDirAreTightened() {
        const PermissiveUmask umask;
        QTemporaryDir root;
        const QString dataDir = root.filePath("data");
        {
            TestServer first(dataDir);
            QVERIFY(first.start());
        }
        const QDir dir(dataDir);
        for (const QString& path : {dataDir, dir.filePath("storage"), dir.filePath("media")})
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0755) == 0);
        for (const char* name : {"orbelo.sqlite", "token-secret", "admin-token", "server-key.pem"})
            QVERIFY(::chmod(QFile::encodeName(dir.filePath(name)).constData(), 0644) == 0);
        // Uploads and audio in folders of their own, as an older version or a copy left them.
        const QStringList folders{"storage/user_a", "storage/user_a/doc_b", "media/user_a",
                                  "media/user_a/songs"};
        const QStringList files{"storage/user_a/doc_b/notes.txt", "media/user_a/songs/song_c.ogg"};
        for (const QString& folder : folders) {
            QVERIFY(dir.mkpath(folder));
            QVERIFY(::chmod(QFile::encodeName(dir.filePath(folder)).constData(), 0755) == 0);
        }
        for (const QString& file : files) {
            QVERIFY(PrivateFile::write(dir.filePath(file), "bytes"));
            QVERIFY(::chmod(QFile::encodeName(dir.filePath(file)).constData(), 0644) == 0);
        }

        TestServer second(dataDir);
        QVERIFY(second.start());
        QCOMPARE(modeOf(dataDir), 0700);
        for (const QString& folder : QStringList{"storage", "media"} + folders)
            QCOMPARE(modeOf(dir.filePath(folder)), 0700);
        for (const char* name :
             {"orbelo.sqlite", "orbelo.sqlite-wal", "token-secret", "admin-token", "server-key.pem"})
            QCOMPARE(modeOf(dir.filePath(name)), 0600);
        for (const QString& file : files)
            QCOMPARE(modeOf(dir.filePath(file)), 0600);
    }

    // Jobs from before named their document or song only in their JSON input: the migration names
    // it in a column of its own, which finding and deleting a document's jobs rely on.
    void jobsOfAnOlderDataDirAreNamedByTheirSubject() {
        QTemporaryDir dir;
        {
            Database db;
            QVERIFY(db.open(QDir(dir.path()).filePath("orbelo.sqlite")));
            QVERIFY(db.migrate(18));
            QVERIFY(
                db.exec("INSERT INTO jobs (id, user_id, job_type, status, input, created_at) VALUES"
                        " ('job_document', 'user_old', 'process_document', 'complete', ?, '2026-01-01'),"
                        " ('job_song', 'user_old', 'study_song', 'failed', ?, '2026-01-01'),"
                        " ('job_text', 'user_old', 'process_syllabus', 'complete', '{}', '2026-01-01')",
                        {R"({"document_id":"doc_old","check_syllabus":true})", R"({"song_id":"song_old"})"}));
        }
        TestServer server(dir.path());
        QVERIFY(server.start());
        Database& db = server.server().context().db;
        QHash<QString, QVariant> subjects;
        for (const QVariantMap& row : db.rows("SELECT id, subject_id FROM jobs"))
            subjects.insert(row.value("id").toString(), row.value("subject_id"));
        QCOMPARE(subjects.value("job_document").toString(), "doc_old");
        QCOMPARE(subjects.value("job_song").toString(), "song_old");
        QVERIFY(subjects.value("job_text").isNull());
    }

    // Older data dirs kept device tokens and backup codes in plain text: a start hashes them all
    // in one transaction, and the same token and codes still work.
    void plainSecretsOfAnOlderDataDirAreHashed() {
        QTemporaryDir dir;
        const QString clientToken = "dvc_plain_client_token";
        const QString pushToken(64, 'c');
        const QStringList codes{"12345678", "87654321"};
        {
            Database db;
            QVERIFY(db.open(QDir(dir.path()).filePath("orbelo.sqlite")));
            QVERIFY(db.migrate(16));
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const qint64 day = 24LL * 3600 * 1000;
            QVERIFY(db.exec("INSERT INTO users (id, email, email_id, backup_codes, created_at, updated_at)"
                            " VALUES ('user_old', 'old@example.com', 'idn_old', ?, ?, ?)",
                            {R"(["12345678","87654321"])", now, now}));
            QVERIFY(db.exec("INSERT INTO clients (id, device_token, created_at, updated_at)"
                            " VALUES ('client_old', ?, ?, ?)",
                            {clientToken, now, now}));
            QVERIFY(db.exec("INSERT INTO sessions (id, client_id, user_id, status, created_at, updated_at,"
                            " last_active_at, expire_at, abandon_at) VALUES ('sess_old', 'client_old',"
                            " 'user_old', 'active', ?, ?, ?, ?, ?)",
                            {now, now, now, now + day, now + 30 * day}));
            QVERIFY(db.exec("INSERT INTO devices (device_token, user_id, session_id, platform, registered_at,"
                            " updated_at) VALUES (?, 'user_old', 'sess_old', 'linux', ?, ?)",
                            {pushToken, now, now}));
        }
        const auto storedClientToken = [&] {
            Database db;
            return db.open(QDir(dir.path()).filePath("orbelo.sqlite"))
                       ? db.row("SELECT token_hash FROM clients")->value("token_hash").toString()
                       : QString();
        };
        {
            // A crash while hashing: everything stays plain, for the next start to hash.
            ServerProcess process(ORBELO_LOCAL_SERVER, dir.path(), "secrets-hashed");
            QCOMPARE(process.exitCode(), 70);
        }
        QCOMPARE(storedClientToken(), clientToken);

        TestServer server(dir.path());
        QVERIFY(server.start());
        ServerContext& context = server.server().context();
        QCOMPARE(storedClientToken(), SecretHash::of(clientToken));
        QCOMPARE(context.db.row("SELECT token_hash FROM devices")->value("token_hash").toString(),
                 SecretHash::of(pushToken));
        QCOMPARE(
            context.db.row("SELECT backup_code_hashes FROM users")->value("backup_code_hashes").toString(),
            AuthStore(context).backupCodeHashes("user_old", codes));
        QVERIFY(!context.db.row("SELECT 1 FROM settings WHERE key = 'plain_secrets'"));
        const auto client = server.send("GET", "/v1/client", {}, {{"Authorization", clientToken.toLatin1()}});
        QCOMPARE(client.at("response.id").toString(), "client_old");
        const auto device = DeviceStore(context).find(pushToken, context.nowMs());
        QVERIFY(device);
        QCOMPARE(device->userId, "user_old");

        // Hashed once: the next start leaves the hashes as they are.
        server.stop();
        QVERIFY(server.start());
        QCOMPARE(storedClientToken(), SecretHash::of(clientToken));
    }

    // Token secret
    void secretLivesInItsOwnFile() {
        TestServer server;
        QVERIFY(server.start());
        const auto stored = QByteArray::fromBase64([&] {
            QFile file(QDir(server.dataDir()).filePath("token-secret"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }());
        QCOMPARE(stored.size(), 32);
        QCOMPARE(stored, server.server().context().secret);
        QVERIFY(
            server.server().context().db.rows("SELECT * FROM settings WHERE key = 'token_secret'").isEmpty());
    }

    void secretMovesOutOfTheTableAndOldTokensStayValid() {
        TestServer server;
        server.freezeClock();
        QVERIFY(server.start());
        const TestServer::Device device = server.signUp("moved@example.com", "password-1");
        const QString token = server.sessionToken(device);
        const QByteArray secret = server.server().context().secret;
        const QString issuer = server.server().baseUrl();
        const qint64 now = server.server().context().nowSeconds();
        // Each start takes a new port, and the issuer names it: the old token is checked against
        // the old issuer under the secret the server now has.
        auto tokenStillVerifies = [&] {
            return TokenSigner(server.server().context().secret, issuer).verify(token, now).failure ==
                   TokenSigner::Failure::None;
        };
        QVERIFY(tokenStillVerifies());
        // The layout of older data dirs: the secret in the settings table and no file.
        QVERIFY(
            server.server().context().db.exec("INSERT INTO settings (key, value) VALUES ('token_secret', ?)",
                                              {QString::fromLatin1(secret.toBase64())}));
        server.stop();
        const QString secretPath = QDir(server.dataDir()).filePath("token-secret");
        QVERIFY(QFile::remove(secretPath));

        QVERIFY(server.start());
        QCOMPARE(server.server().context().secret, secret);
        QCOMPARE(modeOf(secretPath), 0600);
        QVERIFY(
            server.server().context().db.rows("SELECT * FROM settings WHERE key = 'token_secret'").isEmpty());
        QVERIFY(tokenStillVerifies());
        QCOMPARE(server.api("GET", "/api/bootstrap", server.sessionToken(device)).status, 200);
        // A stop between writing the file and deleting the row: the file wins, the row goes.
        QVERIFY(
            server.server().context().db.exec("INSERT INTO settings (key, value) VALUES ('token_secret', ?)",
                                              {QString::fromLatin1(QByteArray(32, 'x').toBase64())}));
        server.stop();
        QVERIFY(server.start());
        QCOMPARE(server.server().context().secret, secret);
        QVERIFY(
            server.server().context().db.rows("SELECT * FROM settings WHERE key = 'token_secret'").isEmpty());
        QVERIFY(tokenStillVerifies());
        QCOMPARE(server.api("GET", "/api/bootstrap", server.sessionToken(device)).status, 200);
    }

    void secretShorterThan32BytesIsRefused_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("starts");
        QTest::newRow("31 bytes") << 31 << false;
        QTest::newRow("32 bytes") << 32 << true;
    }
    void secretShorterThan32BytesIsRefused() {
        QFETCH(int, bytes);
        QFETCH(bool, starts);
        QTemporaryDir dir;
        QFile file(dir.filePath("token-secret"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(bytes, 's').toBase64() + '\n');
        file.close();
        TestServer server(dir.path());
        QCOMPARE(server.start(), starts);
    }
};

QTEST_MAIN(DataDirTest)
#include "DataDirTest.moc"
