-- Runs the Torquix DCS export script outside DCS: stub export functions play a
-- short flight, and the export callbacks are called as DCS calls them, one
-- frame at a time.
-- Usage: lua5.1 dcs_export_harness.lua <write dir ending in /> <frames> <seconds per frame>

local writeDir, frames, frameSeconds = arg[1], tonumber(arg[2]), tonumber(arg[3])
local socket = require('socket')

package.preload['lfs'] = function()
    return {
        writedir = function() return writeDir end,
        currentdir = function() return writeDir end,
    }
end

-- Callbacks of another export, defined before ours; they must keep running.
local calls = { start = 0, frames = 0, stop = 0 }
function LuaExportStart() calls.start = calls.start + 1 end
function LuaExportAfterNextFrame() calls.frames = calls.frames + 1 end
function LuaExportStop() calls.stop = calls.stop + 1 end

local frame = 0

function LoGetSelfData() return { Name = 'F-16C_50', Heading = 1.0 } end
function LoGetIndicatedAirSpeed() return 150.0 end
function LoGetVerticalVelocity() return -3.0 end
function LoGetAccelerationUnits() return { x = 0.0, y = 1.25, z = 0.0 } end
function LoGetAngleOfAttack() return 0.1 end
function LoGetEngineInfo() return { RPM = { left = 85.4, right = 85.6 } } end

function LoGetMechInfo()
    local gear = 0.0
    if frame >= 20 then gear = 1.0 elseif frame >= 10 then gear = 0.5 end
    return { gear = { value = gear }, flaps = { value = 0.333 }, speedbrakes = { value = 0.6 } }
end

function LoGetAircraftDrawArgumentValue(index)
    if index == 4 and frame >= 30 then return 0.3 end
    if index == 28 then return 0.0 / 0.0 end -- NaN must not reach the datagram
    return 0.0
end

function LoGetSnares()
    if frame == 5 then error('snares unavailable this frame') end
    return { chaff = 30, flare = frame >= 35 and 29 or 30 }
end

function LoGetPayloadInfo()
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
    return { LeftEngineFailure = frame >= 50, RightEngineFailure = false, HydraulicsFailure = false }
end

dofile(writeDir .. 'Scripts/TorquixGameExport.lua')

LuaExportStart()
for f = 1, frames do
    frame = f
    LuaExportAfterNextFrame()
    socket.sleep(frameSeconds)
end
LuaExportStop()

print(string.format('previous start=%d frames=%d stop=%d port=%s', calls.start, calls.frames, calls.stop,
    tostring(Torquix.port)))
