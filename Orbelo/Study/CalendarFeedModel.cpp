#include "Study/CalendarFeedModel.h"

#include "Auth/AuthSession.h"
#include "Calendar/CalendarAPI.h"
#include "Common/FailureMessage.h"
#include "DesktopUrlOpener.h"
#include "HttpTransfer.h"
#include "PreferencesStore.h"
#include "SystemClipboard.h"
#include "URLError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString webcalScheme = QStringLiteral("webcal");

// Ends an action with its one failure line.
struct ActionFailure {
    QString message;
};

// Runs `task` as the section's one action: the busy line shows until it ends, however it ends.
async::Task<void> whileBusy(async::Task<void> task, std::function<void()> done) {
    try {
        co_await std::move(task);
    } catch (...) {
        done();
        throw;
    }
    done();
}

} // namespace

CalendarFeedModel::CalendarFeedModel(QObject* parent)
    : QObject(parent), client_(AuthSession::makeAPIClient()), preferences_(&PreferencesStore::standard()),
      ownedOpener_(std::make_unique<DesktopUrlOpener>()),
      ownedClipboard_(std::make_unique<SystemClipboard>()), opener_(ownedOpener_.get()),
      clipboard_(ownedClipboard_.get()) {}

CalendarFeedModel::CalendarFeedModel(APIClient client, PreferencesStore& preferences, UrlOpener& opener,
                                     Clipboard& clipboard, QObject* parent)
    : QObject(parent), client_(std::move(client)), preferences_(&preferences), opener_(&opener),
      clipboard_(&clipboard) {}

CalendarFeedModel::~CalendarFeedModel() = default;

QString CalendarFeedModel::addTitle() const {
    return preferences_->boolValue(issuedKey) ? QStringLiteral("Add to Calendar again")
                                              : QStringLiteral("Add to Calendar");
}

bool CalendarFeedModel::canManage() const {
    return link_ || preferences_->boolValue(issuedKey);
}

QString CalendarFeedModel::confirmationTitle() const {
    if (confirmation_ == QStringLiteral("replace"))
        return QStringLiteral("Replace your calendar link?");
    if (confirmation_ == QStringLiteral("stop"))
        return QStringLiteral("Stop sharing your calendar?");
    return {};
}

QString CalendarFeedModel::confirmationMessage() const {
    if (confirmation_ == QStringLiteral("replace"))
        return QStringLiteral(
            "Your current link stops working and the calendar you already subscribed to stops "
            "updating. You'll need to subscribe again.");
    if (confirmation_ == QStringLiteral("stop"))
        return QStringLiteral(
            "The link stops working immediately. The calendar stays in the Calendar app until "
            "you delete it there, but it won't update.");
    return {};
}

QString CalendarFeedModel::confirmationAction() const {
    if (confirmation_ == QStringLiteral("replace"))
        return QStringLiteral("Replace link");
    if (confirmation_ == QStringLiteral("stop"))
        return QStringLiteral("Stop sharing");
    return {};
}

void CalendarFeedModel::addToCalendar() {
    if (isBusy())
        return;
    // Nothing to subscribe with: no link is made, so none is replaced for nothing.
    if (!opener_->canOpen(webcalScheme)) {
        setMessages(noSubscriberText);
        return;
    }
    start(QStringLiteral("Creating your calendar link…"), issue(this, Follow::open));
}

void CalendarFeedModel::openInCalendar() {
    if (isBusy() || !link_)
        return;
    setMessages({});
    openLink();
}

void CalendarFeedModel::copyLink() {
    if (isBusy())
        return;
    if (link_) {
        putOnClipboard();
        return;
    }
    start(QStringLiteral("Creating your calendar link…"), issue(this, Follow::copy));
}

void CalendarFeedModel::requestReplace() {
    if (!isBusy() && canManage())
        setConfirmation(QStringLiteral("replace"));
}

void CalendarFeedModel::requestStopSharing() {
    if (!isBusy() && canManage())
        setConfirmation(QStringLiteral("stop"));
}

void CalendarFeedModel::cancelConfirmation() {
    setConfirmation({});
}

void CalendarFeedModel::confirm() {
    const QString kind = confirmation_;
    setConfirmation({});
    if (kind == QStringLiteral("replace"))
        start(QStringLiteral("Creating a new calendar link…"), issue(this, Follow::show));
    else if (kind == QStringLiteral("stop"))
        start(QStringLiteral("Stopping sharing…"), revoke(this));
}

void CalendarFeedModel::saveCalendarFile(const QUrl& file) {
    if (isBusy())
        return;
    if (!file.isLocalFile()) {
        setMessages(QStringLiteral("Couldn't save the calendar file: choose a file on this computer."));
        return;
    }
    start(QStringLiteral("Downloading your calendar…"), save(this, file.toLocalFile()));
}

