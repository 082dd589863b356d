#pragma once

#include <QString>
#include <QUrl>

// The release-information file on a server given as a URL: its scheme, host and port
// with the path "/assets/firmware/version.json". Only https is taken, and plain http
// on 127.0.0.1 alone (a local test server), without user info; anything else, the
// empty text included, gives an empty URL, which means no request.
QUrl releaseInformationUrl(const QString& server);
