# The MIDI setup window against real JACK clients. It runs on a JACK server of
# its own: its cases need to know every MIDI source there is (none at all, or
# one "Vorn-MIDI" listed first), which a server shared with other tests running
# in parallel cannot promise.
set(VMC_SETUP_JACK_SERVER "${VMC_JACK_SERVER}-setup")
add_test(NAME jack_setup_server_start COMMAND ${VMC_JACK_FIXTURE} start ${VMC_SETUP_JACK_SERVER})
add_test(NAME jack_setup_server_stop COMMAND ${VMC_JACK_FIXTURE} stop ${VMC_SETUP_JACK_SERVER})
set_tests_properties(jack_setup_server_start PROPERTIES FIXTURES_SETUP jack_setup)
set_tests_properties(jack_setup_server_stop PROPERTIES FIXTURES_CLEANUP jack_setup)

add_executable(test_midi_setup ${CMAKE_CURRENT_LIST_DIR}/MidiSetupWindowTest.cpp)
target_link_libraries(test_midi_setup PRIVATE vmc_midisetup vmc_testsupport Qt6::Test GTest::gtest)
add_test(NAME midi_setup COMMAND test_midi_setup)
set_tests_properties(midi_setup PROPERTIES
  FIXTURES_REQUIRED jack_setup
  ENVIRONMENT "JACK_DEFAULT_SERVER=${VMC_SETUP_JACK_SERVER};JACK_NO_START_SERVER=1;VMC_MIDI_API=jack;QT_QPA_PLATFORM=offscreen")
