# Gathers the fuzz corpus (run with cmake -P at build time): ROOT is the source tree, OUT
# the drivers' folder. Each target's corpus is the repository's own inputs of its kind plus
# the hand-written hostile cases in tests/fuzz/corpus/<target>; names carry the folder
# they came from, so files of the same name do not collide.
cmake_minimum_required(VERSION 3.20)
if(NOT ROOT OR NOT OUT)
    message(FATAL_ERROR "usage: cmake -DROOT=source -DOUT=dir -P MakeCorpus.cmake")
endif()

set(targets markup builder zip image config tailrecord)
foreach(target ${targets})
    file(MAKE_DIRECTORY ${OUT}/corpus/${target} ${OUT}/regressions/${target})
endforeach()
file(MAKE_DIRECTORY ${OUT}/findings)

function(gather target)
    foreach(pattern ${ARGN})
        file(GLOB files ${ROOT}/${pattern})
        foreach(file ${files})
            get_filename_component(name ${file} NAME)
            get_filename_component(folder ${file} DIRECTORY)
            get_filename_component(folder ${folder} NAME)
            file(COPY_FILE ${file} ${OUT}/corpus/${target}/${folder}-${name} ONLY_IF_DIFFERENT)
        endforeach()
    endforeach()
endfunction()

set(skins resources/skin/*.xml examples/*/skin/*.xml tests/skinview/data/*/*.xml
    tests/hostile/*.xml)
set(images resources/skin/*.png examples/*/skin/*.png tests/skinview/data/*/*.png
    tests/hostile/*.png tests/hostile/*.bmp tests/hostile/*.tga tests/hostile/*.psd
    tests/hostile/*.hdr)
gather(markup ${skins} resources/config.xml tests/fuzz/corpus/markup/*)
gather(builder ${skins} tests/fuzz/corpus/builder/*)
gather(config resources/config.xml tests/fuzz/corpus/config/*)
gather(image ${images} tests/fuzz/corpus/image/*)
gather(zip tests/fuzz/corpus/zip/*)
gather(tailrecord tests/fuzz/corpus/tailrecord/*)
foreach(target ${targets})
    file(GLOB files ${ROOT}/tests/fuzz/regressions/${target}/*)
    foreach(file ${files})
        get_filename_component(name ${file} NAME)
        file(COPY_FILE ${file} ${OUT}/regressions/${target}/${name} ONLY_IF_DIFFERENT)
    endforeach()
endforeach()

# Archives made of the repository's skins: the client's and the gallery's, deflated.
function(archive output folder)
    file(GLOB files RELATIVE ${folder} ${folder}/*.xml ${folder}/*.png ${folder}/*.bmp
        ${folder}/*.tga ${folder}/*.psd ${folder}/*.hdr)
    list(FILTER files EXCLUDE REGEX "loginBg")
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${output} --format=zip
        --mtime=2000-01-01 ${files}
        WORKING_DIRECTORY ${folder} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot write ${output}")
    endif()
endfunction()
archive(${OUT}/corpus/zip/client-skin.zip ${ROOT}/resources/skin)
archive(${OUT}/corpus/zip/gallery-skin.zip ${ROOT}/examples/gallery/skin)
archive(${OUT}/corpus/zip/combotree-skin.zip ${ROOT}/tests/skinview/data/combotree)

# The builder's images, skins to include and hostile images, flat in one archive that it
# reads from memory.
set(stage ${OUT}/builder-skin)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
foreach(pattern ${images} ${skins})
    file(GLOB files ${ROOT}/${pattern})
    foreach(file ${files})
        if(NOT file MATCHES "loginBg")
            file(COPY ${file} DESTINATION ${stage})
        endif()
    endforeach()
endforeach()
archive(${OUT}/builder-skin.zip ${stage})
