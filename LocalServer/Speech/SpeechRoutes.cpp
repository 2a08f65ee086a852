#include "Speech/SpeechRoutes.h"

#include "Rewards/UserRewardStore.h"

#include "Http/DeferredReply.h"
#include "Http/RangedFile.h"
#include "Jobs/JobStore.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Speech/ClipCache.h"
#include "Speech/SpeechSynthesizer.h"
#include "Speech/WavInfo.h"
#include "Terms/TextChunker.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject clipInfo(const QString& file) {
    QFile audio(file);
    if (!audio.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = audio.readAll();
    const auto wav = WavInfo::read(bytes);
    return QJsonObject{{"size_bytes", bytes.size()}, {"duration_ms", wav ? wav->durationMs() : 0}};
}

// Sentences grouped into segments of about `limit` characters.
QStringList segments(const QString& text, int limit) {
    QStringList out;
    QString current;
    for (const QString& sentence : TextChunker::sentences(text)) {
        if (!current.isEmpty() && current.size() + 1 + sentence.size() > limit) {
            out.append(current);
            current.clear();
        }
        current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + sentence;
    }
    if (!current.isEmpty())
        out.append(current);
    return out;
}

} // namespace

SpeechRoutes::SpeechRoutes(ServerContext& context)
    : context_(context),
      pool_(std::make_unique<SpeechPool>(context, SpeechLimits{}, &SpeechSynthesizer::synthesize)) {}

void SpeechRoutes::usePool(const SpeechLimits& limits, SpeechPool::Synthesize synthesize) {
    pool_->stop();
    pool_ = std::make_unique<SpeechPool>(context_, limits, std::move(synthesize));
}

JobQueue::Runner SpeechRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) { return narration(job); }};
}

QString SpeechRoutes::mediaPath(const QString& directory, const QString& userId, const QString& kind,
                                const QStringList& parts) const {
    return directory + '/' + kind + '-' + context_.sign((userId + '|' + parts.join('|')).toUtf8()).left(40) +
           ".wav";
}

ServerResponse SpeechRoutes::speak(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString text = body.value("text").toString().trimmed();
    if (text.isEmpty())
        return ServerResponse::apiError(422, "text is required.");
    if (text.size() > maxSpeakChars)
        return ServerResponse::apiError(413, "Clips are limited to 5000 characters.");
    const SpeechVoice voice = SpeechSynthesizer::voiceFor(context_.voice, body.value("voice").toString());
    const QString relative = mediaPath(userId, userId, "speak", {voice.name, text});
    const QString file = QDir(context_.mediaDir()).filePath(relative);
    if (QFile::exists(file)) {
        ClipCache::touch(file, context_.nowMs());
        return clip(relative, file, true);
    }
    if (const QString quota = audioQuotaError(userId, context_.nowMs()); !quota.isEmpty())
        return ServerResponse::apiError(507, quota);
    const DeferredReply::Reply reply = DeferredReply::take();
    const bool queued = pool_->submit(text, voice, file, [this, relative, file, reply](const QString& error) {
        if (!error.isEmpty())
            return reply(ServerResponse::apiError(503, "Speech synthesis failed: " + error));
        ClipCache::touch(file, context_.nowMs());
        ClipCache::trim(context_.mediaDir(), pool_->limits().clipCacheBytes);
        reply(clip(relative, file, false));
    });
    if (queued)
        return {}; // answered through `reply` once the clip is made
    const int seconds = pool_->retryAfterSeconds();
    ServerResponse busy = ServerResponse::apiError(
        503, QStringLiteral("Read-aloud is busy. Try again in %1 seconds.").arg(seconds));
    busy.setHeader("Retry-After", QByteArray::number(seconds));
    reply(busy);
    return {};
}

ServerResponse SpeechRoutes::clip(const QString& relative, const QString& file, bool cached) const {
    QJsonObject answer = clipInfo(file);
    if (answer.isEmpty())
        return ServerResponse::apiError(503, "Speech synthesis failed: the clip went missing.");
    answer.insert("url", context_.baseUrl + "/media/" + relative);
    answer.insert("cached", cached);
    return ServerResponse::json(answer);
}

