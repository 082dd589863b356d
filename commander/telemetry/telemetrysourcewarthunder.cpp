#include "telemetrysourcewarthunder.h"

#include "telemetryconversion.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>

#include <algorithm>
#include <iterator>

namespace {

constexpr int defaultRequestLimitMs = 100;
// The game's reply is a few hundred bytes; anything this large is not the game.
constexpr qint64 maxBodySize = 64 * 1024;

// Only a 2xx answer is the game's state; a redirect is not followed.
bool succeeded(const QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return false;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status <= 299;
}

} // namespace

TelemetrySourceWarthunder::TelemetrySourceWarthunder(QObject* parent, const QUrl& baseUrl)
    : TelemetrySource(parent)
    , network(new QNetworkAccessManager(this))
{
    // The interface is on the local machine: a system proxy must not see it.
    network->setProxy(QNetworkProxy::NoProxy);

    QUrl url(baseUrl);
    url.setPath(QStringLiteral("/state"));
    stateRequest.setUrl(url);
    stateRequest.setTransferTimeout(defaultRequestLimitMs);
    stateRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                              QNetworkRequest::ManualRedirectPolicy);
}

void TelemetrySourceWarthunder::setRequestLimit(int milliseconds)
{
    stateRequest.setTransferTimeout(milliseconds);
}

void TelemetrySourceWarthunder::pollTelemetry()
{
    if (requestInFlight)
        return;
    requestInFlight = true;
    stateReply = network->get(stateRequest);
    // The transfer timeout only notices silence; a reply that keeps trickling in must
    // still be over within the same time, or a stalled game would never be lost.
    QTimer::singleShot(stateRequest.transferTimeout(), Qt::PreciseTimer, stateReply, [reply = stateReply] {
        if (reply->isRunning())
            reply->abort();
    });
    connect(stateReply, &QNetworkReply::downloadProgress, this,
            &TelemetrySourceWarthunder::abortOversizedReply);
    connect(stateReply, &QNetworkReply::finished, this,
            &TelemetrySourceWarthunder::onStateReplyFinished);
}

void TelemetrySourceWarthunder::abortOversizedReply(qint64 bytesReceived, qint64 bytesTotal)
{
    if (stateReply && (bytesReceived > maxBodySize || bytesTotal > maxBodySize))
        stateReply->abort();
}

void TelemetrySourceWarthunder::onStateReplyFinished()
{
    QNetworkReply* reply = stateReply;
    if (!reply)
        return;
    stateReply = nullptr;
    requestInFlight = false;
    reply->deleteLater();

    bool success = succeeded(reply);
    QByteArray body;
    if (success) {
        body = reply->read(maxBodySize + 1);
        success = body.size() <= maxBodySize;
    }

    if (!success) {
        if (found) {
            found = false;
            emit telemetryChanged(emptyTelemetry);
            emit telemetrySourceLost();
        }
        return;
    }
    if (!found) {
        found = true;
        emit telemetrySourceFound(Telemetry::TELEMETRY_SOURCE_WARTHUNDER);
        emit flightModuleChanged(Telemetry::TELEMETRY_SOURCE_WARTHUNDER,
                                 QStringLiteral("Generic warbird"));
        return;
    }
    parseState(body);
    emit telemetryChanged(telemetry);
}

void TelemetrySourceWarthunder::parseState(const QByteArray& body)
{
    enum { RPM, THROTTLE, FLAPS, GEAR, IAS, VY, NY, AOA, KEY_COUNT };
    static const QLatin1String keys[KEY_COUNT] = {
        QLatin1String("RPM 1"), QLatin1String("throttle 1, %"), QLatin1String("flaps, %"),
        QLatin1String("gear, %"), QLatin1String("IAS, km/h"), QLatin1String("Vy, m/s"),
        QLatin1String("Ny"), QLatin1String("AoA, deg")};
    int values[KEY_COUNT];
    // A body that is not a JSON object has no members: every field becomes 0.
    if (json.scanObject(body))
        json.findMembers(JsonScanner::rootObject, keys, KEY_COUNT, values);
    else
        std::fill(std::begin(values), std::end(values), JsonScanner::noValue);
    const auto number = [&](int key) { return json.toDouble(values[key], 0.0); };
    telemetry.engineRpm = saturatingToInt32(number(RPM));
    telemetry.propAirflow = saturatingToInt32(number(THROTTLE));
    telemetry.flaps = saturatingToInt32(number(FLAPS));
    telemetry.gear = saturatingToInt32(number(GEAR));
    telemetry.airspeed = saturatingToFloat(number(IAS));
    telemetry.verticalSpeed = saturatingToFloat(number(VY));
    telemetry.gForce = saturatingToFloat(number(NY));
    telemetry.aoa = saturatingToFloat(number(AOA));
}
