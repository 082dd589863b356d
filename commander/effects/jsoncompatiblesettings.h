#pragma once

class QJsonObject;

// Root of every settings value that reads and writes itself as JSON.
// Design: fromJson/toJson always take the settings' OWN object (flat members); an effect's member
// inside an axis object is handled by the distinctly named fromAxisJson/toAxisJson, so a virtual
// call through any building block can never look up an axis key and reset the effect.
class JsonCompatibleSettings
{
public:
    virtual void fromJson(const QJsonObject& object) = 0;
    // Fills the caller's object in place.
    virtual void toJson(QJsonObject& object) const = 0;

protected:
    // Settings live by value inside larger records and are never deleted through a base pointer.
    JsonCompatibleSettings() = default;
    JsonCompatibleSettings(const JsonCompatibleSettings&) = default;
    JsonCompatibleSettings& operator=(const JsonCompatibleSettings&) = default;
    ~JsonCompatibleSettings() = default;
};
