// Median cost of parsing one datagram per telemetry source, of one poll that drains
// 256 queued datagrams through a loopback socket, and of parsing the largest datagram
// a socket can deliver (64 KiB) in the costliest shapes we know for each source.

#include "benchsupport.h"
#include "telemetrysourcecondor2.h"
#include "telemetrysourcedcs.h"
#include "telemetrysourceshturmovik.h"
#include "telemetrysourcewarthunder.h"
#include "telemetrysourcexplane.h"

#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QUdpSocket>
#include <QtEndian>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

template <class Source>
class Exposed : public Source
{
public:
    using Source::Source;
    using Source::parseTelemetry;
    using Source::parseFlightModule;
    using Source::primeDetectors;
    using Source::socket;
    using Source::telemetry;
};

class ExposedWarThunder : public TelemetrySourceWarthunder
{
public:
    using TelemetrySourceWarthunder::parseState;
};

// Median over batches of the cost of one call, in microseconds.
double medianMicroseconds(const std::function<void()>& work, int batches, int perBatch)
{
    std::vector<double> samples;
    samples.reserve(batches);
    for (int b = 0; b < batches; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < perBatch; ++i)
            work();
        const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
        samples.push_back(spent.count() / perBatch);
    }
    return percentile(samples, 0.5);
}

