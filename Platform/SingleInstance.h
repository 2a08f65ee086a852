#pragma once

#include <QObject>
#include <QUrl>

class QLocalServer;
class QLocalSocket;

// One running app per user. The first process listens on a local socket named after the app id
// and the user; a later one hands it what it was started with (a URL, a deep link from a
// notification, or nothing, which asks the running one to come to the front) and then exits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        // No other instance answered: this process listens now.
        primary,
        // The running instance took the message; this process is done.
        handedOver,
    };

    // `name`: a socket name (placed in the temporary directory) or an absolute path.
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The app's socket: in the user's runtime directory when there is one, else a name of the
    // temporary directory that carries the user id.
    static QString socketName(const QString& appId);

    // Hands `url` (empty: "come to the front") to a running instance, or becomes the one that
    // runs. A socket left behind by a crashed instance is removed. Waits on the event loop until
    // the running instance answers.
    Role claim(const QUrl& url);
    // The same for a deep link (`orbelo --deep-link quiz-auto-start`, started by the notifier).
    Role claimForDeepLink(const QString& deepLink);
    bool isListening() const;

Q_SIGNALS:
    // Another process was started with this URL.
    void urlReceived(const QUrl& url);
    // Another process was started with this deep link.
    void deepLinkReceived(const QString& deepLink);
    // Another process was started with neither.
    void activationRequested();

private:
    Role claimWith(const QByteArray& command);
    bool handOver(const QByteArray& command);
    bool listen();
    void accept();
    void read(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
};
