# Writes the skinview test skins into OUT (run with cmake -P at build time), and the
# archive skins.zip holding inner/zipped.xml.
cmake_minimum_required(VERSION 3.20)
if(NOT OUT)
    message(FATAL_ERROR "usage: cmake -DOUT=dir -P MakeSkinViewSkins.cmake")
endif()
file(REMOVE_RECURSE "${OUT}")

# A blue frame inset by 10 around a red and green row 30 high and a white block with a
# margin of 5.
file(WRITE "${OUT}/layout.xml" "<Window size=\"120,80\">
  <VerticalLayout bkcolor=\"#FF0000FF\" inset=\"10,10,10,10\">
    <HorizontalLayout height=\"30\">
      <Control width=\"40\" bkcolor=\"#FFFF0000\"/>
      <Control bkcolor=\"#FF00FF00\"/>
    </HorizontalLayout>
    <Control bkcolor=\"#FFFFFFFF\" padding=\"5,5,5,5\"/>
  </VerticalLayout>
</Window>
")
# Per-pixel alpha: opaque red, half white, nothing.
file(WRITE "${OUT}/alpha.xml" "<Window size=\"40,20\" bktrans=\"true\">
  <HorizontalLayout>
    <Control width=\"10\" bkcolor=\"#FFFF0000\"/>
    <Control width=\"10\" bkcolor=\"#80FFFFFF\"/>
    <Control/>
  </HorizontalLayout>
</Window>
")
# Formatted text in a scrolling list, and its scroll bar images.
file(COPY "${CMAKE_CURRENT_LIST_DIR}/scrolling/scrolling.xml"
    "${CMAKE_CURRENT_LIST_DIR}/scrolling/scrollbar.png" DESTINATION "${OUT}")
# A multi-line rich edit over the same bar images.
file(COPY "${CMAKE_CURRENT_LIST_DIR}/richedit/richedit.xml" DESTINATION "${OUT}")
# A list with a header, every kind of row and a bar.
file(COPY "${CMAKE_CURRENT_LIST_DIR}/list/list.xml" DESTINATION "${OUT}")
# The text entry and value controls, and their images.
file(COPY "${CMAKE_CURRENT_LIST_DIR}/controls/controls.xml"
    "${CMAKE_CURRENT_LIST_DIR}/controls/controls.png" DESTINATION "${OUT}")
# Two closed combos over a tree with folded and checked nodes, and their images.
file(GLOB COMBOTREE_FILES "${CMAKE_CURRENT_LIST_DIR}/combotree/*.xml"
    "${CMAKE_CURRENT_LIST_DIR}/combotree/*.png")
file(COPY ${COMBOTREE_FILES} DESTINATION "${OUT}")
# The gallery example's skin, as the example has it.
if(GALLERY_SKIN)
    file(COPY "${GALLERY_SKIN}/" DESTINATION "${OUT}/gallery")
endif()
file(WRITE "${OUT}/bad.xml" "<Window><Control></Window>")
file(WRITE "${OUT}/noroot.xml" "<Window size=\"10,10\"><Unknown/></Window>")
file(WRITE "${OUT}/nosize.xml" "<Window><Control/></Window>")
file(WRITE "${OUT}/zip_content/inner/zipped.xml"
    "<Window size=\"20,10\"><Control bkcolor=\"#FF123456\"/></Window>")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUT}/skins.zip" --format=zip inner/zipped.xml
    WORKING_DIRECTORY "${OUT}/zip_content"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write skins.zip")
endif()
file(REMOVE_RECURSE "${OUT}/zip_content")
