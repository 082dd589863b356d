#pragma once

// End-to-end runs of the real torquix-commander: the emulated bases (ProgramProcess) and
// DCS records sent as loopback datagrams.

#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "programprocess.h"
#include "workerfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QTest>
#include <QUdpSocket>

namespace CommanderFlight {

constexpr unsigned short joystick = 22777;
constexpr unsigned short rudder = 22888;
constexpr unsigned short collective = 22001;
inline const QString threeBases = "joystick,rudder,collective";
inline const QString cleanEnd = "ended handles 0 exits 0 code 0"; // every base closed; hid_exit is SDL's
inline const QString everyBaseConnected = "Connected (RC.24.1.2) / Connected (RC.24.1.2) / Connected (RC.24.1.2)";
inline const QStringList baseStates = {"get joystick_state text", "get rudder_state text", "get throttle_state text"};

// The spring force of the rudder's last report; -1 before the first.
inline int rudderSpring(const ProgramProcess& program)
{
    const std::vector<Report> reports = directControlReports(rudder, program.reports());
    return reports.empty() ? -1 : directControlOf(reports.back()).springForce;
}

// DCS on dcsPort is the stored source of the commander in folder, and a hand-made profile
// for the module holds effects; by default the rudder's airspeed spring of airspeed / 10
// percent.
inline void prepareDcsFlight(const QString& folder, quint16 dcsPort, const QString& module = "Jet-7",
                             const EffectsSettings& effects = airspeedSpringSettings(2))
{
    QSettings ini(QDir(folder).filePath("config.ini"), QSettings::IniFormat);
    ini.setValue("CORE/default_telemetry", 1);
    ini.setValue("DCS/port", dcsPort);
    EffectsProfile profile;
    profile.setDefaults();
    profile.metadata.source = Telemetry::TELEMETRY_SOURCE_DCS;
    profile.metadata.flightModule = module;
    profile.effects = effects;
    QVERIFY(QDir(folder).mkpath("effect_profiles"));
    QVERIFY(writeEffectsProfileFile(QDir(folder).filePath("effect_profiles/handmade.json"), profile));
}

// Sends DCS records of the aircraft "Jet-7" at this airspeed until the rudder's spring is
// springForce; false after 10 s. The first datagram finds the simulator, the next ones
// are its records; an activated profile fades in over a second.
inline bool flyUntilRudderSpring(const ProgramProcess& program, quint16 dcsPort, int airspeed, int springForce)
{
    const QByteArray record = QString(R"({"name":"Jet-7","speed":%1,"v_speed":-2.5,"g":1.5})").arg(airspeed).toUtf8();
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(50)) {
        QUdpSocket().writeDatagram(record, QHostAddress::LocalHost, dcsPort);
        if (rudderSpring(program) == springForce)
            return true;
    }
    return false;
}

// The base axes whose last direct-control report in log is not the zero-force one, or
// that got none: "" when every axis of the three bases was left without force.
inline QString axesLeftWithForce(const std::vector<BaseEmulator::WrittenReport>& log)
{
    const std::pair<const char*, unsigned short> bases[] = {{"joystick", joystick}, {"rudder", rudder}, {"collective", collective}};
    QStringList forced;
    for (const auto& [name, productId] : bases) {
        const std::vector<Report> reports = directControlReports(productId, log);
        for (uint8_t axis = 0; axis < (productId == joystick ? 2 : 1); ++axis) {
            const auto last = std::find_if(reports.rbegin(), reports.rend(), [axis](const Report& r) { return r[3] == axis; });
            if (last == reports.rend() || *last != zeroForceReport(axis))
                forced << QString("%1 %2").arg(name).arg(axis);
        }
    }
    return forced.join(", ");
}

} // namespace CommanderFlight
