-- Runs the Torquix DCS export script outside DCS, alone or through the Export.lua of a
-- Saved Games folder: stub export functions play a short flight, and the export
-- callbacks are called as DCS calls them, one frame at a time. The harness keeps the
-- time: its clock advances by one frame's seconds each frame and stands in for
-- LuaSocket's gettime, so frames run back to back and a run sends the same datagrams
-- however busy the machine is.
-- Usage: lua5.1 dcs_export_harness.lua <write dir ending in /> <frames> <seconds per frame>
--            [scenario] [option=value ...]
-- Scenarios:
--   flight   (default) gear, touchdown, countermeasure, weapon release, damage and gunfire
--   burst    a Mi-24P in a buffeting pull, firing its cannon (100 rounds/s) from 0.5 s to 1.5 s
--   pause    the burst flight with the simulation paused for the middle third of the frames
--   failing  the flight with a socket whose every send raises an error
--   takeoff  the flight with the airspeed rising from 20 m/s by 20 m/s a second to 90 m/s
-- Options:
--   pause=<ms>    a random pause of real time, 0 to ms, after every frame
--   script=<file> the script DCS runs, under the write dir (Scripts/TorquixGameExport.lua)
--   until=<file>  after the frames, flies on until this file exists
-- Log lines of the script are printed as "LOG <subsystem> <level> <text>"; at the end,
-- "previous start=<calls> frames=<calls> stop=<calls> port=<port> sent=<datagrams>" for the
-- callbacks defined before the scripts ran, our script's port and the datagrams it sent.

local writeDir, frames, frameSeconds = arg[1], tonumber(arg[2]), tonumber(arg[3])
local scenario = arg[4] or 'flight'
local options = { pause = '0', script = 'Scripts/TorquixGameExport.lua' }
for i = 5, #arg do
    local key, value = arg[i]:match('^(%w+)=(.*)$')
    options[key] = value
end
local socket = require('socket')

-- Seconds on the harness's clock; far from zero, as real time is.
local clock = 1000000
socket.gettime = function() return clock end

package.preload['lfs'] = function()
    return {
        writedir = function() return writeDir end,
        currentdir = function() return writeDir end,
    }
end

log = {
    ERROR = 'ERROR',
    WARNING = 'WARNING',
    write = function(subsystem, level, text) print(string.format('LOG %s %s %s', subsystem, level, text)) end,
}

-- Callbacks of another export, defined before ours; they must keep running.
local calls = { start = 0, frames = 0, stop = 0 }
function LuaExportStart() calls.start = calls.start + 1 end
function LuaExportAfterNextFrame() calls.frames = calls.frames + 1 end
function LuaExportStop() calls.stop = calls.stop + 1 end

local frame = 0
local modelTime = 0
local burst = scenario == 'burst' or scenario == 'pause'

function LoGetModelTime() return modelTime end

function LoGetSelfData() return { Name = burst and 'Mi-24P' or 'F-16C_50', Heading = 1.0 } end
function LoGetIndicatedAirSpeed() return scenario == 'takeoff' and math.min(90, 20 + 20 * modelTime) or 150.0 end
function LoGetVerticalVelocity() return -3.0 end
function LoGetAngleOfAttack() return 0.1 end
function LoGetEngineInfo() return { RPM = { left = 85.4, right = 85.6 } } end

function LoGetAccelerationUnits()
    if burst then
        -- A steady pull with a 3 Hz buffet on it.
        return { x = 0.0, y = 1 + 1.5 * modelTime + 1.5 * math.sin(2 * math.pi * 3 * modelTime), z = 0.0 }
    end
    return { x = 0.0, y = 1.25, z = 0.0 }
end

function LoGetMechInfo()
    local gear = 0.0
    if not burst then
        if frame >= 20 then gear = 1.0 elseif frame >= 10 then gear = 0.5 end
    end
    return { gear = { value = gear }, flaps = { value = 0.333 }, speedbrakes = { value = 0.6 } }
end

function LoGetAircraftDrawArgumentValue(index)
    if index == 4 and frame >= 30 and not burst then return 0.3 end
    if index == 28 then return 0.0 / 0.0 end -- NaN must not reach the datagram
    return 0.0
end

function LoGetSnares()
    if frame == 5 then error('snares unavailable this frame') end
    return { chaff = 30, flare = (frame >= 35 and not burst) and 29 or 30 }
end

function LoGetPayloadInfo()
    if burst then
        local fired = math.floor(100 * (math.min(math.max(modelTime, 0.5), 1.5) - 0.5))
        return { CurrentStation = 0, Stations = {}, Cannon = { shells = 500 - fired } }
    end
    local shells = 500
    if frame >= 45 then shells = 500 - 10 * (frame - 44) end
    return {
        CurrentStation = 1,
        Stations = {
            { CLSID = 'mk82', container = false, count = frame >= 40 and 1 or 2,
              weapon = { level1 = 4, level2 = 5, level3 = 9, level4 = 31 } },
            { CLSID = 'unnamed', container = false, count = 1,
              weapon = { level1 = 4, level2 = 4, level3 = 7, level4 = 999 } },
        },
        Cannon = { shells = shells },
    }
end

function LoGetNameByType(l1, l2, l3, l4)
    if l1 == 4 and l2 == 5 and l3 == 9 and l4 == 31 then return 'Mk-82' end
    return nil
end

function LoGetMCPState()
    return { LeftEngineFailure = frame >= 50 and not burst, RightEngineFailure = false, HydraulicsFailure = false }
end

dofile(writeDir .. options.script)

local function exists(file) local handle = io.open(file); return handle ~= nil and handle:close() end

math.randomseed(os.time())
LuaExportStart()
-- Counts what the script's socket sent, so that a test knows how many datagrams to wait for.
local sent = 0
if scenario == 'failing' and Torquix.udp then
    Torquix.udp = { send = function() error('socket gone', 0) end, close = function() end }
elseif Torquix.udp then
    local udp = Torquix.udp
    Torquix.udp = { close = function() return udp:close() end, send = function(_, datagram)
        local ok, err = udp:send(datagram)
        sent = sent + (ok and 1 or 0)
        return ok, err
    end }
end
local pauseFrom, pauseTo = math.floor(frames / 3), math.floor(2 * frames / 3)
local paused = 0
local f = 0
while f < frames or (options['until'] and not exists(options['until'])) do
    f = f + 1
    frame = f
    if scenario == 'pause' and f > pauseFrom and f <= pauseTo then
        paused = paused + 1
    end
    modelTime = (f - paused) * frameSeconds
    clock = clock + frameSeconds
    LuaExportAfterNextFrame()
    socket.sleep(math.random(0, tonumber(options.pause)) / 1000)
end
LuaExportStop()

print(string.format('previous start=%d frames=%d stop=%d port=%s sent=%d', calls.start, calls.frames, calls.stop,
    tostring(Torquix.port), sent))
