#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QNetworkReply;

// The release file that the release-information server publishes, and what
// torquix-setup makes of it. The file comes from the network and is not trusted.

// A release of torquix-setup; every build is a release candidate ("RC").
struct ReleaseNumber {
    int year = 0;
    int version = 0;
    int patch = 0;
};

// "RC.24.1.2".
QString releaseText(const ReleaseNumber& number);

// Year first, then version, then patch.
bool isNewerRelease(const ReleaseNumber& published, const ReleaseNumber& own);

struct PublishedRelease {
    ReleaseNumber number;
    QStringList whatsNew; // the string entries of "whats_new", in order
};

// The setup release of "RC"/"setup" in a release file. A body that is no JSON object
// or lacks members reads as release 0.0.0; a number that is not finite or does not fit
// in an int makes the whole file untrustworthy (nullopt).
std::optional<PublishedRelease> parsePublishedRelease(const QByteArray& body);

// The details text of the message box when body publishes a newer release than own,
// else an empty string.
QString newerReleaseDetails(const QByteArray& body, const ReleaseNumber& own);

// path on the configured server: https, or plain http on 127.0.0.1 only, without user
// info. Empty when no server is configured or it is not acceptable (then no request is
// made).
QUrl releaseServerUrl(const QString& server, const QString& path);

// The largest release file read; a larger reply is aborted and ignored.
constexpr qint64 releaseFileLimit = 64 * 1024;

// Aborts reply as soon as it announces or delivers more than releaseFileLimit bytes.
void limitReleaseReply(QNetworkReply* reply);
