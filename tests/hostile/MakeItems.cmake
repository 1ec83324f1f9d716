# Writes (run with cmake -P at build time) inputs too repetitive to keep in the tree:
# OUT/items.xml, a skin whose one image string names 16,000 images, and OUT/long-list.xml,
# a 1 MB skin of one list with 100,000 children.
cmake_minimum_required(VERSION 3.20)
if(NOT OUT)
    message(FATAL_ERROR "usage: cmake -DOUT=dir -P MakeItems.cmake")
endif()
string(REPEAT "file='tile.png' " 16000 items)
file(WRITE "${OUT}/items.xml" "<Window size=\"400,300\">
  <Control bkimage=\"${items}\"/>
</Window>
")
string(REPEAT "<Control/>" 100000 children)
file(WRITE "${OUT}/long-list.xml" "<Window size=\"400,300\"><VerticalLayout>${children}</VerticalLayout></Window>
")