QByteArray dcsDatagram(double speed)
{
    // Shaped like the export script's output for a loaded fighter.
    QJsonArray payload;
    const char* stores[] = {"AIM-9M", "AIM-120C", "AIM-120C", "Mk-82", "Mk-82", "Mk-82", "Mk-82",
                            "GBU-12", "GBU-12", "AGM-65D", "AGM-65D", "AGM-88C", "Fuel tank 370 gal",
                            "Fuel tank 370 gal", "ALQ-184", "AN/AAQ-28 LITENING", "AIM-9M", "Mk-84", "CBU-97",
                            "CBU-97", "GBU-38", "GBU-38", "AGM-154A", "Fuel tank 300 gal"};
    int station = 0;
    for (const char* store : stores)
        payload.append(QJsonObject{{"id", store}, {"count", 1 + (station++ % 3)}});
    QJsonObject object{{"name", "F-16C_50"}, {"speed", speed}, {"v_speed", -2.3456}, {"g", 1.2345},
                       {"aoa", 4.5678}, {"shk_amp", 3.25}, {"eng_rpm_norm", 86}, {"eng_rpm_abs", 2568},
                       {"rotor_rpm_abs", 0}, {"ab", 0}, {"gear", 100}, {"flaps", 33}, {"sp_br", 60},
                       {"wow", 0}, {"dmg", 100}, {"snares", 60}, {"shells", 510}, {"gun_trg0", 0},
                       {"gun_trg1", 0}, {"gun_trg2", 0}, {"gun_trg3", 0}, {"gun_trg4", 0},
                       {"pld", payload}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray il2Datagram()
{
    QByteArray datagram(10, '\x5a');
    const std::vector<std::pair<quint16, std::vector<float>>> records = {
        {0, {2000, 2500, 2450, 2300}}, {1, {150000, 150000, 148000, 151000}}, {2, {1}}, {3, {0.2f}},
        {4, {1, 1, 1}}, {5, {0.4f, 0.5f, 0.1f}}, {6, {100}}, {7, {0.1f}}, {8, {0.3f, 19.62f, 0.1f}},
        {9, {12, 0.1f}}, {10, {1000}}, {11, {0.3f}}, {12, {0}}};
    datagram.append(static_cast<char>(records.size()));
    for (const auto& [id, values] : records) {
        char header[3];
        qToLittleEndian<quint16>(id, header);
        header[2] = static_cast<char>(values.size());
        datagram.append(header, 3);
        for (float value : values) {
            char bytes[4];
            qToLittleEndian<float>(value, bytes);
            datagram.append(bytes, 4);
        }
    }
    return datagram;
}

const QByteArray condorDatagram =
    "time=13.52\naltitude=1523.4\nvario=1.25\nairspeed=31.42\nheading=271.3\n"
    "gforce=1.023\nturbulencestrength=0.2\nturb=0.37\nyaw=0.01\npitch=0.02\nbank=0.15\n";

// The largest payload of a UDP datagram over IPv4; a socket delivers nothing longer.
constexpr int largestDatagram = 65507;

// Repeats unit until the datagram is as long as it can be, between prefix and suffix.
QByteArray filled(const QByteArray& prefix, const QByteArray& unit, const QByteArray& suffix,
                  const QByteArray& separator = QByteArray())
{
    QByteArray datagram = prefix;
    bool first = true;
    while (datagram.size() + separator.size() + unit.size() + suffix.size() <= largestDatagram) {
        if (!first)
            datagram += separator;
        datagram += unit;
        first = false;
    }
    return datagram + suffix;
}

// An object of prefix's members, then of as many small members as fit.
QByteArray manyMembers(const QByteArray& prefix)
{
    QByteArray object = prefix;
    for (int i = 0; object.size() < largestDatagram - 20; ++i)
        object += ",\"k" + QByteArray::number(i) + "\":" + QByteArray::number(i);
    return object + "}";
}

struct Shape {
    const char* name;
    QByteArray datagram;
};

// Every shape a DCS datagram of the full size can take that we know to be costly.
std::vector<Shape> largeDcsDatagrams()
{
    const QByteArray head = R"({"name":"Mi-24P","speed":300.5,"v_speed":-1.25,"g":1.5,"shells":400,)";
    return {
        {"mapped payload items", filled(head + R"("pld":[)", R"({"id":"UPK-23-250","count":2})", "]}", ",")},
        {"unmapped payload items", filled(head + R"("pld":[)", R"({"id":"x","count":1})", "]}", ",")},
        {"bare numbers in payload", filled(head + R"("pld":[)", "1", "]}", ",")},
        {"many members", manyMembers(R"({"name":"F-16C_50")")},
        {"long name", filled(R"({"name":")", "x", R"("})")},
        {"escaped name", filled(R"({"name":")", R"(\u00e9)", R"("})")},
        {"deep nesting", filled(R"({"name":"x","pld":)", "[", "")},
        {"not JSON", QByteArray(largestDatagram, 'x')},
    };
}

std::vector<Shape> largeCondorDatagrams()
{
    return {
        {"every line a key", filled("", "turb=0.37\n", "")},
        {"every line a key, many '='", filled("", "airspeed=25=1=2=3=4=5=6=7=8=9\n", "")},
        {"one long line", filled("gforce=1.5", " ", "")},
        {"no key", filled("", "vario=1.25\n", "")},
        {"empty lines", QByteArray(largestDatagram, '\n')},
    };
}

std::vector<Shape> largeIl2Datagrams()
{
    // The record count is one signed byte: at most 127 records of up to 127 values.
    QByteArray records(10, '\x5a');
    records.append(char(127));
    for (int r = 0; r < 127 && records.size() + 3 + 4 * 127 <= largestDatagram; ++r) {
        const char header[3] = {char(r % 13), 0, char(127)};
        records.append(header, 3);
        records.append(QByteArray(4 * 127, '\x01'));
    }
    records.append(QByteArray(largestDatagram - records.size(), '\0'));
    return {{"127 records of 127 values", records}};
}

std::vector<Shape> largeWarThunderBodies()
{
    return {
        {"many members", manyMembers(R"({"IAS, km/h": 321)")},
        {"one long array", filled(R"({"IAS, km/h": 321, "a": [)", "1", "]}", ",")},
        {"not JSON", QByteArray(largestDatagram, 'x')},
    };
}

struct Cost {
    double median = 0.0;
    double maximum = 0.0;
    const char* shape = "";
};

// The costliest shape by median, in milliseconds per parse.
Cost worstCost(const std::vector<Shape>& shapes, const std::function<void(const QByteArray&)>& parse)
{
    Cost worst;
    for (const Shape& shape : shapes) {
        std::vector<double> samples;
        for (int i = 0; i < 101; ++i) {
            const auto start = Clock::now();
            parse(shape.datagram);
            const std::chrono::duration<double, std::milli> spent = Clock::now() - start;
            samples.push_back(spent.count());
        }
        const double median = percentile(samples, 0.5);
        if (median >= worst.median)
            worst = {median, *std::max_element(samples.begin(), samples.end()), shape.name};
    }
    return worst;
}

void reportLarge(const char* source, const Cost& cost)
{
    std::printf("%-12s 64 KiB parse  median %6.3f ms  max %6.3f ms  target <= 0.5 ms  %-4s (%s)\n", source,
                cost.median, cost.maximum, cost.median <= 0.5 ? "ok" : "OVER", cost.shape);
}

void report(const char* what, double median, double target, const char* unit)
{
    std::printf("%-40s median %9.2f %s   target <= %6.0f %s   %s\n", what, median, unit, target, unit,
                median <= target ? "ok" : "OVER");
}
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Telemetry::registerMetaTypes();
    // The DCS sources look payload ids up in the mapping files we ship.
    QDir::setCurrent(QStringLiteral(TORQUIX_RESOURCES_DIR));

    Exposed<TelemetrySourceDCS> dcs;
    const QByteArray dcsSample = dcsDatagram(540.0);
    dcs.parseTelemetry(dcsSample);
    std::printf("DCS datagram: %d bytes; IL-2 datagram: %d bytes; Condor 2 datagram: %d bytes\n",
                int(dcsSample.size()), int(il2Datagram().size()), int(condorDatagram.size()));
    report("DCS parse (1 datagram)", medianMicroseconds([&] { dcs.parseTelemetry(dcsSample); }, 201, 200),
           20, "us");

    Exposed<TelemetrySourceShturmovik> il2;
    const QByteArray il2Sample = il2Datagram();
    report("IL-2 parse (1 datagram)", medianMicroseconds([&] { il2.parseTelemetry(il2Sample); }, 201, 2000),
           5, "us");

    Exposed<TelemetrySourceCondor2> condor;
    report("Condor 2 parse (1 datagram)",
           medianMicroseconds([&] { condor.parseTelemetry(condorDatagram); }, 201, 2000), 5, "us");

    // A found DCS source with 256 datagrams of about 1 KB waiting in its socket.
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const quint16 port = probe.localPort();
    probe.close();
    Exposed<TelemetrySourceDCS> polled(nullptr, port);
    polled.socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 << 20);
    QUdpSocket sender;
    sender.writeDatagram(dcsSample, QHostAddress::LocalHost, port);
    QThread::msleep(5);
    polled.pollTelemetry();

    constexpr int queued = 256;
    std::vector<QByteArray> datagrams;
    for (int i = 1; i <= queued; ++i)
        datagrams.push_back(dcsDatagram(i));
    std::vector<double> polls;
    int incomplete = 0;
    for (int round = 0; round < 51; ++round) {
        for (const QByteArray& datagram : datagrams)
            sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
        QThread::msleep(5);
        const auto start = Clock::now();
        polled.pollTelemetry();
        const std::chrono::duration<double, std::milli> spent = Clock::now() - start;
        polls.push_back(spent.count());
        // The newest datagram was parsed only if the socket held all 256.
        if (polled.telemetry.airspeed != float(queued))
            ++incomplete;
    }
    report("Poll draining 256 DCS datagrams", percentile(polls, 0.5), 1, "ms");
    if (incomplete > 0)
        std::printf("note: %d of %zu rounds lost datagrams in the socket buffer\n", incomplete, polls.size());

    // The parse runs on the thread of the 2 ms force loop: no datagram may stall it.
    std::printf("Largest datagram: %d bytes; costliest known shape per source\n", largestDatagram);
    Exposed<TelemetrySourceDCS> largeDcs;
    largeDcs.primeDetectors = false;
    reportLarge("DCS", worstCost(largeDcsDatagrams(), [&](const QByteArray& d) { largeDcs.parseTelemetry(d); }));
    reportLarge("DCS, finding", worstCost(largeDcsDatagrams(), [&](const QByteArray& d) { largeDcs.parseFlightModule(d); }));
    Exposed<TelemetrySourceShturmovik> largeIl2;
    reportLarge("IL-2", worstCost(largeIl2Datagrams(), [&](const QByteArray& d) { largeIl2.parseTelemetry(d); }));
    Exposed<TelemetrySourceCondor2> largeCondor;
    reportLarge("Condor 2", worstCost(largeCondorDatagrams(), [&](const QByteArray& d) { largeCondor.parseTelemetry(d); }));
    Exposed<TelemetrySourceXPlane> largeXPlane;
    reportLarge("X-Plane", worstCost({{"any bytes", QByteArray(largestDatagram, 'x')}},
                                     [&](const QByteArray& d) { largeXPlane.parseTelemetry(d); }));
    ExposedWarThunder warThunder;
    reportLarge("War Thunder", worstCost(largeWarThunderBodies(), [&](const QByteArray& d) { warThunder.parseState(d); }));
    return 0;
}
