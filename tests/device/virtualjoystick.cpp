#include "virtualjoystick.h"

#include <SDL.h>

#include <cstring>

VirtualJoystick::VirtualJoystick(const QByteArray& name, int buttons, int hats)
    : name(name)
{
    SDL_VirtualJoystickDesc desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.nbuttons = Uint16(buttons);
    desc.nhats = Uint16(hats);
    desc.name = this->name.constData();
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0)
        return;
    // Our own reference, needed to set the joystick's state.
    joystick = SDL_JoystickOpen(index);
}

VirtualJoystick::~VirtualJoystick()
{
    unplug();
}

void VirtualJoystick::setButton(int button, bool pressed)
{
    if (joystick)
        SDL_JoystickSetVirtualButton(joystick, button, pressed ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualJoystick::setHat(int hat, int direction)
{
    if (joystick)
        SDL_JoystickSetVirtualHat(joystick, hat, Uint8(direction));
}

void VirtualJoystick::unplug()
{
    if (!joystick)
        return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    SDL_JoystickClose(joystick);
    joystick = nullptr;
}

bool VirtualJoystick::initialiseSdl()
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Only our virtual joysticks: no scanning of whatever the machine has.
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    qputenv("SDL_VIDEODRIVER", "dummy");
    qputenv("SDL_AUDIODRIVER", "dummy");
    return SDL_Init(SDL_INIT_JOYSTICK) == 0;
}
