#include "releaseinformation.h"

QUrl releaseInformationUrl(const QString& server)
{
    const QUrl base(server, QUrl::TolerantMode);
    if (!base.isValid() || base.host().isEmpty())
        return QUrl();
    const QString scheme = base.scheme().toLower();
    const bool loopback = base.host() == QLatin1String("127.0.0.1");
    if (scheme != QLatin1String("https") && !(scheme == QLatin1String("http") && loopback))
        return QUrl();
    QUrl url;
    url.setScheme(scheme);
    url.setHost(base.host());
    url.setPort(base.port());
    url.setPath(QStringLiteral("/assets/firmware/version.json"));
    return url;
}
