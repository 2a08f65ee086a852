#include "UrlSchemeHandlers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSet>
#include <QStandardPaths>

namespace {

// The keys of one group of a desktop-entry style file ("[Desktop Entry]", "[Default Applications]").
// Localised keys ("Name[fr]") and comments are kept as they are; callers ask for plain keys.
QHash<QString, QString> readGroup(const QString& path, const QString& group) {
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == u'[' + group + u']';
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

QStringList listValue(const QString& value) {
    return value.split(u';', Qt::SkipEmptyParts);
}

QStringList pathList(const QString& value, const QStringList& fallback) {
    const QStringList paths = value.split(u':', Qt::SkipEmptyParts);
    return paths.isEmpty() ? fallback : paths;
}

bool canRun(const QString& program) {
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace

UrlSchemeHandlers::Directories UrlSchemeHandlers::Directories::fromEnvironment() {
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = QDir::homePath();
    Directories directories;
    directories.configHome = env.value(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    directories.configDirs =
        pathList(env.value(QStringLiteral("XDG_CONFIG_DIRS")), {QStringLiteral("/etc/xdg")});
    directories.dataHome = env.value(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    directories.dataDirs = pathList(env.value(QStringLiteral("XDG_DATA_DIRS")),
                                    {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop :
         env.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':', Qt::SkipEmptyParts))
        directories.currentDesktops << desktop.toLower();
    return directories;
}

UrlSchemeHandlers::UrlSchemeHandlers(Directories directories) : directories_(std::move(directories)) {
    indexApplications();
}

// A desktop id is the file's path under applications/ with "/" turned into "-"; where two data
// directories hold the same id, the one earlier in precedence is the installed one. Hidden entries
// and those whose TryExec program is missing count as not installed. The mimeinfo.cache files are
// not read: they are built from the same MimeType= lines, and reading those directly also sees
// applications installed since the cache was last rebuilt.
void UrlSchemeHandlers::indexApplications() {
    QStringList roots{directories_.dataHome};
    roots << directories_.dataDirs;
    QSet<QString> seen;
    for (const QString& root : std::as_const(roots)) {
        const QDir applications(root + QStringLiteral("/applications"));
        QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList found;
        while (it.hasNext())
            found << it.next();
        found.sort(); // the same order on every file system
        for (const QString& path : std::as_const(found)) {
            const QString id = applications.relativeFilePath(path).replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            seen.insert(id);
            const QHash<QString, QString> entry = readGroup(path, QStringLiteral("Desktop Entry"));
            const QString tryExec = entry.value(QStringLiteral("TryExec"));
            if (entry.value(QStringLiteral("Type")) != QStringLiteral("Application") ||
                entry.value(QStringLiteral("Hidden")) == QStringLiteral("true") ||
                (!tryExec.isEmpty() && !canRun(tryExec)))
                continue;
            installed_.insert(id, {listValue(entry.value(QStringLiteral("MimeType")))});
            installedOrder_ << id;
        }
    }
}

QStringList UrlSchemeHandlers::mimeappsFiles() const {
    QStringList files;
    const auto addDirectory = [&](const QString& directory) {
        for (const QString& desktop : directories_.currentDesktops)
            files << directory + u'/' + desktop + QStringLiteral("-mimeapps.list");
        files << directory + QStringLiteral("/mimeapps.list");
    };
    addDirectory(directories_.configHome);
    for (const QString& directory : directories_.configDirs)
        addDirectory(directory);
    addDirectory(directories_.dataHome + QStringLiteral("/applications"));
    for (const QString& directory : directories_.dataDirs)
        addDirectory(directory + QStringLiteral("/applications"));
    return files;
}

// The default is the first installed application named under [Default Applications] in the file
// of highest precedence that names one; then the applications of [Added Associations]; then every
// installed application that declares the type. [Removed Associations] take an application out of
// the associations of its own file and of every file after it.
QStringList UrlSchemeHandlers::handlers(const QString& scheme) const {
    const QString mimeType = QStringLiteral("x-scheme-handler/") + scheme.toLower();
    QString defaultId;
    QStringList associated;
    QSet<QString> removed;
    for (const QString& path : mimeappsFiles()) {
        if (!QFileInfo::exists(path))
            continue;
        for (const QString& id :
             listValue(readGroup(path, QStringLiteral("Removed Associations")).value(mimeType)))
            removed.insert(id);
        for (const QString& id :
             listValue(readGroup(path, QStringLiteral("Default Applications")).value(mimeType))) {
            if (defaultId.isEmpty() && installed_.contains(id))
                defaultId = id;
        }
        for (const QString& id :
             listValue(readGroup(path, QStringLiteral("Added Associations")).value(mimeType))) {
            if (installed_.contains(id) && !removed.contains(id))
                associated << id;
        }
    }
    for (const QString& id : installedOrder_) {
        if (installed_.value(id).mimeTypes.contains(mimeType) && !removed.contains(id))
            associated << id;
    }

    QStringList result;
    if (!defaultId.isEmpty())
        result << defaultId;
    for (const QString& id : std::as_const(associated)) {
        if (!result.contains(id))
            result << id;
    }
    return result;
}
