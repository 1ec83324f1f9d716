# Writes the skin sources test data into OUT (run with cmake -P at build time):
#   skin/            plain skin files, plus the archives below
#   skin/skin.zip    deflated entries (cmake's zip writer), in a known directory order
#   skin/stored.zip  stored entries (zip -0)
#   resource_window.xml  the "xml" resource of the test executable
# Every Window carries a caption naming its source, so tests can tell where a file came from.
cmake_minimum_required(VERSION 3.20)
if(NOT OUT OR NOT ZIP)
    message(FATAL_ERROR "usage: cmake -DOUT=dir -DZIP=zip-program -P MakeSkinSources.cmake")
endif()

file(REMOVE_RECURSE "${OUT}")
set(skin "${OUT}/skin")
set(zipped "${OUT}/zip_content")
set(stored "${OUT}/stored_content")

function(write_window path caption)
    file(WRITE "${path}" "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window caption=\"${caption}\">\n  <Label text=\"${caption}\"/>\n</Window>\n")
endfunction()

# A Window of exactly `size` bytes: the element text is padded with blanks.
function(write_sized_window path size)
    set(open "<Window>")
    set(close "</Window>")
    string(LENGTH "${open}${close}" frame)
    math(EXPR padding "${size} - ${frame}")
    string(REPEAT " " ${padding} blanks)
    file(WRITE "${path}" "${open}${blanks}${close}")
endfunction()

# Plain files.
write_window("${skin}/Window.xml" "plain")
write_window("${skin}/Sub/Dir/Nested.xml" "plain nested")
file(WRITE "${skin}/empty.xml" "")
write_sized_window("${skin}/exact.xml" 4194304)
write_sized_window("${skin}/over.xml" 4194305)

# Deflated archive. Long names: two folders of 100 characters and a file name, 255 and 256
# characters in all.
string(REPEAT "d" 100 folder1)
string(REPEAT "e" 100 folder2)
string(REPEAT "f" 49 file255)
string(REPEAT "f" 50 file256)
set(long255 "${folder1}/${folder2}/${file255}.xml")
set(long256 "${folder1}/${folder2}/${file256}.xml")
write_window("${zipped}/Window.xml" "zip")
write_window("${zipped}/Skins/Dialogs/Login.xml" "zip nested")
write_window("${zipped}/Dup.xml" "first duplicate")
write_window("${zipped}/DUP.XML" "second duplicate")
file(WRITE "${zipped}/empty.xml" "")
write_sized_window("${zipped}/exact.xml" 4194304)
write_sized_window("${zipped}/over.xml" 4194305)
write_window("${zipped}/${long255}" "long 255")
write_window("${zipped}/${long256}" "long 256")
# Listed files keep this order in the archive's directory.
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E tar cf "${skin}/skin.zip" --format=zip
        Window.xml Skins/Dialogs/Login.xml Dup.xml DUP.XML empty.xml exact.xml over.xml
        "${long255}" "${long256}"
    WORKING_DIRECTORY "${zipped}"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write skin.zip")
endif()

# Stored archive.
write_window("${stored}/Stored.xml" "stored")
write_window("${stored}/Folder/Inner.xml" "stored nested")
execute_process(
    COMMAND "${ZIP}" -q -X -0 "${skin}/stored.zip" Stored.xml Folder/Inner.xml
    WORKING_DIRECTORY "${stored}"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write stored.zip")
endif()

# Executable resources; the builder's numbered document includes another by its id.
write_window("${OUT}/resource_window.xml" "resource")
file(WRITE "${OUT}/builder_outer.xml" "<Window><Container><Include source=\"105\"/></Container></Window>")
file(WRITE "${OUT}/builder_inner.xml" "<Window><Control name=\"from 105\"/></Window>")
file(REMOVE_RECURSE "${zipped}" "${stored}")
