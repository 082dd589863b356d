-- Torquix telemetry export for DCS World (Lua 5.1, DCS export environment).
-- Sends JSON objects to torquix-commander on 127.0.0.1, port Torquix.port (written by
-- the commander into Scripts/Torquix/Port.lua): one per frame, but at most about 50 per
-- second of real time, so that the commander sees the same flight at any frame rate.
-- Export callbacks defined before this script keep being called, so other exports go
-- on working.

Torquix = Torquix or {}
Torquix.port = Torquix.port or 0

-- Seconds of real time between two datagrams on average; one may come this much
-- early, as long as the average keeps to the interval.
local SEND_INTERVAL = 0.02
local SEND_EARLINESS = 0.002
-- The buffet is the change of g per second of simulation time, scaled so that at 60
-- frames per second it is the change from one frame to the next, as it always was.
local BUFFET_TIME_SCALE = 1 / 60

do
    local ok, lfs = pcall(require, 'lfs')
    if ok and type(lfs) == 'table' and lfs.writedir then
        -- DCS ships LuaSocket beside the game, outside Lua's default search path.
        if lfs.currentdir then
            package.path = package.path .. ';' .. lfs.currentdir() .. '/LuaSocket/?.lua'
            package.cpath = package.cpath .. ';' .. lfs.currentdir() .. '/LuaSocket/?.dll'
        end
        local loaded, err = pcall(dofile, lfs.writedir() .. 'Scripts/Torquix/Port.lua')
        -- Said when the export starts, in the one line about the port.
        Torquix.portProblem = not loaded and ('cannot read Scripts/Torquix/Port.lua: ' .. tostring(err)) or nil
    end
end

-- Nominal revolutions per minute at 100 % for modules whose engine or rotor speed
-- DCS reports only in percent. Unknown modules use the default.
Torquix.nominalRpm = Torquix.nominalRpm or {
    default = { engine = 3000, rotor = 0 },
    ['P-51D'] = { engine = 3000, rotor = 0 },
    ['Bf-109K-4'] = { engine = 2800, rotor = 0 },
    ['FW-190D9'] = { engine = 3250, rotor = 0 },
    ['SpitfireLFMkIX'] = { engine = 3000, rotor = 0 },
    ['UH-1H'] = { engine = 6600, rotor = 324 },
    ['Mi-8MT'] = { engine = 15000, rotor = 192 },
    ['Mi-24P'] = { engine = 15000, rotor = 240 },
    ['Ka-50'] = { engine = 15000, rotor = 290 },
    ['SA342M'] = { engine = 6000, rotor = 387 },
    ['AH-64D_BLK_II'] = { engine = 20900, rotor = 289 },
}

local INT32_MAX = 2147483647
local INT32_MIN = -2147483648

-- Calls a DCS export function if it exists; nil when it is missing or fails.
local function query(f, ...)
    if type(f) ~= 'function' then
        return nil
    end
    local ok, result = pcall(f, ...)
    if ok then
        return result
    end
    return nil
end

-- The counts compared between frames must not drop to 0 when a query fails once:
-- that would read as a release or a hit. Such tables keep their last good value.
local lastGood = {}
local function queryTable(key, f)
    local result = query(f)
    if type(result) == 'table' then
        lastGood[key] = result
        return result
    end
    return lastGood[key]
end

local function finite(x)
    return type(x) == 'number' and x == x and x ~= math.huge and x ~= -math.huge
end

-- A whole number for the commander's integer fields: rounded, clamped to 32 bits.
local function whole(x)
    if not finite(x) then
        return 0
    end
    x = math.floor(x + 0.5)
    if x > INT32_MAX then
        return INT32_MAX
    end
    if x < INT32_MIN then
        return INT32_MIN
    end
    return x
end

local function real(x)
    if not finite(x) then
        return 0
    end
    return x
end

local function jsonString(text)
    text = tostring(text)
    text = text:gsub('[%c"\\]', function(c)
        if c == '"' then return '\\"' end
        if c == '\\' then return '\\\\' end
        return string.format('\\u%04x', c:byte())
    end)
    return '"' .. text .. '"'
end

local function jsonWhole(key, value)
    return jsonString(key) .. ':' .. string.format('%d', whole(value))
end

local function jsonReal(key, value)
    return jsonString(key) .. ':' .. string.format('%.4f', real(value))
end

local function percent(fraction)
    return real(fraction) * 100
end

local function drawArgument(index)
    return query(LoGetAircraftDrawArgumentValue, index) or 0
end

-- Strut compression of the nose or tail wheel and both main wheels.
local function weightOnWheels()
    for _, argument in ipairs({ 1, 4, 6 }) do
        local value = drawArgument(argument)
        if finite(value) and value > 0.01 then
            return 1
        end
    end
    return 0
end

-- Integrity in percent: every reported failure takes 10 %.
local function integrity()
    local state = queryTable('mcp', LoGetMCPState)
    local failures = 0
    if type(state) == 'table' then
        for _, failed in pairs(state) do
            if failed == true then
                failures = failures + 1
            end
        end
    end
    return math.max(0, 100 - 10 * failures)
