# The JACK server of this build's test runs (see jack_fixture.sh). The name is
# derived from the build folder, so runs from different build folders never
# meet. A test that needs MIDI:
#   set_tests_properties(t PROPERTIES FIXTURES_REQUIRED jack
#                        ENVIRONMENT "${VMC_JACK_TEST_ENV};QT_QPA_PLATFORM=offscreen")
# The fixture itself (tests jack_server_start / jack_server_stop) is
# registered once, in tests/midi.
string(MD5 _vmc_jack_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_vmc_jack_hash}" 0 12 _vmc_jack_hash)
set(VMC_JACK_SERVER "vmc-test-${_vmc_jack_hash}")
set(VMC_JACK_FIXTURE "${CMAKE_SOURCE_DIR}/tests/support/jack_fixture.sh")
set(VMC_JACK_TEST_ENV "JACK_DEFAULT_SERVER=${VMC_JACK_SERVER};JACK_NO_START_SERVER=1;VMC_MIDI_API=jack")

# Tests that put a client named "Vorn-MIDI" on the shared server take this
# lock: with two of them at once, JACK renames one and a test would open the
# other's source.
set(VMC_JACK_SOURCE_LOCK vorn_midi_source)
