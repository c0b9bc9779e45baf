-- A headless session with the dummy audio back-end: one MIDI track whose instrument is Quor,
-- fed by the test phrase processor, exported from 0 to 5 s as a WAV file into
-- $QUOR_SESSION/export/quor.wav.
local dir = os.getenv ("QUOR_SESSION")
assert (dir, "QUOR_SESSION is not set")
assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy audio back-end")
local session = create_session (dir, "quor", 44100)
assert (session, "cannot create a session in " .. dir)

local quor = ARDOUR.LuaAPI.new_plugin_info ("Quor", ARDOUR.PluginType.LXVST)
assert (not quor:isnil (), "Quor is not among the indexed VST plug-ins")
local tracks = session:new_midi_track (
	ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1), ARDOUR.ChanCount (ARDOUR.DataType ("audio"), 2),
	true, quor, nil, nil, 1, "Quor", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
assert (tracks:size () == 1, "cannot add a MIDI track with Quor")
local track = tracks:front ()

local phrase = ARDOUR.LuaAPI.new_luaproc (session, "Quor Test Phrase")
assert (not phrase:isnil (), "the test phrase processor is not installed")
assert (track:add_processor_by_index (phrase, 0, nil, true) == 0, "cannot insert the phrase")
print ("track: " .. track:name () .. " with " .. track:nth_plugin (1):name ())

local export = session:simple_export ()
export:set_name ("quor")
export:set_folder (dir .. "/export")
export:set_range (0, 5 * 44100)
assert (export:set_preset ("75969a1c-3133-4694-864b-a1fa50e43348"), "no WAV export preset")
assert (export:check_outputs (), "nothing to export")
assert (export:run_export (), "the export failed")
print ("exported")
session:save_state ("")
close_session ()
