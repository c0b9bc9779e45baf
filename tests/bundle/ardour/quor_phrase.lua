ardour {
	["type"] = "dsp",
	name = "Quor Test Phrase",
	category = "Utility",
	license = "MIT",
	author = "Quor",
	description = [[Sends a fixed chord and a note, placed on the session's timeline: MIDI for an instrument that follows.]]
}

function dsp_ioconfig ()
	return { { midi_in = 1, midi_out = 1, audio_in = 0, audio_out = 0 } }
end

local rate = 44100
function dsp_init (r) rate = r end

-- Seconds from the session's start and the message sent then: an A minor chord held from
-- 0.5 s to 2 s, then a single A from 2.5 s to 3.2 s.
local events = {
	{ 0.5, { 0x90, 57, 100 } }, { 0.5, { 0x90, 60, 100 } }, { 0.5, { 0x90, 64, 100 } },
	{ 2.0, { 0x80, 57, 0 } }, { 2.0, { 0x80, 60, 0 } }, { 2.0, { 0x80, 64, 0 } },
	{ 2.5, { 0x90, 69, 110 } }, { 3.2, { 0x80, 69, 0 } },
}

function dsp_run (_, _, n_samples)
	if not Session:transport_rolling () then return end
	local from = Session:transport_sample ()
	local n = 1
	for _, e in ipairs (events) do
		local at = math.floor (e[1] * rate)
		if at >= from and at < from + n_samples then
			midiout[n] = { time = at - from + 1, data = e[2] }
			n = n + 1
		end
	end
end