ServerResponse SpeechRoutes::narrate(const ServerRequest& request, const QString& userId) {
    const QString documentId = request.param(0);
    const auto document = LibraryStore(context_).document(documentId, userId);
    if (!document || document->value("status").toString() != "ready" ||
        document->value("text").toString().isEmpty())
        return ServerResponse::apiError(404, "The document is not ready to narrate.");
    if (document->value("text").toString().size() > maxNarrationChars)
        return ServerResponse::apiError(413, "Narration is limited to 200,000 characters per document.");
    const QString voice =
        SpeechSynthesizer::voiceFor(context_.voice, request.jsonBody().value("voice").toString()).name;
    const QJsonObject input{{"document_id", documentId}, {"voice", voice}};
    // A narration already made for this document and voice is answered as a ready playlist.
    if (const auto done = JobStore(context_.db).latestComplete(userId, jobType, input))
        return ServerResponse::json(QJsonObject{{"playlist", done->result.value_or(QJsonObject())}});
    if (const QString quota = audioQuotaError(userId, context_.nowMs()); !quota.isEmpty())
        return ServerResponse::apiError(507, quota);
    return ServerResponse::json(QJsonObject{{"job_id", context_.jobs->enqueue(userId, jobType, input)}});
}

JobQueue::Outcome SpeechRoutes::narration(const JobQueue::Job& job) {
    const QString documentId = job.input.value("document_id").toString();
    // A job queued before a restart speaks with the voice chosen now.
    const SpeechVoice voice =
        SpeechSynthesizer::voiceFor(context_.voice, job.input.value("voice").toString());
    const auto document = LibraryStore(context_).document(documentId, job.userId);
    if (!document)
        return JobQueue::Outcome::failure("The document was deleted.");
    const QString text = document->value("text").toString();
    // Judged when the narration was asked for: one asked for during Premium Week finishes without
    // the limit even when the week ends while it is made.
    const auto queued = JobStore(context_.db).find(job.id);
    const QDateTime askedAt =
        QDateTime::fromString(queued ? queued->createdAt : QString(), Qt::ISODateWithMs);
    const qint64 askedAtMs = askedAt.isValid() ? askedAt.toMSecsSinceEpoch() : context_.nowMs();
    QJsonArray list;
    const QStringList parts = segments(text, segmentChars);
    for (qsizetype index = 0; index < parts.size(); ++index) {
        // In a folder of the document's own, which goes when the document is deleted.
        const QString relative = mediaPath(job.userId + '/' + documentId, job.userId, "narration",
                                           {documentId, voice.name, QString::number(index)});
        const QString file = QDir(context_.mediaDir()).filePath(relative);
        QString error;
        if (const QString quota = audioQuotaError(job.userId, askedAtMs);
            !QFile::exists(file) && !quota.isEmpty())
            return JobQueue::Outcome::failure(quota);
        if (!QFile::exists(file) && !SpeechSynthesizer::synthesize(parts[index], voice, file, &error))
            return JobQueue::Outcome::failure("Narration failed: " + error);
        list.append(QJsonObject{{"index", int(index)},
                                {"url", context_.baseUrl + "/media/" + relative},
                                {"duration_ms", clipInfo(file).value("duration_ms")},
                                {"char_count", int(parts[index].size())}});
    }
    return JobQueue::Outcome::success(QJsonObject{{"document_id", documentId},
                                                  {"segments", list},
                                                  {"voice", voice.name},
                                                  {"provider", voice.provider()},
                                                  {"total_chars", int(text.size())}});
}

QString SpeechRoutes::audioQuotaError(const QString& userId, qint64 askedAtMs) const {
    if (UserRewardStore(context_).activeUntil(userId, UserRewardStore::premiumType, askedAtMs))
        return {};
    qint64 total = 0;
    QDirIterator files(QDir(context_.mediaDir()).filePath(userId), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        total += files.fileInfo().size();
    }
    if (total < maxAudioBytesPerUser)
        return {};
    return QStringLiteral(
        "Your narrated audio has reached its limit of 512 MB. Delete documents you no longer "
        "listen to and try again.");
}

ServerResponse SpeechRoutes::media(const ServerRequest& request) {
    const QString path = request.param(0);
    if (path.contains("..") || path.startsWith('/'))
        return ServerResponse::apiError(404, "Not Found");
    QFile file(QDir(context_.mediaDir()).filePath(path));
    if (!path.endsWith(".wav") || !file.open(QIODevice::ReadOnly))
        return ServerResponse::apiError(404, "Not Found");
    ServerResponse response = rangedFile(file, request.header("range"), "audio/wav");
    response.setHeader("Cache-Control", "private, max-age=86400");
    return response;
}