QUrl CalendarFeedModel::suggestedFile() const {
    return QUrl::fromLocalFile(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                   .filePath(QStringLiteral("Study schedule.ics")));
}

void CalendarFeedModel::start(const QString& busyText, async::Task<void> task) {
    setMessages({});
    busyText_ = busyText;
    Q_EMIT busyChanged();
    tasks_.spawn(whileBusy(std::move(task), [this] {
        busyText_.clear();
        Q_EMIT busyChanged();
    }));
}

async::Task<void> CalendarFeedModel::issueLink(CalendarFeedModel* self) {
    const CalendarAPI api(self->client_);
    try {
        CalendarFeedResponse link = co_await api.issueFeed();
        self->link_ = std::move(link);
    } catch (...) {
        throw ActionFailure{QStringLiteral("Couldn't create the calendar link: ") +
                            FailureMessage::describe(std::current_exception())};
    }
    self->preferences_->setValue(issuedKey, true);
    Q_EMIT self->linkChanged();
}

async::Task<void> CalendarFeedModel::issue(CalendarFeedModel* self, Follow follow) {
    try {
        co_await issueLink(self);
    } catch (const ActionFailure& failure) {
        self->setMessages(failure.message);
        co_return;
    }
    switch (follow) {
    case Follow::open:
        self->openLink();
        break;
    case Follow::copy:
        self->putOnClipboard();
        break;
    case Follow::show:
        self->setMessages({}, QStringLiteral("Your new calendar link is ready. Subscribe to it again in your "
                                             "calendar app."));
        break;
    }
}

async::Task<void> CalendarFeedModel::revoke(CalendarFeedModel* self) {
    try {
        const CalendarAPI api(self->client_);
        co_await api.revokeFeed();
    } catch (...) {
        self->setMessages(QStringLiteral("Couldn't stop sharing: ") +
                          FailureMessage::describe(std::current_exception()));
        co_return;
    }
    self->link_.reset();
    Q_EMIT self->linkChanged();
    self->setMessages({}, QStringLiteral("Sharing stopped. Your calendar will no longer update."));
}

// The feed is fetched from its https address as a calendar app would: without the app's sign-in,
// since the address itself is the key.
async::Task<void> CalendarFeedModel::save(CalendarFeedModel* self, QString path) {
    try {
        const bool issuedHere = !self->link_;
        if (issuedHere)
            co_await issueLink(self);
        HttpRequest request;
        request.url = QUrl(self->link_->httpsUrl);
        request.headers = {{"Accept", "text/calendar"}};
        HttpResponse response;
        try {
            response = co_await HttpTransfer::send(request);
        } catch (const URLError& error) {
            throw ActionFailure{QStringLiteral("Couldn't download your calendar: ") +
                                error.localizedDescription()};
        }
        if (response.status != 200)
            throw ActionFailure{QStringLiteral("Couldn't download your calendar: the server answered %1.")
                                    .arg(response.status)};
        if (!response.body.trimmed().startsWith("BEGIN:VCALENDAR"))
            throw ActionFailure{
                QStringLiteral("Couldn't download your calendar: the answer wasn't a calendar.")};

        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(response.body) != response.body.size() ||
            !out.commit())
            throw ActionFailure{QStringLiteral("Couldn't save the calendar file: ") + out.errorString()};
        const QString name = QFileInfo(path).fileName();
        self->setMessages(
            {}, issuedHere
                    ? QStringLiteral("Created a calendar link and saved your calendar as %1.").arg(name)
                    : QStringLiteral("Saved your calendar as %1.").arg(name));
    } catch (const ActionFailure& failure) {
        self->setMessages(failure.message);
    }
}

void CalendarFeedModel::openLink() {
    const QUrl url(link_->webcalUrl, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(webcalScheme, Qt::CaseInsensitive) != 0)
        setMessages(badLinkText);
    else if (!opener_->canOpen(webcalScheme))
        setMessages(noSubscriberText);
    else if (!opener_->open(url))
        setMessages(notOpenedText);
}

void CalendarFeedModel::putOnClipboard() {
    clipboard_->setText(link_->httpsUrl);
    setMessages({}, copiedText);
}

void CalendarFeedModel::setMessages(const QString& error, const QString& info) {
    if (error == errorMessage_ && info == infoMessage_)
        return;
    errorMessage_ = error;
    infoMessage_ = info;
    Q_EMIT messageChanged();
}

void CalendarFeedModel::setConfirmation(const QString& kind) {
    if (kind == confirmation_)
        return;
    confirmation_ = kind;
    Q_EMIT confirmationChanged();
}
