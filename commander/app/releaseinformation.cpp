#include "releaseinformation.h"

#include <QtDebug>

QUrl releaseInformationUrl(const QString& server)
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
    url.setPath(QStringLiteral("/assets/firmware/version.json"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}
