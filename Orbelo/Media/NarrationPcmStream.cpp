#include "Media/NarrationPcmStream.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

// A twentieth of a second of input at a time: a speed change is heard within it.
constexpr int chunksPerSecond = 50;

std::string describe(int rate, int channels) {
    return std::to_string(rate) + " Hz, " + std::to_string(channels) + " channel(s)";
}

} // namespace

NarrationPcmStream::NarrationPcmStream(QObject* parent) : QIODevice(parent) {}

void NarrationPcmStream::reset(int first, int count, double speed) {
    segments_.clear();
    stretcher_.reset();
    sampleRate_ = 0;
    channels_ = 0;
    speed_ = speed;
    count_ = count;
    next_ = first;
    readFrames_ = 0;
    stretched_.clear();
    producedFrames_ = 0;
    leadInFrames_ = 0;
    marks_.clear();
    progress_ = 0;
}

void NarrationPcmStream::add(int index, WavAudio audio) {
    if (index < next_ || index >= count_)
        return;
    if (!stretcher_) {
        sampleRate_ = audio.sampleRate;
        channels_ = audio.channels;
        stretcher_ = std::make_unique<SpeechStretcher>(sampleRate_, channels_);
        stretcher_->setSpeed(speed_);
    } else if (audio.sampleRate != sampleRate_ || audio.channels != channels_) {
        throw std::runtime_error("segment " + std::to_string(index + 1) + " is " +
                                 describe(audio.sampleRate, audio.channels) + ", the narration " +
                                 describe(sampleRate_, channels_));
    }
    segments_.insert(index, std::move(audio));
}

void NarrationPcmStream::setSpeed(double speed) {
    speed_ = speed;
    if (stretcher_)
        stretcher_->setSpeed(speed);
}

QList<int> NarrationPcmStream::playedTo(qint64 played) {
    QList<int> ended;
    while (!marks_.empty() && marks_.front().endFrame <= played) {
        const Mark mark = marks_.front();
        marks_.pop_front();
        progress_ = mark.progress;
        if (mark.progress >= 1) {
            ended.append(mark.index);
            progress_ = 0;
        }
    }
    return ended;
}

qint64 NarrationPcmStream::readData(char* data, qint64 maxSize) {
    if (channels_ == 0)
        return 0;
    qsizetype wanted = qsizetype(maxSize) / 2 / channels_ * channels_;
    const qsizetype lead = std::min<qsizetype>(wanted, leadInFrames_ * channels_);
    std::fill(data, data + lead * 2, char(0));
    leadInFrames_ -= lead / channels_;
    producedFrames_ += lead / channels_;
    data += lead * 2;
    wanted -= lead;
    while (stretched_.size() < wanted && stretchMore()) {
    }
    const qsizetype given = std::min(wanted, stretched_.size());
    const auto* ready = reinterpret_cast<const char*>(stretched_.constData());
    std::copy(ready, ready + given * 2, data);
    stretched_.remove(0, given);
    // Silence while the next segment is on its way, and after the last.
    std::fill(data + given * 2, data + wanted * 2, char(0));
    producedFrames_ += (wanted - given) / channels_;
    return qint64(lead + wanted) * 2;
}

void NarrationPcmStream::leadIn(qint64 frames) {
    leadInFrames_ = frames;
}

bool NarrationPcmStream::stretchMore() {
    const auto segment = segments_.find(next_);
    if (segment == segments_.end())
        return false;
    if (readFrames_ == 0)
        Q_EMIT segmentStarted(next_);
    const WavAudio& audio = *segment;
    const qsizetype frames = std::min<qsizetype>(audio.frames() - readFrames_, sampleRate_ / chunksPerSecond);
    stretcher_->write(audio.samples.constData() + readFrames_ * channels_, frames);
    readFrames_ += frames;
    const bool ended = readFrames_ >= audio.frames();
    if (ended)
        stretcher_->flush();
    const qsizetype before = stretched_.size();
    stretcher_->readInto(stretched_);
    producedFrames_ += (stretched_.size() - before) / channels_;
    marks_.push_back({producedFrames_, next_, ended ? 1.0 : double(readFrames_) / double(audio.frames())});
    if (ended) {
        segments_.erase(segment);
        ++next_;
        readFrames_ = 0;
    }
    return true;
}