end

local function payloadName(weapon)
    if type(weapon) ~= 'table' then
        return nil
    end
    local name = query(LoGetNameByType, weapon.level1, weapon.level2, weapon.level3, weapon.level4)
    if type(name) == 'string' and name ~= '' then
        return name
    end
    return string.format('%d.%d.%d.%d', whole(weapon.level1), whole(weapon.level2),
        whole(weapon.level3), whole(weapon.level4))
end

-- level: the name of a DCS log level, 'ERROR' or 'WARNING'.
local function writeLog(level, text)
    if type(log) == 'table' and log.write then
        log.write('TORQUIX', log[level], text)
    end
end

-- An error that comes back every frame is logged once; how often it came is logged
-- when another error comes or the export stops.
local errors = { last = nil, repeats = 0 }

local function logRepeats()
    if errors.repeats > 0 then
        writeLog('ERROR', string.format('%s (%d more times)', errors.last, errors.repeats))
    end
    errors.repeats = 0
end

local function report(err)
    local text = tostring(err)
    if text == errors.last then
        errors.repeats = errors.repeats + 1
        return
    end
    logRepeats()
    errors.last = text
    writeLog('ERROR', text)
end

-- What happened since the last datagram: the change of g over simulation time, and
-- whether a count fell. Cleared by every datagram sent.
local function newInterval()
    return { gChange = 0, time = 0, cannonFired = false, stationFired = false }
end

local state = { name = nil, payload = nil, previousShells = nil, previousStationCount = nil,
    previousG = nil, previousTime = nil, nextSend = nil, lastSend = nil, interval = newInterval() }

local function stationCountOf(payload)
    local count = 0
    if type(payload) == 'table' and type(payload.Stations) == 'table' then
        for _, station in ipairs(payload.Stations) do
            if type(station) == 'table' and payloadName(station.weapon) then
                count = count + whole(station.count)
            end
        end
    end
    return count
end

local function shellsOf(payload)
    if type(payload) == 'table' and type(payload.Cannon) == 'table' then
        return whole(payload.Cannon.shells)
    end
    return 0
end

-- Every frame: adds this frame to the interval. False when there is no aircraft.
local function observe()
    local self = query(LoGetSelfData)
    if type(self) ~= 'table' or type(self.Name) ~= 'string' then
        return false
    end
    state.name = self.Name
    local interval = state.interval

    local accel = query(LoGetAccelerationUnits)
    local g = type(accel) == 'table' and real(accel.y) or 0
    local time = real(query(LoGetModelTime))
    -- A paused simulation (or one without a clock) adds no time and no change.
    if state.previousG ~= nil and state.previousTime ~= nil and time > state.previousTime then
        interval.gChange = interval.gChange + math.abs(g - state.previousG)
        interval.time = interval.time + (time - state.previousTime)
    end
    state.previousG = g
    state.previousTime = time

    -- The export has no trigger switches: a count that fell since the last frame means
    -- firing, and it counts until the next datagram carries it.
    local payload = queryTable('payload', LoGetPayloadInfo)
    local shells = shellsOf(payload)
    local stationCount = stationCountOf(payload)
    if state.previousShells ~= nil and shells < state.previousShells then
        interval.cannonFired = true
    end
    if state.previousStationCount ~= nil and stationCount < state.previousStationCount then
        interval.stationFired = true
    end
    state.payload = payload
    state.previousShells = shells
    state.previousStationCount = stationCount
    return true
end

