# Test data of the skin resource sources, made at build time beside test_core:
# skin files and archives (MakeSkinSources.cmake), the resource script's inputs and two
# control plug-in modules, one with the factory export and one without.
find_program(ZIP_PROGRAM zip REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(SKIN_SOURCES_DIR ${CMAKE_CURRENT_BINARY_DIR}/skin_sources)
set(SKIN_SOURCES_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/core/data/MakeSkinSources.cmake)
set(SKIN_SOURCES_OUTPUTS
    ${SKIN_SOURCES_DIR}/skin/skin.zip ${SKIN_SOURCES_DIR}/skin/stored.zip
    ${SKIN_SOURCES_DIR}/resource_window.xml
    ${SKIN_SOURCES_DIR}/builder_outer.xml ${SKIN_SOURCES_DIR}/builder_inner.xml)
add_custom_command(OUTPUT ${SKIN_SOURCES_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -DOUT=${SKIN_SOURCES_DIR} -DZIP=${ZIP_PROGRAM} -P ${SKIN_SOURCES_SCRIPT}
    DEPENDS ${SKIN_SOURCES_SCRIPT}
    COMMENT "Writing skin sources test data"
    VERBATIM)
add_custom_target(test_core_skin_sources DEPENDS ${SKIN_SOURCES_OUTPUTS})

set(SKIN_SOURCES_RC ${CMAKE_CURRENT_SOURCE_DIR}/core/data/SkinSources.rc)
set_source_files_properties(${SKIN_SOURCES_RC} PROPERTIES
    INCLUDE_DIRECTORIES ${SKIN_SOURCES_DIR}
    OBJECT_DEPENDS "${SKIN_SOURCES_OUTPUTS}")

foreach(plugin skin_test_plugin skin_test_plugin_without_factory)
    add_library(${plugin} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/core/plugin/${plugin}.cpp)
    set_target_properties(${plugin} PROPERTIES PREFIX "")
    target_link_libraries(${plugin} PRIVATE varnel_options)
endforeach()

