#include "Mnemonics/MnemonicImageExport.h"

#include "Clock.h"
#include "SystemClipboard.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

MnemonicImageExport::MnemonicImageExport(QObject* parent)
    : QObject(parent), ownedClipboard_(std::make_unique<SystemClipboard>()),
      clipboard_(ownedClipboard_.get()) {}

MnemonicImageExport::MnemonicImageExport(Clipboard& clipboard, MnemonicImageRenderer::Options options,
                                         QObject* parent)
    : QObject(parent), clipboard_(&clipboard), options_(options) {}

MnemonicImageExport::~MnemonicImageExport() = default;

void MnemonicImageExport::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    forgetImage();
    Q_EMIT sourceChanged();
}

void MnemonicImageExport::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    forgetImage();
    Q_EMIT sourceChanged();
}

// A picture of the old mnemonic, ready or on its way, is of no use any more.
void MnemonicImageExport::forgetImage() {
    image_ = QImage();
    tasks_.cancel(std::exchange(workTask_, 0));
    if (pending_ != Action::none) {
        pending_ = Action::none;
        Q_EMIT stateChanged();
    }
}

QString MnemonicImageExport::saveLabel() const {
    return pending_ == Action::save ? QStringLiteral("Preparing image…") : QStringLiteral("Save image…");
}

QString MnemonicImageExport::copyLabel() const {
    if (pending_ == Action::copy)
        return QStringLiteral("Preparing image…");
    return didCopy_ ? QStringLiteral("Copied") : QStringLiteral("Copy image");
}

void MnemonicImageExport::prepareSave() {
    start(Action::save);
}

void MnemonicImageExport::copy() {
    start(Action::copy);
}

void MnemonicImageExport::start(Action action) {
    if (pending_ != Action::none)
        return;
    setError({});
    if (!image_.isNull()) {
        finish(action);
        return;
    }
    pending_ = action;
    Q_EMIT stateChanged();
    const auto failed = [this] {
        workTask_ = 0;
        pending_ = Action::none;
        setError(renderFailedText);
        Q_EMIT stateChanged();
    };
    workTask_ = tasks_.spawn(
        paint(this, text_, title_),
        [this, action, failed](const QImage& image) {
            if (image.isNull())
                return failed();
            workTask_ = 0;
            pending_ = Action::none;
            image_ = image;
            finish(action);
        },
        async::TaskScope::ErrorHandler([failed](std::exception_ptr) { failed(); }));
}

async::WorkerThread& MnemonicImageExport::worker() {
    if (!worker_)
        worker_ = std::make_unique<async::WorkerThread>(QStringLiteral("Mnemonic image"));
    return *worker_;
}

async::Task<QImage> MnemonicImageExport::paint(MnemonicImageExport* self, QString text, QString title) {
    const MnemonicImageRenderer::Options options = self->options_;
    // The job is a local: g++ 12 destroys a closure built inside the co_await expression twice.
    auto job = [text, title, options] { return MnemonicImageRenderer::render(text, title, options); };
    QImage image = co_await self->worker().run(std::move(job));
    co_return image;
}

void MnemonicImageExport::finish(Action action) {
    if (action == Action::save) {
        Q_EMIT stateChanged();
        Q_EMIT saveReady(suggestedFile());
        return;
    }
    clipboard_->setImage(image_);
    didCopy_ = true;
    Q_EMIT stateChanged();
    tasks_.cancel(copiedTask_);
    copiedTask_ = tasks_.spawn(clearCopiedLater(), [this] {
        copiedTask_ = 0;
        didCopy_ = false;
        Q_EMIT stateChanged();
    });
}

async::Task<void> MnemonicImageExport::clearCopiedLater() {
    co_await async::Clock::current().sleep(copiedDuration);
}

QUrl MnemonicImageExport::suggestedFile() const {
    const QString title = title_.trimmed();
    QString name = title.isEmpty() ? QStringLiteral("Mnemonic") : title + QStringLiteral(" mnemonic");
    // Characters that file systems or dialogs refuse in a name.
    static const QRegularExpression unsafe(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])"));
    name = name.replace(unsafe, QStringLiteral(" ")).simplified() + QStringLiteral(".png");
    return QUrl::fromLocalFile(
        QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)).filePath(name));
}

void MnemonicImageExport::save(const QUrl& file) {
    if (pending_ != Action::none)
        return;
    const QString path = file.toLocalFile();
    if (image_.isNull() || path.isEmpty()) {
        setError(QStringLiteral("Couldn't save the image: %1")
                     .arg(image_.isNull() ? QStringLiteral("there is no picture yet")
                                          : QStringLiteral("not a local file")));
        return;
    }
    setError({});
    pending_ = Action::save;
    Q_EMIT stateChanged();
    workTask_ = tasks_.spawn(write(this, image_, path), [this, file](const QString& failure) {
        workTask_ = 0;
        pending_ = Action::none;
        if (!failure.isEmpty())
            setError(QStringLiteral("Couldn't save the image: %1").arg(failure));
        Q_EMIT stateChanged();
        if (failure.isEmpty())
            Q_EMIT saved(file);
    });
}

async::Task<QString> MnemonicImageExport::write(MnemonicImageExport* self, QImage image, QString path) {
    auto job = [image, path] {
        QSaveFile out(path);
        if (out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit())
            return QString();
        return out.errorString();
    };
    QString failure = co_await self->worker().run(std::move(job));
    co_return failure;
}

void MnemonicImageExport::setError(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT stateChanged();
}
