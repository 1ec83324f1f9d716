# Writes the skinned window test data into OUT (run with cmake -P at build time):
#   skin.xml     the skin as a plain file
#   round.xml    a skin with rounded corners
#   skin.zip     the skin inside an archive file
#   resource_skin.xml, resource_skin.zip  the "xml" and "ZIPRES" resources of test_window
# Each copy names its source in the label "source", so tests can tell where it came from.
cmake_minimum_required(VERSION 3.20)
if(NOT OUT OR NOT ZIP)
    message(FATAL_ERROR "usage: cmake -DOUT=dir -DZIP=zip-program -P MakeWindowSkins.cmake")
endif()
file(REMOVE_RECURSE "${OUT}")

# 400 x 300 with 4 pixel resize borders and a 30 pixel caption band holding a label and a
# close button at its right end.
function(write_skin path source extra)
    file(WRITE "${path}" "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Window size=\"400,300\" sizebox=\"4,4,4,4\" caption=\"0,0,0,30\" mininfo=\"200,150\" ${extra}>
  <VerticalLayout>
    <HorizontalLayout height=\"30\">
      <Label name=\"source\" text=\"${source}\"/>
      <Button name=\"closebtn\" width=\"40\"/>
      <Button name=\"CloseBtn\" width=\"40\"/>
    </HorizontalLayout>
    <Control name=\"body\"/>
  </VerticalLayout>
</Window>
")
endfunction()

write_skin("${OUT}/skin.xml" "directory" "")
write_skin("${OUT}/round.xml" "directory" "roundcorner=\"8,8\"")
write_skin("${OUT}/resource_skin.xml" "resource" "")
write_skin("${OUT}/zip_content/skin.xml" "zip" "")
execute_process(COMMAND "${ZIP}" -q -X "${OUT}/skin.zip" skin.xml
    WORKING_DIRECTORY "${OUT}/zip_content" RESULT_VARIABLE failed)
write_skin("${OUT}/zip_content/skin.xml" "zip resource" "")
execute_process(COMMAND "${ZIP}" -q -X "${OUT}/resource_skin.zip" skin.xml
    WORKING_DIRECTORY "${OUT}/zip_content" RESULT_VARIABLE failed2)
if(failed OR failed2)
    message(FATAL_ERROR "could not write the skin archives")
endif()
file(REMOVE_RECURSE "${OUT}/zip_content")
