#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Mnemonics/MnemonicImageRenderer.h"
#include "TaskScope.h"
#include "WorkerThread.h"

#include <QImage>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <memory>

class Clipboard;

// "Save image…" and "Copy image" of a mnemonic: the picture is painted on a worker thread (the
// button that asked reads "Preparing image…" meanwhile) and kept until the mnemonic changes.
// Saving asks the screen for a file through saveReady, then writes a PNG there, also on the worker
// (encoding a picture this size takes a while); copying puts the picture on the clipboard and
// reads "Copied" for a moment.
class MnemonicImageExport : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY sourceChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY sourceChanged)
    Q_PROPERTY(bool isPreparing READ isPreparing NOTIFY stateChanged)
    Q_PROPERTY(QString saveLabel READ saveLabel NOTIFY stateChanged)
    Q_PROPERTY(QString copyLabel READ copyLabel NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
public:
    static inline const QString renderFailedText = QStringLiteral("Couldn't render image.");
    static constexpr std::chrono::milliseconds copiedDuration{2000};

    // The desktop's clipboard and the standard picture size.
    explicit MnemonicImageExport(QObject* parent = nullptr);
    MnemonicImageExport(Clipboard& clipboard, MnemonicImageRenderer::Options options,
                        QObject* parent = nullptr);
    ~MnemonicImageExport() override;

    QString text() const { return text_; }
    void setText(const QString& text);
    QString title() const { return title_; }
    void setTitle(const QString& title);
    bool isPreparing() const { return pending_ != Action::none; }
    QString saveLabel() const;
    QString copyLabel() const;
    QString errorMessage() const { return errorMessage_; }

    // Paints the picture if needed, then asks for a file with saveReady.
    Q_INVOKABLE void prepareSave();
    // Writes the painted picture as a PNG, then reports saved; a failure is kept in errorMessage.
    Q_INVOKABLE void save(const QUrl& file);
    Q_INVOKABLE void copy();
    // The file to offer: the title and "mnemonic", in the Pictures folder.
    Q_INVOKABLE QUrl suggestedFile() const;

Q_SIGNALS:
    void sourceChanged();
    void stateChanged();
    void saveReady(const QUrl& suggestedFile);
    void saved(const QUrl& file);

private:
    enum class Action { none, save, copy };
    static async::Task<QImage> paint(MnemonicImageExport* self, QString text, QString title);
    // The reason it failed, or an empty text.
    static async::Task<QString> write(MnemonicImageExport* self, QImage image, QString path);
    async::WorkerThread& worker();
    static async::Task<void> clearCopiedLater();
    void start(Action action);
    void finish(Action action);
    void setError(const QString& message);
    void forgetImage();

    std::unique_ptr<Clipboard> ownedClipboard_;
    Clipboard* clipboard_;
    MnemonicImageRenderer::Options options_;
    QString text_;
    QString title_;
    QImage image_;
    Action pending_ = Action::none;
    bool didCopy_ = false;
    QString errorMessage_;
    std::unique_ptr<async::WorkerThread> worker_;
    async::TaskScope::TaskId workTask_ = 0;
    async::TaskScope::TaskId copiedTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
