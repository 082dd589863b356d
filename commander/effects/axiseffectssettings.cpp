#include "axiseffectssettings.h"

#include "effectvalueranges.h"

void AxisEffectsSettings::setDefaults()
{
    smartDamper.setDefaults();
    directX.setDefaults();
    airspeedSpring.setDefaults();
    propThrustSpring.setDefaults();
    aoaSpring.setDefaults();
    gForceSpring.setDefaults();
    simpleSpring.setDefaults();
    elevatorWeight.setDefaults();
    localAoa.setDefaults();
    turbulence.setDefaults();
    trim.setDefaults();
    overspeedShaker.setDefaults();
    overGShaker.setDefaults();
    afterburnerShaker.setDefaults();
    onGroundShaker.setDefaults();
    gunfireShaker.setDefaults();
    aoaShaker.setDefaults();
    gearShaker.setDefaults();
    flapsShaker.setDefaults();
    airbrakeShaker.setDefaults();
    gearExtractionJolt.setDefaults();
    countermeasuresJolt.setDefaults();
    damageJolt.setDefaults();
    weaponReleaseJolt.setDefaults();
    landingJolt.setDefaults();
    liftShimmyShaker.setDefaults();
    vortexStateShaker.setDefaults();
    genericShaker.setDefaults();
    engineShaker.setDefaults();
    rotorShaker.setDefaults();
}

void AxisEffectsSettings::fromJson(const QJsonObject& axisObject, const QString& axisName)
{
    smartDamper.fromAxisJson(axisObject);
    directX.fromAxisJson(axisObject);
    airspeedSpring.fromAxisJson(axisObject);
    propThrustSpring.fromAxisJson(axisObject);
    aoaSpring.fromAxisJson(axisObject);
    gForceSpring.fromAxisJson(axisObject);
    simpleSpring.fromAxisJson(axisObject);
    elevatorWeight.fromAxisJson(axisObject);
    localAoa.fromAxisJson(axisObject);
    turbulence.fromAxisJson(axisObject);
    trim.fromAxisJson(axisObject);
    overspeedShaker.fromAxisJson(axisObject);
    overGShaker.fromAxisJson(axisObject);
    afterburnerShaker.fromAxisJson(axisObject);
    onGroundShaker.fromAxisJson(axisObject);
    gunfireShaker.fromAxisJson(axisObject);
    aoaShaker.fromAxisJson(axisObject);
    gearShaker.fromAxisJson(axisObject);
    flapsShaker.fromAxisJson(axisObject);
    airbrakeShaker.fromAxisJson(axisObject);
    gearExtractionJolt.fromAxisJson(axisObject);
    countermeasuresJolt.fromAxisJson(axisObject);
    damageJolt.fromAxisJson(axisObject);
    weaponReleaseJolt.fromAxisJson(axisObject);
    landingJolt.fromAxisJson(axisObject);
    liftShimmyShaker.fromAxisJson(axisObject);
    vortexStateShaker.fromAxisJson(axisObject);
    genericShaker.fromAxisJson(axisObject);
    engineShaker.fromAxisJson(axisObject);
    rotorShaker.fromAxisJson(axisObject);
    EffectValueRanges::hold(*this, axisName);
}

QJsonObject AxisEffectsSettings::toJson() const
{
    QJsonObject axisObject;
    smartDamper.toAxisJson(axisObject);
    directX.toAxisJson(axisObject);
    airspeedSpring.toAxisJson(axisObject);
    propThrustSpring.toAxisJson(axisObject);
    aoaSpring.toAxisJson(axisObject);
    gForceSpring.toAxisJson(axisObject);
    simpleSpring.toAxisJson(axisObject);
    elevatorWeight.toAxisJson(axisObject);
    localAoa.toAxisJson(axisObject);
    turbulence.toAxisJson(axisObject);
    trim.toAxisJson(axisObject);
    overspeedShaker.toAxisJson(axisObject);
    overGShaker.toAxisJson(axisObject);
    afterburnerShaker.toAxisJson(axisObject);
    onGroundShaker.toAxisJson(axisObject);
    gunfireShaker.toAxisJson(axisObject);
    aoaShaker.toAxisJson(axisObject);
    gearShaker.toAxisJson(axisObject);
    flapsShaker.toAxisJson(axisObject);
    airbrakeShaker.toAxisJson(axisObject);
    gearExtractionJolt.toAxisJson(axisObject);
    countermeasuresJolt.toAxisJson(axisObject);
    damageJolt.toAxisJson(axisObject);
    weaponReleaseJolt.toAxisJson(axisObject);
    landingJolt.toAxisJson(axisObject);
    liftShimmyShaker.toAxisJson(axisObject);
    vortexStateShaker.toAxisJson(axisObject);
    genericShaker.toAxisJson(axisObject);
    engineShaker.toAxisJson(axisObject);
    rotorShaker.toAxisJson(axisObject);
    return axisObject;
}

bool AxisEffectsSettings::operator==(const AxisEffectsSettings& other) const
{
    return smartDamper == other.smartDamper
        && directX == other.directX
        && airspeedSpring == other.airspeedSpring
        && propThrustSpring == other.propThrustSpring
        && aoaSpring == other.aoaSpring
        && gForceSpring == other.gForceSpring
        && simpleSpring == other.simpleSpring
        && elevatorWeight == other.elevatorWeight
        && localAoa == other.localAoa
        && turbulence == other.turbulence
        && trim == other.trim
        && overspeedShaker == other.overspeedShaker
        && overGShaker == other.overGShaker
        && afterburnerShaker == other.afterburnerShaker
        && onGroundShaker == other.onGroundShaker
        && gunfireShaker == other.gunfireShaker
        && aoaShaker == other.aoaShaker
        && gearShaker == other.gearShaker
        && flapsShaker == other.flapsShaker
        && airbrakeShaker == other.airbrakeShaker
        && gearExtractionJolt == other.gearExtractionJolt
        && countermeasuresJolt == other.countermeasuresJolt
        && damageJolt == other.damageJolt
        && weaponReleaseJolt == other.weaponReleaseJolt
        && landingJolt == other.landingJolt
        && liftShimmyShaker == other.liftShimmyShaker
        && vortexStateShaker == other.vortexStateShaker
        && genericShaker == other.genericShaker
        && engineShaker == other.engineShaker
        && rotorShaker == other.rotorShaker;
}