-- The datagram for the interval that ends with this frame.
local function buildFrame()
    local name = state.name
    local rpm = Torquix.nominalRpm[name] or Torquix.nominalRpm.default
    local interval = state.interval

    local g = state.previousG
    local buffet = 0
    if interval.time > 0 then
        buffet = math.min(100, interval.gChange / interval.time * BUFFET_TIME_SCALE * 100)
    end

    local engine = query(LoGetEngineInfo)
    local enginePercent = 0
    if type(engine) == 'table' and type(engine.RPM) == 'table' then
        enginePercent = math.max(real(engine.RPM.left), real(engine.RPM.right))
    end

    local mech = queryTable('mech', LoGetMechInfo)
    local gear, flaps, speedBrake = 0, 0, 0
    if type(mech) == 'table' then
        if type(mech.gear) == 'table' then gear = percent(mech.gear.value) end
        if type(mech.flaps) == 'table' then flaps = percent(mech.flaps.value) end
        if type(mech.speedbrakes) == 'table' then speedBrake = percent(mech.speedbrakes.value) end
    end

    local snares = queryTable('snares', LoGetSnares)
    local snareCount = 0
    if type(snares) == 'table' then
        snareCount = whole(snares.chaff) + whole(snares.flare)
    end

    local payload = state.payload
    local items = {}
    if type(payload) == 'table' and type(payload.Stations) == 'table' then
        for _, station in ipairs(payload.Stations) do
            local id = type(station) == 'table' and payloadName(station.weapon)
            if id then
                items[#items + 1] = '{' .. jsonString('id') .. ':' .. jsonString(id) .. ','
                    .. jsonWhole('count', whole(station.count)) .. '}'
            end
        end
    end

    local fields = {
        jsonString('name') .. ':' .. jsonString(name),
        jsonReal('speed', real(query(LoGetIndicatedAirSpeed)) * 3.6),
        jsonReal('v_speed', query(LoGetVerticalVelocity)),
        jsonReal('g', g),
        jsonReal('aoa', real(query(LoGetAngleOfAttack)) * 57.2958),
        jsonReal('shk_amp', buffet),
        jsonWhole('eng_rpm_norm', enginePercent),
        jsonWhole('eng_rpm_abs', enginePercent * rpm.engine / 100),
        jsonWhole('rotor_rpm_abs', enginePercent * rpm.rotor / 100),
        jsonWhole('ab', percent(math.max(drawArgument(28), drawArgument(29)))),
        jsonWhole('gear', gear),
        jsonWhole('flaps', flaps),
        jsonWhole('sp_br', speedBrake),
        jsonWhole('wow', weightOnWheels()),
        jsonWhole('dmg', integrity()),
        jsonWhole('snares', snareCount),
        jsonWhole('shells', state.previousShells),
        jsonWhole('gun_trg0', interval.cannonFired and 1 or 0),
        jsonWhole('gun_trg1', interval.stationFired and 1 or 0),
        jsonWhole('gun_trg2', 0),
        jsonWhole('gun_trg3', 0),
        jsonWhole('gun_trg4', 0),
        jsonString('pld') .. ':[' .. table.concat(items, ',') .. ']',
    }
    return '{' .. table.concat(fields, ',') .. '}'
end

-- Whether a datagram is due at now (seconds of real time). Every frame when frames are
-- slower than the interval; a paused simulation keeps sending, so the commander does
-- not take it for lost.
local function sendDue(now)
    if state.nextSend == nil or now < state.lastSend then
        return true -- the first datagram, or the clock went back
    end
    return now >= state.nextSend - SEND_EARLINESS
end

local function markSent(now)
    if state.nextSend == nil or now < state.lastSend then
        state.nextSend = now + SEND_INTERVAL
    else
        -- Due an interval after the last one was due, so that the rate holds on average;
        -- after a slow frame at once, but with no burst to catch up.
        state.nextSend = math.max(state.nextSend + SEND_INTERVAL, now)
    end
    state.lastSend = now
    state.interval = newInterval()
end

function Torquix.start()
    local port = tonumber(Torquix.port)
    if not port or port < 1 or port > 65535 or port ~= math.floor(port) then
        writeLog('WARNING', string.format('no usable port (%s)%s: no telemetry is sent',
            tostring(Torquix.port), Torquix.portProblem and ('; ' .. Torquix.portProblem) or ''))
        return
    end
    local loaded, socket = pcall(require, 'socket')
    if not loaded or type(socket) ~= 'table' then
        report('cannot load LuaSocket: ' .. tostring(socket) .. '; no telemetry is sent')
        return
    end
    local udp, err = socket.udp()
    if not udp then
        report('cannot open a UDP socket: ' .. tostring(err) .. '; no telemetry is sent')
        return
    end
    udp:settimeout(0)
    local addressed, reason = udp:setpeername('127.0.0.1', port)
    if not addressed then
        udp:close()
        report(string.format('cannot send to port %d: %s; no telemetry is sent', port, tostring(reason)))
        return
    end
    Torquix.socket = socket
    Torquix.udp = udp
end

function Torquix.sendFrame()
    if not Torquix.udp or not observe() then
        return
    end
    local now = Torquix.socket.gettime()
    if not sendDue(now) then
        return
    end
    local sent, err = Torquix.udp:send(buildFrame())
    if not sent then
        report(string.format('cannot send to port %s: %s', tostring(Torquix.port), tostring(err)))
    end
    markSent(now)
end

function Torquix.stop()
    if Torquix.udp then
        Torquix.udp:close()
        Torquix.udp = nil
    end
    state.name, state.payload = nil, nil
    state.previousShells, state.previousStationCount, state.previousG = nil, nil, nil
    state.previousTime, state.nextSend, state.lastSend = nil, nil, nil
    state.interval = newInterval()
    lastGood = {}
    logRepeats()
    errors.last = nil
end

-- Runs Torquix[name] (looked up at each call, so a reloaded script takes effect),
-- then the callback that was there before.
local function chain(name, previous)
    return function(...)
        local ok, err = pcall(Torquix[name])
        if not ok then report(err) end
        if previous then return previous(...) end
    end
end

-- Wrap the callbacks once, even if this script is run twice.
if not Torquix.chained then
    Torquix.chained = true
    LuaExportStart = chain('start', LuaExportStart)
    LuaExportAfterNextFrame = chain('sendFrame', LuaExportAfterNextFrame)
    LuaExportStop = chain('stop', LuaExportStop)
end
