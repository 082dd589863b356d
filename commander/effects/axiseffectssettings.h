#pragma once

#include "afterburnershakersettings.h"
#include "airbrakeshakersettings.h"
#include "airspeedspringsettings.h"
#include "aoashakersettings.h"
#include "aoaspringsettings.h"
#include "countermeasuresjoltshakersettings.h"
#include "damagejoltshakersettings.h"
#include "directxsettings.h"
#include "elevatorweightsettings.h"
#include "engineshakersettings.h"
#include "flapsshakersettings.h"
#include "gforcespringsettings.h"
#include "gearextractionjoltshakersettings.h"
#include "gearshakersettings.h"
#include "genericshakersettings.h"
#include "gunfireshakersettings.h"
#include "landingjoltshakersettings.h"
#include "liftshimmyshakersettings.h"
#include "localaoasettings.h"
#include "ongroundshakersettings.h"
#include "overgshakersettings.h"
#include "overspeedshakersettings.h"
#include "propthrustspringsettings.h"
#include "rotorshakersettings.h"
#include "simplespringsettings.h"
#include "smartdampersettings.h"
#include "trimsettings.h"
#include "turbulencesettings.h"
#include "vortexstateshakersettings.h"
#include "weaponreleasejoltshakersettings.h"

#include <QJsonObject>

// One settings object of every effect type for one effect axis. A plain value: copied whole,
// and constructed equal to its setDefaults() state.
class AxisEffectsSettings
{
public:
    SmartDamperSettings smartDamper;
    DirectXSettings directX;
    AirspeedSpringSettings airspeedSpring;
    PropThrustSpringSettings propThrustSpring;
    AoASpringSettings aoaSpring;
    GForceSpringSettings gForceSpring;
    SimpleSpringSettings simpleSpring;
    ElevatorWeightSettings elevatorWeight;
    LocalAoASettings localAoa;
    TurbulenceSettings turbulence;
    TrimSettings trim;
    OverspeedShakerSettings overspeedShaker;
    OverGShakerSettings overGShaker;
    AfterburnerShakerSettings afterburnerShaker;
    OnGroundShakerSettings onGroundShaker;
    GunfireShakerSettings gunfireShaker;
    AoAShakerSettings aoaShaker;
    GearShakerSettings gearShaker;
    FlapsShakerSettings flapsShaker;
    AirbrakeShakerSettings airbrakeShaker;
    GearExtractionJoltShakerSettings gearExtractionJolt;
    CountermeasuresJoltShakerSettings countermeasuresJolt;
    DamageJoltShakerSettings damageJolt;
    WeaponReleaseJoltShakerSettings weaponReleaseJolt;
    LandingJoltShakerSettings landingJolt;
    LiftShimmyShakerSettings liftShimmyShaker;
    VortexStateShakerSettings vortexStateShaker;
    GenericShakerSettings genericShaker;
    EngineShakerSettings engineShaker;
    RotorShakerSettings rotorShaker;

    void setDefaults();
    // Each effect reads its own member; a missing or non-object member resets that effect.
    // Every value read is then held within the range its editor offers (EffectValueRanges);
    // axisName names the axis in the log.
    void fromJson(const QJsonObject& axisObject, const QString& axisName = QString());
    // Only active effects write anything: an axis without one gives {}.
    QJsonObject toJson() const;

    bool operator==(const AxisEffectsSettings& other) const;
    bool operator!=(const AxisEffectsSettings& other) const { return !(*this == other); }
};
