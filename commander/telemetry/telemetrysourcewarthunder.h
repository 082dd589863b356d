#pragma once

#include "jsonscanner.h"
#include "telemetrysource.h"

#include <QNetworkRequest>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// War Thunder's local web interface: each poll asks for "/state" unless a request is
// still outstanding; every successful reply after the first becomes one record and a
// failed request loses the source.
class TelemetrySourceWarthunder : public TelemetrySource
{
    Q_OBJECT

public:
    // baseUrl: where the game serves its interface; only the tests point it elsewhere.
    explicit TelemetrySourceWarthunder(QObject* parent = nullptr,
                                       const QUrl& baseUrl = QUrl(QStringLiteral("http://127.0.0.1:8111")));

    void pollTelemetry() override;

    // How long one request may take in all, in ms; 100 unless set. Takes effect from the
    // next request. Tests give more where a busy machine must not fail the answer.
    void setRequestLimit(int milliseconds);

protected:
    // Sets the eight fields of the record from one reply body.
    void parseState(const QByteArray& body);

private:
    void onStateReplyFinished();
    void abortOversizedReply(qint64 bytesReceived, qint64 bytesTotal);

    QNetworkAccessManager* network;
    QNetworkRequest stateRequest;
    QNetworkReply* stateReply = nullptr;
    bool requestInFlight = false;
    bool found = false;
    JsonScanner json;
};
