# The MIDI setup window, kept apart from the MIDI library so that the device
# layer and the pump stay free of windows.
add_library(vmc_midisetup STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmConfig_Midi.cpp
)
target_link_libraries(vmc_midisetup PUBLIC vmc_midi vmc_mapedit Qt6::Widgets)
