#include "TextRecognitionModule.h"

#include "TextRecognitionError.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QLoggingCategory>

#include <mutex>

Q_LOGGING_CATEGORY(lcTextRecognition, "com.orbelo.desktop.TextRecognition")

const TextRecognitionBackend& TextRecognitionModule::backend() {
    static std::mutex mutex;
    static const TextRecognitionBackend* loaded = nullptr;
    const std::lock_guard lock(mutex);
    if (!loaded)
        loaded = load(candidates(QCoreApplication::applicationDirPath()));
    if (!loaded)
        throw TextRecognitionError(TextRecognitionError::Kind::engineUnavailable, missingMessage);
    return *loaded;
}

QStringList TextRecognitionModule::candidates(const QString& applicationDir) {
    const QString file = QStringLiteral("orbelo-text-recognition");
    return {QDir::cleanPath(applicationDir + QStringLiteral("/" ORBELO_MODULE_DIR_FROM_BINDIR "/") + file),
            QStringLiteral(ORBELO_BUILD_MODULE_DIR "/") + file};
}

const TextRecognitionBackend* TextRecognitionModule::load(const QStringList& paths) {
    for (const QString& path : paths) {
        QLibrary library(path); // never unloaded: the recognizer's objects come from it
        using EntryPoint = const TextRecognitionBackend* (*)();
        if (auto entry = reinterpret_cast<EntryPoint>(library.resolve("orbeloTextRecognitionBackend")))
            return entry();
        qCDebug(lcTextRecognition).noquote() << library.errorString();
    }
    qCWarning(lcTextRecognition).noquote()
        << "no text recognition module in" << paths.join(QStringLiteral(", "));
    return nullptr;
}
