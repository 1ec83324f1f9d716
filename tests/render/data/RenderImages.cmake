# Image test data of test_render, made at build time beside the test executable by a small
# generator built for the build machine (MakeRenderImages.cpp), then zipped into the two
# archives the tests select: skin/images.zip (a file) and skin/memory.zip (a resource).
find_program(ZIP_PROGRAM zip REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(RENDER_IMAGES_DIR ${CMAKE_CURRENT_BINARY_DIR}/render_images)
set(RENDER_IMAGES_TOOL ${CMAKE_BINARY_DIR}/host/make-render-images)
set(RENDER_IMAGES_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/render/data/MakeRenderImages.cpp)

add_custom_command(OUTPUT ${RENDER_IMAGES_TOOL}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -isystem /usr/include/stb
            -o ${RENDER_IMAGES_TOOL} ${RENDER_IMAGES_SOURCE}
    DEPENDS ${RENDER_IMAGES_SOURCE}
    COMMENT "Building the host image generator"
    VERBATIM)

set(RENDER_IMAGES_OUTPUTS
    ${RENDER_IMAGES_DIR}/skin/images.zip ${RENDER_IMAGES_DIR}/skin/memory.zip
    ${RENDER_IMAGES_DIR}/skin/resource.png ${RENDER_IMAGES_DIR}/skin/alpha.png)
add_custom_command(OUTPUT ${RENDER_IMAGES_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${RENDER_IMAGES_DIR}
    COMMAND ${RENDER_IMAGES_TOOL} ${RENDER_IMAGES_DIR}
    COMMAND ${CMAKE_COMMAND} -E chdir ${RENDER_IMAGES_DIR}/zip_content
            ${ZIP_PROGRAM} -q -X ../skin/images.zip source.png Sub/Inner.png
    COMMAND ${CMAKE_COMMAND} -E chdir ${RENDER_IMAGES_DIR}/memory_content
            ${ZIP_PROGRAM} -q -X ../skin/memory.zip source.png
    DEPENDS ${RENDER_IMAGES_TOOL}
    COMMENT "Writing render test images"
    VERBATIM)
add_custom_target(test_render_images DEPENDS ${RENDER_IMAGES_OUTPUTS})

set(RENDER_IMAGES_RC ${CMAKE_CURRENT_SOURCE_DIR}/render/data/RenderImages.rc)
set_source_files_properties(${RENDER_IMAGES_RC} PROPERTIES
    INCLUDE_DIRECTORIES ${RENDER_IMAGES_DIR}/skin
    OBJECT_DEPENDS "${RENDER_IMAGES_OUTPUTS}")
