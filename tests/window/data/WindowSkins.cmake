# Skins of the skinned window tests, made at build time beside test_window
# (MakeWindowSkins.cmake); two of them become resources of the test executable.
find_program(ZIP_PROGRAM zip REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(WINDOW_SKINS_DIR ${CMAKE_CURRENT_BINARY_DIR}/window_skins)
set(WINDOW_SKINS_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/window/data/MakeWindowSkins.cmake)
set(WINDOW_SKINS_OUTPUTS
    ${WINDOW_SKINS_DIR}/skin.xml ${WINDOW_SKINS_DIR}/skin.zip
    ${WINDOW_SKINS_DIR}/resource_skin.xml ${WINDOW_SKINS_DIR}/resource_skin.zip)
add_custom_command(OUTPUT ${WINDOW_SKINS_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -DOUT=${WINDOW_SKINS_DIR} -DZIP=${ZIP_PROGRAM} -P ${WINDOW_SKINS_SCRIPT}
    DEPENDS ${WINDOW_SKINS_SCRIPT}
    COMMENT "Writing skinned window test data"
    VERBATIM)
add_custom_target(test_window_skins DEPENDS ${WINDOW_SKINS_OUTPUTS})
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/window/WindowTest.rc PROPERTIES
    INCLUDE_DIRECTORIES ${WINDOW_SKINS_DIR}
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/varnel.ico;${WINDOW_SKINS_OUTPUTS}")
