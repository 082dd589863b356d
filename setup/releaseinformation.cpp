#include "releaseinformation.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>

#include <cmath>
#include <limits>

namespace {

// A JSON number as an int, truncated; a member that is missing or not a number reads
// 0. False when the number is not finite or lies outside int's range.
bool readWholeNumber(const QJsonObject& object, const QString& key, int* number)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble()) {
        *number = 0;
        return true;
    }
    const double real = value.toDouble();
    if (!std::isfinite(real) || real < double(std::numeric_limits<int>::min())
        || real > double(std::numeric_limits<int>::max()))
        return false;
    *number = int(real);
    return true;
}

} // namespace

QString releaseText(const ReleaseNumber& number)
{
    return QStringLiteral("RC.%1.%2.%3").arg(number.year).arg(number.version).arg(number.patch);
}

bool isNewerRelease(const ReleaseNumber& published, const ReleaseNumber& own)
{
    if (published.year != own.year)
        return published.year > own.year;
    if (published.version != own.version)
        return published.version > own.version;
    return published.patch > own.patch;
}

std::optional<PublishedRelease> parsePublishedRelease(const QByteArray& body)
{
    const QJsonObject setup =
        QJsonDocument::fromJson(body).object().value(QLatin1String("RC")).toObject().value(QLatin1String("setup")).toObject();
    PublishedRelease release;
    if (!readWholeNumber(setup, QStringLiteral("release_year"), &release.number.year)
        || !readWholeNumber(setup, QStringLiteral("release_version"), &release.number.version)
        || !readWholeNumber(setup, QStringLiteral("release_patch"), &release.number.patch)) {
        qWarning() << "release file holds a number that is no whole int; ignored";
        return std::nullopt;
    }
    const QJsonArray whatsNew = setup.value(QLatin1String("whats_new")).toArray();
    for (const QJsonValue& entry : whatsNew) {
        if (entry.isString())
            release.whatsNew << entry.toString();
    }
    return release;
}

QString newerReleaseDetails(const QByteArray& body, const ReleaseNumber& own)
{
    const std::optional<PublishedRelease> release = parsePublishedRelease(body);
    if (!release || !isNewerRelease(release->number, own))
        return QString();
    QString details = releaseText(release->number) + QStringLiteral("\n\n");
    for (const QString& entry : release->whatsNew)
        details += QStringLiteral("- %1").arg(entry) + QLatin1Char('\n');
    return details;
}

QUrl releaseServerUrl(const QString& server, const QString& path)
{
    if (server.isEmpty())
        return QUrl();
    QUrl url(server, QUrl::TolerantMode);
    const bool secure = url.scheme() == QLatin1String("https") && !url.host().isEmpty();
    const bool loopback = url.scheme() == QLatin1String("http") && url.host() == QLatin1String("127.0.0.1");
    if (!url.isValid() || !(secure || loopback) || !url.userInfo().isEmpty()) {
        qWarning() << "release server" << server << "is neither https nor http on 127.0.0.1; not asked";
        return QUrl();
    }
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

void limitReleaseReply(QNetworkReply* reply)
{
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > releaseFileLimit || total > releaseFileLimit) {
            qWarning() << "release file larger than" << releaseFileLimit << "bytes; ignored";
            reply->abort();
        }
    });
}
