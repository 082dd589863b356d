#pragma once

#include <QByteArray>
#include <QtGlobal>

struct _SDL_Joystick;

// One SDL virtual joystick for tests: attached on construction, detached
// ("unplugged") by unplug() or the destructor. SDL's joystick part must be up.
class VirtualJoystick
{
public:
    VirtualJoystick(const QByteArray& name, int buttons, int hats);
    ~VirtualJoystick();
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    bool isValid() const { return joystick != nullptr; }
    void setButton(int button, bool pressed);
    // direction is an SDL_HAT_* value.
    void setHat(int hat, int direction);
    void unplug();

    // Brings up SDL's joystick part without a display; true on success.
    static bool initialiseSdl();

private:
    QByteArray name;
    _SDL_Joystick* joystick = nullptr;
};
